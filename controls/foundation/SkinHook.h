#pragma once
// The skin hook of the skin-aware controls (TSeSkinButton, TSeSkinLabel and their siblings): a
// link to a skin host and the name of the skin object to draw with. No skin host in this program
// ever holds a skin, so SkinAvailable is always false and every control paints by default; the
// hook keeps the properties, the host's messages and the free notification honest.

#include <string>

#include "platform/runtime/Component.h"
#include "platform/runtime/Messages.h"

namespace se {

// Messages from a skin host to its controls (wParam unused, lParam the host).
inline constexpr vcl::UINT SM_SKINCHANGING = 1703;  // a skin change begins
inline constexpr vcl::UINT SM_SKINCHANGED = 1702;   // a skin change ended
inline constexpr vcl::UINT SM_SKINREPAINT = 2121;   // a skin object asks for a repaint

// The fixed version text of the control set.
inline constexpr const char* kSeSkinVersion = "Velmo Se 1.0";

// A skin host. Loading skins is not part of this program: the host never holds a skin source, so
// it offers no skin object.
class TSeSkinEngine : public vcl::TComponent {
public:
    using TComponent::TComponent;
    // The host's skin holds an object of that name (never: no skin is loaded).
    bool HasSkinObject(const std::string& name) const;
};

// Adds the hook to a control class: SkinEngine, SkinObject, Version and SkinAvailable, the host's
// messages and the host's free notification.
template <typename Base>
class TSeSkinAware : public Base {
public:
    TSeSkinAware(vcl::TComponent* AOwner, const char* skinObject) : Base(AOwner), skinObject_(skinObject) {}
    ~TSeSkinAware() override {
        if (skinEngine_) skinEngine_->RemoveFreeNotification(this);
    }

    TSeSkinEngine* SkinEngine() const { return skinEngine_; }
    void SetSkinEngine(TSeSkinEngine* value) {
        if (skinEngine_ && skinEngine_ != value) skinEngine_->RemoveFreeNotification(this);
        skinEngine_ = value;
        if (skinEngine_) skinEngine_->FreeNotification(this);
        // A fresh copy of the named object would be bound here; no host ever offers one.
        hasSkinInstance_ = skinEngine_ && skinEngine_->HasSkinObject(skinObject_);
        this->Invalidate();
    }
    const std::string& SkinObject() const { return skinObject_; }
    void SetSkinObject(const std::string& value) { skinObject_ = value; }
    std::string Version() const { return kSeSkinVersion; }
    void SetVersion(const std::string&) {}

    // The control draws with a skin object instead of its default painting.
    bool SkinAvailable() const {
        return !this->HasState(vcl::csLoading | vcl::csDestroying) && skinEngine_ &&
               skinEngine_->HasSkinObject(skinObject_) && hasSkinInstance_;
    }

    void WndProc(vcl::TMessage& m) override {
        const auto* engine = reinterpret_cast<const TSeSkinEngine*>(m.LParam);
        switch (m.Msg) {
            case SM_SKINCHANGING:
                if (engine && engine == skinEngine_) hasSkinInstance_ = false;
                return;
            case SM_SKINCHANGED:
                if (engine && engine == skinEngine_) SetSkinEngine(skinEngine_);
                return;
            case SM_SKINREPAINT: this->Invalidate(); return;
            default: Base::WndProc(m); return;
        }
    }

protected:
    void Notification(vcl::TComponent* component, vcl::TOperation operation) override {
        Base::Notification(component, operation);
        if (operation == vcl::opRemove && component == skinEngine_) {
            skinEngine_ = nullptr;
            hasSkinInstance_ = false;
        }
    }

private:
    TSeSkinEngine* skinEngine_ = nullptr;
    std::string skinObject_;
    bool hasSkinInstance_ = false;
};

}  // namespace se
