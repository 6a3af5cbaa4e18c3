#pragma once
// One conversion: a GIF becomes a video in the item's chosen format. The job settles the
// output path (asking the user when the file exists), has the encoder write a temporary
// "[Converting] " file, puts it in place of the output when it is complete and reports every
// step as a state.
#include <windows.h>

#include "EncodeTask.h"
#include "OutputResolver.h"

class CConvertItem;
class CJobStatusSink;

class CConvertJob : public CEncodeTask, public IEncoderSink {
public:
    // The owner's window receives the encoder's messages and owns the file-exists prompt;
    // without a prompt of the caller's, that dialog asks.
    CConvertJob(CConvertItem* item, CJobStatusSink* sink, HWND owner, CStopFlag* stop,
                IFileExistsPrompt* prompt = nullptr);

    // States 1, then Convert's, then 100 (done) or 120 (stopped). Returns Convert's result.
    virtual int Execute();
    // 0 done, 1 skipped or stopped, -1 failed.
    virtual int Convert();
    // The encoder options from the item's preset for a run into the temporary path; 0 or -1.
    virtual int PrepareOptions(const CString& temporaryPath);

    // The decision for the output path under the policy (see ResolveOutputPath).
    int ResolveOutputName(CString& path, int policy);
    void SetState(int state);

    int OnStart(const CEncoderProgress& progress) override;
    int OnProgress(const CEncoderProgress& progress) override;
    int OnFinish() override { return 0; }

private:
    int ReplaceOutput(const CString& temporaryPath);

    CConvertItem* m_item;
    CJobStatusSink* m_statusSink;
    HWND m_owner;
    CStopFlag* m_stop;
    IFileExistsPrompt* m_prompt;
};

int RunConvertJob(CConvertItem* item, CJobStatusSink* sink, HWND owner, CStopFlag* stop,
                  IFileExistsPrompt* prompt = nullptr);
