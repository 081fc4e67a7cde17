#pragma once
// The root of the toolkit's object model and its event type.

#include <functional>

namespace vcl {

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;
};

// An event whose only argument is the object that raised it.
using TNotifyEvent = std::function<void(TObject* Sender)>;

// Raises an event when a handler is assigned.
template <typename Event, typename... Args>
void Fire(const Event& event, Args&&... args) {
    if (event) event(std::forward<Args>(args)...);
}

// An object whose published state can be copied from another object of its kind.
class TPersistent : public TObject {
public:
    // Copies the state of source; kinds that cannot take it raise EConvertError.
    virtual void Assign(const TPersistent& source);
};

}  // namespace vcl
