#pragma once
// The loopback test server's addresses (it is started by the test run before the programs that
// need it; see http_test_server.py for its routes).
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "CString.h"

struct HttpTestServer {
    int httpPort = 0;
    int httpsPort = 0;

    static const HttpTestServer& Get()
    {
        static HttpTestServer server = Read();
        return server;
    }
    static CString Url(const wchar_t* path) { return Address(L"http", Get().httpPort, path); }
    static CString SecureUrl(const wchar_t* path) { return Address(L"https", Get().httpsPort, path); }

    // The bytes of /data/N from `first` on.
    static std::vector<unsigned char> Pattern(int first, int count)
    {
        std::vector<unsigned char> bytes;
        for (int i = first; i < first + count; ++i)
            bytes.push_back(static_cast<unsigned char>((i * 7 + (i >> 8)) & 0xFF));
        return bytes;
    }

private:
    static HttpTestServer Read()
    {
        HttpTestServer server;
        if (FILE* f = std::fopen(HTTP_TEST_SERVER_PORTS, "r")) {
            if (std::fscanf(f, "%d %d", &server.httpPort, &server.httpsPort) != 2)
                server = HttpTestServer();
            std::fclose(f);
        }
        return server;
    }
    static CString Address(const wchar_t* scheme, int port, const wchar_t* path)
    {
        CString url;
        url.Format(L"%s://127.0.0.1:%d%s", scheme, port, path);
        return url;
    }
};
