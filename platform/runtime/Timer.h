#pragma once
// TTimer: a component that raises OnTimer on the GUI thread every Interval milliseconds while it is
// enabled. Ticks arrive as WM_TIMER through the message queue, so a handler that pumps the queue
// may see the next tick run inside it.

#include <cstdint>

#include "platform/runtime/Component.h"
#include "platform/runtime/MessageQueue.h"

namespace vcl {

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* AOwner);
    ~TTimer() override;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    // Milliseconds between ticks; 0 stops the timer.
    uint32_t Interval() const { return interval_; }
    void SetInterval(uint32_t value);
    const TNotifyEvent& OnTimer() const { return onTimer_; }
    void SetOnTimer(TNotifyEvent handler);

    // Whether the queue currently holds a running timer for this component.
    bool Running() const { return running_; }

protected:
    // Raises OnTimer; the tick's entry point.
    virtual void Timer();

private:
    class Receiver : public TMessageTarget {
    public:
        explicit Receiver(TTimer& owner) : owner_(owner) {}
        void HandleMessage(TMessage& message) override;
        TObject* MessageSender() override { return &owner_; }

    private:
        TTimer& owner_;
    };

    void UpdateTimer();

    Receiver receiver_{*this};
    TNotifyEvent onTimer_;
    uint32_t interval_ = 1000;
    bool enabled_ = true;
    bool running_ = false;
};

}  // namespace vcl
