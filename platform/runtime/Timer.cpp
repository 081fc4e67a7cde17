#include "platform/runtime/Timer.h"

namespace vcl {

namespace {
constexpr uintptr_t kTimerId = 1;
}

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) {}

TTimer::~TTimer() {
    if (running_) MessageQueue().KillTimer(&receiver_, kTimerId);
}

void TTimer::SetEnabled(bool value) {
    if (value == enabled_) return;
    enabled_ = value;
    UpdateTimer();
}

void TTimer::SetInterval(uint32_t value) {
    if (value == interval_) return;
    interval_ = value;
    UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent handler) {
    onTimer_ = std::move(handler);
    UpdateTimer();
}

void TTimer::UpdateTimer() {
    if (running_) MessageQueue().KillTimer(&receiver_, kTimerId);
    running_ = interval_ != 0 && enabled_ && onTimer_;
    if (running_) MessageQueue().SetTimer(&receiver_, kTimerId, interval_);
}

void TTimer::Timer() {
    // Copy: the handler may replace itself or destroy nothing but must not lose its own closure.
    const TNotifyEvent handler = onTimer_;
    Fire(handler, this);
}

void TTimer::Receiver::HandleMessage(TMessage& message) {
    if (message.Msg != WM_TIMER) return;
    owner_.Timer();
}

}  // namespace vcl
