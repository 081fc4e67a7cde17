#pragma once
// TSeCustomEdit: the control set's single-line text field. It keeps its own wide text, caret,
// selection, horizontal scroll position (FirstVisible) and undo history, handles keyboard, mouse,
// clipboard and input method itself, paints through the foundation's pipeline and offers its own
// context menu ("Undo", "Cut", "Copy", "Paste", "Delete", "Select All"). TSeSkinEdit adds the
// skin hook. The combo box derives from TSeCustomEdit and overrides GetTextRect, PaintBackground,
// the key and mouse handling, Change and the context-menu request.
//
// Positions count UTF-16 code units: position p is the gap after the first p characters; an
// index i is the i-th character counted from 1.

#include <cstdint>
#include <memory>
#include <string>

#include "controls/edit/EditActions.h"
#include "controls/foundation/CustomControl.h"
#include "controls/foundation/ScreenTextMeasure.h"
#include "controls/foundation/SkinHook.h"
#include "controls/foundation/Types.h"
#include "controls/popupmenu/MenuOptions.h"
#include "controls/popupmenu/PopupMenu.h"

namespace se {

enum TPasswordKind : uint8_t { pkNone, pkChar, pkRect, pkRoundRect, pkCircle, pkTriangle };
inline constexpr vcl::TEnumName<TPasswordKind> kPasswordKindNames[] = {
    {"pkNone", pkNone},           {"pkChar", pkChar},     {"pkRect", pkRect},
    {"pkRoundRect", pkRoundRect}, {"pkCircle", pkCircle}, {"pkTriangle", pkTriangle}};
enum TEditCharCase : uint8_t { ecNormal, ecUpperCase, ecLowerCase };

// The commands behind the context menu's items (their Command), to find them again.
enum TEditCommand : intptr_t { kecUndo = 1, kecCut, kecCopy, kecPaste, kecDelete, kecSelectAll };

class TSeCustomEdit : public TSeCustomControl {
public:
    explicit TSeCustomEdit(vcl::TComponent* AOwner);
    ~TSeCustomEdit() override;

    // The wide Text, AutoSize, PasswordKind and the context menu's effect, besides the
    // foundation's.
    const vcl::TStoredProperties& StoredProperties() const override;

    // The wide text (hides the toolkit's UTF-8 text, which writes arrive through as well).
    const std::u16string& Text() const { return text_; }
    void SetText(const std::u16string& value);
    void SetText(const std::string& value) override;

    bool AutoSelect() const { return autoSelect_; }
    void SetAutoSelect(bool value) { autoSelect_ = value; }
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    TEditCharCase CharCase() const { return charCase_; }
    void SetCharCase(TEditCharCase value);
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool value);
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int value) { maxLength_ = value < 0 ? 0 : value; }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value) { readOnly_ = value; }
    char16_t PasswordWideChar() const { return passwordChar_; }
    // A non-zero character also switches PasswordKind to pkChar.
    void SetPasswordWideChar(char16_t value);
    TPasswordKind PasswordKind() const { return passwordKind_; }
    void SetPasswordKind(TPasswordKind value);
    TAlignment TextAlignment() const { return textAlignment_; }
    void SetTextAlignment(TAlignment value);
    TSePopupMenuOptions& ContextMenuOptions() { return contextMenuOptions_; }
    void SetContextMenuOptions(const TSePopupMenuOptions& value) { contextMenuOptions_.Assign(value); }
    int ImeMode() const { return imeMode_; }
    void SetImeMode(int value) { imeMode_ = value; }
    const std::string& ImeName() const { return imeName_; }
    void SetImeName(const std::string& value) { imeName_ = value; }

    // Caret and selection.
    int CaretPos() const { return caretPos_; }
    void SetCaretPos(int p);
    int SelStart() const;
    int SelLength() const { return selLength_ < 0 ? -selLength_ : selLength_; }
    std::u16string SelText() const;
    // Moves the selection base: clears the selection and puts the caret there.
    void SetSelStart(int p);
    void SetSelLength(int n);
    int FirstVisible() const { return firstVisible_; }

    // The commands of the keys and the context menu.
    void SelectAll();
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();
    void DeleteSelection();
    bool Undo();
    bool CanUndo() const { return !actions_.Empty(); }
    const TEditActionStack& Actions() const { return actions_; }

    // The context menu (null until first needed).
    TSeCustomPopupMenu* ContextMenu() const { return contextMenu_; }

    // Geometry of the text line (control coordinates).
    int PosToX(int p);
    int XToPos(int x);
    // Height of "Pq" in the field's font.
    int TextHeight();

    void Loaded() override;
    void WndProc(vcl::TMessage& message) override;

    vcl::TNotifyEvent OnChange;

protected:
    // The virtual steps, in slot order.
    virtual void GetTextRect(vcl::TRect& rect);
    virtual int GetPasswordCharWidth();
    virtual void GetSelectionRect(vcl::TRect& rect);
    virtual void PaintText();
    virtual void PaintBackground(const vcl::TRect& rect, vcl::TCanvas& canvas);
    virtual void PaintSelectedText();
    virtual void PaintPasswordChar(const vcl::TRect& rect, bool selected);
    virtual bool CanSetText(const std::u16string& value);
    virtual TSeCustomPopupMenu* CreateContextMenu(vcl::TComponent* owner);
    virtual TSeCustomItem* CreateContextMenuItem();
    virtual void UpdateContextMenu();
    virtual void ShowCaret();
    virtual void HideCaret();
    // Whether the text, selection and caret are painted after the background (the combo box's
    // drop-down-list style paints its item instead).
    virtual bool PaintsText() const { return true; }
    // The text changed: the parent is told, the caret clamped into the new text, OnChange fired.
    virtual void Change();

    void PaintFace() override;
    void BorderChanged() override;
    // The height auto-sizing proposes: twice the text top plus the text height.
    virtual bool CanAutoSize(int& newWidth, int& newHeight);
    void AdjustSize();

    void KeyDown(uint16_t& key, vcl::TShiftState shift) override;
    void KeyPress(char32_t& key) override;
    void MouseDown(vcl::TMouseButtonKind button, vcl::TShiftState shift, int x, int y) override;
    void MouseMove(vcl::TShiftState shift, int x, int y) override;
    void MouseUp(vcl::TMouseButtonKind button, vcl::TShiftState shift, int x, int y) override;
    void DblClick() override;
    void WMSetFocus(vcl::TMessage& message) override;
    void WMKillFocus(vcl::TMessage& message) override;
    void WMGetDlgCode(vcl::TMessage& message) override;
    void WMSetCursor(vcl::TMessage& message) override;
    void WMContextMenu(vcl::TMessage& message) override;
    void CMTextChanged(vcl::TMessage& message) override;
    void CMEnabledChanged(vcl::TMessage& message) override;
    void CMFontChanged(vcl::TMessage& message) override;

    // Inserts s in place of the selection (typing, pasting, input-method results).
    void InsertText(const std::u16string& s);
    void SelectWord();
    int WordLeft(int p) const;
    int WordRight(int p) const;
    void ScrollToCaret();
    bool Focused() const;
    bool MouseSelecting() const { return mouseSelecting_; }

private:
    // Stores a text without sealing the history (the field's own edits).
    void AssignText(const std::u16string& value);
    void ExtendSelection(int oldCaret, int newCaret);
    void CreatePlatformCaret();
    int TextWidth(std::u16string_view text);
    int CharWidth(int index);  // character at index (from 1)
    int AlignOffset();
    bool Masked() const { return passwordKind_ != pkNone; }
    void ClampPositions();

    std::u16string text_;
    TScreenTextHeight textHeight_;
    bool mouseSelecting_ = false;
    int caretPos_ = 0;
    int selStart_ = 0;
    int selLength_ = 0;
    int firstVisible_ = 1;
    TSeCustomPopupMenu* contextMenu_ = nullptr;
    bool autoSelect_ = true;
    TEditCharCase charCase_ = ecNormal;
    bool hideSelection_ = true;
    int maxLength_ = 0;
    bool readOnly_ = false;
    char16_t passwordChar_ = 0;
    TPasswordKind passwordKind_ = pkNone;
    TAlignment textAlignment_ = taLeftJustify;
    TEditActionStack actions_;
    TSePopupMenuOptions contextMenuOptions_;
    bool autoSize_ = true;
    int imeMode_ = 0;
    std::string imeName_;
};

class TSeSkinEdit : public TSeSkinAware<TSeCustomEdit> {
public:
    explicit TSeSkinEdit(vcl::TComponent* AOwner) : TSeSkinAware<TSeCustomEdit>(AOwner, "Edit") {}
};

}  // namespace se
