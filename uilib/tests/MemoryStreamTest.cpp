#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

#include "DataStream.h"
#include "PathRules.h"

namespace {

std::vector<unsigned char> Bytes(size_t n, unsigned char value) { return std::vector<unsigned char>(n, value); }

// An allocator that refuses to grow past a limit.
class CTightStream : public CMemoryStream {
public:
    CTightStream() : CMemoryStream(16) {}
    size_t limit = 32;

protected:
    void* Alloc(size_t bytes) override { return bytes > limit ? nullptr : CMemoryStream::Alloc(bytes); }
    void* Realloc(void* block, size_t bytes) override { return bytes > limit ? nullptr : CMemoryStream::Realloc(block, bytes); }
};

} // namespace

TEST(MemoryStream, GrowsInStepsAndZeroesTheRest)
{
    CMemoryStream s(1024);
    auto data = Bytes(1500, 0xAB);
    size_t written = 0;
    ASSERT_EQ(s.Write(data.data(), data.size(), &written), 0);
    EXPECT_EQ(written, 1500u);
    EXPECT_EQ(s.GetCapacity(), 2048u);
    EXPECT_EQ(s.GetLength(), 1500);
    EXPECT_EQ(s.GetPosition(), 1500);
    for (size_t i = 1500; i < 2048; i++)
        ASSERT_EQ(s.GetBuffer()[i], 0) << i;
}

TEST(MemoryStream, WritingPastTheEndLeavesZerosInTheGap)
{
    CMemoryStream s(64);
    auto data = Bytes(10, 1);
    size_t n = 0;
    s.Write(data.data(), 10, &n);
    EXPECT_EQ(s.Seek(100, 2), 110);
    s.Write(data.data(), 10, &n);
    EXPECT_EQ(s.GetLength(), 120);
    for (int i = 10; i < 110; i++)
        ASSERT_EQ(s.GetBuffer()[i], 0) << i;
    // A shortened stream reads zeros where old bytes were once it grows again.
    EXPECT_EQ(s.SetLength(5), 5);
    EXPECT_EQ(s.GetPosition(), 5);
    EXPECT_EQ(s.Seek(0, 2), 5);
    EXPECT_EQ(s.SetLength(20), 20);
    EXPECT_EQ(s.GetBuffer()[7], 0);
}

TEST(MemoryStream, ReadsUpToTheEnd)
{
    CMemoryStream s(8);
    const char text[] = "abcdef";
    size_t n = 0;
    s.Write(text, 6, &n);
    s.Seek(2, 0);
    char out[8] = {};
    EXPECT_EQ(s.Read(out, 8, &n), 0);
    EXPECT_EQ(n, 4u);
    EXPECT_STREQ(out, "cdef");
    EXPECT_EQ(s.Read(out, 8, &n), 0);   // at the very end: 0 bytes, still 0
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(s.Read(out, 0, &n), -1);
    s.Seek(3, 1);
    EXPECT_EQ(s.Read(out, 8, &n), 1);   // past the end
}

TEST(MemoryStream, SeeksAndWritesThatCannotBeHeldAreRefused)
{
    CTightStream s;
    EXPECT_EQ(s.Seek(-1, 0), -1);
    EXPECT_EQ(s.Seek(5, 3), -1);
    if (sizeof(size_t) == 4) {
        EXPECT_EQ(s.Seek(0x100000010LL, 0), -1);   // past 4 GiB: refused, not wrapped around
        EXPECT_EQ(s.GetPosition(), 0);
        ASSERT_EQ(s.Seek(0xFFFFFFF0LL, 0), 0xFFFFFFF0LL);
    } else {
        ASSERT_EQ(s.Seek(std::numeric_limits<int64_t>::max(), 0), std::numeric_limits<int64_t>::max());
        EXPECT_EQ(s.Seek(1, 1), -1);
    }
    // The end of this write lies past what the stream can hold.
    char bytes[32] = {};
    size_t n = 99;
    EXPECT_EQ(s.Write(bytes, 32, &n), -1);
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(s.GetLength(), 0);
}

TEST(MemoryStream, AllocationFailureKeepsTheOldBuffer)
{
    CTightStream s;
    auto data = Bytes(20, 7);
    size_t n = 0;
    ASSERT_EQ(s.Write(data.data(), 20, &n), 0);
    EXPECT_EQ(s.GetCapacity(), 32u);
    const unsigned char* before = s.GetBuffer();
    EXPECT_EQ(s.Write(data.data(), 20, &n), -1);
    EXPECT_EQ(s.GetBuffer(), before);
    EXPECT_EQ(s.GetLength(), 20);
    EXPECT_EQ(s.SetLength(1000), -1);
}

TEST(MemoryStream, CloseStopsAllGrowth)
{
    CMemoryStream s(8);
    size_t n = 0;
    s.Write("abc", 3, &n);
    EXPECT_EQ(s.Close(), 0);
    EXPECT_EQ(s.GetLength(), 0);
    EXPECT_EQ(s.GetBuffer(), nullptr);
    EXPECT_EQ(s.Write("abc", 3, &n), -1);
}

TEST(PathRules, LongPathsGetTheLongForm)
{
    CString shortPath = L"C:\\" + CString(L'a', 256);   // 259 characters
    EXPECT_EQ(MakeLongPath(shortPath), shortPath);
    CString atLimit = L"C:\\" + CString(L'a', 257);     // 260 characters
    EXPECT_EQ(MakeLongPath(atLimit), L"\\\\?\\" + atLimit);
    CString unc = L"\\\\server\\share\\" + CString(L'b', 250);
    EXPECT_EQ(MakeLongPath(unc), L"\\\\?\\UNC\\server\\share\\" + CString(L'b', 250));
    CString slashes = L"C:/" + CString(L'c', 260);
    EXPECT_EQ(MakeLongPath(slashes), L"\\\\?\\C:\\" + CString(L'c', 260));
    CString already = L"\\\\?\\C:\\" + CString(L'd', 300);
    EXPECT_EQ(MakeLongPath(already), already);
}
