#include "PlaylistQueue.h"

#include "PlaylistView.h"
#include "ViewerGlobals.h"

// ---- CJobList ----

void CJobList::AddTail(CQueueJob* job)
{
    CSectionLock lock(m_lock);
    m_jobs.push_back(job);
}

CQueueJob* CJobList::RemoveHead()
{
    CSectionLock lock(m_lock);
    if (m_jobs.empty())
        return nullptr;
    CQueueJob* job = m_jobs.front();
    m_jobs.pop_front();
    return job;
}

bool CJobList::IsEmpty()
{
    CSectionLock lock(m_lock);
    return m_jobs.empty();
}

void CJobList::RemoveAll()
{
    CSectionLock lock(m_lock);
    for (CQueueJob* job : m_jobs)
        delete job;
    m_jobs.clear();
}

// ---- CQueueThread ----

BOOL CQueueThread::InitInstance()
{
    m_pView->RunQueue(m_nStop);
    m_pView->PostMessage(WM_QUEUE_FINISHED, WPARAM(m_nStop.load()), 0);
    return FALSE;
}
