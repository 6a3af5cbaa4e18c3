#include <gtest/gtest.h>

#include <atomic>

#include "FwTestSupport.h"

namespace {

constexpr UINT kLoadDone = WM_USER + 0x5BC;

// A worker in the programs' pattern: created suspended, auto-delete off, polls a stop word
// owned by the window and reports by a posted message.
class CCountThread : public CWinThread {
public:
    CCountThread(HWND target, volatile int* stop) : m_target(target), m_stop(stop) { m_bAutoDelete = FALSE; }
    std::atomic<int> steps{0};

    BOOL InitInstance() override
    {
        while (*m_stop == 0 && steps < 1000000) {
            steps++;
            ::Sleep(1);
            if (steps == 5 && *m_stop == 0)
                break;   // enough work done when nobody stops us
        }
        ::PostMessageW(m_target, kLoadDone, static_cast<WPARAM>(*m_stop), reinterpret_cast<LPARAM>(this));
        return FALSE;
    }

private:
    HWND m_target;
    volatile int* m_stop;
};

// The window that started the worker waits for it and deletes it when told it is done.
class COwnerWnd : public CWnd {
    FW_DECLARE_MESSAGE_MAP()
public:
    CCountThread* thread = nullptr;
    int finishedWith = -1;
    DWORD exitCode = 12345;

protected:
    LRESULT OnDone(WPARAM stopWord, LPARAM lParam)
    {
        auto* done = reinterpret_cast<CCountThread*>(lParam);
        EXPECT_EQ(done, thread);
        ::WaitForSingleObject(done->m_hThread, INFINITE);
        ::GetExitCodeThread(done->m_hThread, &exitCode);
        delete done;
        thread = nullptr;
        finishedWith = static_cast<int>(stopWord);
        return 0;
    }
};

FW_BEGIN_MESSAGE_MAP(COwnerWnd, CWnd)
    FwOnMessage(kLoadDone, &ThisClass::OnDone),
FW_END_MESSAGE_MAP()

UINT AddOne(void* param)
{
    static_cast<std::atomic<int>*>(param)->fetch_add(1);
    return 9;
}

// A thread with its own message loop, ended by WM_QUIT.
class CLoopThread : public CWinThread {
public:
    CLoopThread() { m_bAutoDelete = FALSE; }
    BOOL InitInstance() override { return TRUE; }
};

} // namespace

TEST(Thread, WorkerPostsToItsWindowAndIsWaitedFor)
{
    COwnerWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    volatile int stop = 0;
    owner.thread = new CCountThread(owner.m_hWnd, &stop);
    ASSERT_TRUE(owner.thread->CreateThread(CREATE_SUSPENDED));
    EXPECT_TRUE(owner.thread->SetThreadPriority(THREAD_PRIORITY_NORMAL));
    ::Sleep(30);
    EXPECT_EQ(owner.thread->steps.load(), 0);   // still suspended
    owner.thread->ResumeThread();
    ASSERT_TRUE(PumpUntil([&] { return owner.thread == nullptr; }));
    EXPECT_EQ(owner.finishedWith, 0);
    EXPECT_EQ(owner.exitCode, 0u);   // the wParam of the last message: none taken
}

TEST(Thread, StopWordEndsTheWorkerEarly)
{
    COwnerWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    volatile int stop = 2;
    owner.thread = new CCountThread(owner.m_hWnd, &stop);
    ASSERT_TRUE(owner.thread->CreateThread());
    ASSERT_TRUE(PumpUntil([&] { return owner.thread == nullptr; }));
    EXPECT_EQ(owner.finishedWith, 2);
}

TEST(Thread, FunctionThreadsAndMessageLoops)
{
    std::atomic<int> counter{0};
    CWinThread* worker = new CWinThread(AddOne, &counter);
    worker->m_bAutoDelete = FALSE;
    ASSERT_TRUE(worker->CreateThread());
    ASSERT_EQ(::WaitForSingleObject(worker->m_hThread, 5000), WAIT_OBJECT_0);
    DWORD code = 0;
    ::GetExitCodeThread(worker->m_hThread, &code);
    EXPECT_EQ(code, 9u);
    delete worker;

    ASSERT_NE(FwBeginThread(AddOne, &counter), nullptr);   // deletes itself
    for (int i = 0; i < 500 && counter < 2; i++)
        ::Sleep(10);
    EXPECT_EQ(counter.load(), 2);

    CLoopThread loop;
    ASSERT_TRUE(loop.CreateThread());
    // The loop's queue exists once the thread runs; retry until the post is accepted.
    for (int i = 0; i < 500 && !::PostThreadMessageW(loop.m_nThreadID, WM_QUIT, 7, 0); i++)
        ::Sleep(10);
    ASSERT_EQ(::WaitForSingleObject(loop.m_hThread, 5000), WAIT_OBJECT_0);
    ::GetExitCodeThread(loop.m_hThread, &code);
    EXPECT_EQ(code, 7u);
}

TEST(Thread, CriticalSectionSerialisesWorkers)
{
    CCriticalSection section;
    static long shared;
    shared = 0;
    struct Work {
        CCriticalSection* section;
        static UINT Run(void* p)
        {
            auto* w = static_cast<Work*>(p);
            for (int i = 0; i < 10000; i++) {
                CSectionLock lock(*w->section);
                long v = shared;
                shared = v + 1;
            }
            return 0;
        }
    } work{&section};
    CWinThread a(Work::Run, &work), b(Work::Run, &work);
    a.m_bAutoDelete = b.m_bAutoDelete = FALSE;
    ASSERT_TRUE(a.CreateThread());
    ASSERT_TRUE(b.CreateThread());
    HANDLE both[] = {a.m_hThread, b.m_hThread};
    ASSERT_EQ(::WaitForMultipleObjects(2, both, TRUE, 10000), WAIT_OBJECT_0);
    EXPECT_EQ(shared, 20000);
}
