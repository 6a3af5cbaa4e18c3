#pragma once
// Per-thread wrappers for handles the framework did not create (windows, menus, contexts met
// through FromHandle). They never own their handle and live until the thread's next idle time.
#include <map>
#include <memory>

template <class Wrapper, class Handle>
std::map<Handle, std::unique_ptr<Wrapper>>& FwTempObjects()
{
    thread_local std::map<Handle, std::unique_ptr<Wrapper>> objects;
    return objects;
}

// The wrapper of `handle`, made by `make` the first time.
template <class Wrapper, class Handle, class Make>
Wrapper* FwTempObject(Handle handle, Make make)
{
    auto& slot = FwTempObjects<Wrapper, Handle>()[handle];
    if (!slot)
        slot.reset(make(handle));
    return slot.get();
}
