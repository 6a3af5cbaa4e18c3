#include "CrDibArena.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#define CR_DIB_ZONES 1
#endif

struct CrDibZone {
    std::atomic<size_t> holds;  // blocks alive, and one for the arena while it carves from the zone
    std::atomic<bool> filling;  // the arena still carves from it
    uint8_t* base;
    size_t size;
};

namespace {

// Before every block; keeps the pixel block as aligned as the heap's.
struct alignas(16) BlockHead {
    CrDibZone* zone;  // null for a heap block
    size_t bytes;
};

} // namespace

uint8_t* CrDibAlloc(size_t bytes)
{
    if (bytes > SIZE_MAX - sizeof(BlockHead))
        return nullptr;
    BlockHead* head = static_cast<BlockHead*>(std::calloc(1, sizeof(BlockHead) + bytes));
    if (!head)
        return nullptr;
    return reinterpret_cast<uint8_t*>(head + 1);
}

#ifdef CR_DIB_ZONES

namespace {

constexpr size_t kHugePage = size_t(2) << 20;
// Zones below this are not worth a mapping of their own; above the most, a run of frames takes several.
constexpr size_t kZoneLeast = size_t(4) << 20;
constexpr size_t kZoneMost = size_t(64) << 20;
constexpr size_t kBlockAlign = 64;

size_t PageSize()
{
    static const size_t page = size_t(sysconf(_SC_PAGESIZE) > 0 ? sysconf(_SC_PAGESIZE) : 4096);
    return page;
}

size_t RoundUp(size_t n, size_t unit) { return (n + unit - 1) / unit * unit; }

// Gives the whole pages inside [from, from + bytes) back to the system; they read as zeros after.
void ReleasePages(uint8_t* from, size_t bytes)
{
    const uintptr_t first = RoundUp(uintptr_t(from), PageSize());
    const uintptr_t end = (uintptr_t(from) + bytes) / PageSize() * PageSize();
    if (end > first)
        madvise(reinterpret_cast<void*>(first), end - first, MADV_DONTNEED);
}

// `size` bytes of fresh zeroed memory starting on a huge-page boundary, huge pages asked for where
// they would be filled entirely.
CrDibZone* MapZone(size_t size)
{
    const size_t span = size + kHugePage;
    void* mapped = mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
        return nullptr;
    uint8_t* start = reinterpret_cast<uint8_t*>(RoundUp(uintptr_t(mapped), kHugePage));
    const size_t lead = size_t(start - static_cast<uint8_t*>(mapped));
    if (lead)
        munmap(mapped, lead);
    if (span - lead > size)
        munmap(start + size, span - lead - size);
#ifdef MADV_HUGEPAGE
    if (size >= kHugePage)
        madvise(start, size / kHugePage * kHugePage, MADV_HUGEPAGE);
#endif
    CrDibZone* zone = new (std::nothrow) CrDibZone;
    if (!zone) {
        munmap(start, size);
        return nullptr;
    }
    zone->holds.store(1);
    zone->filling.store(true);
    zone->base = start;
    zone->size = size;
    return zone;
}

// Drops one hold and gives the pages of [pages, pages + bytes) back when the zone stays. Only a holder
// may touch the zone's pages, so they go before the hold; a hold that is the only one left is the last,
// as nothing new is carved once the arena let go.
void Drop(CrDibZone* zone, uint8_t* pages, size_t bytes)
{
    if (bytes && zone->holds.load(std::memory_order_acquire) > 1)
        ReleasePages(pages, bytes);
    if (zone->holds.fetch_sub(1, std::memory_order_acq_rel) == 1) {
        munmap(zone->base, zone->size);
        delete zone;
    }
}

} // namespace

void CrDibFree(uint8_t* dib)
{
    if (!dib)
        return;
    BlockHead* head = reinterpret_cast<BlockHead*>(dib) - 1;
    CrDibZone* zone = head->zone;
    if (!zone) {
        std::free(head);
        return;
    }
    // A block given up while the decoder goes on (as a frame converted at once) would hold its pages
    // for the whole load. The frames of a finished load go together, and their pages with the zone:
    // giving each back first would only cost time.
    const bool alone = zone->filling.load(std::memory_order_acquire);
    Drop(zone, reinterpret_cast<uint8_t*>(head), alone ? sizeof(BlockHead) + head->bytes : 0);
}

CrDibArena::CrDibArena(size_t blocks) : m_blocksLeft(blocks) {}

CrDibArena::~CrDibArena() { Retire(); }

void CrDibArena::Retire()
{
    if (!m_zone)
        return;
    m_zone->filling.store(false, std::memory_order_release);
    Drop(m_zone, m_zone->base + m_used, m_zone->size - m_used);
    m_zone = nullptr;
    m_used = 0;
}

uint8_t* CrDibArena::Alloc(size_t bytes)
{
    const size_t wanted = std::max<size_t>(m_blocksLeft, 1);
    m_blocksLeft -= m_blocksLeft ? 1 : 0;
    if (bytes > kZoneMost)
        return CrDibAlloc(bytes);
    const size_t stride = RoundUp(sizeof(BlockHead) + bytes, kBlockAlign);
    if (!m_zone || m_zone->size - m_used < stride) {
        Retire();
        const size_t count = std::min(wanted, kZoneMost / stride);
        if (stride * count < kZoneLeast)
            return CrDibAlloc(bytes);
        m_zone = MapZone(RoundUp(stride * count, PageSize()));
        if (!m_zone)
            return CrDibAlloc(bytes);
    }
    BlockHead* head = reinterpret_cast<BlockHead*>(m_zone->base + m_used);
    head->zone = m_zone;
    head->bytes = bytes;
    m_zone->holds.fetch_add(1, std::memory_order_relaxed);
    m_used += stride;
    // Never handed out before, so still the zeros of a fresh mapping.
    return reinterpret_cast<uint8_t*>(head + 1);
}

#else

void CrDibFree(uint8_t* dib)
{
    if (dib)
        std::free(reinterpret_cast<BlockHead*>(dib) - 1);
}

CrDibArena::CrDibArena(size_t blocks) : m_blocksLeft(blocks) {}

CrDibArena::~CrDibArena() = default;

void CrDibArena::Retire() {}

uint8_t* CrDibArena::Alloc(size_t bytes) { return CrDibAlloc(bytes); }

#endif
