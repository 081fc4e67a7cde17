#pragma once
// The windows of an open menu. Each level of an opening is a TSePopupWindow: a borderless,
// top-most tool window shown without activation, holding a TSePopupForm (the frame painter, with
// the level's blending, shadow and animation) and a TSePopupView (the item view, a child window
// that lays the items out, paints them and runs the level's tracking loop while it holds the
// pointer capture).
//
// One TSeMenuTracking lives for a whole opening. It knows every open level, ends them all, and
// takes the keyboard while the menu is open: key messages meant for the focused window are
// handled by the deepest level, whoever dispatches them (the menu's own loop or another pump, such
// as a timer tick that processes messages), so none of them leaks to the window below.

#include <memory>
#include <vector>

#include "controls/foundation/Blending.h"
#include "controls/popupmenu/MenuItem.h"
#include "controls/popupmenu/MenuOptions.h"
#include "platform/draw/Font.h"
#include "platform/toolkit/CustomControl.h"

namespace se {

class TSePopupView;

// Layout and timing of the menu windows.
inline constexpr int kMenuFrame = 3;           // frame width on every side
inline constexpr int kSeparatorHeight = 15;
inline constexpr int kImageColumn = 22;
inline constexpr int kScrollStrip = 10;        // arrow strip height of a scrolled level
inline constexpr uint32_t kScrollInterval = 100;   // ms between strip steps
inline constexpr uint32_t kSubmenuDelay = 400;     // ms of hovering before a submenu opens

// The font of every menu item (the platform's menu font), alive for the whole run.
vcl::TFont& MenuFont();
// Default item height and width: the platform's menu-item metrics, each at least 20.
int DefaultItemHeight();
int DefaultItemWidth();

class TSeMenuTracking {
public:
    TSeMenuTracking();
    ~TSeMenuTracking();
    TSeMenuTracking(const TSeMenuTracking&) = delete;
    TSeMenuTracking& operator=(const TSeMenuTracking&) = delete;

    // Ends every level of the opening and hides their windows at once.
    void End();
    bool Ended() const { return ended_; }
    // Open levels, root first.
    const std::vector<TSePopupView*>& Levels() const { return levels_; }
    TSePopupView* Deepest() const { return levels_.empty() ? nullptr : levels_.back(); }
    // The deepest level whose window holds the screen point.
    TSePopupView* LevelAt(vcl::TPoint screen) const;
    bool IsLevelWindow(vcl::HWND window) const;

    // Pointer input from the level holding the capture (screen coordinates).
    void MouseMove(vcl::TPoint screen);
    // A left button press (down) or release over the menu chooses; a press outside ends it.
    void MousePress(vcl::TPoint screen, bool down);
    // A key message meant for the window below; always swallowed.
    void KeyMessage(vcl::TMessage& message);

    // Hands the chosen item to the click handler and ends the menu.
    void Choose(TSeCustomItem& item);

private:
    friend class TSePopupView;
    friend void ShowChildren(TSeCustomItem&, TSePopupView*, int, int, const vcl::TRect&, TSeMenuTracking&);
    void Hook(vcl::HWND window);
    void Unhook();

    std::vector<TSePopupView*> levels_;
    bool ended_ = false;
    vcl::HWND hooked_ = nullptr;
    vcl::TWindowProc previousProc_;
    vcl::TPoint lastMouse_{-32768, -32768};
    vcl::HWND activeAtStart_ = nullptr;
};

// The frame painter of a level.
class TSePopupForm : public vcl::TComponent {
public:
    explicit TSePopupForm(vcl::TComponent* AOwner);

    TSeBlending& Blending() { return blending_; }
    TSeShadow& Shadow() { return shadow_; }
    TSeAnimation& Animation() { return animation_; }
    bool Animate() const { return animate_; }
    void SetAnimate(bool value) { animate_ = value; }
    int ShadowSize() const { return shadow_.Enabled() ? shadow_.Size() : 0; }

    // The frame of a window whose client area is client (the shadow strip excluded from it).
    void PaintFrame(vcl::TCanvas& canvas, const vcl::TRect& client);
    void PaintShadow(vcl::TCanvas& canvas, const vcl::TRect& client);

private:
    TSeBlending blending_;
    TSeShadow shadow_;
    TSeAnimation animation_;
    bool animate_ = false;
};

class TSePopupView : public vcl::TCustomControl {
public:
    TSePopupView(vcl::TComponent* AOwner, TSeCustomItem& item, TSeMenuTracking& tracking, TSePopupView* parentView);
    ~TSePopupView() override;

    TSeCustomItem& Item() const { return item_; }
    TSePopupView* ParentView() const { return parentView_; }
    TSePopupView* ChildView() const { return childView_; }
    // The highlighted child of Item, or null.
    TSeCustomItem* Highlighted() const;
    int HighlightIndex() const { return highlight_; }
    void SetHighlight(int index);
    int FirstShown() const { return firstShown_; }
    bool IsScrolled() const;
    bool Running() const { return running_; }

    // Lays the visible children out and returns the size of the item area (strips included). A
    // level taller than maxHeight scrolls between arrow strips even when its item does not ask to.
    vcl::TSize Layout(int maxHeight = 0);
    // How many items a scrolled level shows; 0 when the level does not scroll.
    int ShownCount() const;
    // Index (among Item's children) of the item at a client point, or -1.
    int ItemIndexAt(vcl::TPoint client) const;
    // -1 over the top strip, 1 over the bottom strip, 0 elsewhere.
    int StripAt(vcl::TPoint client) const;

    // Runs the tracking loop until this level closes.
    void Track();
    // Ends this level and every level below it.
    void Close();
    // Ends the levels below this one.
    void CloseBelow();

    // Keyboard of the deepest level.
    void KeyDown(uint16_t key);
    void Character(char32_t ch);
    // Enter on the highlighted item: its children open, or it is chosen.
    void ChooseHighlighted();
    // Next or previous selectable item, wrapping once round at most (or stopping at the end).
    void Step(int direction, bool wrap = true);
    int VisibleCount() const;
    void StartSubmenuTimer();
    void StartScroll(int direction);
    void StopScroll();

    void WndProc(vcl::TMessage& message) override;

protected:
    void Paint() override;

private:
    friend void ShowChildren(TSeCustomItem&, TSePopupView*, int, int, const vcl::TRect&, TSeMenuTracking&);
    void PaintItem(vcl::TCanvas& canvas, TSeCustomItem& item, bool highlighted);
    void PaintStrips(vcl::TCanvas& canvas);
    void ScrollIntoView();
    void OpenHighlighted();
    bool AncestorsRunning() const;

    TSeCustomItem& item_;
    TSeMenuTracking& tracking_;
    TSePopupView* parentView_;
    TSePopupView* childView_ = nullptr;
    int highlight_ = -1;
    int firstShown_ = 0;
    int scrollDirection_ = 0;
    int itemWidth_ = 0;
    int fitCount_ = 0;  // items that fit when the level is taller than the screen allows
    bool running_ = false;
    bool openPending_ = false;
};

class TSePopupWindow : public vcl::TCustomControl {
public:
    TSePopupWindow(TSeCustomItem& item, TSeMenuTracking& tracking, TSePopupView* parentView);
    ~TSePopupWindow() override;

    TSePopupForm& Form() { return *form_; }
    TSePopupView& View() { return *view_; }
    // Sizes the window for its items and places it at (x, y) against the monitor holding that point,
    // flipping away from the monitor's right and bottom edges (see ShowChildren).
    void Place(int x, int y, const vcl::TRect& exclude);

protected:
    void CreateParams(vcl::TCreateParams& params) override;
    void Paint() override;

private:
    TSePopupForm* form_;
    TSePopupView* view_;
};

// Opens the visible children of item at (x, y) (a submenu: beside exclude, screen coordinates),
// runs the new level's tracking loop and closes its window when the loop returns. Nothing happens
// when the item has no visible child.
void ShowChildren(TSeCustomItem& item, TSePopupView* parentView, int x, int y, const vcl::TRect& exclude,
                  TSeMenuTracking& tracking);

// Where a window of size (w, h) opens for the point (x, y) or beside exclude (non-empty) on a
// monitor (its full rectangle).
vcl::TPoint MenuPosition(int x, int y, int w, int h, const vcl::TRect& exclude, const vcl::TRect& monitor);

}  // namespace se
