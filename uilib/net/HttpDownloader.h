#pragma once
// The GET client the programs use: downloads into a memory stream, a string or a file (at an
// offset, to resume through a Range request).
#include "HttpClient.h"

class CHttpDownloader : public CHttpClient {
public:
    int m_bReload = 0;
    int m_bExistingConnect = 0;
    int m_bKeepConnection = 1;
    int m_bNoCookies = 0;
    int m_bNoCacheWrite = 0;
    DWORD m_dwRawFlags = 0;   // OR-ed into the request flags

    CHttpDownloader() { CHttpDownloader::Reset(); }

    void Reset() override;
    // Probes the content length and whether a range comes back shorter: 0, 1 cancelled, -1.
    // The range start and byte limit are as they were afterwards.
    int QueryInfo(HttpDownloadInfo* info) override;
    // 0 with the content length, -1; the range start and byte limit are as they were afterwards.
    int GetContentLength(int64_t* length) override;
    // Writes the body into the file: with `append` or an offset > 0 into the existing file
    // from that offset (-1: its end), else a new file (offset -1: the end of an existing one).
    // A caller that resumes sets the range start to the same offset.
    int DownloadToFile(const wchar_t* path, int64_t offset, int append) override;
    int DownloadToStream(CDataStream* stream) override { return GetToStream(stream); }

    // The headers only.
    int Get();
    int GetToStream(CDataStream* stream);
    // The body as text of the system code page (up to its first NUL); 0 or -1.
    int DownloadToString(CString& text);

protected:
    DWORD GetRequestFlags(int scheme) override;

private:
    // Runs a headers-only GET from `rangeStart` without a byte limit, then puts both back.
    int ProbeFrom(int64_t rangeStart);
};
