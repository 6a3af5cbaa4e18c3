#pragma once
// What happens when a conversion's output file already exists: the "Overwrite" policy, the
// user's answers in the file-exists prompt and the path they lead to. Portable.
#include "CString.h"
#include "StopFlag.h"

enum : int {
    OVERWRITE_PROMPT = 0,        // policy: ask
    EXISTS_NEW_NAME = 1,         // answers for this file only
    EXISTS_OVERWRITE = 2,
    EXISTS_CANCEL = 3,
    OVERWRITE_NEW_NAME = 11,     // answers remembered as the policy, and the policies themselves
    OVERWRITE_ALWAYS = 12,
    OVERWRITE_CANCEL = 13,
};

// Asks the user about an existing output file.
class IFileExistsPrompt {
public:
    virtual ~IFileExistsPrompt() = default;
    // EXISTS_* or OVERWRITE_* (new names in `newTitle`); anything else asks again, and a prompt
    // that could not be shown answers -1.
    virtual int Ask(const CString& folder, const CString& title, const CString& extension, CString& newTitle) = 0;
};

// Settles the output path under the policy and returns the decision: the policy when the file
// never existed, 1 or 11 after a rename, 2, 3, 12 or 13 as answered (12 and 13 also straight
// from the policy). The source is never the file overwritten: an overwrite that would hit it
// writes under a free new name instead. A failed prompt, or a stop request, cancels (3); new
// names that are empty or leave the folder are asked again.
int ResolveOutputPath(CString& path, int policy, const CString& source, IFileExistsPrompt& prompt,
                      const CStopFlag* stop);

// Whether a decision is remembered as the new policy.
inline bool IsRememberedDecision(int decision)
{
    return decision == OVERWRITE_NEW_NAME || decision == OVERWRITE_ALWAYS || decision == OVERWRITE_CANCEL;
}
