#pragma once
// How the settings dialog and the advanced options dialog show stored values and store what
// was chosen. Portable.

// The file-exists policy of the settings dialog from the setting "Overwrite": 11 new name (1),
// 12 overwrite (2), 13 cancel (3), anything else prompt (0); and back.
int PolicyFromOverwrite(int overwrite);
int OverwriteFromPolicy(int policy);

// A rotation in degrees (0, 90, 180, 270) as the "Rotate image:" check and the index of its
// angle (90, 180, 270); and back.
void RotationToChoice(int degrees, int& rotate, int& index);
int RotationFromChoice(int rotate, int index);
