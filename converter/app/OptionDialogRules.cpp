#include "OptionDialogRules.h"

namespace {

constexpr int kOverwriteCodes[] = {0, 11, 12, 13};
constexpr int kAngleCount = 3;

} // namespace

int PolicyFromOverwrite(int overwrite)
{
    for (int policy = 1; policy < 4; ++policy)
        if (kOverwriteCodes[policy] == overwrite)
            return policy;
    return 0;
}

int OverwriteFromPolicy(int policy)
{
    return policy > 0 && policy < 4 ? kOverwriteCodes[policy] : 0;
}

void RotationToChoice(int degrees, int& rotate, int& index)
{
    rotate = degrees != 0;
    index = rotate ? degrees / 90 - 1 : 0;
    // A stored angle that is none of the three shows the nearest one the combo offers.
    if (index < 0)
        index = 0;
    if (index >= kAngleCount)
        index = kAngleCount - 1;
}

int RotationFromChoice(int rotate, int index)
{
    if (!rotate || index < 0 || index >= kAngleCount)
        return 0;
    return index * 90 + 90;
}
