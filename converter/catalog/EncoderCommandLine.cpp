#include "EncoderCommandLine.h"

#include "MediaFormatting.h"

namespace {

// Encoder times: hours always shown, with milliseconds (5500 ms is 0:00:05.500).
CString FormatTime(int milliseconds)
{
    return FormatDuration(milliseconds, false, true, true);
}

void AddVideoArguments(CCommandLineBuilder& line, CEncodeOptions& o)
{
    if (o.m_videoFlags & ENCODE_NO_STREAM) {
        line.Append(L"-vn");
        return;
    }
    if (!o.m_videoCodec.IsEmpty())
        line.AppendFormat(L"-vcodec", L"%s", o.m_videoCodec.GetString());
    if (o.m_width > 0 && o.m_height > 0)
        line.AppendFormat(L"-s", L"%dx%d", o.m_width, o.m_height);
    if (o.m_aspectNum > 0 && o.m_aspectDen > 0)
        line.AppendFormat(L"-aspect", L"%d:%d", o.m_aspectNum, o.m_aspectDen);
    if (o.m_rateNum > 0 && o.m_rateDen > 0)
        line.AppendFormat(L"-r", L"%d/%d", o.m_rateNum, o.m_rateDen);
    if (o.m_videoBitRate > 0)
        line.AppendFormat(L"-b:v", L"%d", o.m_videoBitRate);
    if (o.m_videoFlags & ENCODE_SAME_QUALITY)
        o.m_videoQuality = 0;
    if (o.m_videoQuality >= 0)
        line.AppendFormat(L"-q:v", L"%d", o.m_videoQuality);
    if (o.m_frameCount > 0)
        line.AppendFormat(L"-vframes", L"%d", o.m_frameCount);
    if (!o.m_videoPreset.IsEmpty()) {
        line.Append(L"-vpre");
        line.AppendQuoted(o.m_videoPreset);
    }
}

CString VideoFilterChain(const CEncodeOptions& o)
{
    CString chain;
    auto add = [&chain](const wchar_t* part) {
        if (!chain.IsEmpty())
            chain += L',';
        chain += part;
    };
    if (o.m_cropX > 0 && o.m_cropY > 0 && o.m_cropWidth > 0 && o.m_cropHeight > 0) {
        CString crop;
        crop.Format(L"crop=%d:%d:%d:%d", o.m_cropWidth, o.m_cropHeight, o.m_cropX, o.m_cropY);
        add(crop);
    }
    switch (o.m_rotation) {
    case 90: add(L"transpose=1"); break;
    case 180: add(L"transpose=2,transpose=2"); break;
    case 270: add(L"transpose=2"); break;
    default: break;
    }
    if (o.m_hflip)
        add(L"hflip");
    if (o.m_vflip)
        add(L"vflip");
    if (o.m_grey)
        add(L"hue=s=0");
    if (o.m_negate)
        add(L"negate");
    return chain;
}

void AddAudioArguments(CCommandLineBuilder& line, CEncodeOptions& o)
{
    if (o.m_audioFlags & ENCODE_NO_STREAM) {
        line.Append(L"-an");
        return;
    }
    if (!o.m_audioCodec.IsEmpty())
        line.AppendFormat(L"-acodec", L"%s", o.m_audioCodec.GetString());
    if (o.m_channels > 0)
        line.AppendFormat(L"-ac", L"%d", o.m_channels);
    if (o.m_sampleRate > 0)
        line.AppendFormat(L"-ar", L"%d", o.m_sampleRate);
    if (o.m_audioBitRate > 0)
        line.AppendFormat(L"-b:a", L"%d", o.m_audioBitRate);
    if (o.m_volume != 256)
        line.AppendFormat(L"-vol", L"%d", o.m_volume);
    if (o.m_audioFlags & ENCODE_SAME_QUALITY)
        o.m_audioQuality = 0;
    if (o.m_audioQuality >= 0)
        line.AppendFormat(L"-q:a", L"%d", o.m_audioQuality);
    if (!o.m_audioPreset.IsEmpty()) {
        line.Append(L"-apre");
        line.AppendQuoted(o.m_audioPreset);
    }
}

} // namespace

void AddEncoderArguments(CCommandLineBuilder& line, const CString& program, CEncodeOptions& o)
{
    line.Append(program, CCommandLineBuilder::QUOTE_PROGRAM);
    if ((o.m_flags & ENCODE_THREADS) && o.m_threadCount > 0)
        line.AppendFormat(L"-threads", L"%d", o.m_threadCount);
    if (o.m_bufferSize > 0)
        line.AppendFormat(L"-bufsize", L"%d", o.m_bufferSize);
    if (o.m_inputRateNum > 0 && o.m_inputRateDen > 0)
        line.AppendFormat(L"-r", L"%d/%d", o.m_inputRateNum, o.m_inputRateDen);
    if (!o.m_input.IsEmpty()) {
        line.Append(L"-i");
        line.AppendQuoted(o.m_input);
    }
    if (!o.m_input2.IsEmpty()) {
        if (o.m_input2Offset > 0)
            line.AppendFormat(L"-itsoffset", L"%s", FormatTime(o.m_input2Offset).GetString());
        line.Append(L"-i");
        line.AppendQuoted(o.m_input2);
    }
    if (o.m_map1Input >= 0 && o.m_map1Stream >= 0 && o.m_map2Input >= 0 && o.m_map2Stream >= 0) {
        line.AppendFormat(L"-map", L"%d:%d", o.m_map1Input, o.m_map1Stream);
        line.AppendFormat(L"-map", L"%d:%d", o.m_map2Input, o.m_map2Stream);
    }
    if (o.m_startTime > 0)
        line.AppendFormat(L"-ss", L"%s", FormatTime(o.m_startTime).GetString());
    if (o.m_duration > 0)
        line.AppendFormat(L"-t", L"%s", FormatTime(o.m_duration).GetString());
    if (o.m_sizeLimit > 0)
        line.AppendFormat(L"-fs", L"%I64d", static_cast<long long>(o.m_sizeLimit));
    if (!o.m_target.IsEmpty())
        line.AppendFormat(L"-target", L"%s", o.m_target.GetString());
    if (!o.m_format.IsEmpty())
        line.AppendFormat(L"-f", L"%s", o.m_format.GetString());
    if (o.m_loopCount >= 0)
        line.AppendFormat(L"-loop", L"%d", o.m_loopCount);

    AddVideoArguments(line, o);
    const CString videoFilters = VideoFilterChain(o);
    if (!videoFilters.IsEmpty()) {
        line.Append(L"-vf");
        line.AppendQuoted(videoFilters);
    }

    AddAudioArguments(line, o);
    if (o.m_volumePercent != 100) {
        CString volume;
        volume.Format(L"volume=%.2f", o.m_volumePercent * 0.01);
        line.Append(L"-af");
        line.AppendQuoted(volume);
    }

    line.Append(o.m_extraOptions, CCommandLineBuilder::VERBATIM);
    line.Append(L"-y");
    if (!o.m_output.IsEmpty())
        line.AppendQuoted(o.m_output);
}

CString BuildEncoderCommandLine(const CString& program, CEncodeOptions& options)
{
    CCommandLineBuilder line;
    AddEncoderArguments(line, program, options);
    return line.GetText();
}

CString FormatCallbackItems(int64_t callbackWindow, int64_t context)
{
    CString tail;
    if (callbackWindow != 0)
        tail.Format(L" -callbackwindow %I64d", static_cast<long long>(callbackWindow));
    tail.AppendFormat(L" -context %I64d", static_cast<long long>(context));
    return tail;
}
