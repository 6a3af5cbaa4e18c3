// The helper on its own, with this test in the caller's place: it writes the job, holds the
// lock (as Wine's server does for the Windows caller) and reads the files.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool Alive(pid_t pid)
{
    return kill(pid, 0) == 0;
}

class UnixRunTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::random_device random;
        m_folder = fs::temp_directory_path() / ("unixrun-test-" + std::to_string(random()));
        fs::create_directories(m_folder);
        m_lock = open((m_folder / "lock").c_str(), O_RDWR | O_CREAT, 0644);
        struct flock lock {};
        lock.l_type = F_WRLCK;
        lock.l_whence = SEEK_SET;
        lock.l_len = 1;
        ASSERT_EQ(fcntl(m_lock, F_SETLK, &lock), 0);
    }
    void TearDown() override
    {
        if (m_lock >= 0)
            close(m_lock);
        if (m_helper > 0)
            waitpid(m_helper, nullptr, 0);
        std::error_code error;
        fs::remove_all(m_folder, error);
    }

    void WriteJob(const std::vector<std::string>& fields)
    {
        std::string job;
        for (const std::string& f : fields)
            job += f + '\0';
        std::ofstream(m_folder / "job", std::ios::binary) << job;
    }

    void Start()
    {
        m_helper = fork();
        if (m_helper == 0) {
            if (chdir(m_folder.c_str()) == 0)
                execl(UNIXRUN_PATH, UNIXRUN_PATH, static_cast<char*>(nullptr));
            _exit(126);
        }
    }

    // Waits for the helper to end; false when it takes too long.
    bool WaitForHelper(double seconds = 10)
    {
        const auto start = std::chrono::steady_clock::now();
        while (std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() < seconds) {
            int status = 0;
            if (waitpid(m_helper, &status, WNOHANG) == m_helper) {
                m_helper = 0;
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }

    pid_t WaitForChild()
    {
        for (int i = 0; i < 500 && !fs::exists(m_folder / "pid"); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return static_cast<pid_t>(std::stol("0" + ReadFile(m_folder / "pid")));
    }

    std::string Status() const { return ReadFile(m_folder / "status"); }

    fs::path m_folder;
    int m_lock = -1;
    pid_t m_helper = 0;
};

TEST_F(UnixRunTest, ReportsExitCodeAndOutput)
{
    WriteJob({"--", "/bin/sh", "-c", "echo out; echo err >&2; exit 3"});
    Start();
    ASSERT_TRUE(WaitForHelper());
    EXPECT_EQ(Status(), "exit 3\n");
    EXPECT_EQ(ReadFile(m_folder / "stdout"), "out\n");
    EXPECT_EQ(ReadFile(m_folder / "stderr"), "err\n");
    EXPECT_GT(std::stol(ReadFile(m_folder / "pid")), 0);
}

TEST_F(UnixRunTest, ArgumentsArriveWhole)
{
    WriteJob({"--", "/bin/sh", "-c", "printf '%s|' \"$@\"", "sh", "two words", "", "\xC3\xA9\"'"});
    Start();
    ASSERT_TRUE(WaitForHelper());
    EXPECT_EQ(Status(), "exit 0\n");
    EXPECT_EQ(ReadFile(m_folder / "stdout"), "two words||\xC3\xA9\"'|");
}

TEST_F(UnixRunTest, TheProgramBlocksNoSignals)
{
    // The helper waits for its child's end with that signal blocked; the program must not inherit it.
    WriteJob({"--", "/bin/sh", "-c", "grep SigBlk /proc/self/status"});
    Start();
    ASSERT_TRUE(WaitForHelper());
    EXPECT_EQ(Status(), "exit 0\n");
    EXPECT_EQ(ReadFile(m_folder / "stdout"), "SigBlk:\t0000000000000000\n");
}

TEST_F(UnixRunTest, StopKillsTheProgramAndRemovesItsFiles)
{
    const fs::path output = m_folder / "partial.mp4";
    std::ofstream(output) << "partial";
    WriteJob({"-r", output.string(), "--", "/bin/sleep", "30"});
    Start();
    const pid_t child = WaitForChild();
    ASSERT_GT(child, 0);
    EXPECT_TRUE(Alive(child));
    std::ofstream(m_folder / "stop");
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(WaitForHelper());
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 1.0);
    EXPECT_EQ(Status(), "stopped\n");
    EXPECT_FALSE(Alive(child));
    EXPECT_FALSE(fs::exists(output));
}

TEST_F(UnixRunTest, CallerGoneEndsEverything)
{
    const fs::path elsewhere = fs::temp_directory_path() / ("unixrun-partial-" + std::to_string(getpid()));
    std::ofstream(elsewhere) << "partial";
    WriteJob({"-r", elsewhere.string(), "--", "/bin/sleep", "30"});
    Start();
    const pid_t child = WaitForChild();
    ASSERT_GT(child, 0);
    close(m_lock);
    m_lock = -1;
    ASSERT_TRUE(WaitForHelper());
    EXPECT_FALSE(Alive(child));
    EXPECT_FALSE(fs::exists(elsewhere));
    EXPECT_FALSE(fs::exists(m_folder));
}

TEST_F(UnixRunTest, MissingProgramAndBadJob)
{
    WriteJob({"--", "/no/such/program"});
    Start();
    ASSERT_TRUE(WaitForHelper());
    EXPECT_EQ(Status().rfind("error cannot start /no/such/program", 0), 0u) << Status();

    fs::remove(m_folder / "status");
    WriteJob({"/bin/true"});
    Start();
    ASSERT_TRUE(WaitForHelper());
    EXPECT_EQ(Status(), "error no job\n");
}

TEST_F(UnixRunTest, ProgramEndedBySignal)
{
    WriteJob({"--", "/bin/sh", "-c", "kill -9 $$"});
    Start();
    ASSERT_TRUE(WaitForHelper());
    EXPECT_EQ(Status(), "signal 9\n");
}

} // namespace
