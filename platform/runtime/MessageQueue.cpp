#include "platform/runtime/MessageQueue.h"

#include <algorithm>

#include "platform/runtime/Clock.h"
#include "platform/rtl/NeverDestroyed.h"

namespace vcl {

namespace {

bool InRange(UINT message, UINT first, UINT last) {
    if (first == 0 && last == 0) return true;
    return message >= first && message <= last;
}

bool Matches(const TMsg& msg, TMessageTarget* filter, UINT first, UINT last) {
    return (!filter || msg.Target == filter) && InRange(msg.Message, first, last);
}

TExceptionHandler& ExceptionHandlerSlot() {
    static rtl::NeverDestroyed<TExceptionHandler> handler;
    return *handler;
}

TProcessMessagesHandler& ProcessMessagesSlot() {
    static rtl::NeverDestroyed<TProcessMessagesHandler> handler;
    return *handler;
}

uint64_t Now() { return Clock().NowMicroseconds(); }

}  // namespace

TMessageTarget::~TMessageTarget() { MessageQueue().Forget(this); }

TMessageQueue& TMessageQueue::Instance() {
    static rtl::NeverDestroyed<TMessageQueue> queue;
    return *queue;
}

bool TMessageQueue::Post(TMessageTarget* target, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_QUIT) {
        PostQuit(static_cast<int>(wParam));
        return true;
    }
    posted_.push_back(TMsg{target, message, wParam, lParam, GetTickCount(), 0, 0});
    return true;
}

LRESULT TMessageQueue::Send(TMessageTarget* target, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!target) return 0;
    TMessage m{message, wParam, lParam, 0};
    try {
        target->HandleMessage(m);
    } catch (const EWaitStalled&) {
        throw;
    } catch (...) {
        HandleException(target->MessageSender(), std::current_exception());
        return 0;
    }
    return m.Result;
}

void TMessageQueue::PostQuit(int exitCode) {
    quitPending_ = true;
    exitCode_ = exitCode;
}

void TMessageQueue::SetTimer(TMessageTarget* target, uintptr_t id, uint32_t intervalMs) {
    // The platform's shortest interval.
    const uint64_t interval = uint64_t{std::max<uint32_t>(intervalMs, 10)} * 1000;
    const uint64_t due = Now() + interval;
    for (Timer& t : timers_) {
        if (t.target == target && t.id == id) {
            t.interval = interval;
            t.due = due;
            return;
        }
    }
    timers_.push_back(Timer{target, id, interval, due, timerOrder_++});
}

bool TMessageQueue::KillTimer(TMessageTarget* target, uintptr_t id) {
    const auto it = std::find_if(timers_.begin(), timers_.end(), [&](const Timer& t) { return t.target == target && t.id == id; });
    if (it == timers_.end()) return false;
    timers_.erase(it);
    return true;
}

std::optional<uint64_t> TMessageQueue::NextTimerDue() const {
    std::optional<uint64_t> next;
    for (const Timer& t : timers_) {
        if (!next || t.due < *next) next = t.due;
    }
    return next;
}

bool TMessageQueue::PeekPosted(TMsg& msg, TMessageTarget* filter, UINT first, UINT last, bool remove) {
    const auto it = std::find_if(posted_.begin(), posted_.end(), [&](const TMsg& m) { return Matches(m, filter, first, last); });
    if (it == posted_.end()) return false;
    msg = *it;
    if (remove) posted_.erase(it);
    return true;
}

bool TMessageQueue::PeekTimer(TMsg& msg, TMessageTarget* filter, UINT first, UINT last, bool remove) {
    if (!InRange(WM_TIMER, first, last)) return false;
    const uint64_t now = Now();
    Timer* best = nullptr;
    for (Timer& t : timers_) {
        if (t.due > now || (filter && t.target != filter)) continue;
        if (!best || t.due < best->due || (t.due == best->due && t.order < best->order)) best = &t;
    }
    if (!best) return false;
    msg = TMsg{best->target, WM_TIMER, best->id, 0, static_cast<uint32_t>(now / 1000), 0, 0};
    if (remove) {
        // Periods missed while the thread was busy collapse into this one tick.
        uint64_t next = best->due + best->interval;
        while (next <= now) next += best->interval;
        best->due = next;
    }
    return true;
}

bool TMessageQueue::Peek(TMsg& msg, TMessageTarget* filter, UINT first, UINT last, UINT flags) {
    const bool remove = (flags & PM_REMOVE) != 0;
    const bool found = Look(msg, filter, first, last, remove, true);
    // A message handed out, or none found, ends the pass.
    if (remove || !found) polled_ = false;
    return found;
}

bool TMessageQueue::Look(TMsg& msg, TMessageTarget* filter, UINT first, UINT last, bool remove, bool poll) {
    if (PeekPosted(msg, filter, first, last, remove)) return true;
    if (quitPending_ && InRange(WM_QUIT, first, last)) {
        msg = TMsg{nullptr, WM_QUIT, static_cast<WPARAM>(exitCode_), 0, GetTickCount(), 0, 0};
        if (remove) quitPending_ = false;
        return true;
    }
    if (source_) {
        if (poll && !polled_) {
            source_->Poll();
            polled_ = true;
        }
        if (source_->PeekInput(msg, filter, first, last, remove)) return true;
        if (InRange(WM_PAINT, first, last) && source_->PeekPaint(msg, filter)) return true;
    }
    return PeekTimer(msg, filter, first, last, remove);
}

void TMessageQueue::WaitMessage() {
    TMsg probe;
    // No poll here: waiting returns at once for whatever the backend holds.
    if (Look(probe, nullptr, 0, 0, false, false)) return;
    const std::optional<uint64_t> deadline = NextTimerDue();
    if (source_) {
        source_->Wait(deadline);
        polled_ = false;
        return;
    }
    if (!deadline) throw EWaitStalled("waiting for a message that can never come: no input source and no timer");
    if (Clock().IsVirtual()) throw EWaitStalled("waiting for a timer on a virtual clock that nobody advances");
    const uint64_t now = Now();
    if (*deadline > now) Clock().SleepMicroseconds(*deadline - now);
}

bool TMessageQueue::Get(TMsg& msg) {
    while (!Peek(msg, nullptr, 0, 0, PM_REMOVE)) WaitMessage();
    return msg.Message != WM_QUIT;
}

void TMessageQueue::Dispatch(const TMsg& msg) {
    if (!msg.Target) return;
    Send(msg.Target, msg.Message, msg.WParam, msg.LParam);
}

void TMessageQueue::Forget(TMessageTarget* target) {
    posted_.erase(std::remove_if(posted_.begin(), posted_.end(), [&](const TMsg& m) { return m.Target == target; }),
                  posted_.end());
    timers_.erase(std::remove_if(timers_.begin(), timers_.end(), [&](const Timer& t) { return t.target == target; }),
                  timers_.end());
}

void TMessageQueue::Reset() {
    posted_.clear();
    timers_.clear();
    quitPending_ = false;
    exitCode_ = 0;
    polled_ = false;
}

TExceptionHandler SetExceptionHandler(TExceptionHandler handler) {
    TExceptionHandler previous = std::move(ExceptionHandlerSlot());
    ExceptionHandlerSlot() = std::move(handler);
    return previous;
}

void HandleException(TObject* sender, std::exception_ptr error) {
    const TExceptionHandler& handler = ExceptionHandlerSlot();
    if (!handler) std::rethrow_exception(error);
    handler(sender, error);
}

TProcessMessagesHandler SetProcessMessagesHandler(TProcessMessagesHandler handler) {
    TProcessMessagesHandler previous = std::move(ProcessMessagesSlot());
    ProcessMessagesSlot() = std::move(handler);
    return previous;
}

void ProcessPendingMessages() {
    if (const TProcessMessagesHandler& handler = ProcessMessagesSlot()) {
        handler();
        return;
    }
    TMsg msg;
    while (MessageQueue().Peek(msg)) {
        if (msg.Message == WM_QUIT) {
            MessageQueue().PostQuit(static_cast<int>(msg.WParam));
            return;
        }
        MessageQueue().Dispatch(msg);
    }
}

void AdvanceVirtualTime(TVirtualClock& clock, uint64_t span) {
    const uint64_t target = clock.NowMicroseconds() + span;
    ProcessPendingMessages();
    while (clock.NowMicroseconds() < target) {
        const std::optional<uint64_t> due = MessageQueue().NextTimerDue();
        if (!due || *due > target) {
            clock.AdvanceTo(target);
        } else {
            clock.AdvanceTo(*due);
        }
        const uint64_t before = clock.NowMicroseconds();
        ProcessPendingMessages();
        const std::optional<uint64_t> after = MessageQueue().NextTimerDue();
        // A due timer that pumping did not take would hold time still for ever.
        if (after && *after <= before && clock.NowMicroseconds() == before && before < target) {
            throw EWaitStalled("a due timer was not dispatched while advancing virtual time");
        }
    }
}

}  // namespace vcl
