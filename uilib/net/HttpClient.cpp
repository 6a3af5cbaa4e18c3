#include "HttpClient.h"

#include <cstring>
#include <cwchar>
#include <vector>

#include "DataStream.h"
#include "SysHelpers.h"

const wchar_t CHttpClient::kDefaultUserAgent[] = L"Mozilla/5.0 (compatible; MSIE 10.0; Windows NT 6.1; Trident/5.0)";

namespace {

constexpr DWORD kContext = 2;
constexpr DWORD kWatchStepMs = 100;

void CloseSlot(std::atomic<HINTERNET>& slot)
{
    if (HINTERNET handle = slot.exchange(nullptr))
        ::InternetCloseHandle(handle);
}

const wchar_t* NullWhenEmpty(const CString& text) { return text.IsEmpty() ? nullptr : text.GetString(); }

// The system says "not connected" when only the loopback interface is up, yet a server on this
// machine can still be reached.
bool IsLoopbackHost(const CString& host)
{
    return host.CompareNoCase(L"localhost") == 0 || host.Left(4) == L"127." || host == L"::1" || host == L"[::1]";
}

// A blocked call must come back by itself too, should closing its handle not wake it.
void LimitBlockingCalls(HINTERNET handle, int timeoutSeconds)
{
    if (timeoutSeconds <= 0)
        return;
    DWORD ms = DWORD(timeoutSeconds) * 1000;
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT})
        ::InternetSetOptionW(handle, option, &ms, sizeof ms);
}

// The first byte of a "bytes first-last/total" Content-Range, -1 when there is none.
int64_t ContentRangeStart(const CString& range)
{
    CString text = range;
    text.Trim();
    if (text.Left(6).CompareNoCase(L"bytes ") != 0)
        return -1;
    text = text.Mid(6);
    text.TrimLeft();
    if (text.IsEmpty() || text[0] < L'0' || text[0] > L'9')
        return -1;
    return _wcstoi64(text, nullptr, 10);
}

} // namespace

void CInternetHandles::Close()
{
    CloseSlot(m_request);
    CloseSlot(m_connection);
    CloseSlot(m_internet);
}

DWORD WINAPI HttpRequestThreadProc(void* param)
{
    auto* record = static_cast<CHttpRequestRecord*>(param);
    record->result = record->client->Execute(*record);
    return 0;
}

CString QueryHttpInfoString(HINTERNET request, DWORD level)
{
    DWORD bytes = 0;
    if (::HttpQueryInfoW(request, level, nullptr, &bytes, nullptr) || ::GetLastError() != ERROR_INSUFFICIENT_BUFFER)
        return CString();
    std::vector<wchar_t> text(bytes / sizeof(wchar_t) + 1, L'\0');
    if (!::HttpQueryInfoW(request, level, text.data(), &bytes, nullptr))
        return CString();
    return CString(text.data());
}

int64_t QueryHttpInfoInt64(HINTERNET request, DWORD level)
{
    CString text = QueryHttpInfoString(request, level);
    return text.IsEmpty() ? 0 : _wcstoi64(text, nullptr, 10);
}

void CHttpClient::Reset()
{
    m_strUrl.Empty();
    m_nRangeStart = 0;
    m_nByteLimit = -1;
    m_nAccessType = 0;
    m_strProxyHost.Empty();
    m_nProxyPort = 80;
    m_strUserName.Empty();
    m_strPassword.Empty();
    m_bNoAutoRedirect = 0;
    m_strUserAgent.Empty();
    m_strReferrer.Empty();
    m_strCookie.Empty();
    m_strExtraHeader.Empty();
    m_nTimeout = 30;
    m_nBufferSize = 0;
    m_pCancel = nullptr;
    m_pListener = nullptr;
    m_info = HttpResponseInfo();
}

int CHttpClient::OnRequestStart() { return m_pListener ? m_pListener->OnRequestStart(this, &m_info) : -1; }
int CHttpClient::OnRequestProgress() { return m_pListener ? m_pListener->OnRequestProgress(this, &m_info) : -1; }
int CHttpClient::OnRequestEnd() { return m_pListener ? m_pListener->OnRequestEnd(this, &m_info) : -1; }

CString CHttpClient::BuildHeaders()
{
    if (m_nRangeStart < 0)
        m_nRangeStart = 0;
    CString block;
    auto line = [&block](const wchar_t* name, const CString& value) {
        if (!value.IsEmpty())
            block += CString(name) + value + L"\r\n";
    };
    line(L"Accept: ", m_strAccept);
    line(L"Accept-Language: ", m_strAcceptLanguage);
    if (m_nRangeStart > 0) {
        CString range;
        range.Format(L"bytes=%I64d-", m_nRangeStart);
        line(L"Range: ", range);
    }
    line(L"Accept-Encoding: ", m_strAcceptEncoding);
    line(L"Content-Type: ", m_strContentType);
    line(L"Cookie: ", m_strCookie);
    line(L"", m_strExtraHeader);
    return block;
}

CString CHttpClient::GetProxyString()
{
    if (m_nAccessType != 0 && m_nAccessType != 1 && m_nAccessType != 3)
        m_nAccessType = 0;
    CString proxy;
    if (m_nAccessType == 3) {
        if (!m_strProxyHost.IsEmpty() && m_nProxyPort >= 0)
            proxy.Format(L"%s:%d", m_strProxyHost.GetString(), m_nProxyPort);
        else
            m_nAccessType = 0;
    }
    return proxy;
}

DWORD CHttpClient::GetRequestFlags(int scheme)
{
    DWORD flags = m_bNoAutoRedirect ? INTERNET_FLAG_NO_AUTO_REDIRECT : 0;
    if (scheme == INTERNET_SCHEME_HTTPS)
        flags |= INTERNET_FLAG_SECURE;
    return flags;
}

void CHttpClient::ResetResponse()
{
    m_nStatusCode = 0;
    m_strRawHeaders.Empty();
    m_strAcceptRanges.Empty();
    m_strContentEncoding.Empty();
    m_strLocation.Empty();
    m_info = HttpResponseInfo();
}

int CHttpClient::CrackUrl()
{
    std::vector<wchar_t> host(4097), path(4097);
    URL_COMPONENTSW parts{};
    parts.dwStructSize = sizeof parts;
    parts.lpszHostName = host.data();
    parts.dwHostNameLength = 4096;
    parts.lpszUrlPath = path.data();
    parts.dwUrlPathLength = 4096;
    // The path field then carries the query as well.
    std::vector<wchar_t> extra(4097);
    parts.lpszExtraInfo = extra.data();
    parts.dwExtraInfoLength = 4096;
    if (m_strUrl.IsEmpty() || !::InternetCrackUrlW(m_strUrl, 0, 0, &parts))
        return -2;
    if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS)
        return -2;
    if (!host[0])
        return -2;
    m_nScheme = parts.nScheme;
    m_strHost = host.data();
    m_nPort = parts.nPort;
    m_strPath = CString(path.data()) + extra.data();
    if (m_strPath.IsEmpty())
        m_strPath = L"/";
    return 0;
}

int CHttpClient::Prepare()
{
    ResetResponse();
    if (m_strUserAgent.IsEmpty())
        m_strUserAgent = kDefaultUserAgent;
    if (m_nBufferSize <= 0)
        m_nBufferSize = 4096;
    if (CrackUrl() != 0)
        return -2;
    DWORD state = 0;
    if (!IsLoopbackHost(m_strHost) && !::InternetGetConnectedState(&state, 0))
        return -2;
    return 0;
}

int CHttpClient::RunRequest()
{
    CHttpRequestRecord record;
    record.client = this;
    HANDLE thread = ::CreateThread(nullptr, 0, HttpRequestThreadProc, &record, 0, nullptr);
    if (!thread)
        return -1;
    const int fullBudget = m_nTimeout * 1000;
    int budget = fullBudget;
    int seenSteps = record.steps;
    int outcome = 0;
    bool finished = false;
    for (;;) {
        if (IsCancelled()) {
            outcome = 1;
            break;
        }
        if (::WaitForSingleObject(thread, kWatchStepMs) == WAIT_OBJECT_0) {
            finished = true;
            break;
        }
        const int steps = record.steps;
        if (steps != seenSteps) {
            seenSteps = steps;
            budget = fullBudget;
        } else {
            budget -= int(kWatchStepMs);
        }
        if (budget <= 0) {
            outcome = -1;
            break;
        }
    }
    if (!finished) {
        // Closing the handles makes the blocked WinINet call return; the thread then ends on
        // its own, and the record on this stack must outlive it.
        record.aborted = 1;
        record.handles.Close();
        ::WaitForSingleObject(thread, INFINITE);
    } else {
        outcome = record.result;
    }
    ::CloseHandle(thread);
    record.handles.Close();
    return outcome;
}

int CHttpClient::Execute(CHttpRequestRecord& record)
{
    record.steps = 0;
    if (int prepared = Prepare(); prepared != 0)
        return prepared;
    auto abandoned = [&record, this] { return record.aborted != 0 || IsCancelled(); };

    CString proxy = GetProxyString();
    ++record.steps;
    HINTERNET internet = ::InternetOpenW(m_strUserAgent, DWORD(m_nAccessType), NullWhenEmpty(proxy), nullptr, 0);
    if (!internet)
        return -2;
    record.handles.m_internet = internet;
    if (abandoned())
        return 1;
    LimitBlockingCalls(internet, m_nTimeout);

    ++record.steps;
    HINTERNET connection = ::InternetConnectW(internet, m_strHost, m_nPort, NullWhenEmpty(m_strUserName),
                                              NullWhenEmpty(m_strPassword), INTERNET_SERVICE_HTTP, 0, kContext);
    if (!connection)
        return -2;
    record.handles.m_connection = connection;
    if (abandoned())
        return 1;
    LimitBlockingCalls(connection, m_nTimeout);

    // Certificate problems are never waved through, whatever the caller's raw flags ask.
    DWORD flags = GetRequestFlags(m_nScheme) & ~DWORD(INTERNET_FLAG_IGNORE_CERT_CN_INVALID |
                                                      INTERNET_FLAG_IGNORE_CERT_DATE_INVALID);
    if (m_strVerb.IsEmpty())
        m_strVerb = L"GET";
    ++record.steps;
    HINTERNET request = ::HttpOpenRequestW(connection, m_strVerb, m_strPath, NullWhenEmpty(m_strHttpVersion),
                                           NullWhenEmpty(m_strReferrer), nullptr, flags, kContext);
    if (!request)
        return -1;
    record.handles.m_request = request;
    if (abandoned())
        return 1;
    LimitBlockingCalls(request, m_nTimeout);

    CString headers = BuildHeaders();
    if (!headers.IsEmpty())
        ::HttpAddRequestHeadersW(request, headers, DWORD(-1), HTTP_ADDREQ_FLAG_ADD);
    std::string body;
    if (!m_strBody.IsEmpty() && WideToAnsi(m_strBody, body) < 0)
        return -1;
    ++record.steps;
    if (!::HttpSendRequestW(request, nullptr, 0, body.empty() ? nullptr : &body[0], DWORD(body.size())))
        return record.aborted ? -1 : -2;

    m_nStatusCode = QueryStatusCode(request);
    if (m_nStatusCode == 401)
        return -2;
    ReadResponseHeaders(request);
    // An error page is no document.
    if (m_nStatusCode >= 400)
        return -1;
    if (!m_pSink)
        return 0;
    if (abandoned())
        return 1;
    if (PositionSinkForBody(request) != 0)
        return -1;
    OnRequestStart();
    int result = ReadBody(record, request);
    OnRequestEnd();
    return result;
}

int CHttpClient::QueryStatusCode(HINTERNET request)
{
    wchar_t text[128] = L"";
    DWORD bytes = sizeof text;
    if (!::HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE, text, &bytes, nullptr))
        return 0;
    return _wtoi(text);
}

void CHttpClient::ReadResponseHeaders(HINTERNET request)
{
    m_info.contentLength = QueryHttpInfoInt64(request, HTTP_QUERY_CONTENT_LENGTH);
    m_strRawHeaders = QueryHttpInfoString(request, HTTP_QUERY_RAW_HEADERS_CRLF);
    m_strContentEncoding = QueryHttpInfoString(request, HTTP_QUERY_CONTENT_ENCODING);
    m_strAcceptRanges = QueryHttpInfoString(request, HTTP_QUERY_ACCEPT_RANGES);
    if (m_nStatusCode == 301 || m_nStatusCode == 302 || m_nStatusCode == 303)
        m_strLocation = QueryHttpInfoString(request, HTTP_QUERY_LOCATION);
    if (m_strAcceptRanges == L"bytes")
        m_info.flags |= kHttpAcceptsRanges;
}

// A ranged request continues the sink where it stands only when the server sent that range.
// A server that ignores the range sends the whole body: it then goes where byte 0 belongs, in
// place of what was there.
int CHttpClient::PositionSinkForBody(HINTERNET request)
{
    if (m_nRangeStart <= 0)
        return 0;
    if (m_nStatusCode == 206)
        return ContentRangeStart(QueryHttpInfoString(request, HTTP_QUERY_CONTENT_RANGE)) == m_nRangeStart ? 0 : -1;
    const int64_t start = m_pSink->GetPosition() - m_nRangeStart;
    if (start < 0 || m_pSink->Seek(start, 0) != start || m_pSink->SetLength(start) != start)
        return -1;
    return 0;
}

int CHttpClient::ReadBody(CHttpRequestRecord& record, HINTERNET request)
{
    std::vector<unsigned char> buffer(static_cast<size_t>(m_nBufferSize));
    for (;;) {
        if (IsCancelled())
            return 1;
        if (record.aborted)
            return -1;
        DWORD chunk = DWORD(m_nBufferSize);
        if (m_nByteLimit > 0 && m_nByteLimit - m_info.received < int64_t(chunk))
            chunk = DWORD(m_nByteLimit - m_info.received);
        // A read waits until its whole chunk has come, so a slow server would look stuck to
        // the watchdog: read what has arrived, as soon as it has.
        ++record.steps;
        DWORD available = 0;
        if (!::InternetQueryDataAvailable(request, &available, 0, 0))
            return -1;
        if (available > 0 && available < chunk)
            chunk = available;
        std::memset(buffer.data(), 0, buffer.size());
        ++record.steps;
        DWORD got = 0;
        if (available > 0 && !::InternetReadFile(request, buffer.data(), chunk, &got))
            return -1;
        // Only the end of the body ends the transfer, and a body cut short is no success.
        if (got == 0)
            return m_info.contentLength > 0 && m_info.received < m_info.contentLength ? -1 : 0;
        if (record.aborted)
            return -1;
        ++record.steps;
        size_t written = 0;
        if (m_pSink->Write(buffer.data(), got, &written) != 0 || written != got)
            return -1;
        m_info.received += int64_t(written);
        if (OnRequestProgress() == kHttpStopTransfer)
            return 0;
        if (m_nByteLimit > 0 && m_info.received >= m_nByteLimit)
            return 0;
    }
}
