#pragma once
// Pixel blocks of images (header, palette and rows in one block). A block is freed the same way
// however it was made: from the heap, or carved with many others of a kind from one large zone.
//
// A decoder that keeps hundreds of full-screen frames asks for them through an arena: where the
// system has huge pages, the zone is backed by them, so filling the frames costs one page fault per
// 2 MB instead of one per 4 KB. Elsewhere the arena hands out heap blocks.
#include <cstddef>
#include <cstdint>

struct CrDibZone;

// A zeroed block of `bytes` from the heap; null when there is no memory.
uint8_t* CrDibAlloc(size_t bytes);
// Frees a block of CrDibAlloc or of an arena (null is ignored). Blocks of a zone give their memory
// back to the system at once; the zone goes when its last block does. Safe from any thread.
void CrDibFree(uint8_t* dib);

class CrDibArena {
public:
    // `blocks`: how many blocks the arena will be asked for, at most; zones are sized by it.
    explicit CrDibArena(size_t blocks);
    ~CrDibArena();
    CrDibArena(const CrDibArena&) = delete;
    CrDibArena& operator=(const CrDibArena&) = delete;

    // A zeroed block of `bytes`; null when there is no memory. The blocks outlive the arena.
    uint8_t* Alloc(size_t bytes);

private:
    void Retire();

    size_t m_blocksLeft;
    CrDibZone* m_zone = nullptr;
    size_t m_used = 0;  // bytes of the zone handed out
};
