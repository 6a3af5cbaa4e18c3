#pragma once
// Runs a Linux program from a Windows program under Wine, through the unixrun helper beside
// this program. Wine starts Linux programs but gives no usable handle to them, so the helper
// is handed a job folder: it reads the job from there, keeps the program's output there,
// watches a lock this object holds (the helper kills the program when this process is gone)
// and writes the program's end there.
#include <windows.h>

#include <string>
#include <vector>

#include "CString.h"

// Writes the bytes as the whole file; false when that fails.
bool WriteWholeFile(const CString& path, const std::string& bytes);

class CUnixChild {
public:
    CUnixChild() = default;
    CUnixChild(const CUnixChild&) = delete;
    CUnixChild& operator=(const CUnixChild&) = delete;
    // A run still going is stopped; the job folder goes.
    ~CUnixChild();

    // The Unix path of a Windows path (which need not exist yet); false when not under Wine.
    static bool ToUnixPath(const CString& path, std::string& unixPath);
    // The folder this program was started from.
    static CString ProgramFolder();

    // Makes the job folder and takes its lock; 0 or -1 (see GetError).
    int Create();
    // The Unix path of a file in the job folder (for arguments that name one).
    std::string UnixJobFile(const char* name) const;
    // Starts the program (argv[0] is looked up in the PATH); the files in `removeOnAbort` are
    // removed by the helper when the run is stopped or this process goes. 0 once it runs, -1.
    int Start(const std::vector<std::string>& argv, const std::vector<std::string>& removeOnAbort);
    // True once the run has ended (its status is then known).
    bool IsDone();
    // Waits until the run has ended or the time is over (INFINITE: no limit); IsDone then.
    // The helper's files appear in the job folder, so a change there wakes the wait at once.
    bool WaitDone(DWORD timeoutMs);
    void RequestStop();
    // "exit N", "signal N", "stopped" or "error ..."; empty while the run goes on.
    const std::string& GetStatus() const { return m_status; }
    // N of "exit N", else -1.
    int GetExitCode() const;
    // The file's bytes from `offset` on (all of it by default); empty when it is not there.
    std::string ReadJobFile(const wchar_t* name, long offset = 0) const;
    const CString& GetError() const { return m_error; }

private:
    CString JobFile(const wchar_t* name) const { return m_folder + L"\\" + name; }
    // Waits until `ready` holds or the time is over; the last answer of `ready`.
    template <class Ready>
    bool WaitForJobFolder(DWORD timeoutMs, Ready ready);
    void RemoveFolder();

    CString m_folder;
    std::string m_unixFolder;
    HANDLE m_lock = INVALID_HANDLE_VALUE;
    HANDLE m_changes = INVALID_HANDLE_VALUE;  // names made or removed in the job folder
    std::string m_status;
    bool m_started = false;
    CString m_error;
};
