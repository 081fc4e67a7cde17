#pragma once
// The standard edit controls. TCustomEdit holds the editing both share: caret, selection by
// mouse (drag, double-click for a word, Shift+click) and keys (arrows, Home/End, Ctrl for words,
// Shift to extend), Delete/Backspace, the clipboard (Ctrl+C/X/V, Ctrl+Ins, Shift+Del/Ins), one
// level of undo (Ctrl+Z; a second undo redoes), Ctrl+A, and keeping the caret in view.
// TEdit is the single-line field with the classic sunken border; TMemo edits many lines, with
// Lines and word wrap.
//
// Keys reach the control as the platform's do: OnKeyDown, then OnKeyPress with the typed
// character before it is inserted (0 discards it; Ctrl+A/C/V/X/Z arrive as the characters 1, 3,
// 22, 24 and 26 and act only if not discarded), then OnKeyUp. OnChange follows every change of
// the text, writes by code included, but not a write of the same text nor one while loading. An
// exception leaving OnChange goes to the application's error box and the write or keystroke
// that caused it returns normally.
//
// Without a PopupMenu of its own the edit offers its context menu: "Undo", "Cut", "Copy",
// "Paste", "Delete" and "Select All", each enabled when it applies. Its Paste does not pass
// through OnKeyPress.
//
// Positions (SelStart, SelLength) count characters (code points) of Text.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/runtime/Strings.h"
#include "platform/toolkit/EditLayout.h"
#include "platform/toolkit/Form.h"
#include "platform/toolkit/Menus.h"
#include "platform/toolkit/WinControl.h"

namespace vcl {

// A control's border: bsNone or bsSingle of the form's border styles.
using TBorderStyle = TFormBorderStyle;
enum TScrollStyle : uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };

class TCustomEdit : public TWinControl {
public:
    explicit TCustomEdit(TComponent* AOwner);
    ~TCustomEdit() override;

    // A text written by code puts the caret at 0 with nothing selected and empties the undo.
    void SetText(const std::string& value) override;
    void Clear() { SetText(std::string()); }

    int SelStart() const;
    void SetSelStart(int value);
    int SelLength() const;
    void SetSelLength(int value);
    std::string SelText() const;
    // Replaces the selection as the platform's EM_REPLACESEL does: MaxLength applies, ReadOnly
    // does not; it can be undone.
    void SetSelText(const std::string& value);
    void SelectAll();
    // A command of the window's own at the end of the built-in context menu, after a line; its
    // caption is asked each time the menu opens (it may follow the window's language).
    void AddContextCommand(std::function<std::string()> caption, TNotifyEvent onClick);
    void ClearSelection();

    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();
    bool CanUndo() const { return undo_.has_value(); }
    void Undo();
    void ClearUndo() { undo_.reset(); }

    // Characters the user may enter in all; 0 for no limit. Writes by code are not limited.
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int value);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value);
    // Select the whole text when the focus comes other than by a click (single-line only).
    bool AutoSelect() const { return autoSelect_; }
    void SetAutoSelect(bool value) { autoSelect_ = value; }
    // Height follows the font (single-line with a border only).
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool value);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle value);
    bool Modified() const { return modified_; }
    void SetModified(bool value) { modified_ = value; }

    // Display lines (wrapped lines count one each) and the first one in view.
    int DisplayLineCount();
    int FirstVisibleLine();
    std::string DisplayLine(int index);
    // The caret's place in the client area (top of the caret).
    TPoint CaretPoint();

    void WndProc(TMessage& message) override;
    void DefaultHandler(TMessage& message) override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    TNotifyEvent OnChange;

protected:
    virtual void Change();
    virtual bool MultiLine() const { return false; }
    virtual bool Wrapping() const { return false; }
    virtual bool WantReturns() const { return false; }
    virtual bool WantTabsNow() const { return false; }
    // The text changed in any way; subclasses drop what they derived from it.
    virtual void TextStored() {}

    void PaintWindow(HDC dc) override;
    void DoEnter() override;
    void MouseDown(TMouseButtonKind button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButtonKind button, TShiftState shift, int x, int y) override;
    // A memo's view scrolls by the wheel; the caret stays where it is.
    bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) override;
    void WMSetFocus(TMessage& message) override;
    void WMKillFocus(TMessage& message) override;
    void WMGetDlgCode(TMessage& message) override;
    void CMFontChanged(TMessage& message) override;
    void WMContextMenu(TMessage& message) override;
    TPopupMenu* GetPopupMenu() const override;

    // The layout depends on something that changed (word wrap).
    void LayoutChanged();
    void AdjustHeight();

private:
    enum class TEditKind : uint8_t { Other, Typing, DeleteBack, DeleteForward };
    struct TUndoState {
        std::u32string chars;
        size_t anchor;
        size_t caret;
    };

    // User edits: replaces [from, to) and puts the caret after the insertion. False when nothing
    // changed (read-only, full, no-op).
    bool Replace(size_t from, size_t to, std::u32string insert, TEditKind kind, bool obeyReadOnly = true);
    void StoreAndNotify();
    void NotifyChange();
    bool HandleKey(uint16_t key, TShiftState shift);
    void HandleChar(char32_t c);
    void Backspace();
    void DeleteForward();
    void MoveTo(size_t position, bool extend, bool atLineEnd = false);
    void MoveVertically(int lines, bool extend);
    size_t PreviousPosition(size_t index) const;
    size_t NextPosition(size_t index) const;
    size_t WordLeft(size_t index) const;
    size_t WordRight(size_t index) const;
    void SelectWordAt(size_t index);
    size_t SelMin() const { return std::min(anchor_, caret_); }
    size_t SelMax() const { return std::max(anchor_, caret_); }
    std::u32string LimitInsert(std::u32string insert, size_t removed) const;

    // Layout and view.
    const TAdvanceCache& Advance();
    TEditLayout& Layout();
    TRect TextRect() const;
    int VisibleLines();
    size_t CaretLine();
    void ScrollCaretIntoView();
    void ClampScroll();
    void UpdateCaret();
    size_t IndexAtPoint(int x, int y, bool& atLineEnd);
    void PaintLine(HDC dc, size_t line, int x, int y, bool showSelection, bool enabled);
    // The edit's own context menu, made on first use, its items enabled as they apply now.
    void UpdateContextMenu();

    std::u32string chars_;
    size_t anchor_ = 0;
    size_t caret_ = 0;
    bool caretAtLineEnd_ = false;
    int goalX_ = -1;
    std::optional<TUndoState> undo_;
    TEditKind lastKind_ = TEditKind::Other;
    size_t lastCaret_ = 0;
    std::unique_ptr<TAdvanceCache> advance_;
    TEditLayout layout_;
    bool layoutValid_ = false;
    int layoutWidth_ = -1;
    int scrollX_ = 0;
    size_t topLine_ = 0;
    bool selecting_ = false;
    bool clickFocusing_ = false;
    bool storing_ = false;
    int maxLength_ = 0;
    bool readOnly_ = false;
    bool autoSelect_ = true;
    bool autoSize_ = true;
    bool hideSelection_ = true;
    TBorderStyle borderStyle_ = bsSingle;
    bool modified_ = false;
    TPopupMenu* contextMenu_ = nullptr;
    struct TContextCommand {
        std::function<std::string()> caption;
        TNotifyEvent onClick;
    };
    std::vector<TContextCommand> contextCommands_;
};

class TEdit : public TCustomEdit {
public:
    explicit TEdit(TComponent* AOwner);
};

class TCustomMemo;

// The memo's lines: the memo's text split at its line breaks. Writing through it rewrites the
// text as a string list's text (every line followed by CRLF).
class TMemoStrings : public TStrings {
public:
    explicit TMemoStrings(TCustomMemo& memo) : memo_(memo) {}
    int Count() const override;
    std::string Get(int index) const override;
    void Put(int index, const std::string& value) override;
    void Insert(int index, const std::string& value) override;
    void Delete(int index) override;
    void Clear() override;
    // Sets the memo's text exactly as given.
    void SetText(const std::string& value) override;

private:
    friend class TCustomMemo;
    const std::vector<std::string>& Lines() const;
    void Write(const std::vector<std::string>& lines);

    TCustomMemo& memo_;
    mutable std::vector<std::string> lines_;
    mutable bool valid_ = false;
};

class TCustomMemo : public TCustomEdit {
public:
    explicit TCustomMemo(TComponent* AOwner);
    ~TCustomMemo() override;

    // Lines and ScrollBars, besides the windowed control's.
    const TStoredProperties& StoredProperties() const override;

    TStrings& Lines() { return *lines_; }
    void SetLines(const TStrings& value) { lines_->Assign(value); }
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);
    TScrollStyle ScrollBars() const { return scrollBars_; }
    // Stored only: no scroll bar is drawn; the view follows the caret whatever the value.
    void SetScrollBars(TScrollStyle value) { scrollBars_ = value; }
    bool WantReturns() const override { return wantReturns_; }
    void SetWantReturns(bool value) { wantReturns_ = value; }
    bool WantTabs() const { return wantTabs_; }
    void SetWantTabs(bool value) { wantTabs_ = value; }

protected:
    bool MultiLine() const override { return true; }
    bool Wrapping() const override { return wordWrap_; }
    bool WantTabsNow() const override { return wantTabs_; }
    void TextStored() override { lines_->valid_ = false; }

private:
    friend class TMemoStrings;
    std::unique_ptr<TMemoStrings> lines_;
    bool wordWrap_ = true;
    TScrollStyle scrollBars_ = ssNone;
    bool wantReturns_ = true;
    bool wantTabs_ = false;
};

class TMemo : public TCustomMemo {
public:
    explicit TMemo(TComponent* AOwner);
};

}  // namespace vcl
