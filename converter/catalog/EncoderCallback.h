#pragma once
// The encoder names the run it reports on by the token it was given after " -context ". The
// token is looked up in a table of the encoder runs now going on; a message that names none of
// them, or is not an encoder message at all, is answered -1 and touches nothing.
#include <windows.h>

#include <cstdint>

class CEncoderProcess;

// Enters a run in the table for as long as the registration lives.
class CEncoderRunRegistration {
public:
    explicit CEncoderRunRegistration(CEncoderProcess* run);
    // Waits until a message being handed to the run has been answered.
    ~CEncoderRunRegistration();
    CEncoderRunRegistration(const CEncoderRunRegistration&) = delete;
    CEncoderRunRegistration& operator=(const CEncoderRunRegistration&) = delete;

    uint32_t GetToken() const { return m_token; }

private:
    uint32_t m_token;
};

// The named run's answer to one WM_COPYDATA block (0 go on, 1 stop), or -1 when the block has
// another identifier or size, or names no running task.
int DispatchEncoderMessage(ULONG_PTR identifier, DWORD size, const void* data);
// The same for the message's COPYDATASTRUCT, as a window procedure returns it.
LRESULT OnEncoderCopyData(const COPYDATASTRUCT* data);
