#pragma once
// A critical section object.
#include <windows.h>

class CCriticalSection {
public:
    CCriticalSection() { ::InitializeCriticalSection(&m_sect); }
    ~CCriticalSection() { ::DeleteCriticalSection(&m_sect); }
    CCriticalSection(const CCriticalSection&) = delete;
    CCriticalSection& operator=(const CCriticalSection&) = delete;
    void Lock() { ::EnterCriticalSection(&m_sect); }
    void Unlock() { ::LeaveCriticalSection(&m_sect); }

private:
    CRITICAL_SECTION m_sect;
};

// Holds a critical section for the lifetime of the object.
class CSectionLock {
public:
    explicit CSectionLock(CCriticalSection& section) : m_section(section) { m_section.Lock(); }
    ~CSectionLock() { m_section.Unlock(); }
    CSectionLock(const CSectionLock&) = delete;
    CSectionLock& operator=(const CSectionLock&) = delete;

private:
    CCriticalSection& m_section;
};
