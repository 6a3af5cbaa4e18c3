#pragma once
// A small synchronous HTTP/HTTPS client over WinINet. Each request runs on a thread of its own
// while the calling thread watches it: the caller's cancel flag stops it, and so does a request
// that makes no progress for the time-out. Stopping closes the request's handles (which makes a
// blocked WinINet call return) and waits for the thread; threads are never killed.
#include <windows.h>
#include <wininet.h>

#include <atomic>
#include <cstdint>

#include "CString.h"

class CHttpClient;
class CDataStream;

// Bit of HttpResponseInfo::flags and HttpDownloadInfo::flags: the server takes byte ranges.
constexpr uint32_t kHttpAcceptsRanges = 0x100;

struct HttpResponseInfo {
    uint32_t flags = 0;
    int64_t contentLength = 0;   // 0 when the server sends none
    int64_t received = 0;        // body bytes so far
    uint32_t reserved[4] = {};
};

struct HttpDownloadInfo {
    uint32_t flags = 0;          // kHttpAcceptsRanges: a download can be resumed
    int64_t contentLength = 0;
    int64_t reserved = 0;
};

class IHttpListener {
public:
    virtual ~IHttpListener() = default;
    virtual int OnRequestStart(CHttpClient* client, HttpResponseInfo* info) = 0;
    // Answering kHttpStopTransfer ends the body transfer early, as a success.
    virtual int OnRequestProgress(CHttpClient* client, HttpResponseInfo* info) = 0;
    virtual int OnRequestEnd(CHttpClient* client, HttpResponseInfo* info) = 0;
};
constexpr int kHttpStopTransfer = 11;

// The three handles of one request. Both threads of a request may close them, so each is taken
// out of its slot before it is closed.
class CInternetHandles {
public:
    std::atomic<HINTERNET> m_internet{nullptr};
    std::atomic<HINTERNET> m_connection{nullptr};
    std::atomic<HINTERNET> m_request{nullptr};

    CInternetHandles() = default;
    ~CInternetHandles() { Close(); }
    CInternetHandles(const CInternetHandles&) = delete;
    CInternetHandles& operator=(const CInternetHandles&) = delete;

    // Request, then connection, then the internet handle, each when set.
    void Close();
};

// What the request thread and its watchdog share.
struct CHttpRequestRecord {
    CHttpClient* client = nullptr;
    CInternetHandles handles;
    std::atomic<int> steps{0};
    std::atomic<int> result{-1};
    std::atomic<int> aborted{0};   // set by the watchdog before it closes the handles
};

class CHttpClient {
public:
    // Settings (Reset gives the defaults).
    CString m_strUrl;
    int64_t m_nRangeStart = 0;   // sent as a Range header when > 0
    int64_t m_nByteLimit = -1;   // body bytes to read; <= 0 means no limit
    int m_nAccessType = 0;       // 0 system configuration, 1 direct, 3 named proxy
    CString m_strProxyHost;
    int m_nProxyPort = 80;
    CString m_strUserName;
    CString m_strPassword;
    int m_bNoAutoRedirect = 0;
    CString m_strUserAgent;      // empty: kDefaultUserAgent
    CString m_strReferrer;
    CString m_strCookie;
    CString m_strExtraHeader;    // one raw header line, sent last
    int m_nTimeout = 30;         // seconds without progress before the request is abandoned
    int m_nBufferSize = 0;       // read-chunk size; 0: 4096
    const std::atomic<int>* m_pCancel = nullptr;   // the caller's; non-zero stops the request
    IHttpListener* m_pListener = nullptr;
    HttpResponseInfo m_info;

    // Response of the last request.
    int m_nStatusCode = 0;
    CString m_strRawHeaders;
    CString m_strAcceptRanges;
    CString m_strContentEncoding;
    CString m_strLocation;

    static const wchar_t kDefaultUserAgent[];

    CHttpClient() { CHttpClient::Reset(); }
    virtual ~CHttpClient() = default;
    CHttpClient(const CHttpClient&) = delete;
    CHttpClient& operator=(const CHttpClient&) = delete;

    virtual void Reset();
    virtual int QueryInfo(HttpDownloadInfo* info) = 0;
    virtual int GetContentLength(int64_t* length) = 0;
    virtual int DownloadToFile(const wchar_t* path, int64_t offset, int append) = 0;
    virtual int DownloadToStream(CDataStream* stream) = 0;
    // Forwarded to the listener; -1 without one.
    virtual int OnRequestStart();
    virtual int OnRequestProgress();
    virtual int OnRequestEnd();

    // The header block of the settings, each line ended by CR LF.
    CString BuildHeaders();
    // The proxy text for the access type ("host:port" for a named proxy), after mending the type.
    CString GetProxyString();
    bool IsCancelled() const { return m_pCancel && *m_pCancel != 0; }

    // Runs one request on a thread of its own and watches it: 0 done, 1 cancelled, -1 failed,
    // -2 no connection, bad address or refused.
    int RunRequest();
    // The request itself, on the request thread.
    int Execute(CHttpRequestRecord& record);

    // Request settings that the downloader resets (the request itself reads them here).
    CString m_strVerb;           // empty: "GET"
    CString m_strHttpVersion;
    CString m_strAccept;
    CString m_strAcceptLanguage;
    CString m_strAcceptEncoding;
    CString m_strContentType;
    CString m_strBody;           // sent as bytes of the system code page

protected:
    // The body's receiver during one request (none: headers only).
    CDataStream* m_pSink = nullptr;

    // The request flags of the settings for the URL's scheme.
    virtual DWORD GetRequestFlags(int scheme);

private:
    CString m_strHost, m_strPath;
    INTERNET_PORT m_nPort = 0;
    int m_nScheme = 0;

    int Prepare();
    int CrackUrl();
    void ResetResponse();
    int QueryStatusCode(HINTERNET request);
    void ReadResponseHeaders(HINTERNET request);
    int PositionSinkForBody(HINTERNET request);
    int ReadBody(CHttpRequestRecord& record, HINTERNET request);
};

// Reads one text header of a response (size first, then the text); empty when missing.
CString QueryHttpInfoString(HINTERNET request, DWORD level);
// A numeric header of a response as a 64-bit number; 0 when missing.
int64_t QueryHttpInfoInt64(HINTERNET request, DWORD level);

DWORD WINAPI HttpRequestThreadProc(void* record);
