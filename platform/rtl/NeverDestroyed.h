#pragma once
// A process-wide object made on its first use and deliberately never destroyed. The message queue,
// the window system, the handle tables and the other objects that windows, timers and fonts reach
// from their own destructors must outlive every one of those destructors, and the order of static
// destruction across files promises nothing. What such an object holds at exit stays reachable
// (no leak report) and goes with the process; whatever must end in order (ports, windows, the
// display) is ended explicitly at the end of main.
//
//     TMessageQueue& TMessageQueue::Instance() {
//         static rtl::NeverDestroyed<TMessageQueue> queue;
//         return *queue;
//     }

#include <new>
#include <utility>

namespace rtl {

template <typename T>
class NeverDestroyed {
public:
    template <typename... Args>
    explicit NeverDestroyed(Args&&... args) {
        ::new (static_cast<void*>(storage_)) T(std::forward<Args>(args)...);
    }
    NeverDestroyed(const NeverDestroyed&) = delete;
    NeverDestroyed& operator=(const NeverDestroyed&) = delete;
    // No destructor of T on purpose: see above.
    ~NeverDestroyed() = default;

    T& operator*() { return *Get(); }
    T* operator->() { return Get(); }

private:
    T* Get() { return std::launder(reinterpret_cast<T*>(storage_)); }

    alignas(T) unsigned char storage_[sizeof(T)];
};

}  // namespace rtl
