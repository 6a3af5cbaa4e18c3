// unixrun: runs a Linux program for a Windows program under Wine. Wine can start a Linux
// program but gives its caller no usable process handle, so this helper, started with the job
// folder as its current folder, carries out the job and reports through files there:
//   job     written by the caller: NUL-terminated fields, "-r" PATH pairs (files to remove when
//           the run is stopped or its caller goes away), "--", then the program and its arguments
//   lock    held locked (byte 0) by the caller for as long as it lives
//   stop    made by the caller to have the run stopped
//   pid     written here once the program runs
//   stdout, stderr  the program's output
//   status  written here at the end, in one step: "exit N", "signal N", "stopped", "orphaned"
//           or "error TEXT"
// A stop or a vanished caller kills the program at once and removes the files named with -r;
// a vanished caller also has the job folder removed, as nobody else will.
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// How often the stop file and the caller's lock are looked at; the program's end is seen at once.
constexpr long kWatchNanoseconds = 20000000;
volatile sig_atomic_t g_terminated = 0;

struct Job {
    std::vector<std::string> removeOnAbort;
    std::vector<std::string> argv;
};

bool ReadJob(Job& job)
{
    std::ifstream in("job", std::ios::binary);
    if (!in)
        return false;
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> fields;
    size_t start = 0;
    for (size_t end; (end = text.find('\0', start)) != std::string::npos; start = end + 1)
        fields.push_back(text.substr(start, end - start));
    size_t i = 0;
    for (; i < fields.size() && fields[i] != "--"; ++i) {
        if (fields[i] != "-r" || i + 1 >= fields.size())
            return false;
        job.removeOnAbort.push_back(fields[++i]);
    }
    if (i >= fields.size())
        return false;
    job.argv.assign(fields.begin() + static_cast<long>(i) + 1, fields.end());
    return !job.argv.empty();
}

// Written under another name and renamed, so a reader sees the whole file or none.
void WriteFileAtOnce(const char* name, const std::string& text)
{
    const std::string temporary = std::string(name) + ".tmp";
    if (FILE* f = std::fopen(temporary.c_str(), "wb")) {
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
        std::rename(temporary.c_str(), name);
    }
}

// The caller's lock is gone once its process has ended (the handle is closed).
bool CallerAlive(int lockFile)
{
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 1;
    if (fcntl(lockFile, F_GETLK, &lock) != 0)
        return false;
    return lock.l_type != F_UNLCK;
}

bool Exists(const char* name)
{
    struct stat info {};
    return stat(name, &info) == 0;
}

pid_t Start(const Job& job, std::string& error)
{
    // A pipe closed on exec tells whether the program could be started.
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) {
        error = std::strerror(errno);
        return -1;
    }
    const pid_t child = fork();
    if (child == 0) {
        setpgid(0, 0);
        // The program gets the signals this helper keeps blocked for itself.
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        const int null = open("/dev/null", O_RDONLY);
        const int out = open("stdout", O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = open("stderr", O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(null, 0);
        dup2(out, 1);
        dup2(err, 2);
        std::vector<char*> argv;
        for (const std::string& arg : job.argv)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        const int code = errno;
        ssize_t written = write(report[1], &code, sizeof(code));
        (void)written;
        _exit(127);
    }
    close(report[1]);
    int code = 0;
    const ssize_t got = child > 0 ? read(report[0], &code, sizeof(code)) : 0;
    close(report[0]);
    if (child < 0 || got == static_cast<ssize_t>(sizeof(code))) {
        error = std::string("cannot start ") + job.argv[0] + ": " + std::strerror(child < 0 ? errno : code);
        if (child > 0)
            waitpid(child, nullptr, 0);
        return -1;
    }
    return child;
}

// The folder is the job's alone: everything in it goes.
void RemoveJobFolder()
{
    char folder[4096];
    if (!getcwd(folder, sizeof(folder)))
        return;
    if (DIR* dir = opendir(".")) {
        while (const dirent* entry = readdir(dir))
            if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
                unlink(entry->d_name);
        closedir(dir);
    }
    rmdir(folder);
}

void OnTerminate(int)
{
    g_terminated = 1;
}

} // namespace

// Sleeps until a child ends (SIGCHLD, blocked so that it waits for us) or the watch period is over.
void AwaitChildOrWatch(const sigset_t& childEnded)
{
    const timespec period{0, kWatchNanoseconds};
    sigtimedwait(&childEnded, nullptr, &period);
}

int main()
{
    signal(SIGTERM, OnTerminate);
    signal(SIGINT, OnTerminate);
    signal(SIGHUP, OnTerminate);
    sigset_t childEnded;
    sigemptyset(&childEnded);
    sigaddset(&childEnded, SIGCHLD);
    sigprocmask(SIG_BLOCK, &childEnded, nullptr);
    Job job;
    if (!ReadJob(job)) {
        WriteFileAtOnce("status", "error no job\n");
        return 2;
    }
    const int lockFile = open("lock", O_RDONLY | O_CLOEXEC);
    if (lockFile < 0 || !CallerAlive(lockFile)) {
        RemoveJobFolder();
        return 2;
    }
    std::string error;
    const pid_t child = Start(job, error);
    if (child < 0) {
        WriteFileAtOnce("status", "error " + error + "\n");
        return 2;
    }
    WriteFileAtOnce("pid", std::to_string(child) + "\n");

    std::string status;
    bool orphaned = false;
    for (;;) {
        int code = 0;
        if (waitpid(child, &code, WNOHANG) == child) {
            status = WIFEXITED(code) ? "exit " + std::to_string(WEXITSTATUS(code))
                                     : "signal " + std::to_string(WTERMSIG(code));
            break;
        }
        orphaned = !CallerAlive(lockFile) || g_terminated;
        if (orphaned || Exists("stop")) {
            kill(-child, SIGKILL);
            kill(child, SIGKILL);
            waitpid(child, nullptr, 0);
            for (const std::string& path : job.removeOnAbort)
                unlink(path.c_str());
            status = orphaned ? "orphaned" : "stopped";
            break;
        }
        AwaitChildOrWatch(childEnded);
    }
    if (orphaned)
        RemoveJobFolder();
    else
        WriteFileAtOnce("status", status + "\n");
    return 0;
}
