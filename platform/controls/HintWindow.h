#pragma once
// THintWindow: the small top-level window a hint shows in. It is a pop-up that never takes
// activation and stays above every other window.

#include <string>

#include "platform/controls/CustomControl.h"

namespace vcl {

class THintWindow : public TCustomControl {
public:
    explicit THintWindow(TComponent* AOwner);

    // Shows the hint text in rect (screen coordinates) without activating anything.
    virtual void ActivateHint(const TRect& rect, const std::string& text);
    // The size the text needs, placed at (0, 0); maxWidth limits the width.
    virtual TRect CalcHintRect(int maxWidth, const std::string& text);
    void ReleaseHandle();
    bool Showing() const;

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint() override;
};

}  // namespace vcl
