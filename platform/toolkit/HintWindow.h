#pragma once
// THintWindow: the small top-level window a hint shows in: a pop-up that never takes activation
// and stays above every other window, painted in the classic look (info background, a one-pixel
// black frame, the text in the hint font and the info text colour, broken into lines where it
// holds line breaks or is wider than the room it is given).

#include <string>

#include "platform/toolkit/CustomControl.h"

namespace vcl {

class THintWindow : public TCustomControl {
public:
    // Between the frame and the text, on every side.
    static constexpr int kFrame = 1;
    static constexpr int kPadding = 2;

    explicit THintWindow(TComponent* AOwner);

    // Shows the hint text in rect (screen coordinates) without activating anything.
    virtual void ActivateHint(const TRect& rect, const std::string& text);
    // The window the text needs, placed at (0, 0): the text's extent in the hint font, broken at
    // maxWidth, plus the frame and the padding.
    virtual TRect CalcHintRect(int maxWidth, const std::string& text);
    void ReleaseHandle();
    bool Showing() const;
    // Where the text goes, in client coordinates.
    TRect TextRect() const;

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint() override;
};

}  // namespace vcl
