#pragma once
// The worker that decodes every frame of one playlist item into the item's frame slots.
#include "CWinThread.h"
#include "PlaylistItem.h"

class CGIFLoadThread : public CWinThread, public CFrameLoadCallback {
public:
    explicit CGIFLoadThread(CPlaylistItem* item);

    BOOL InitInstance() override;
    // Asks the load to stop and returns once the thread has ended and its 0x5BC was handled.
    void Cancel();

    // The play control bar follows the decoding of the canvas's current item.
    int OnFramesFound(CrImageGIF* gif, GifLoadInfo* info) override;
    int OnFrameDecoded(CrImageGIF* gif, GifLoadInfo* info) override;

private:
    bool IsCurrentItem() const;
};
