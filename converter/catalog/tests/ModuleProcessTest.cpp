#include "ModuleProcess.h"
#include "RunnerTestSupport.h"
#include "TempFileGuard.h"

#include <gtest/gtest.h>

namespace {

class ModuleProcessTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(m_process.SetProgram(FakeSiblingPath()), 0); }

    CString Line(const CString& script) const { return Quoted(FakeSiblingPath()) + L" " + script; }

    // Runs with a stop flag that the given value is written to after `delayMs`; the seconds the
    // run took after the write.
    double RunStoppedAfter(const CString& script, int value, int delayMs, int& result)
    {
        CStopFlag stop{0};
        std::thread stopper([&] {
            Sleep(delayMs);
            stop = value;
        });
        const auto start = std::chrono::steady_clock::now();
        result = m_process.Run(Line(script), &stop);
        const double seconds = SecondsSince(start) - delayMs / 1000.0;
        stopper.join();
        return seconds;
    }

    ScratchFolder m_folder;
    CModuleProcess m_process;
};

TEST_F(ModuleProcessTest, MissingProgramFailsWithoutStarting)
{
    CModuleProcess process;
    process.SetProgram(m_folder.File("Modules\\Tollwick.exe"));
    EXPECT_EQ(process.Run(L"\"x\"", nullptr), -1);
    EXPECT_EQ(process.GetRunEnd(), MODULE_MISSING);
    process.SetProgram(CString());
    EXPECT_EQ(process.Run(L"\"x\"", nullptr), -1);
    EXPECT_EQ(process.GetRunEnd(), MODULE_MISSING);
}

TEST_F(ModuleProcessTest, ProgramPlantedInTheCurrentFolderIsNeverRun)
{
    ASSERT_TRUE(CopyFileW(FakeSiblingPath(), m_folder.File("Tollwick.exe"), FALSE));
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    SetCurrentDirectoryW(m_folder.File(""));
    const CString record = m_folder.File("planted.txt");
    CModuleProcess process;
    process.SetProgram(L"Tollwick.exe");
    EXPECT_EQ(process.Run(L"Tollwick.exe -record " + Quoted(record), nullptr), -1);
    EXPECT_EQ(process.GetRunEnd(), MODULE_MISSING);
    SetCurrentDirectoryW(previous);
    EXPECT_FALSE(std::filesystem::exists(record.str()));
}

TEST_F(ModuleProcessTest, ExitCodeDecidesTheResult)
{
    struct Case {
        int code;
        int result;
    } const cases[] = {{0, 0}, {1, -1}, {2, -1}, {-1, -1}};
    for (const Case& c : cases) {
        EXPECT_EQ(m_process.Run(Line(L"-exit " + CString(std::to_wstring(c.code))), nullptr), c.result) << c.code;
        EXPECT_EQ(m_process.GetExitCode(), static_cast<DWORD>(c.code));
        EXPECT_EQ(m_process.GetRunEnd(), MODULE_EXITED);
    }
}

TEST_F(ModuleProcessTest, CommandLineArrivesAsBuilt)
{
    const CString record = m_folder.File("args.txt");
    const CString line = Line(L"-record " + Quoted(record) + L" \"two words\" -x");
    ASSERT_EQ(m_process.Run(line, nullptr), 0);
    EXPECT_EQ(ReadFileText(record), line.ToUtf8() + "\n");
}

TEST_F(ModuleProcessTest, StopRequestEndsAHungProgramAfterOneSecond)
{
    for (int value : {2, 3}) {
        const CString pid = m_folder.File("pid.txt");
        int result = 0;
        const double seconds = RunStoppedAfter(L"-pidfile " + Quoted(pid) + L" -sleep 30000", value, 300, result);
        EXPECT_EQ(result, -1);
        EXPECT_EQ(m_process.GetRunEnd(), MODULE_STOPPED);
        EXPECT_GE(seconds, 0.95) << value;
        EXPECT_LE(seconds, 1.8) << value;
        EXPECT_TRUE(ProcessGone(pid)) << value;
    }
}

TEST_F(ModuleProcessTest, FlagOneIsNoStopRequest)
{
    int result = -1;
    RunStoppedAfter(L"-sleep 1500", 1, 100, result);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(m_process.GetRunEnd(), MODULE_EXITED);
}

TEST_F(ModuleProcessTest, FlagSetBeforeTheRunGivesOneSecond)
{
    CStopFlag stop{2};
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(m_process.Run(Line(L"-sleep 30000"), &stop), -1);
    EXPECT_LE(SecondsSince(start), 2.5);
    // A program that ends by itself within that second keeps its own exit code.
    EXPECT_EQ(m_process.Run(Line(L"-sleep 200 -exit 0"), &stop), 0);
    EXPECT_EQ(m_process.GetRunEnd(), MODULE_STOPPED);
}

TEST_F(ModuleProcessTest, TimeLimitEndsAHungProgram)
{
    const CString pid = m_folder.File("pid.txt");
    m_process.SetTimeLimit(500);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(m_process.Run(Line(L"-pidfile " + Quoted(pid) + L" -sleep 30000"), nullptr), -1);
    EXPECT_LE(SecondsSince(start), 2.5);
    EXPECT_EQ(m_process.GetRunEnd(), MODULE_TIMED_OUT);
    EXPECT_TRUE(ProcessGone(pid));
    // Quick programs are not affected.
    EXPECT_EQ(m_process.Run(Line(L"-exit 0"), nullptr), 0);
}

TEST(TempFileGuardWindows, WaitsUntilAHeldFileIsReleased)
{
    ScratchFolder folder;
    const CString path = folder.File("held.tmp");
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    std::thread releaser([file] {
        Sleep(400);
        CloseHandle(file);
    });
    const auto start = std::chrono::steady_clock::now();
    {
        CTempFileGuard guard(path, 1);
    }
    releaser.join();
    EXPECT_GE(SecondsSince(start), 0.3);
    EXPECT_FALSE(std::filesystem::exists(path.str()));
}

} // namespace
