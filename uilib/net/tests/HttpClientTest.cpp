#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "DataStream.h"
#include "FwTestSupport.h"
#include "HttpDownloader.h"
#include "HttpTestServer.h"
#include "ScratchFolder.h"

namespace {

using Bytes = std::vector<unsigned char>;

Bytes StreamBytes(CMemoryStream& stream)
{
    const unsigned char* data = stream.GetBuffer();
    return data ? Bytes(data, data + stream.GetLength()) : Bytes();
}

Bytes FileBytes(const CString& path)
{
    std::ifstream in(path.str().c_str(), std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const CString& path, const Bytes& bytes)
{
    std::ofstream out(path.str().c_str(), std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// The value of one response header in the raw headers.
CString HeaderValue(const CString& raw, const wchar_t* name)
{
    CString key = CString(L"\r\n") + name + L": ";
    int at = raw.Find(key);
    if (at < 0)
        return CString();
    at += key.GetLength();
    int end = raw.Find(L"\r\n", at);
    return raw.Mid(at, end < 0 ? raw.GetLength() - at : end - at);
}

// Records every call and can act on the progress.
class RecordingListener : public IHttpListener {
public:
    int starts = 0, ends = 0;
    std::vector<int64_t> received;
    std::atomic<int>* cancelAfterFirst = nullptr;
    int progressAnswer = 0;

    int OnRequestStart(CHttpClient*, HttpResponseInfo*) override { return ++starts; }
    int OnRequestProgress(CHttpClient*, HttpResponseInfo* info) override
    {
        received.push_back(info->received);
        if (cancelAfterFirst)
            *cancelAfterFirst = 3;
        return progressAnswer;
    }
    int OnRequestEnd(CHttpClient*, HttpResponseInfo*) override { return ++ends; }
};

class HttpClientTest : public ScratchFolderTest {
protected:
    void SetUp() override
    {
        ScratchFolderTest::SetUp();
        ASSERT_NE(HttpTestServer::Get().httpPort, 0) << "the test server is not running";
    }
};

TEST(HttpClientSettings, ResetGivesTheDefaults)
{
    CHttpDownloader http;
    http.m_strUrl = L"http://a.test/";
    http.m_nRangeStart = 5;
    http.m_nByteLimit = 9;
    http.m_nAccessType = 3;
    http.m_nProxyPort = 8080;
    http.m_nTimeout = 2;
    http.m_nBufferSize = 10;
    http.m_bKeepConnection = 0;
    http.m_bReload = 1;
    http.m_strAccept = L"*/*";
    http.m_nStatusCode = 404;
    http.Reset();
    EXPECT_TRUE(http.m_strUrl.IsEmpty());
    EXPECT_EQ(http.m_nRangeStart, 0);
    EXPECT_EQ(http.m_nByteLimit, -1);
    EXPECT_EQ(http.m_nAccessType, 0);
    EXPECT_EQ(http.m_nProxyPort, 80);
    EXPECT_EQ(http.m_nTimeout, 30);
    EXPECT_EQ(http.m_nBufferSize, 0);
    EXPECT_EQ(http.m_bKeepConnection, 1);
    EXPECT_EQ(http.m_bReload, 0);
    EXPECT_TRUE(http.m_strAccept.IsEmpty());
    EXPECT_EQ(http.m_nStatusCode, 0);
    EXPECT_EQ(http.m_pCancel, nullptr);
    EXPECT_EQ(http.m_pListener, nullptr);
}

TEST(HttpClientSettings, WithoutAListenerTheEventsAnswerMinusOne)
{
    CHttpDownloader http;
    EXPECT_EQ(http.OnRequestStart(), -1);
    EXPECT_EQ(http.OnRequestProgress(), -1);
    EXPECT_EQ(http.OnRequestEnd(), -1);
    RecordingListener listener;
    http.m_pListener = &listener;
    EXPECT_EQ(http.OnRequestStart(), 1);
    EXPECT_EQ(http.OnRequestEnd(), 1);
}

TEST(HttpClientSettings, TheHeaderBlockKeepsItsOrder)
{
    CHttpDownloader http;
    http.m_strAccept = L"text/xml";
    http.m_strAcceptLanguage = L"en";
    http.m_nRangeStart = 1234567890123;
    http.m_strAcceptEncoding = L"identity";
    http.m_strContentType = L"text/plain";
    http.m_strCookie = L"a=b";
    http.m_strExtraHeader = L"X-Extra: 1";
    EXPECT_EQ(http.BuildHeaders(), CString(L"Accept: text/xml\r\nAccept-Language: en\r\nRange: bytes=1234567890123-\r\n"
                                           L"Accept-Encoding: identity\r\nContent-Type: text/plain\r\nCookie: a=b\r\n"
                                           L"X-Extra: 1\r\n"));
    http.Reset();
    http.m_nRangeStart = -5;
    EXPECT_TRUE(http.BuildHeaders().IsEmpty());
    EXPECT_EQ(http.m_nRangeStart, 0);
}

TEST(HttpClientSettings, TheAccessTypeFallsBackToTheSystemOne)
{
    struct Case {
        int type;
        const wchar_t* host;
        int port;
        int mended;
        const wchar_t* proxy;
    } cases[] = {
        {0, L"", 80, 0, L""},
        {1, L"proxy.test", 80, 1, L""},
        {3, L"proxy.test", 3128, 3, L"proxy.test:3128"},
        {3, L"", 3128, 0, L""},
        {3, L"proxy.test", -1, 0, L""},
        {2, L"proxy.test", 80, 0, L""},
        {7, L"", 80, 0, L""},
    };
    for (const Case& c : cases) {
        CHttpDownloader http;
        http.m_nAccessType = c.type;
        http.m_strProxyHost = c.host;
        http.m_nProxyPort = c.port;
        EXPECT_EQ(http.GetProxyString(), CString(c.proxy)) << c.type;
        EXPECT_EQ(http.m_nAccessType, c.mended) << c.type;
    }
}

TEST_F(HttpClientTest, OurHeadersGoOutInTheirOrder)
{
    CHttpDownloader http;
    http.m_strUrl = HttpTestServer::Url(L"/echo-headers");
    http.m_strAccept = L"text/xml";
    http.m_strAcceptLanguage = L"en";
    http.m_nRangeStart = 7;
    http.m_strAcceptEncoding = L"identity";
    http.m_strContentType = L"text/plain";
    http.m_strCookie = L"a=b";
    http.m_strExtraHeader = L"X-Extra: 1";
    http.m_strReferrer = L"http://referrer.test/";
    ASSERT_EQ(http.Get(), 0);
    EXPECT_EQ(http.m_nStatusCode, 200);
    CString names = HeaderValue(http.m_strRawHeaders, L"X-Echo-Headers");
    int last = -1;
    for (const wchar_t* name : {L"Accept", L"Accept-Language", L"Range", L"Accept-Encoding", L"Content-Type", L"Cookie",
                                L"X-Extra"}) {
        int at = (L"," + names + L",").Find(CString(L",") + name + L",");
        EXPECT_GT(at, last) << CString(name).ToUtf8() << " in " << names.ToUtf8();
        last = at;
    }
    EXPECT_EQ(HeaderValue(http.m_strRawHeaders, L"X-Echo-Agent"), CString(CHttpClient::kDefaultUserAgent));
    EXPECT_EQ(HeaderValue(http.m_strRawHeaders, L"X-Echo-Referer"), CString(L"http://referrer.test/"));
}

TEST_F(HttpClientTest, ANegativeRangeStartSendsNoRange)
{
    CHttpDownloader http;
    http.m_strUrl = HttpTestServer::Url(L"/echo-headers");
    http.m_nRangeStart = -5;
    ASSERT_EQ(http.Get(), 0);
    EXPECT_EQ(HeaderValue(http.m_strRawHeaders, L"X-Echo-Headers").Find(L"Range"), -1);
}

TEST_F(HttpClientTest, EachAnswerHasItsResult)
{
    struct Case {
        CString url;
        int result;
        int status;
        int64_t bodyBytes;   // -1: not looked at
    } cases[] = {
        {HttpTestServer::Url(L"/data/100"), 0, 200, 100},
        {HttpTestServer::Url(L"/redirect/300"), 0, 200, 300},   // followed
        {HttpTestServer::Url(L"/status/404"), -1, 404, 0},      // an error page is no document
        {HttpTestServer::Url(L"/status/500"), -1, 500, 0},
        {HttpTestServer::Url(L"/status/403"), -1, 403, 0},
        {HttpTestServer::Url(L"/status/401"), -2, 401, 0},      // refused
        {HttpTestServer::Url(L"/short/1000"), -1, 200, -1},     // the body was cut short
        {L"ftp://127.0.0.1/file", -2, 0, 0},
        {L"not an address", -2, 0, 0},
        {L"", -2, 0, 0},
        {L"http://127.0.0.1:1/nobody-listens", -2, 0, 0},
    };
    for (const Case& c : cases) {
        CHttpDownloader http;
        http.m_strUrl = c.url;
        CMemoryStream body(1024);
        EXPECT_EQ(http.GetToStream(&body), c.result) << c.url.ToUtf8();
        EXPECT_EQ(http.m_nStatusCode, c.status) << c.url.ToUtf8();
        if (c.bodyBytes >= 0) {
            EXPECT_EQ(body.GetLength(), c.bodyBytes) << c.url.ToUtf8();
        }
    }
}

TEST_F(HttpClientTest, WithoutAutoRedirectTheMoveAndItsLocationComeBack)
{
    CHttpDownloader http;
    http.m_strUrl = HttpTestServer::Url(L"/redirect/300");
    http.m_bNoAutoRedirect = 1;
    ASSERT_EQ(http.Get(), 0);
    EXPECT_EQ(http.m_nStatusCode, 301);
    EXPECT_EQ(http.m_strLocation, CString(L"/data/300"));
}

TEST_F(HttpClientTest, TheBodyArrivesWhole)
{
    CHttpDownloader http;
    http.m_strUrl = HttpTestServer::Url(L"/data/50000");
    RecordingListener listener;
    http.m_pListener = &listener;
    CMemoryStream body(1024);
    ASSERT_EQ(http.DownloadToStream(&body), 0);
    EXPECT_EQ(StreamBytes(body), HttpTestServer::Pattern(0, 50000));
    EXPECT_EQ(http.m_info.contentLength, 50000);
    EXPECT_EQ(http.m_info.received, 50000);
    EXPECT_TRUE(http.m_info.flags & kHttpAcceptsRanges);
    EXPECT_EQ(http.m_strAcceptRanges, CString(L"bytes"));
    EXPECT_EQ(listener.starts, 1);
    EXPECT_EQ(listener.ends, 1);
    ASSERT_FALSE(listener.received.empty());
    EXPECT_EQ(listener.received.back(), 50000);
}

TEST_F(HttpClientTest, AByteLimitReadsInChunksUpToIt)
{
    CHttpDownloader http;
    http.m_strUrl = HttpTestServer::Url(L"/data/20000");
    http.m_nByteLimit = 10000;
    http.m_nBufferSize = 4096;
    RecordingListener listener;
    http.m_pListener = &listener;
    CMemoryStream body(1024);
    ASSERT_EQ(http.GetToStream(&body), 0);
    EXPECT_EQ(StreamBytes(body), HttpTestServer::Pattern(0, 10000));
    // Reads of 4096, 4096 and 1808 bytes; a read may deliver less than it asked for.
    ASSERT_FALSE(listener.received.empty());
    EXPECT_EQ(listener.received.back(), 10000);
    for (int64_t total : listener.received)
        EXPECT_LE(total, 10000);
}

TEST_F(HttpClientTest, AProgressAnswerOfElevenEndsTheTransferAsASuccess)
{
    CHttpDownloader http;
    http.m_strUrl = HttpTestServer::Url(L"/data/50000");
    http.m_nBufferSize = 1000;
    RecordingListener listener;
    listener.progressAnswer = kHttpStopTransfer;
    http.m_pListener = &listener;
    CMemoryStream body(1024);
    ASSERT_EQ(http.GetToStream(&body), 0);
    EXPECT_EQ(listener.received.size(), 1u);
    EXPECT_LE(body.GetLength(), 1000);
}

TEST_F(HttpClientTest, TheTextOfABodyComesAsAString)
{
    CHttpDownloader http;
    http.m_strUrl = HttpTestServer::Url(L"/status/200");
    CString text;
    ASSERT_EQ(http.DownloadToString(text), 0);
    EXPECT_EQ(text, CString(L"status 200\n"));
    http.m_strUrl = HttpTestServer::Url(L"/status/404");
    text = L"kept";
    EXPECT_EQ(http.DownloadToString(text), -1);
    EXPECT_EQ(text, CString(L"kept"));
}

TEST_F(HttpClientTest, CancellingMidTransferStopsIt)
{
    CHttpDownloader http;
    http.m_strUrl = HttpTestServer::Url(L"/trickle/100/200");   // twenty seconds of body
    std::atomic<int> cancel{0};
    http.m_pCancel = &cancel;
    RecordingListener listener;
    listener.cancelAfterFirst = &cancel;
    http.m_pListener = &listener;
    CMemoryStream body(1024);
    const DWORD start = ::GetTickCount();
    EXPECT_EQ(http.GetToStream(&body), 1);
    EXPECT_LT(::GetTickCount() - start, 3000u) << "the cancelled transfer ran on";
    EXPECT_LT(body.GetLength(), 10000);
}

TEST_F(HttpClientTest, ACancelledFlagStopsBeforeConnecting)
{
    CHttpDownloader http;
    http.m_strUrl = HttpTestServer::Url(L"/data/100");
    std::atomic<int> cancel{1};
    http.m_pCancel = &cancel;
    CMemoryStream body(1024);
    EXPECT_EQ(http.GetToStream(&body), 1);
    EXPECT_EQ(body.GetLength(), 0);
}

TEST_F(HttpClientTest, AStalledTransferIsAbandonedAfterTheTimeOut)
{
    CHttpDownloader http;
    http.m_strUrl = HttpTestServer::Url(L"/stall/x");
    http.m_nTimeout = 2;
    CMemoryStream body(1024);
    const DWORD start = ::GetTickCount();
    EXPECT_EQ(http.GetToStream(&body), -1);
    const DWORD elapsed = ::GetTickCount() - start;
    EXPECT_GE(elapsed, 1500u);
    EXPECT_LT(elapsed, 2000u + 3100u + 2000u) << "time-out plus the grace, with room for a slow machine";
    EXPECT_EQ(body.GetLength(), 1000) << "what came before the stall";
}

TEST_F(HttpClientTest, ASlowButSteadyTransferIsNotAbandoned)
{
    CHttpDownloader http;
    http.m_strUrl = HttpTestServer::Url(L"/trickle/8/700");   // 5.6 s in all, never 2 s quiet
    http.m_nTimeout = 2;
    CMemoryStream body(1024);
    EXPECT_EQ(http.GetToStream(&body), 0);
    EXPECT_EQ(StreamBytes(body), HttpTestServer::Pattern(0, 800));
}

TEST_F(HttpClientTest, AHalfWrittenFileIsResumedToTheExactBytes)
{
    const CString path = Path("download.bin");
    WriteFileBytes(path, HttpTestServer::Pattern(0, 6000));
    CHttpDownloader http;
    http.m_strUrl = HttpTestServer::Url(L"/data/15000");
    http.m_nRangeStart = 6000;
    ASSERT_EQ(http.DownloadToFile(path, 6000, 0), 0);
    EXPECT_EQ(http.m_nStatusCode, 206);
    EXPECT_EQ(FileBytes(path), HttpTestServer::Pattern(0, 15000));
    EXPECT_EQ(http.m_nRangeStart, 6000);
}

TEST_F(HttpClientTest, AWholeBodyForARangeStartsTheFileAgain)
{
    const CString path = Path("download.bin");
    WriteFileBytes(path, Bytes(6000, 0xEE));
    CHttpDownloader http;
    http.m_strUrl = HttpTestServer::Url(L"/norange/15000");
    http.m_nRangeStart = 6000;
    ASSERT_EQ(http.DownloadToFile(path, 6000, 0), 0);
    EXPECT_EQ(http.m_nStatusCode, 200);
    EXPECT_EQ(FileBytes(path), HttpTestServer::Pattern(0, 15000)) << "the whole body was appended";
}

TEST_F(HttpClientTest, ARangeFromTheWrongPlaceFails)
{
    const CString path = Path("download.bin");
    WriteFileBytes(path, HttpTestServer::Pattern(0, 6000));
    CHttpDownloader http;
    http.m_strUrl = HttpTestServer::Url(L"/badrange/15000");
    http.m_nRangeStart = 6000;
    EXPECT_EQ(http.DownloadToFile(path, 6000, 0), -1);
    EXPECT_EQ(FileBytes(path), HttpTestServer::Pattern(0, 6000));
}

TEST_F(HttpClientTest, FilesOpenByOffsetAndAppendFlag)
{
    const CString path = Path("download.bin");
    CHttpDownloader http;
    http.m_strUrl = HttpTestServer::Url(L"/data/100");
    // A missing file with an offset is not made.
    EXPECT_EQ(http.DownloadToFile(path, 10, 0), -1);
    EXPECT_EQ(http.DownloadToFile(path, 0, 1), -1);
    // Offset 0: a new file; offset -1: appended to its end.
    ASSERT_EQ(http.DownloadToFile(path, 0, 0), 0);
    EXPECT_EQ(FileBytes(path).size(), 100u);
    ASSERT_EQ(http.DownloadToFile(path, -1, 0), 0);
    EXPECT_EQ(FileBytes(path).size(), 200u);
    ASSERT_EQ(http.DownloadToFile(path, 0, 0), 0);
    EXPECT_EQ(FileBytes(path), HttpTestServer::Pattern(0, 100));
}

TEST_F(HttpClientTest, QueriesPutTheRangeAndLimitBack)
{
    CHttpDownloader http;
    http.m_strUrl = HttpTestServer::Url(L"/data/20000");
    http.m_nRangeStart = 123;
    http.m_nByteLimit = 456;
    int64_t length = 0;
    ASSERT_EQ(http.GetContentLength(&length), 0);
    EXPECT_EQ(length, 20000);
    HttpDownloadInfo info;
    ASSERT_EQ(http.QueryInfo(&info), 0);
    EXPECT_EQ(info.contentLength, 20000);
    EXPECT_TRUE(info.flags & kHttpAcceptsRanges);
    EXPECT_EQ(http.m_nRangeStart, 123);
    EXPECT_EQ(http.m_nByteLimit, 456);

    http.m_strUrl = HttpTestServer::Url(L"/norange/20000");
    ASSERT_EQ(http.QueryInfo(&info), 0);
    EXPECT_FALSE(info.flags & kHttpAcceptsRanges);
    http.m_strUrl = HttpTestServer::Url(L"/status/404");
    EXPECT_EQ(http.GetContentLength(&length), -1);
    EXPECT_EQ(length, 0);
    EXPECT_EQ(http.QueryInfo(&info), -1);
}

TEST_F(HttpClientTest, AnUntrustedCertificateIsRefused)
{
    CHttpDownloader http;
    http.m_strUrl = HttpTestServer::SecureUrl(L"/data/100");
    CMemoryStream body(1024);
    EXPECT_EQ(http.GetToStream(&body), -2);
    EXPECT_EQ(body.GetLength(), 0);
    // Not even when the caller asks to wave name and date problems through.
    http.m_dwRawFlags = INTERNET_FLAG_IGNORE_CERT_CN_INVALID | INTERNET_FLAG_IGNORE_CERT_DATE_INVALID;
    EXPECT_EQ(http.GetToStream(&body), -2);
    EXPECT_EQ(body.GetLength(), 0);
}

} // namespace
