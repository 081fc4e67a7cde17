#pragma once
// The GUI thread's message queue. Posted messages, input, paint and timers come out in the
// platform's order: posted messages first (FIFO), then the quit request, then input, then
// WM_PAINT for windows that need it, then WM_TIMER for the earliest due timer. Input and paint
// come from a message source that the window layer installs; without one the queue holds posted
// messages and timers only. Everything is re-entrant: a handler may pump the queue again.

#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <optional>
#include <stdexcept>
#include <vector>

#include "platform/runtime/Messages.h"
#include "platform/runtime/Object.h"

namespace vcl {

// Anything that can receive queued messages: windows, timers' hidden receivers. Destroying a
// target drops whatever is still queued for it and kills its timers.
class TMessageTarget {
public:
    TMessageTarget() = default;
    TMessageTarget(const TMessageTarget&) = delete;
    TMessageTarget& operator=(const TMessageTarget&) = delete;
    virtual ~TMessageTarget();

    virtual void HandleMessage(TMessage& message) = 0;
    // The object named as sender when a handler run for this target raises.
    virtual TObject* MessageSender() { return nullptr; }
};

// A queued message with the time (ms) and screen pointer position it was taken at.
struct TMsg {
    TMessageTarget* Target = nullptr;
    UINT Message = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    uint32_t Time = 0;
    int PtX = 0;
    int PtY = 0;
};

inline constexpr UINT PM_NOREMOVE = 0, PM_REMOVE = 1;

// The window layer's side of the queue: routed input, paint requests and waiting for the backend.
class TMessageSource {
public:
    virtual ~TMessageSource() = default;
    // The next input message in the range for filter (nullptr: any target); remove takes it.
    virtual bool PeekInput(TMsg& msg, TMessageTarget* filter, UINT first, UINT last, bool remove) = 0;
    // A WM_PAINT for the first window that needs painting (it stays until the window is validated).
    virtual bool PeekPaint(TMsg& msg, TMessageTarget* filter) = 0;
    // Nothing is waiting: finish idle work (presenting) and block until input may have arrived or
    // the deadline (clock microseconds) has passed.
    virtual void Wait(std::optional<uint64_t> deadline) = 0;
    // Brings in whatever the backend has waiting, without blocking.
    virtual void Poll() {}
};

// Raised where waiting can never end (a virtual clock that nobody advances, no input to come).
// Message dispatch never swallows it, so a test sees it instead of hanging.
class EWaitStalled : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

class TMessageQueue {
public:
    static TMessageQueue& Instance();

    bool Post(TMessageTarget* target, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // Delivers at once, like a message sent to a window; a handler's exception goes to the
    // application's exception handling and the result is then 0.
    LRESULT Send(TMessageTarget* target, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    void PostQuit(int exitCode);
    bool QuitPending() const { return quitPending_; }

    // Starts or restarts the timer (target, id); it is due every intervalMs from now.
    void SetTimer(TMessageTarget* target, uintptr_t id, uint32_t intervalMs);
    bool KillTimer(TMessageTarget* target, uintptr_t id);
    // Clock time (microseconds) at which the earliest timer is due.
    std::optional<uint64_t> NextTimerDue() const;
    size_t TimerCount() const { return timers_.size(); }

    // Looks for a message without waiting; with PM_REMOVE it is taken out of the queue (WM_PAINT
    // stays until validated; WM_QUIT clears the quit request). Range 0, 0 means every message.
    // The message source is polled once per pass: on the first look after the queue handed a
    // message out, found nothing or waited; looking again meanwhile finds what that poll brought.
    bool Peek(TMsg& msg, TMessageTarget* filter = nullptr, UINT first = 0, UINT last = 0, UINT flags = PM_REMOVE);
    // Waits for the next message and takes it; false when it is WM_QUIT.
    bool Get(TMsg& msg);
    // Returns once a message is waiting.
    void WaitMessage();
    // Hands a message to its target; exceptions go to the application's exception handling.
    void Dispatch(const TMsg& msg);

    // Drops the queued messages and timers of a target that dies.
    void Forget(TMessageTarget* target);
    void SetSource(TMessageSource* source) {
        source_ = source;
        polled_ = false;
    }
    TMessageSource* Source() const { return source_; }

    size_t PostedCount() const { return posted_.size(); }
    // Empties the queue (tests start from a clean state).
    void Reset();

private:
    struct Timer {
        TMessageTarget* target;
        uintptr_t id;
        uint64_t interval;
        uint64_t due;
        uint64_t order;
    };

    bool Look(TMsg& msg, TMessageTarget* filter, UINT first, UINT last, bool remove, bool poll);
    bool PeekPosted(TMsg& msg, TMessageTarget* filter, UINT first, UINT last, bool remove);
    bool PeekTimer(TMsg& msg, TMessageTarget* filter, UINT first, UINT last, bool remove);

    std::deque<TMsg> posted_;
    std::vector<Timer> timers_;
    uint64_t timerOrder_ = 0;
    bool quitPending_ = false;
    int exitCode_ = 0;
    TMessageSource* source_ = nullptr;
    bool polled_ = false;  // the source was polled in this pass
};

inline TMessageQueue& MessageQueue() { return TMessageQueue::Instance(); }

// The application's handling of an exception that left a handler. Without one installed the
// exception is raised again.
using TExceptionHandler = std::function<void(TObject* sender, std::exception_ptr error)>;
TExceptionHandler SetExceptionHandler(TExceptionHandler handler);
void HandleException(TObject* sender, std::exception_ptr error);

// How "dispatch everything waiting" is done: the application installs its own, which adds
// keyboard and hint handling. Without one, messages are peeked and dispatched as they are.
using TProcessMessagesHandler = std::function<void()>;
TProcessMessagesHandler SetProcessMessagesHandler(TProcessMessagesHandler handler);
void ProcessPendingMessages();

class TVirtualClock;
// Moves a virtual clock on by span microseconds, stopping at each timer's due time on the way to
// dispatch what is waiting there, so ticks run at their exact times and in order.
void AdvanceVirtualTime(TVirtualClock& clock, uint64_t span);

}  // namespace vcl
