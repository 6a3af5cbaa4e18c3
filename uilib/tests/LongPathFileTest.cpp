#include <gtest/gtest.h>

#include "FwTestSupport.h"
#include "LongPathFile.h"

namespace {

CString TempFolder()
{
    wchar_t path[MAX_PATH] = L"";
    ::GetTempPathW(MAX_PATH, path);
    return path;
}

} // namespace

TEST(LongPathFile, ResultsOfTheStreamOperations)
{
    CString path = TempFolder() + L"fw_stream_test.bin";
    CLongPathFile file;
    EXPECT_EQ(file.Close(), 1);
    char buffer[16] = {};
    size_t n = 0;
    EXPECT_EQ(file.Read(buffer, 4, &n), -1);
    EXPECT_EQ(file.Write("x", 1, &n), -1);
    EXPECT_EQ(file.Flush(), -1);
    EXPECT_EQ(file.GetLength(), -1);

    ASSERT_EQ(file.Open(path, GENERIC_READ | GENERIC_WRITE, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL), 0);
    EXPECT_EQ(file.Write("abcdef", 6, &n), 0);
    EXPECT_EQ(n, 6u);
    EXPECT_EQ(file.GetLength(), 6);
    EXPECT_EQ(file.GetPosition(), 6);
    EXPECT_EQ(file.Read(buffer, 4, &n), 1);   // at the end
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(file.Seek(2, FILE_BEGIN), 2);
    EXPECT_EQ(file.Read(buffer, 4, &n), 0);
    EXPECT_EQ(std::string(buffer, n), "cdef");
    EXPECT_EQ(file.Seek(-1, FILE_END), 5);
    EXPECT_EQ(file.Seek(0, 7), -1);
    EXPECT_EQ(file.SetLength(3), 3);
    EXPECT_EQ(file.GetLength(), 3);
    EXPECT_EQ(file.WriteAt("Z", 1, &n, 1, nullptr), 0);
    EXPECT_EQ(file.Flush(), 0);
    EXPECT_EQ(file.Close(), 0);
    EXPECT_EQ(file.Close(), 1);

    ASSERT_EQ(file.Open(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL), 0);
    EXPECT_EQ(file.Read(buffer, 16, &n), 0);
    EXPECT_EQ(std::string(buffer, n), "aZc");
    file.Close();
    ::DeleteFileW(path);
    EXPECT_NE(file.Open(path, GENERIC_READ, 0, OPEN_EXISTING, 0), 0);
}

TEST(LongPathFile, PathsPastTheOldLimitOpen)
{
    // A folder chain long enough that the file's path passes 260 characters.
    CString folder = TempFolder() + L"fw_long_test";
    ::CreateDirectoryW(folder, nullptr);
    CString deep = folder;
    for (int i = 0; i < 4; i++) {
        deep += L"\\" + CString(static_cast<wchar_t>(L'a' + i), 60);
        ASSERT_TRUE(::CreateDirectoryW(L"\\\\?\\" + deep, nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS);
    }
    CString path = deep + L"\\file.txt";
    ASSERT_GT(path.GetLength(), 260);
    CLongPathFile file;
    ASSERT_EQ(file.Open(path, GENERIC_WRITE, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL), 0);
    size_t n = 0;
    EXPECT_EQ(file.Write("long", 4, &n), 0);
    file.Close();
    EXPECT_NE(::GetFileAttributesW(L"\\\\?\\" + path), INVALID_FILE_ATTRIBUTES);

    ::DeleteFileW(L"\\\\?\\" + path);
    for (int i = 3; i >= 0; i--) {
        ::RemoveDirectoryW(L"\\\\?\\" + deep);
        deep = deep.Left(deep.ReverseFind(L'\\'));
    }
    ::RemoveDirectoryW(folder);
}
