#pragma once
// A conversion item as a row of the job list shows it: thumbnails of source and output and the
// ready-made texts beside them.
#include <mutex>

#include "ConvertItem.h"
#include "CrImage.h"

class CConvertListItem : public CConvertItem {
public:
    enum Text { TEXT_SIZE, TEXT_DURATION, TEXT_FRAMES, TEXT_RESOLUTION, TEXT_COUNT };

    // Also drops the output thumbnail and texts; the source's stay.
    void Reset(int resetSettings) override;
    // Reads the GIF for its texts and thumbnail; -1 when it is missing or no GIF, and then
    // the source failure tells which.
    int SetSource(const CString& path) override;
    // After a completed conversion also the output's thumbnail (grabbed once) and texts.
    int Finish() override;

    int MakeOutputThumbnail(CStopFlag* stop);

    // The conversion thread writes thumbnails and texts while the window may be drawing them:
    // both sides hold this lock.
    std::unique_lock<std::mutex> LockDisplay() const { return std::unique_lock<std::mutex>(m_displayLock); }
    // Copies, for drawing and tests.
    CString GetSourceText(Text which) const;
    CString GetOutputText(Text which) const;
    void SetOutputText(Text which, const CString& text);

    CrImage m_sourceThumbnail;
    CrImage m_outputThumbnail;
    // The job state that says why the file is no source (missing, not supported); 0 for a GIF.
    int m_sourceFailure = 0;

private:
    // Where in the output its frame is grabbed, from what the probe told of the source.
    int GrabTimeMs() const;

    CString m_sourceTexts[TEXT_COUNT];
    CString m_outputTexts[TEXT_COUNT];
    mutable std::mutex m_displayLock;
};

// The picture fitted into the thumbnail box of the settings: shrunk in proportion when it is
// larger, else copied. False when the picture cannot be had at 24 bits.
bool FitIntoThumbnailBox(CrImage& picture, CrImage& thumbnail);
// "<n> KB" with digit grouping.
CString FormatKilobytes(int64_t bytes);
