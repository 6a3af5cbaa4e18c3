// Frame-by-frame loading with a callback.
#include "CrImageGIFEx.h"
#include "CrMemFile.h"
#include "GifTestStream.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <thread>

using namespace giftest;

namespace {

struct Call {
    char kind; // F found, D decoded, L finished
    GifLoadInfo info;
    bool frameStored;
};

class Recorder : public ILoadCallback {
public:
    std::vector<Call> calls;
    int stopFound = 0;
    int stopAtDecoded = -1; // the call (0-based) to answer stopValue
    int stopValue = 0;
    bool escapeAtDecoded = false;
    bool escapeFromThread = false;

    int OnFramesFound(CrImageGIF* gif, GifLoadInfo* info) override
    {
        calls.push_back({'F', *info, false});
        return stopFound;
    }
    int OnFrameDecoded(CrImageGIF* gif, GifLoadInfo* info) override
    {
        calls.push_back({'D', *info, gif->GetFrame(info->frameIndex) != nullptr});
        if (escapeAtDecoded)
            gif->SetEscape(1);
        if (escapeFromThread)
            std::thread([gif] { gif->SetEscape(1); }).join();
        int n = 0;
        for (const Call& c : calls)
            n += c.kind == 'D';
        return n - 1 == stopAtDecoded ? stopValue : 0;
    }
    int OnLoadFinished(CrImageGIF* gif, GifLoadInfo* info) override
    {
        calls.push_back({'L', *info, false});
        return 0;
    }
    std::string Kinds() const
    {
        std::string s;
        for (const Call& c : calls)
            s += c.kind;
        return s;
    }
};

std::vector<uint8_t> ThreeFrames()
{
    GifBytes g;
    g.Header(3, 1, Colors(4));
    for (int i = 0; i < 3; ++i) {
        ImageSpec s;
        s.left = i;
        s.width = 1;
        s.height = 1;
        s.pixels = {uint8_t(i + 1)};
        g.Control(1, 10).Image(s);
    }
    g.Trailer();
    return g.b;
}

int Load(CrImageGIFEx& gif, std::vector<uint8_t>& bytes, Recorder& rec)
{
    gif.SetRetrieveAllFrames(true);
    CrMemFile file(bytes.data(), uint32_t(bytes.size()));
    return gif.DecodeFrames(&file, &rec);
}

} // namespace

TEST(GifLoadFrames, ReportsTheCountEveryFrameAndTheEnd)
{
    std::vector<uint8_t> bytes = ThreeFrames();
    CrImageGIFEx gif;
    Recorder rec;
    EXPECT_EQ(Load(gif, bytes, rec), 0);
    ASSERT_EQ(rec.Kinds(), "FDDDL");
    EXPECT_EQ(rec.calls[0].info.reserved, 0);
    EXPECT_EQ(rec.calls[0].info.started, 1);
    EXPECT_EQ(rec.calls[0].info.frameCount, 3);
    EXPECT_EQ(rec.calls[0].info.frameIndex, 0);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(rec.calls[size_t(1 + i)].info.frameIndex, i);
        EXPECT_TRUE(rec.calls[size_t(1 + i)].frameStored);
    }
    EXPECT_EQ(rec.calls[4].info.frameIndex, 3);
    EXPECT_EQ(gif.GetNumFrames(), 3);
}

TEST(GifLoadFrames, StopFromAFrameKeepsTheFramesSoFar)
{
    std::vector<uint8_t> bytes = ThreeFrames();
    CrImageGIFEx gif;
    Recorder rec;
    rec.stopAtDecoded = 1;
    rec.stopValue = 7;
    EXPECT_EQ(Load(gif, bytes, rec), 7);
    EXPECT_EQ(rec.Kinds(), "FDDL");
    EXPECT_EQ(rec.calls.back().info.frameIndex, 2);
    EXPECT_NE(gif.GetFrame(0), nullptr);
    EXPECT_NE(gif.GetFrame(1), nullptr);
    EXPECT_EQ(gif.GetFrame(2), nullptr);
}

TEST(GifLoadFrames, StopWhenFramesAreFoundDecodesNothing)
{
    std::vector<uint8_t> bytes = ThreeFrames();
    CrImageGIFEx gif;
    Recorder rec;
    rec.stopFound = 5;
    EXPECT_EQ(Load(gif, bytes, rec), 5);
    EXPECT_EQ(rec.Kinds(), "F");
    EXPECT_EQ(gif.GetFrame(0), nullptr);
}

TEST(GifLoadFrames, EscapeEndsTheLoadWithoutTheLastReport)
{
    // Set on the loading thread, and from another thread as the viewer does.
    for (bool fromThread : {false, true}) {
        std::vector<uint8_t> bytes = ThreeFrames();
        CrImageGIFEx gif;
        Recorder rec;
        (fromThread ? rec.escapeFromThread : rec.escapeAtDecoded) = true;
        EXPECT_EQ(Load(gif, bytes, rec), 0);
        EXPECT_EQ(rec.Kinds(), "FD");
    }
}

TEST(GifLoadFrames, StreamsWithoutFramesOrNotGifMakeNoCall)
{
    GifBytes empty;
    empty.Header(4, 4, Colors(2)).Comment("nothing").Trailer();
    std::vector<uint8_t> notGif = {'P', 'N', 'G', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    CrImageGIFEx gif;
    Recorder rec;
    EXPECT_EQ(Load(gif, empty.b, rec), 0);
    EXPECT_EQ(gif.GetNumFrames(), 0);
    EXPECT_EQ(Load(gif, notGif, rec), -1);
    EXPECT_EQ(gif.DecodeFrames(nullptr, &rec), -1);
    EXPECT_EQ(gif.LoadFrames(L"no such file.gif", &rec), -1);
    EXPECT_TRUE(rec.calls.empty());
}

TEST(GifLoadFrames, TrueColourStillIsOneFrame)
{
    GifBytes g;
    g.Header(2, 2);
    for (int i = 0; i < 2; ++i) {
        ImageSpec s;
        s.top = i;
        s.width = 2;
        s.height = 1;
        s.pixels = {0, 1};
        s.local = Colors(2, uint8_t(i * 70));
        s.minCodeSize = 2;
        g.Image(s);
    }
    g.Trailer();
    CrImageGIFEx gif;
    Recorder rec;
    EXPECT_EQ(Load(gif, g.b, rec), 0);
    EXPECT_EQ(rec.Kinds(), "FDL");
    EXPECT_EQ(rec.calls[0].info.frameCount, 1);
    ASSERT_NE(gif.GetFrame(0), nullptr);
    EXPECT_EQ(gif.GetFrame(0)->GetBpp(), 24u);
}

TEST(GifLoadFrames, EveryMinimumCodeSizeFromTwoToElevenLoads)
{
    for (uint32_t size = 2; size <= 11; ++size) {
        CodeSizeFixture f = CodeSizeAnimation(size);
        CrImageGIFEx gif;
        Recorder rec;
        EXPECT_EQ(Load(gif, f.bytes, rec), 0) << size;
        EXPECT_EQ(rec.Kinds(), "FDDL") << size;
        for (int i = 0; i < 2; ++i) {
            ASSERT_NE(gif.GetFrame(i), nullptr) << size;
            EXPECT_EQ(WrongPixels(*gif.GetFrame(i), f.frames[size_t(i)], f.table), 0u) << size << " frame " << i;
        }
    }
}

TEST(GifLoadFrames, RefusedCodeSizeEndsTheLoadAfterTheFramesBefore)
{
    auto table = Colors(4);
    ImageSpec good;
    good.width = good.height = 4;
    good.pixels = std::vector<uint8_t>(16, 3);
    GifBytes later;
    later.Header(4, 4, table).Image(good);
    ImageWithCodeSize(later, 12).Image(good).Trailer();
    CrImageGIFEx gif;
    Recorder rec;
    EXPECT_EQ(Load(gif, later.b, rec), 0);
    EXPECT_EQ(rec.Kinds(), "FDL");
    EXPECT_NE(gif.GetFrame(0), nullptr);
    EXPECT_EQ(gif.GetFrame(1), nullptr);
    EXPECT_STREQ(gif.GetLastError(), "GIF: minimum code size 12 is not valid (2 to 11 are)");

    GifBytes alone;
    ImageWithCodeSize(alone.Header(4, 4, table), 1).Trailer();
    CrImageGIFEx single;
    Recorder none;
    EXPECT_EQ(Load(single, alone.b, none), -1);
    EXPECT_EQ(none.Kinds(), "FL");
    EXPECT_EQ(single.GetFrame(0), nullptr);
    EXPECT_STREQ(single.GetLastError(), "GIF: minimum code size 1 is not valid (2 to 11 are)");
}

TEST(GifLoadFrames, LoadsFromAPath)
{
    std::vector<uint8_t> bytes = ThreeFrames();
    const char* name = "gif_load_frames_test.gif";
    FILE* f = std::fopen(name, "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    CrImageGIFEx gif;
    gif.SetRetrieveAllFrames(true);
    Recorder rec;
    EXPECT_EQ(gif.LoadFrames(L"gif_load_frames_test.gif", &rec), 0);
    EXPECT_EQ(rec.Kinds(), "FDDDL");
    std::remove(name);
}
