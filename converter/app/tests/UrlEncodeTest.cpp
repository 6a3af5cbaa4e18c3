#include "UrlEncode.h"

#include <gtest/gtest.h>

namespace {

TEST(UrlEncode, Table)
{
    struct Case {
        const wchar_t* text;
        bool reserved;
        const wchar_t* encoded;
    } const cases[] = {
        {L"a b%", false, L"a%20b%25"},
        {L"a/b", false, L"a/b"},
        {L"a/b", true, L"a%2Fb"},
        {L"$&+,./:;=?@-_!*()'", false, L"$&+,./:;=?@-_!*()'"},
        {L"$&+,./:;=?@-_!*()'", true, L"%24%26%2B%2C%2E%2F%3A%3B%3D%3F%40%2D%5F%21%2A%28%29%27"},
        {L" \"<>#{}|\\^~[]`", false, L"%20%22%3C%3E%23%7B%7D%7C%5C%5E%7E%5B%5D%60"},
        {L"tab\tline\r\n\x7F", false, L"tab%09line%0D%0A%7F"},
        {L"caf\u00E9", false, L"caf%C3%A9"},
        {L"\u20AC5", true, L"%E2%82%AC5"},
        {L"%41", false, L"%2541"},
        {L"AZaz09", true, L"AZaz09"},
        {L"", true, L""},
        {L"http://host/talvena?x=1&y=2", false, L"http://host/talvena?x=1&y=2"},
        {L"download from:\nhttp://host/talvena\n", true,
         L"download%20from%3A%0Ahttp%3A%2F%2Fhost%2Ftalvena%0A"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(UrlEncode(c.text, c.reserved), CString(c.encoded)) << CString(c.text).ToUtf8();
}

TEST(UrlEncode, CharactersBeyondTheBasicPlaneAndLoneHalves)
{
    // U+1F600 as a surrogate pair: four UTF-8 bytes.
    const wchar_t pair[] = {0xD83D, 0xDE00, 0};
    EXPECT_EQ(UrlEncode(pair, false), CString(L"%F0%9F%98%80"));
    // A lone half cannot be written as UTF-8: it stands for the replacement character.
    const wchar_t lone[] = {L'a', 0xD83D, L'b', 0};
    EXPECT_EQ(UrlEncode(lone, false), CString(L"a%EF%BF%BDb"));
}

} // namespace
