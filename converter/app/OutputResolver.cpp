#include "OutputResolver.h"

#include "ConverterPaths.h"

namespace {

// An overwrite may replace any file but the source itself.
int Overwrite(CString& path, const CString& source, int decision)
{
    if (IsSameFile(path, source)) {
        CString folder, title, extension;
        SplitOutputPath(path, folder, title, extension);
        path = MakeUniqueFilePath(folder, title, extension);
    }
    return decision;
}

} // namespace

int ResolveOutputPath(CString& path, int policy, const CString& source, IFileExistsPrompt& prompt,
                      const CStopFlag* stop)
{
    if (policy == OVERWRITE_ALWAYS)
        return Overwrite(path, source, OVERWRITE_ALWAYS);
    if (policy == OVERWRITE_CANCEL)
        return PathExists(path) ? OVERWRITE_CANCEL : 0;

    CString folder, title, extension;
    SplitOutputPath(path, folder, title, extension);
    if (policy == OVERWRITE_NEW_NAME) {
        path = MakeUniqueFilePath(folder, title, extension);
        return OVERWRITE_NEW_NAME;
    }

    while (PathExists(path)) {
        if (IsStopRequested(stop))
            return EXISTS_CANCEL;
        CString newTitle;
        const int answer = prompt.Ask(folder, title, extension, newTitle);
        switch (answer) {
        case EXISTS_NEW_NAME:
        case OVERWRITE_NEW_NAME:
            if (IsAcceptableNewTitle(newTitle)) {
                title = newTitle;
                path = JoinOutputPath(folder, title, extension);
                policy = answer;
            }
            break;
        case EXISTS_OVERWRITE:
        case OVERWRITE_ALWAYS:
            return Overwrite(path, source, answer);
        case EXISTS_CANCEL:
        case OVERWRITE_CANCEL:
            return answer;
        default:
            if (answer <= 0)
                return EXISTS_CANCEL;
            break;
        }
    }
    return policy;
}
