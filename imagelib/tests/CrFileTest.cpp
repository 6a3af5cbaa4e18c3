#include "CrIOFile.h"
#include "CrMemFile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

TEST(CrMemFile, GrowsInSteps)
{
    CrMemFile file;
    ASSERT_TRUE(file.Open());
    EXPECT_FALSE(file.Open());
    EXPECT_EQ(0, file.GetCapacity());
    EXPECT_EQ(0, file.Size());
    uint8_t bytes[100];
    for (int i = 0; i < 100; i++)
        bytes[i] = static_cast<uint8_t>(i);
    EXPECT_EQ(1u, file.Write(bytes, 100, 1));
    EXPECT_EQ(65536, file.GetCapacity());
    EXPECT_EQ(100, file.Size());
    ASSERT_TRUE(file.Seek(65500, 0));
    EXPECT_EQ(50u, file.Write(bytes, 1, 50));
    EXPECT_EQ(131072, file.GetCapacity());
    EXPECT_EQ(65550, file.Size());
    // The bytes skipped by the seek read back as zeros.
    ASSERT_TRUE(file.Seek(100, 0));
    EXPECT_EQ(0, file.GetC());
    ASSERT_TRUE(file.Seek(0, 0));
    uint8_t back[100];
    EXPECT_EQ(100u, file.Read(back, 1, 100));
    EXPECT_EQ(0, memcmp(bytes, back, 100));
}

TEST(CrMemFile, ReadCutsToWholeItems)
{
    const uint8_t data[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    CrMemFile file(const_cast<uint8_t*>(data), sizeof(data));
    ASSERT_TRUE(file.Seek(4, 0));
    uint8_t out[8] = {};
    EXPECT_EQ(1u, file.Read(out, 4, 2));
    EXPECT_EQ(0, memcmp(data + 4, out, 6));
    EXPECT_TRUE(file.Eof());
    EXPECT_EQ(10, file.Tell());
    EXPECT_EQ(0u, file.Read(out, 1, 1));
    EXPECT_TRUE(file.Eof());
    EXPECT_EQ(0u, file.Read(nullptr, 1, 1));
    ASSERT_TRUE(file.Seek(0, 0));
    EXPECT_FALSE(file.Eof());
    EXPECT_EQ(0u, file.Read(out, 0, 5));
}

TEST(CrMemFile, SeekRules)
{
    uint8_t data[10] = {};
    CrMemFile file(data, sizeof(data));
    struct Case { int32_t offset, origin; bool ok; int32_t position; };
    const Case cases[] = {
        {-10, 0, true, 0}, {4, 0, true, 4}, {3, 1, true, 7}, {-20, 1, true, 0},
        {-2, 2, true, 8}, {5, 2, true, 15}, {0, 3, false, 15}, {0, -1, false, 15},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.ok, file.Seek(c.offset, c.origin)) << c.offset << "," << c.origin;
        EXPECT_EQ(c.position, file.Tell());
    }
    EXPECT_EQ(1, file.Error()); // past the data
    ASSERT_TRUE(file.Seek(0, 2));
    EXPECT_EQ(0, file.Error());
    EXPECT_EQ(-1, file.GetC());
    EXPECT_TRUE(file.Eof());
}

TEST(CrMemFile, GetSStopsAfterNewlineAndReportsTheEnd)
{
    uint8_t data[5] = {'a', 'b', '\n', 'c', 'd'};
    CrMemFile file(data, sizeof(data));
    char line[10];
    ASSERT_EQ(line, file.GetS(line, 10));
    EXPECT_STREQ("ab\n", line);
    EXPECT_EQ(nullptr, file.GetS(line, 10));
    EXPECT_STREQ("cd", line);
    EXPECT_TRUE(file.Eof());

    CrMemFile shortRead(data, sizeof(data));
    ASSERT_EQ(line, shortRead.GetS(line, 2));
    EXPECT_STREQ("a", line);
    EXPECT_EQ(nullptr, shortRead.GetS(line, 0));
    EXPECT_EQ(0, shortRead.Scanf("%d", line));
}

TEST(CrMemFile, PutCAndGetC)
{
    CrMemFile file;
    EXPECT_FALSE(file.PutC('x')); // no buffer before Open
    ASSERT_TRUE(file.Open());
    EXPECT_TRUE(file.PutC('x'));
    EXPECT_TRUE(file.PutC('y'));
    EXPECT_EQ(65536, file.GetCapacity());
    EXPECT_EQ(2, file.Size());
    ASSERT_TRUE(file.Seek(0, 0));
    EXPECT_EQ('x', file.GetC());
    EXPECT_EQ('y', file.GetC());
    EXPECT_EQ(-1, file.GetC());
    EXPECT_TRUE(file.Eof());
    EXPECT_TRUE(file.PutC('z'));
    EXPECT_FALSE(file.Eof());
    EXPECT_TRUE(file.Flush());
}

TEST(CrMemFile, WithoutBuffer)
{
    CrMemFile file;
    char line[4];
    uint8_t byte = 0;
    EXPECT_EQ(-1, file.Tell());
    EXPECT_EQ(-1, file.Size());
    EXPECT_EQ(-1, file.Error());
    EXPECT_TRUE(file.Eof());
    EXPECT_FALSE(file.Flush());
    EXPECT_FALSE(file.Seek(0, 0));
    EXPECT_EQ(-1, file.GetC());
    EXPECT_EQ(nullptr, file.GetS(line, 4));
    EXPECT_EQ(0u, file.Write(&byte, 1, 1));
    EXPECT_EQ(0u, file.Read(&byte, 1, 1));
    EXPECT_TRUE(file.Close());
}

TEST(CrMemFile, FailedGrowthKeepsCapacityAndWritesNothing)
{
    CrMemFile file;
    ASSERT_TRUE(file.Open());
    const uint8_t bytes[64] = {7};
    ASSERT_EQ(1u, file.Write(bytes, 10, 1));
    ASSERT_TRUE(file.Seek(INT32_MAX - 16, 0));
    EXPECT_EQ(0u, file.Write(bytes, 1, 64));
    EXPECT_FALSE(file.PutC(1) && file.Seek(INT32_MAX, 0) && file.PutC(1));
    EXPECT_EQ(65536, file.GetCapacity());
    EXPECT_EQ(10, file.Size());
    // Item size × count beyond 32 bits is refused, not wrapped.
    ASSERT_TRUE(file.Seek(0, 0));
    EXPECT_EQ(0u, file.Write(bytes, 0x10000, 0x10001));
    EXPECT_EQ(65536, file.GetCapacity());
}

TEST(CrMemFile, CallersBufferIsNeverReallocated)
{
    uint8_t data[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    const uint8_t patch[6] = {9, 9, 9, 9, 9, 9};
    {
        CrMemFile file(data, sizeof(data));
        EXPECT_EQ(1u, file.Write(patch, 4, 1));
        EXPECT_EQ(0u, file.Write(patch, 6, 1)); // would need 10 bytes
        EXPECT_FALSE(file.Seek(0, 2) && file.PutC(0));
        EXPECT_EQ(8, file.GetCapacity());
        EXPECT_EQ(data, file.GetBuffer(false));
    } // and never freed
    const uint8_t expected[8] = {9, 9, 9, 9, 5, 6, 7, 8};
    EXPECT_EQ(0, memcmp(expected, data, 8));
}

TEST(CrMemFile, DetachedBufferBelongsToTheCaller)
{
    uint8_t* buffer = nullptr;
    {
        CrMemFile file;
        ASSERT_TRUE(file.Open());
        ASSERT_EQ(3u, file.Write("abc", 1, 3));
        buffer = file.GetBuffer(true);
    }
    EXPECT_EQ(0, memcmp("abc", buffer, 3));
    free(buffer);
}

class CrIOFileTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_path = std::filesystem::temp_directory_path() /
                 (std::string("crfile_") + testing::UnitTest::GetInstance()->current_test_info()->name() + ".bin");
    }
    void TearDown() override { std::filesystem::remove(m_path); }
    std::filesystem::path m_path;
};

TEST_F(CrIOFileTest, OpenedFileIsClosedByTheObject)
{
    {
        CrIOFile file;
        ASSERT_TRUE(file.Open(m_path.wstring().c_str(), L"wb"));
        EXPECT_EQ(2u, file.Write("hello\nxy", 4, 2));
        EXPECT_TRUE(file.PutC('!'));
        EXPECT_TRUE(file.Flush());
        EXPECT_EQ(9, file.Size());
        EXPECT_EQ(9, file.Tell());
    }
    CrIOFile file;
    ASSERT_TRUE(file.Open(m_path.wstring().c_str(), L"rb"));
    ASSERT_TRUE(file.Seek(2, 0));
    EXPECT_EQ(9, file.Size());
    EXPECT_EQ(2, file.Tell()); // the position is kept
    char line[16];
    ASSERT_NE(nullptr, file.GetS(line, 16));
    EXPECT_STREQ("llo\n", line);
    EXPECT_EQ('x', file.GetC());
    ASSERT_TRUE(file.Seek(-1, 2));
    EXPECT_EQ('!', file.GetC());
    EXPECT_EQ(-1, file.GetC());
    EXPECT_TRUE(file.Eof());
    EXPECT_EQ(0, file.Error());
    EXPECT_TRUE(file.Close());
    EXPECT_FALSE(file.Open(L"", L"rb"));
}

TEST_F(CrIOFileTest, CallersStreamStaysOpen)
{
    FILE* stream = fopen(m_path.string().c_str(), "w+b");
    ASSERT_NE(nullptr, stream);
    {
        CrIOFile file(stream);
        EXPECT_TRUE(file.PutC('a'));
    }
    EXPECT_EQ(0, fseek(stream, 0, SEEK_SET)); // still usable
    EXPECT_EQ('a', fgetc(stream));
    rewind(stream);
    fputs("42", stream);
    rewind(stream);
    {
        CrIOFile file(stream);
        int value = 0;
        EXPECT_EQ(1, file.Scanf("%d", &value));
        EXPECT_EQ(42, value);
        EXPECT_TRUE(file.Close());
        EXPECT_EQ(nullptr, file.GetStream());
    }
    EXPECT_EQ(0, fclose(stream));
}

TEST(CrIOFile, WithoutStream)
{
    CrIOFile file;
    char line[4];
    uint8_t byte = 0;
    EXPECT_EQ(0u, file.Read(&byte, 1, 1));
    EXPECT_EQ(0u, file.Write(&byte, 1, 1));
    EXPECT_FALSE(file.Seek(0, 0));
    EXPECT_EQ(0, file.Tell());
    EXPECT_EQ(-1, file.Size());
    EXPECT_FALSE(file.Flush());
    EXPECT_TRUE(file.Eof());
    EXPECT_EQ(-1, file.Error());
    EXPECT_FALSE(file.PutC(1));
    EXPECT_EQ(-1, file.GetC());
    EXPECT_EQ(nullptr, file.GetS(line, 4));
    EXPECT_EQ(-1, file.Scanf("%d", line));
    EXPECT_TRUE(file.Close());
}
