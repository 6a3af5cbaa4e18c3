// How a job's states and progress become the Set calls of its row, in their order and units.
#include <gtest/gtest.h>

#include "ConvertItem.h"
#include "JobStates.h"
#include "TalvenaTestSupport.h"

namespace {

struct StatusCase {
    int state;
    std::vector<std::string> calls;
};

TEST(JobStatusSink, EachStateMakesItsCallsInOrder)
{
    CConvertItem item;
    item.m_outputPath = L"C:\\videos\\clip (1).mp4";
    item.m_outputSize = 4096;
    item.m_progress.m_time = 2500000;
    const StatusCase cases[] = {
        {JOB_STARTED, {"output ", "image 0"}},
        {JOB_PREPARING, {"image 0", "colour 33023", "status Preparing..."}},
        {JOB_OUTPUT_NAMED, {"output clip (1).mp4"}},
        {JOB_CONVERTING, {"image 0", "colour 16752640", "status Converting..."}},
        {JOB_OUTPUT_WRITTEN, {}},
        {JOB_COMPLETED, {"sizes -1 4096", "times -1 2500000", "image 1", "status Completed."}},
        {JOB_CANCELED, {"sizes -1 -1", "times -1 -1", "image 4", "status Canceled."}},
        {JOB_SKIPPED_EXISTS, {"image 2", "status Canceled: file already exists."}},
        {JOB_SOURCE_MISSING, {"image 3", "status Failed: source file not exists."}},
        {JOB_ENCODE_FAILED, {"image 3", "status Failed: can't convert to the specified format."}},
        {77, {}},
    };
    for (const StatusCase& c : cases) {
        SCOPED_TRACE(c.state);
        RecordingSink sink;
        item.SetState(c.state);
        sink.CJobStatusSink::OnStatus(&item);
        EXPECT_EQ(c.calls, sink.m_calls);
    }
}

TEST(JobStatusSink, ProgressHandsOnMicrosecondsAndBytes)
{
    CConvertItem item;
    item.m_inputInfo.m_size = 7814;
    item.m_progress.m_duration = 2000000;  // the run will last 2 s
    item.m_progress.m_time = 500000;       // 0.5 s written so far
    item.m_progress.m_size = 1234;
    RecordingSink sink;
    sink.CJobStatusSink::OnProgress(&item);
    EXPECT_EQ((std::vector<std::string>{"progress 500000 2000000", "times 2000000 500000", "sizes 7814 1234"}),
              sink.m_calls);
}

TEST(JobStatusSink, NoItemNoCalls)
{
    RecordingSink sink;
    sink.CJobStatusSink::OnStatus(nullptr);
    sink.CJobStatusSink::OnProgress(nullptr);
    EXPECT_TRUE(sink.m_calls.empty());
}

} // namespace
