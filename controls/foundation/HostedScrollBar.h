#pragma once
// The face a scroll bar shows the control of the set that hosts it (ScrollBars). The scroll-bar
// unit builds on the foundation, so the foundation knows its bars only through this.

#include <functional>

#include "platform/toolkit/Control.h"

namespace se {

class ISeHostedScrollBar {
public:
    // A user action on the bar: the platform's scroll code (SB_LINEUP ...) and the proposed position.
    using TScrollRelay = std::function<void(int code, int pos)>;

    virtual vcl::TControl& BarControl() = 0;
    // Sets the bar up for hosting: orientation, no border, opaque. Every user action goes to relay;
    // as with the platform's own bars, the bar then stays where the host's handler put it.
    virtual void HostIn(bool vertical, TScrollRelay relay) = 0;

protected:
    // The component tree owns a bar and destroys it as a control.
    ~ISeHostedScrollBar() = default;
};

}  // namespace se
