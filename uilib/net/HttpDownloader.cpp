#include "HttpDownloader.h"

#include "LongPathFile.h"
#include "SysHelpers.h"

void CHttpDownloader::Reset()
{
    CHttpClient::Reset();
    m_bReload = 0;
    m_bExistingConnect = 0;
    m_bKeepConnection = 1;
    m_bNoCookies = 0;
    m_bNoCacheWrite = 0;
    m_dwRawFlags = 0;
    m_strVerb.Empty();
    m_strHttpVersion.Empty();
    m_strAccept.Empty();
    m_strAcceptLanguage.Empty();
    m_strAcceptEncoding.Empty();
    m_strContentType.Empty();
    m_strBody.Empty();
    m_nStatusCode = 0;
    m_strRawHeaders.Empty();
    m_strAcceptRanges.Empty();
    m_strContentEncoding.Empty();
    m_strLocation.Empty();
    m_pSink = nullptr;
}

DWORD CHttpDownloader::GetRequestFlags(int scheme)
{
    DWORD flags = CHttpClient::GetRequestFlags(scheme);
    if (m_bReload)
        flags |= INTERNET_FLAG_RELOAD;
    if (m_bExistingConnect)
        flags |= INTERNET_FLAG_EXISTING_CONNECT;
    if (m_bKeepConnection)
        flags |= INTERNET_FLAG_KEEP_CONNECTION;
    if (m_bNoCookies)
        flags |= INTERNET_FLAG_NO_COOKIES;
    if (m_bNoCacheWrite)
        flags |= INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE;
    return flags | m_dwRawFlags;
}

int CHttpDownloader::Get()
{
    m_strVerb = L"GET";
    m_pSink = nullptr;
    return RunRequest();
}

int CHttpDownloader::GetToStream(CDataStream* stream)
{
    m_strVerb = L"GET";
    m_pSink = stream;
    int result = RunRequest();
    m_pSink = nullptr;
    return result;
}

int CHttpDownloader::DownloadToString(CString& text)
{
    CMemoryStream body(1024);
    if (GetToStream(&body) != 0)
        return -1;
    std::string bytes;
    if (body.GetBuffer())
        bytes.assign(reinterpret_cast<const char*>(body.GetBuffer()), size_t(body.GetLength()));
    CString wide;
    if (AnsiToWide(bytes.c_str(), wide) < 0)
        return -1;
    text = wide;
    return 0;
}

int CHttpDownloader::ProbeFrom(int64_t rangeStart)
{
    const int64_t savedStart = m_nRangeStart, savedLimit = m_nByteLimit;
    m_nRangeStart = rangeStart;
    m_nByteLimit = 0;
    int result = Get();
    m_nRangeStart = savedStart;
    m_nByteLimit = savedLimit;
    return result;
}

int CHttpDownloader::GetContentLength(int64_t* length)
{
    *length = 0;
    if (ProbeFrom(0) != 0)
        return -1;
    *length = m_info.contentLength;
    return 0;
}

int CHttpDownloader::QueryInfo(HttpDownloadInfo* info)
{
    *info = HttpDownloadInfo();
    if (ProbeFrom(0) != 0)
        return -1;
    const int64_t whole = m_info.contentLength;
    info->contentLength = whole;
    if (whole <= 0)
        return 0;
    if (IsCancelled())
        return 1;
    if (ProbeFrom((whole / 4096 * 4096) / 2) != 0)
        return 0;
    if (m_info.contentLength > 0 && m_info.contentLength < whole)
        info->flags |= kHttpAcceptsRanges;
    return 0;
}

int CHttpDownloader::DownloadToFile(const wchar_t* path, int64_t offset, int append)
{
    DWORD disposition = CREATE_ALWAYS;
    if (append || offset > 0)
        disposition = OPEN_EXISTING;
    else if (offset == -1)
        disposition = OPEN_ALWAYS;
    CLongPathFile file;
    if (file.Open(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, disposition, FILE_ATTRIBUTE_NORMAL) != 0)
        return -1;
    if (offset > 0) {
        if (file.Seek(offset, FILE_BEGIN) != offset)
            return -1;
    } else if (offset == -1) {
        if (file.Seek(0, FILE_END) < 0)
            return -1;
    }
    int result = GetToStream(&file);
    file.Close();
    return result;
}
