#include "EncoderCallback.h"

#include <cstring>
#include <map>
#include <mutex>

#include "EncoderMessage.h"
#include "EncoderProcess.h"

namespace {

// The table is written by the conversion thread around each run and read on the window thread
// when a message comes; a message is answered under the lock, so a run cannot end and go away
// while its answer is being made. Recursive: an answer may itself start a run.
std::recursive_mutex g_runsLock;
std::map<uint32_t, CEncoderProcess*> g_runs;
uint32_t g_lastToken = 0;

uint32_t NextFreeToken()
{
    do {
        g_lastToken = g_lastToken >= 0x7FFFFFFFu ? 1 : g_lastToken + 1;
    } while (g_runs.count(g_lastToken));
    return g_lastToken;
}

} // namespace

CEncoderRunRegistration::CEncoderRunRegistration(CEncoderProcess* run)
{
    std::lock_guard<std::recursive_mutex> lock(g_runsLock);
    m_token = NextFreeToken();
    g_runs[m_token] = run;
}

CEncoderRunRegistration::~CEncoderRunRegistration()
{
    std::lock_guard<std::recursive_mutex> lock(g_runsLock);
    g_runs.erase(m_token);
}

int DispatchEncoderMessage(ULONG_PTR identifier, DWORD size, const void* data)
{
    if (identifier != kEncoderMessageId || size != kEncoderMessageSize || !data)
        return ENCODER_ANSWER_REFUSED;
    // The block comes from another process: copied out first, it cannot change under us and
    // needs no particular alignment.
    CEncoderMessage message;
    std::memcpy(&message, data, sizeof(message));

    std::lock_guard<std::recursive_mutex> lock(g_runsLock);
    const auto found = g_runs.find(message.m_context);
    if (found == g_runs.end())
        return ENCODER_ANSWER_REFUSED;
    return found->second->OnCallbackData(message);
}

LRESULT OnEncoderCopyData(const COPYDATASTRUCT* data)
{
    if (!data)
        return ENCODER_ANSWER_REFUSED;
    return DispatchEncoderMessage(data->dwData, data->cbData, data->lpData);
}
