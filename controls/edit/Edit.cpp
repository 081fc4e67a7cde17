#include "controls/edit/Edit.h"

#include <algorithm>

#include "controls/foundation/ScreenTextMeasure.h"
#include "controls/surface/Primitives.h"
#include "platform/draw/Gdi.h"
#include "platform/rtl/Case.h"
#include "platform/rtl/Utf.h"
#include "platform/toolkit/Form.h"
#include "platform/window/Caret.h"
#include "platform/window/Clipboard.h"
#include "platform/window/Input.h"
#include "platform/window/SystemMetrics.h"

namespace se {

using namespace vcl;

namespace {

constexpr unsigned kTextFormat = DT_SINGLELINE | DT_NOPREFIX | DT_LEFT | DT_TOP;

std::u16string ToUtf16(char32_t c) {
    if (c < 0x10000) return std::u16string(1, static_cast<char16_t>(c));
    c -= 0x10000;
    return {static_cast<char16_t>(0xD800 + (c >> 10)), static_cast<char16_t>(0xDC00 + (c & 0x3FF))};
}

}  // namespace

TSeCustomEdit::TSeCustomEdit(TComponent* AOwner) : TSeCustomControl(AOwner), actions_(*this) {
    SetPerformance(kspDoubleBuffer);
    SetBevelKind(kbkSingle);
    SetBevelWidth(1);
    SetBorderWidth(3);
    SetTabStop(true);
    SetBounds(Left(), Top(), 121, 21);
    SetParentColor(false);
    SetColor(clWindow);
    SetCursor(crIBeam);
    controlStyle_ |= csCaptureMouse | csDoubleClicks;
}

TSeCustomEdit::~TSeCustomEdit() {
    delete contextMenu_;
    contextMenu_ = nullptr;
}

const TStoredProperties& TSeCustomEdit::StoredProperties() const {
    static const auto table = TStoredProperties::Of<TSeCustomEdit>(&TSeCustomControl::StoredProperties(), {
        {"Text", [](auto& e, auto& v) { e.SetText(v.WideText()); }},
        {"AutoSize", [](auto& e, auto& v) { e.SetAutoSize(v.Bool()); }},
        {"PasswordKind", [](auto& e, auto& v) { e.SetPasswordKind(v.Enum(kPasswordKindNames)); }},
        {"ContextMenuOptions.Animation.EffectKind",
         [](auto& e, auto& v) { e.ContextMenuOptions().Animation().SetEffectKind(v.Text()); }},
    });
    return table;
}

// ---- properties --------------------------------------------------------------------------------

void TSeCustomEdit::SetText(const std::u16string& value) {
    // A write by code: the history's positions belong to the text before it.
    if (value != text_) actions_.Seal();
    AssignText(value);
}

void TSeCustomEdit::SetText(const std::string& value) { SetText(rtl::Utf8ToUtf16(value)); }

void TSeCustomEdit::AssignText(const std::u16string& value) {
    if (!CanSetText(value)) return;
    const std::u16string old = text_;
    if (value.empty() || charCase_ == ecNormal) {
        text_ = value;
    } else {
        text_ = charCase_ == ecUpperCase ? rtl::WideUpperCase(value) : rtl::WideLowerCase(value);
    }
    // Positions past the new end would read outside the text, with or without a window.
    ClampPositions();
    Invalidate();
    if (text_ != old) Change();
}

void TSeCustomEdit::ClampPositions() {
    const int length = static_cast<int>(text_.size());
    firstVisible_ = std::clamp(firstVisible_, 1, std::max(1, length));
    caretPos_ = std::clamp(caretPos_, 0, length);
}

bool TSeCustomEdit::CanSetText(const std::u16string&) { return true; }

void TSeCustomEdit::Change() {
    if (Parent()) Parent()->Perform(CM_CHANGED, 0, reinterpret_cast<LPARAM>(this));
    if (Enabled() && HandleAllocated()) SetCaretPos(caretPos_);
    Fire(OnChange, this);
}

void TSeCustomEdit::SetAutoSize(bool value) {
    if (value == autoSize_) return;
    autoSize_ = value;
    AdjustSize();
}

void TSeCustomEdit::SetCharCase(TEditCharCase value) {
    if (value == charCase_) return;
    charCase_ = value;
    if (value != ecNormal) SetText(text_);
}

void TSeCustomEdit::SetHideSelection(bool value) {
    if (value == hideSelection_) return;
    hideSelection_ = value;
    Invalidate();
}

void TSeCustomEdit::SetPasswordWideChar(char16_t value) {
    if (value == passwordChar_) return;
    passwordChar_ = value;
    if (value != 0) passwordKind_ = pkChar;
    Invalidate();
}

void TSeCustomEdit::SetPasswordKind(TPasswordKind value) {
    if (value == passwordKind_) return;
    passwordKind_ = value;
    Invalidate();
}

void TSeCustomEdit::SetTextAlignment(TAlignment value) {
    if (value == textAlignment_) return;
    textAlignment_ = value;
    Invalidate();
}

// ---- geometry ----------------------------------------------------------------------------------

int TSeCustomEdit::TextWidth(std::u16string_view text) { return TScreenTextMeasure(Font()).TextWidth(text); }

int TSeCustomEdit::CharWidth(int index) {
    if (index < 1 || index > static_cast<int>(text_.size())) return 0;
    return TextWidth(std::u16string_view(text_).substr(static_cast<size_t>(index - 1), 1));
}

int TSeCustomEdit::TextHeight() { return textHeight_.Of(Font(), u"Pq"); }

void TSeCustomEdit::GetTextRect(TRect& rect) {
    rect = GetInnerRect();
    rect.Bottom = rect.Top + TextHeight();
}

int TSeCustomEdit::GetPasswordCharWidth() {
    int width = 10;
    if (passwordKind_ == pkChar) {
        width = TextWidth(std::u16string(1, passwordChar_));
    } else if (passwordKind_ != pkNone) {
        width = TextWidth(u"W");
    }
    return std::max(width, 1);
}

int TSeCustomEdit::AlignOffset() {
    if (textAlignment_ == taLeftJustify) return 0;
    TRect r;
    GetTextRect(r);
    const int length = static_cast<int>(text_.size());
    const int width = Masked() ? length * GetPasswordCharWidth() : TextWidth(text_);
    const int free = r.Width() - width;
    if (free <= 0) return 0;
    return textAlignment_ == taRightJustify ? free : free / 2;
}

int TSeCustomEdit::PosToX(int p) {
    TRect r;
    GetTextRect(r);
    int x = r.Left;
    const int length = static_cast<int>(text_.size());
    if (p > 0) {
        const int last = std::min(p, length);
        if (Masked()) {
            x += (last - firstVisible_ + 1) * GetPasswordCharWidth();
        } else if (last >= firstVisible_) {
            x += TextWidth(std::u16string_view(text_).substr(static_cast<size_t>(firstVisible_ - 1),
                                                             static_cast<size_t>(last - firstVisible_ + 1)));
        }
    }
    return x + AlignOffset();
}

int TSeCustomEdit::XToPos(int x) {
    int p = firstVisible_ - 1;
    const int length = static_cast<int>(text_.size());
    if (length == 0) return p;
    TRect r;
    GetTextRect(r);
    x -= AlignOffset();
    if (Masked()) {
        p += (x - r.Left) / GetPasswordCharWidth();
        return std::clamp(p, 0, length);
    }
    // Twice the boundary, so half widths stay exact.
    int b2 = 2 * r.Left + CharWidth(firstVisible_);
    while (2 * x > b2 && p + 1 <= length && 2 * r.Right > b2) {
        b2 += CharWidth(p + 1);
        if (p + 2 <= length) b2 += CharWidth(p + 2);
        ++p;
    }
    return p;
}

void TSeCustomEdit::ScrollToCaret() {
    const int length = static_cast<int>(text_.size());
    if (caretPos_ >= firstVisible_) {
        TRect r;
        GetTextRect(r);
        const int room = r.Width();
        if (Masked()) {
            const int cell = GetPasswordCharWidth();
            while ((caretPos_ - firstVisible_ + 1) * cell > room && firstVisible_ < length) ++firstVisible_;
        } else {
            TScreenTextMeasure measure(Font());
            while (firstVisible_ < length &&
                   measure.TextWidth(std::u16string_view(text_).substr(static_cast<size_t>(firstVisible_ - 1),
                                                                  static_cast<size_t>(caretPos_ - firstVisible_ + 1))) > room) {
                ++firstVisible_;
            }
        }
    } else {
        firstVisible_ = std::max(caretPos_, 1);
    }
    Invalidate();
}

// ---- caret and selection -----------------------------------------------------------------------

bool TSeCustomEdit::Focused() const { return HandleAllocated() && GetFocus() == const_cast<TSeCustomEdit*>(this)->Handle(); }

void TSeCustomEdit::SetCaretPos(int p) {
    caretPos_ = std::clamp(p, 0, static_cast<int>(text_.size()));
    ScrollToCaret();
    if (selLength_ == 0) selStart_ = p;
    if (Focused()) {
        TRect r;
        GetTextRect(r);
        vcl::SetCaretPos(PosToX(caretPos_), r.Top);
    }
}

int TSeCustomEdit::SelStart() const {
    if (selLength_ > 0) return selStart_;
    if (selLength_ < 0) return selStart_ + selLength_;
    return caretPos_;
}

std::u16string TSeCustomEdit::SelText() const {
    const int length = static_cast<int>(text_.size());
    const int start = std::clamp(SelStart(), 0, length);
    const int count = std::min(SelLength(), length - start);
    return count > 0 ? text_.substr(static_cast<size_t>(start), static_cast<size_t>(count)) : std::u16string();
}

void TSeCustomEdit::SetSelLength(int n) {
    if (n == selLength_) return;
    selLength_ = n;
    Invalidate();
}

void TSeCustomEdit::SetSelStart(int p) {
    if (p == selStart_) return;
    SetSelLength(0);
    selStart_ = p;
    SetCaretPos(p);
    Invalidate();
}

void TSeCustomEdit::ExtendSelection(int oldCaret, int newCaret) {
    selStart_ = newCaret;
    selLength_ += oldCaret - newCaret;
    Invalidate();
}

void TSeCustomEdit::SelectAll() {
    const int length = static_cast<int>(text_.size());
    SetCaretPos(length);
    SetSelStart(0);
    SetSelLength(length);
    Invalidate();
}

int TSeCustomEdit::WordLeft(int p) const {
    p = std::clamp(p, 0, static_cast<int>(text_.size()));
    while (p > 0 && text_[static_cast<size_t>(p - 1)] == u' ') --p;
    while (p > 0 && text_[static_cast<size_t>(p - 1)] != u' ') --p;
    return p;
}

int TSeCustomEdit::WordRight(int p) const {
    const int length = static_cast<int>(text_.size());
    p = std::clamp(p, 0, length);
    bool wordSeen = false, spaceSeen = false;
    while (p + 2 <= length) {
        const bool space = text_[static_cast<size_t>(p)] == u' ';
        if (!space && wordSeen && spaceSeen) break;
        if (space) {
            spaceSeen = true;
        } else {
            wordSeen = true;
            spaceSeen = false;
        }
        ++p;
    }
    if (!spaceSeen) ++p;
    return std::min(p, length);
}

void TSeCustomEdit::SelectWord() {
    SetSelStart(WordLeft(caretPos_));
    const int start = SelStart();
    SetSelLength(WordRight(start) - start);
    SetCaretPos(SelStart() + SelLength());
}

// ---- editing -----------------------------------------------------------------------------------

void TSeCustomEdit::InsertText(const std::u16string& s) {
    if (readOnly_) return;
    const int length = static_cast<int>(text_.size());
    const int start = std::clamp(SelStart(), 0, length);
    const int count = std::min(SelLength(), length - start);
    std::u16string next = text_;
    next.erase(static_cast<size_t>(start), static_cast<size_t>(count));
    next.insert(static_cast<size_t>(start), s);
    if (maxLength_ > 0 && static_cast<int>(next.size()) > maxLength_) {
        SetSelLength(0);
        return;
    }
    actions_.RecordDeletion(start + 1, text_.substr(static_cast<size_t>(start), static_cast<size_t>(count)));
    actions_.RecordInsertion(start + 1, static_cast<int>(s.size()), SelLength() != 0);
    AssignText(next);
    SetCaretPos(start + static_cast<int>(s.size()));
    SetSelLength(0);
}

void TSeCustomEdit::DeleteSelection() {
    if (readOnly_) return;
    const int length = static_cast<int>(text_.size());
    const int start = std::clamp(SelStart(), 0, length);
    const int count = std::min(SelLength(), length - start);
    actions_.RecordDeletion(start + 1, text_.substr(static_cast<size_t>(start), static_cast<size_t>(count)));
    std::u16string next = text_;
    next.erase(static_cast<size_t>(start), static_cast<size_t>(count));
    AssignText(next);
    SetCaretPos(start);
    SetSelLength(0);
}

void TSeCustomEdit::CopyToClipboard() {
    if (Masked()) return;
    const std::u16string selected = SelText();
    if (selected.empty()) return;
    ClipboardSetText(rtl::Utf16ToUtf8(selected));
}

void TSeCustomEdit::CutToClipboard() {
    CopyToClipboard();
    DeleteSelection();
}

void TSeCustomEdit::PasteFromClipboard() {
    if (readOnly_) return;
    // Verbatim: line breaks and other control characters are not filtered.
    InsertText(ClipboardHasText() ? rtl::Utf8ToUtf16(ClipboardGetText()) : std::u16string());
}

bool TSeCustomEdit::Undo() {
    if (actions_.Empty()) return false;
    bool chained = true;
    while (chained && !actions_.Empty()) {
        const TEditAction action = actions_.Pop();
        chained = action.Chained;
        const int length = static_cast<int>(text_.size());
        const int at = std::clamp(action.Position - 1, 0, length);
        std::u16string next = text_;
        if (action.Kind == TEditAction::kDeleted) {
            std::u16string restored = action.Text;
            // Never more than MaxLength allows, and never a negative cut when the text is longer.
            if (maxLength_ > 0) restored.resize(static_cast<size_t>(std::clamp(maxLength_ - length, 0, static_cast<int>(restored.size()))));
            next.insert(static_cast<size_t>(at), restored);
            AssignText(next);
            SetSelStart(action.Position - 1);
            SetSelLength(static_cast<int>(restored.size()));
            SetCaretPos(SelStart() + SelLength());
        } else {
            next.erase(static_cast<size_t>(at), static_cast<size_t>(std::clamp(action.Count, 0, length - at)));
            AssignText(next);
            SetSelLength(0);
            SetSelStart(action.Position - 1);
        }
    }
    return true;
}

// ---- keyboard and characters -------------------------------------------------------------------

void TSeCustomEdit::KeyDown(uint16_t& key, TShiftState shift) {
    TSeCustomControl::KeyDown(key, shift);
    if (key == 0) return;
    const TShiftState mods = shift & (ssShift | ssCtrl | ssAlt);
    const bool ctrlOnly = mods == ssCtrl;
    const bool shiftOnly = mods == ssShift;
    const bool withShift = (shift & ssShift) != 0;
    const int length = static_cast<int>(text_.size());
    const int old = caretPos_;
    bool moved = false;
    switch (key) {
        case VK_BACK:
        case VK_DELETE:
            if (readOnly_) break;
            if (SelLength() != 0) {
                if (withShift) {
                    CutToClipboard();
                } else {
                    DeleteSelection();
                }
            } else if (key == VK_DELETE && length > 0 && caretPos_ < length) {
                actions_.RecordDeletion(caretPos_ + 1, text_.substr(static_cast<size_t>(caretPos_), 1));
                std::u16string next = text_;
                next.erase(static_cast<size_t>(caretPos_), 1);
                AssignText(next);
            } else if (key == VK_BACK && length > 0 && caretPos_ > 0) {
                actions_.RecordDeletion(caretPos_, text_.substr(static_cast<size_t>(caretPos_ - 1), 1));
                std::u16string next = text_;
                next.erase(static_cast<size_t>(caretPos_ - 1), 1);
                SetCaretPos(caretPos_ - 1);
                AssignText(next);
            }
            break;
        case VK_END: SetCaretPos(length); moved = true; break;
        case VK_HOME: SetCaretPos(0); moved = true; break;
        case VK_LEFT:
            SetCaretPos((shift & ssCtrl) ? WordLeft(caretPos_) : caretPos_ - 1);
            moved = true;
            break;
        case VK_RIGHT:
            SetCaretPos((shift & ssCtrl) ? WordRight(caretPos_) : caretPos_ + 1);
            moved = true;
            break;
        case VK_INSERT:
            if (ctrlOnly) CopyToClipboard();
            if (shiftOnly) PasteFromClipboard();
            break;
        case 'C': if (ctrlOnly) CopyToClipboard(); break;
        case 'V': if (ctrlOnly) PasteFromClipboard(); break;
        case 'X': if (ctrlOnly) CutToClipboard(); break;
        case 'Z': if (ctrlOnly) Undo(); break;
        default: break;
    }
    if (moved) {
        if (withShift) {
            ExtendSelection(old, caretPos_);
        } else {
            selLength_ = 0;
        }
        Invalidate();
    }
    SetCaretPos(caretPos_);
}

void TSeCustomEdit::KeyPress(char32_t& key) {
    TSeCustomControl::KeyPress(key);
    if (key >= 32 && !readOnly_) InsertText(ToUtf16(key));
}

// ---- mouse -------------------------------------------------------------------------------------

void TSeCustomEdit::MouseDown(TMouseButtonKind button, TShiftState shift, int x, int y) {
    TSeCustomControl::MouseDown(button, shift, x, y);
    if (!Focused() && CanFocus()) SetFocus();
    // The second press of a double click belongs to the word selection.
    if (button != mbLeft || (shift & ssDouble)) return;
    mouseSelecting_ = true;
    SetCaretPos(XToPos(x));
    SetSelLength(0);
}

void TSeCustomEdit::MouseMove(TShiftState shift, int x, int y) {
    TSeCustomControl::MouseMove(shift, x, y);
    if (!mouseSelecting_) return;
    TRect r;
    GetTextRect(r);
    const int old = caretPos_;
    // Past the right edge one more, so dragging there scrolls.
    SetCaretPos(XToPos(x) + (x > r.Right ? 1 : 0));
    ExtendSelection(old, caretPos_);
}

void TSeCustomEdit::MouseUp(TMouseButtonKind button, TShiftState shift, int x, int y) {
    TSeCustomControl::MouseUp(button, shift, x, y);
    mouseSelecting_ = false;
}

void TSeCustomEdit::DblClick() {
    TSeCustomControl::DblClick();
    mouseSelecting_ = false;
    SelectWord();
}

// ---- focus and caret ---------------------------------------------------------------------------

void TSeCustomEdit::CreatePlatformCaret() {
    if (!HandleAllocated()) return;
    CreateCaret(Handle(), GetSystemMetrics(SM_CXBORDER), TextHeight());
}

void TSeCustomEdit::ShowCaret() {
    if (HandleAllocated()) vcl::ShowCaret(Handle());
}

void TSeCustomEdit::HideCaret() {
    if (HandleAllocated()) vcl::HideCaret(Handle());
}

void TSeCustomEdit::WMSetFocus(TMessage& m) {
    TSeCustomControl::WMSetFocus(m);
    if (!Focused()) return;
    CreatePlatformCaret();
    SetCaretPos(caretPos_);
    ShowCaret();
    SetCaretPos(0);
    if (autoSelect_) SelectAll();
}

void TSeCustomEdit::WMKillFocus(TMessage& m) {
    TSeCustomControl::WMKillFocus(m);
    if (HandleAllocated() && GetCaretWindow() == Handle()) DestroyCaret();
    Invalidate();
}

void TSeCustomEdit::WMGetDlgCode(TMessage& m) { m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; }

void TSeCustomEdit::WMSetCursor(TMessage& m) {
    // The default cursor of a text field is the I-beam.
    if (Cursor() == crDefault) SetCursor(crIBeam);
    TSeCustomControl::WMSetCursor(m);
}

// ---- messages ----------------------------------------------------------------------------------

void TSeCustomEdit::WndProc(TMessage& m) {
    switch (m.Msg) {
        case WM_CUT: CutToClipboard(); return;
        case WM_COPY: CopyToClipboard(); return;
        case WM_PASTE: PasteFromClipboard(); return;
        case WM_UNDO: m.Result = Undo() ? 1 : 0; return;
        case WM_IME_STARTCOMPOSITION:
            if (HandleAllocated()) {
                TRect r;
                GetTextRect(r);
                // The composition window starts at the caret, inside the text line.
                r.Left = PosToX(caretPos_);
                ImmSetCompositionWindow(Handle(), r);
            }
            return;
        case WM_IME_COMPOSITION:
            if (m.LParam & GCS_RESULTSTR) {
                // Each character goes in on its own; the platform's WM_CHARs are not wanted.
                for (char16_t c : rtl::Utf8ToUtf16(ImmGetResultString())) InsertText(std::u16string(1, c));
                return;
            }
            break;
        default: break;
    }
    TSeCustomControl::WndProc(m);
}

void TSeCustomEdit::CMTextChanged(TMessage& m) {
    TSeCustomControl::CMTextChanged(m);
    AssignText(rtl::Utf8ToUtf16(TControl::Text()));
    SetSelLength(0);
    Invalidate();
}

void TSeCustomEdit::CMEnabledChanged(TMessage& m) {
    TSeCustomControl::CMEnabledChanged(m);
    Invalidate();
}

void TSeCustomEdit::CMFontChanged(TMessage& m) {
    TSeCustomControl::CMFontChanged(m);
    PaintFont().Assign(Font());
    AdjustSize();
    if (Focused()) {
        CreatePlatformCaret();
        SetCaretPos(caretPos_);
        ShowCaret();
    }
}

void TSeCustomEdit::Loaded() {
    TSeCustomControl::Loaded();
    AdjustSize();
}

void TSeCustomEdit::BorderChanged() { AdjustSize(); }

bool TSeCustomEdit::CanAutoSize(int& newWidth, int& newHeight) {
    (void)newWidth;
    TRect r;
    GetTextRect(r);
    newHeight = 2 * r.Top + TextHeight();
    return true;
}

void TSeCustomEdit::AdjustSize() {
    if (!autoSize_ || HasState(csLoading)) return;
    int w = Width(), h = Height();
    if (CanAutoSize(w, h) && (w != Width() || h != Height())) SetBounds(Left(), Top(), w, h);
}

// ---- context menu ------------------------------------------------------------------------------

TSeCustomPopupMenu* TSeCustomEdit::CreateContextMenu(TComponent* owner) { return new TSeCustomPopupMenu(owner); }

TSeCustomItem* TSeCustomEdit::CreateContextMenuItem() { return new TSeCustomItem(this); }

void TSeCustomEdit::UpdateContextMenu() {
    if (!contextMenu_) {
        // Owned by the field itself through contextMenu_, so it can be freed before the items.
        contextMenu_ = CreateContextMenu(nullptr);
        struct Entry {
            const char16_t* caption;
            TEditCommand command;
            void (TSeCustomEdit::*run)();
        };
        static const Entry entries[] = {
            {u"Undo", kecUndo, nullptr},
            {u"-", TEditCommand{}, nullptr},
            {u"Cut", kecCut, &TSeCustomEdit::CutToClipboard},
            {u"Copy", kecCopy, &TSeCustomEdit::CopyToClipboard},
            {u"Paste", kecPaste, &TSeCustomEdit::PasteFromClipboard},
            {u"Delete", kecDelete, &TSeCustomEdit::DeleteSelection},
            {u"-", TEditCommand{}, nullptr},
            {u"Select All", kecSelectAll, &TSeCustomEdit::SelectAll},
        };
        for (const Entry& entry : entries) {
            TSeCustomItem* item = CreateContextMenuItem();
            item->SetCaption(entry.caption);
            item->SetCommand(entry.command);
            if (entry.command == kecUndo) {
                item->OnClick = [this](TObject*) { Undo(); };
            } else if (entry.run) {
                item->OnClick = [this, run = entry.run](TObject*) { (this->*run)(); };
            }
            contextMenu_->Items().Add(item);
        }
    }
    const bool hasSelection = !SelText().empty();
    const auto enable = [this](TEditCommand command, bool value) {
        if (TSeCustomItem* item = contextMenu_->Items().FindByCommand(command)) item->SetEnabled(value);
    };
    enable(kecUndo, CanUndo() && !readOnly_);
    enable(kecCut, hasSelection && !Masked() && !readOnly_);
    enable(kecCopy, hasSelection && !Masked());
    enable(kecPaste, ClipboardHasText() && !ClipboardGetText().empty() && !readOnly_);
    enable(kecDelete, hasSelection && !readOnly_);
    enable(kecSelectAll, SelText() != text_);
    contextMenu_->SetPopupMenuOptions(contextMenuOptions_);
}

void TSeCustomEdit::WMContextMenu(TMessage& m) {
    if (HasState(csDesigning)) return;
    UpdateContextMenu();
    // A capture the form still holds for a press would fight the menu's own.
    if (TCustomForm* form = GetParentForm(this); form && form->HandleAllocated() && GetCapture() &&
                                                 GetAncestorTopLevel(GetCapture()) == form->Handle()) {
        ReleaseCapture();
    }
    contextMenu_->SetPopupComponent(this);
    // Signed: a monitor left of or above the first has negative coordinates.
    TPoint at{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
    if (at.X == -1 && at.Y == -1) {
        // A request from the keyboard carries no point: the menu opens at the caret, below the line.
        TRect r;
        GetTextRect(r);
        at = vcl::ClientToScreen(Handle(), {PosToX(caretPos_), r.Bottom});
    }
    m.Result = 1;
    contextMenu_->Popup(at.X, at.Y);
}

// ---- painting ----------------------------------------------------------------------------------

void TSeCustomEdit::PaintBackground(const TRect& rect, TCanvas& canvas) { FillRectColor(canvas, rect, Color()); }

void TSeCustomEdit::GetSelectionRect(TRect& rect) {
    GetTextRect(rect);
    const int start = SelStart();
    const TRect line = rect;
    rect.Left = PosToX(start);
    rect.Right = PosToX(start + SelLength());
    rect = IntersectRect(rect, line);
}

void TSeCustomEdit::PaintFace() {
    TCanvas& canvas = *Canvas();
    TRect r;
    GetTextRect(r);
    TRect background = r;
    background.Bottom = CachedHeight() - r.Top;
    PaintBackground(background, canvas);
    if (!PaintsText()) return;
    const bool showSelection = Focused() || !hideSelection_;
    if (showSelection && SelLength() > 0) {
        TRect selection;
        GetSelectionRect(selection);
        if (!selection.IsEmpty()) FillRectColor(canvas, selection, clHighlight);
    }
    PaintText();
    if (showSelection && SelLength() > 0) PaintSelectedText();
}

void TSeCustomEdit::PaintText() {
    TCanvas& canvas = *Canvas();
    canvas.Font().Assign(PaintFont());
    TRect r;
    GetTextRect(r);
    const int length = static_cast<int>(text_.size());
    if (firstVisible_ > length) return;
    if (!Masked()) {
        TRect line{PosToX(firstVisible_ - 1), r.Top, r.Right, r.Bottom};
        DrawWideText(canvas, std::u16string_view(text_).substr(static_cast<size_t>(firstVisible_ - 1)), line, kTextFormat);
        return;
    }
    const int cell = GetPasswordCharWidth();
    const int x0 = PosToX(firstVisible_ - 1);
    for (int k = 0; k <= length - firstVisible_ && x0 + k * cell < r.Right; ++k) {
        PaintPasswordChar({x0 + k * cell, r.Top, x0 + (k + 1) * cell, r.Bottom}, false);
    }
}

void TSeCustomEdit::PaintSelectedText() {
    TCanvas& canvas = *Canvas();
    TRect selection;
    GetSelectionRect(selection);
    if (selection.IsEmpty()) return;
    const int length = static_cast<int>(text_.size());
    const int start = std::clamp(std::max(SelStart(), firstVisible_ - 1), 0, length);
    const int end = std::clamp(SelStart() + SelLength(), 0, length);
    if (end <= start) return;
    const std::u16string_view visible = std::u16string_view(text_).substr(static_cast<size_t>(start), static_cast<size_t>(end - start));
    if (!Masked()) {
        canvas.Font().Assign(PaintFont());
        canvas.Font().SetColor(clHighlightText);
        TRect r = selection;
        DrawWideText(canvas, visible, r, kTextFormat);
        return;
    }
    const int cell = GetPasswordCharWidth();
    for (int k = 0; k < static_cast<int>(visible.size()) && selection.Left + k * cell < selection.Right; ++k) {
        PaintPasswordChar({selection.Left + k * cell, selection.Top, selection.Left + (k + 1) * cell, selection.Bottom}, true);
    }
}

void TSeCustomEdit::PaintPasswordChar(const TRect& cell, bool selected) {
    if (passwordKind_ == pkNone) return;
    TCanvas& canvas = *Canvas();
    const TColor color = selected ? clHighlightText : PaintFont().Color();
    HDC dc = canvas.Handle();
    {
        const TSavedDC saved(dc);
        IntersectClipRect(dc, cell.Left, cell.Top, cell.Right, cell.Bottom);
        const TRect r{cell.Left + 2, cell.Top + 3, cell.Right - 2, cell.Bottom - 3};
        canvas.Brush().SetStyle(bsSolid);
        canvas.Brush().SetColor(color);
        canvas.Pen().SetColor(color);
        switch (passwordKind_) {
            case pkChar: {
                canvas.Font().Assign(PaintFont());
                canvas.Font().SetColor(color);
                TRect text = cell;
                DrawWideText(canvas, std::u16string(1, passwordChar_), text, kTextFormat);
                break;
            }
            case pkRect: FillRectColor(canvas, r, color); break;
            case pkRoundRect: FillRoundRectColor(canvas, r, 2, color); break;
            case pkCircle: {
                const int side = r.Width();
                const TRect square = CenterRect({0, 0, side, side}, cell);
                FillRoundRectColor(canvas, square, side / 2 + 1, color);
                break;
            }
            case pkTriangle: {
                int side = r.Width();
                if (side % 2 == 0) ++side;
                const TRect s = CenterRect({0, 0, side, side}, cell);
                const TPoint points[3] = {{s.Left + s.Width() / 2 + 1, s.Top}, {s.Right, s.Bottom}, {s.Left, s.Bottom}};
                canvas.Polygon(points);
                break;
            }
            default: break;
        }
    }
    // The restore may have put other objects back than the canvas thinks it has selected.
    canvas.Refresh();
}

}  // namespace se
