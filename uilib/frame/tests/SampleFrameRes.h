#pragma once
// Resource ids of the sample frame program.
#define IDR_SAMPLEFRAME 128
#define ID_FILE_OPEN 201
#define ID_FILE_RECENT_ONE 202
#define ID_FILE_EXIT 203
#define ID_EDIT_COPY 211
#define ID_EDIT_PASTE 212
#define ID_TOOLS_OPTIONS 221
#define ID_HELP_ABOUT 231
