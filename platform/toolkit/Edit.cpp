#include "platform/toolkit/Edit.h"

#include <algorithm>
#include <iterator>

#include "platform/draw/Canvas.h"
#include "platform/draw/FontCache.h"
#include "platform/draw/FrameControl.h"
#include "platform/draw/Gdi.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/Utf.h"
#include "platform/runtime/StoredProperties.h"
#include "platform/toolkit/Application.h"
#include "platform/window/Caret.h"
#include "platform/window/Clipboard.h"
#include "platform/window/Input.h"
#include "platform/window/SystemMetrics.h"

namespace vcl {

namespace {

// Room between the border and the text.
constexpr int kTextMargin = 1;
// Width of the classic sunken border.
constexpr int kBorder = 2;

std::u32string Decode(std::string_view text) {
    std::u32string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) out.push_back(rtl::NextCodePoint(text, i));
    return out;
}

std::string Encode(std::u32string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char32_t c : text) rtl::AppendUtf8(out, c);
    return out;
}

std::u16string Wide(std::u32string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (char32_t c : text) {
        if (c >= 0x10000) {
            c -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(c));
        }
    }
    return out;
}

bool IsSpace(char32_t c) { return c == U' ' || c == U'\t'; }
bool IsBreak(char32_t c) { return c == U'\r' || c == U'\n'; }

// Keeps a canvas on a paint DC for the paint's length.
class TPaintCanvas {
public:
    TPaintCanvas(HDC dc, const TFont& font) {
        canvas_.SetHandle(dc);
        canvas_.Font().Assign(font);
        canvas_.Handle();
    }
    ~TPaintCanvas() { canvas_.SetHandle(nullptr); }
    TPaintCanvas(const TPaintCanvas&) = delete;
    TPaintCanvas& operator=(const TPaintCanvas&) = delete;

private:
    TCanvas canvas_;
};

}  // namespace

// ---- TCustomEdit -------------------------------------------------------------------------------

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner) {
    controlStyle_ |= csOpaque;
    SetTabStop(true);
    SetParentColor(false);
    SetColor(clWindow);
    SetBounds(0, 0, 121, 25);
    AdjustHeight();
}

TCustomEdit::~TCustomEdit() {
    if (HandleAllocated() && GetCaretWindow() == Handle()) DestroyCaret();
}

void TCustomEdit::SetText(const std::string& value) {
    if (value == Text()) return;
    chars_ = Decode(value);
    anchor_ = caret_ = 0;
    caretAtLineEnd_ = false;
    goalX_ = -1;
    undo_.reset();
    lastKind_ = TEditKind::Other;
    modified_ = false;
    scrollX_ = 0;
    topLine_ = 0;
    TWinControl::SetText(value);
    TextStored();
    layoutValid_ = false;
    UpdateCaret();
    Invalidate();
    NotifyChange();
}

void TCustomEdit::StoreAndNotify() {
    modified_ = true;
    TWinControl::SetText(Encode(chars_));
    TextStored();
    layoutValid_ = false;
    ScrollCaretIntoView();
    NotifyChange();
}

void TCustomEdit::NotifyChange() {
    if (HasState(csLoading)) return;
    // As the platform's window procedures do: the error box reports it, the writer goes on.
    try {
        Change();
    } catch (const EWaitStalled&) {
        throw;
    } catch (...) {
        Application->HandleException(this, std::current_exception());
    }
}

void TCustomEdit::Change() { Fire(OnChange, this); }

// ---- selection ---------------------------------------------------------------------------------

int TCustomEdit::SelStart() const { return static_cast<int>(SelMin()); }
int TCustomEdit::SelLength() const { return static_cast<int>(SelMax() - SelMin()); }
std::string TCustomEdit::SelText() const { return Encode(std::u32string_view(chars_).substr(SelMin(), SelMax() - SelMin())); }

void TCustomEdit::SetSelStart(int value) {
    size_t position = static_cast<size_t>(std::clamp(value, 0, static_cast<int>(chars_.size())));
    // Never between the two characters of a CRLF.
    if (position > 0 && position < chars_.size() && chars_[position - 1] == U'\r' && chars_[position] == U'\n') --position;
    MoveTo(position, false);
}

void TCustomEdit::SetSelLength(int value) {
    const size_t start = SelMin();
    size_t end = start + static_cast<size_t>(std::max(value, 0));
    end = std::min(end, chars_.size());
    if (end > 0 && end < chars_.size() && chars_[end - 1] == U'\r' && chars_[end] == U'\n') ++end;
    anchor_ = start;
    caret_ = end;
    caretAtLineEnd_ = false;
    ScrollCaretIntoView();
}

void TCustomEdit::SetSelText(const std::string& value) {
    Replace(SelMin(), SelMax(), Decode(value), TEditKind::Other, false);
}

void TCustomEdit::SelectAll() {
    anchor_ = 0;
    caret_ = chars_.size();
    caretAtLineEnd_ = false;
    ScrollCaretIntoView();
}

void TCustomEdit::ClearSelection() { Replace(SelMin(), SelMax(), {}, TEditKind::Other); }

void TCustomEdit::MoveTo(size_t position, bool extend, bool atLineEnd) {
    caret_ = std::min(position, chars_.size());
    if (!extend) anchor_ = caret_;
    caretAtLineEnd_ = atLineEnd;
    goalX_ = -1;
    lastKind_ = TEditKind::Other;
    ScrollCaretIntoView();
}

void TCustomEdit::MoveVertically(int lines, bool extend) {
    TEditLayout& layout = Layout();
    const size_t line = CaretLine();
    const int x = goalX_ >= 0 ? goalX_ : layout.XOf(chars_, Advance(), line, caret_);
    const long target = std::clamp(static_cast<long>(line) + lines, 0L, static_cast<long>(layout.LineCount()) - 1);
    const TEditLine& l = layout.Line(static_cast<size_t>(target));
    const size_t index = layout.IndexAt(chars_, Advance(), static_cast<size_t>(target), x);
    MoveTo(index, extend, l.softBreak && index == l.end);
    goalX_ = x;
}

size_t TCustomEdit::PreviousPosition(size_t index) const {
    if (index == 0) return 0;
    if (index >= 2 && chars_[index - 1] == U'\n' && chars_[index - 2] == U'\r') return index - 2;
    return index - 1;
}

size_t TCustomEdit::NextPosition(size_t index) const {
    if (index >= chars_.size()) return chars_.size();
    return index + std::max<size_t>(1, BreakLength(chars_, index));
}

size_t TCustomEdit::WordLeft(size_t index) const {
    if (index == 0) return 0;
    if (IsBreak(chars_[index - 1])) return PreviousPosition(index);
    while (index > 0 && IsSpace(chars_[index - 1])) --index;
    while (index > 0 && !IsSpace(chars_[index - 1]) && !IsBreak(chars_[index - 1])) --index;
    return index;
}

size_t TCustomEdit::WordRight(size_t index) const {
    const size_t n = chars_.size();
    if (index >= n) return n;
    if (IsBreak(chars_[index])) return NextPosition(index);
    while (index < n && !IsSpace(chars_[index]) && !IsBreak(chars_[index])) ++index;
    while (index < n && IsSpace(chars_[index])) ++index;
    return index;
}

void TCustomEdit::SelectWordAt(size_t index) {
    const size_t n = chars_.size();
    if (n == 0) return;
    if (index >= n || IsBreak(chars_[index])) {
        if (index == 0 || IsBreak(chars_[index - 1])) return;
        --index;
    }
    const bool space = IsSpace(chars_[index]);
    const auto same = [&](char32_t c) { return !IsBreak(c) && IsSpace(c) == space; };
    size_t start = index;
    size_t end = index;
    while (start > 0 && same(chars_[start - 1])) --start;
    while (end < n && same(chars_[end])) ++end;
    anchor_ = start;
    caret_ = end;
    caretAtLineEnd_ = true;
    ScrollCaretIntoView();
}

// ---- editing -----------------------------------------------------------------------------------

std::u32string TCustomEdit::LimitInsert(std::u32string insert, size_t removed) const {
    if (maxLength_ <= 0) return insert;
    const size_t kept = chars_.size() - removed;
    const size_t limit = static_cast<size_t>(maxLength_);
    if (kept >= limit) return {};
    if (insert.size() > limit - kept) {
        insert.resize(limit - kept);
        if (!insert.empty() && insert.back() == U'\r') insert.pop_back();
    }
    return insert;
}

bool TCustomEdit::Replace(size_t from, size_t to, std::u32string insert, TEditKind kind, bool obeyReadOnly) {
    if (obeyReadOnly && readOnly_) return false;
    insert = LimitInsert(std::move(insert), to - from);
    if (from == to && insert.empty()) return false;
    // A run of typing (or of deleting) undoes as one.
    const bool merge = kind != TEditKind::Other && kind == lastKind_ && undo_ && anchor_ == caret_ && caret_ == lastCaret_;
    if (!merge) undo_ = TUndoState{chars_, anchor_, caret_};
    chars_.replace(from, to - from, insert);
    caret_ = anchor_ = from + insert.size();
    caretAtLineEnd_ = false;
    goalX_ = -1;
    lastKind_ = kind;
    lastCaret_ = caret_;
    StoreAndNotify();
    return true;
}

void TCustomEdit::Backspace() {
    if (anchor_ != caret_) {
        Replace(SelMin(), SelMax(), {}, TEditKind::Other);
    } else if (caret_ > 0) {
        Replace(PreviousPosition(caret_), caret_, {}, TEditKind::DeleteBack);
    }
}

void TCustomEdit::DeleteForward() {
    if (anchor_ != caret_) {
        Replace(SelMin(), SelMax(), {}, TEditKind::Other);
    } else if (caret_ < chars_.size()) {
        Replace(caret_, NextPosition(caret_), {}, TEditKind::DeleteForward);
    }
}

void TCustomEdit::Undo() {
    if (!undo_ || readOnly_) return;
    // The state undone becomes the undo: a second undo redoes.
    TUndoState current{chars_, anchor_, caret_};
    chars_ = std::move(undo_->chars);
    anchor_ = undo_->anchor;
    caret_ = undo_->caret;
    undo_ = std::move(current);
    caretAtLineEnd_ = false;
    goalX_ = -1;
    lastKind_ = TEditKind::Other;
    if (chars_ == undo_->chars) return;
    StoreAndNotify();
}

void TCustomEdit::CopyToClipboard() {
    if (anchor_ != caret_) ClipboardSetText(SelText());
}

void TCustomEdit::CutToClipboard() {
    if (readOnly_ || anchor_ == caret_) return;
    CopyToClipboard();
    Replace(SelMin(), SelMax(), {}, TEditKind::Other);
}

void TCustomEdit::PasteFromClipboard() {
    if (readOnly_ || !ClipboardHasText()) return;
    std::u32string text = Decode(ClipboardGetText());
    // A single line takes the clipboard's first line only.
    if (!MultiLine()) text.resize(std::min(text.find_first_of(U"\r\n"), text.size()));
    Replace(SelMin(), SelMax(), std::move(text), TEditKind::Other);
}

void TCustomEdit::SetMaxLength(int value) { maxLength_ = std::max(value, 0); }

void TCustomEdit::SetReadOnly(bool value) {
    if (value == readOnly_) return;
    readOnly_ = value;
    Invalidate();
}

void TCustomEdit::SetAutoSize(bool value) {
    if (value == autoSize_) return;
    autoSize_ = value;
    AdjustHeight();
}

void TCustomEdit::SetHideSelection(bool value) {
    if (value == hideSelection_) return;
    hideSelection_ = value;
    Invalidate();
}

void TCustomEdit::SetBorderStyle(TBorderStyle value) {
    if (value == borderStyle_) return;
    borderStyle_ = value;
    layoutValid_ = false;
    AdjustHeight();
    ScrollCaretIntoView();
}

void TCustomEdit::AdjustHeight() {
    // The classic rule: the font's line plus four pixels of border and margin on each side.
    if (!autoSize_ || MultiLine() || borderStyle_ != bsSingle) return;
    SetHeight(Advance().LineHeight() + 8);
}

// ---- keys --------------------------------------------------------------------------------------

bool TCustomEdit::HandleKey(uint16_t key, TShiftState shift) {
    const bool extend = (shift & ssShift) != 0;
    const bool ctrl = (shift & ssCtrl) != 0;
    const bool multi = MultiLine();
    switch (key) {
        case VK_LEFT:
            MoveTo(ctrl ? WordLeft(caret_) : PreviousPosition(caret_), extend);
            return true;
        case VK_RIGHT:
            MoveTo(ctrl ? WordRight(caret_) : NextPosition(caret_), extend);
            return true;
        case VK_UP:
        case VK_DOWN:
            if (!multi) {
                // A single line takes them as left and right.
                MoveTo(key == VK_UP ? PreviousPosition(caret_) : NextPosition(caret_), extend);
            } else {
                MoveVertically(key == VK_UP ? -1 : 1, extend);
            }
            return true;
        case VK_PRIOR:
        case VK_NEXT:
            if (!multi) return false;
            {
                // The view turns a page and the caret keeps its row in it.
                const long page = key == VK_PRIOR ? -VisibleLines() : VisibleLines();
                topLine_ = static_cast<size_t>(std::max(0L, static_cast<long>(topLine_) + page));
                MoveVertically(static_cast<int>(page), extend);
            }
            return true;
        case VK_HOME:
            MoveTo(ctrl || !multi ? 0 : Layout().Line(CaretLine()).start, extend);
            return true;
        case VK_END: {
            if (ctrl || !multi) {
                MoveTo(chars_.size(), extend);
                return true;
            }
            const TEditLine& l = Layout().Line(CaretLine());
            // A wrapped line ends before its hanging space.
            if (l.softBreak && l.end > l.start && chars_[l.end - 1] == U' ') {
                MoveTo(l.end - 1, extend);
            } else {
                MoveTo(l.end, extend, l.softBreak);
            }
            return true;
        }
        case VK_DELETE:
            if (extend) {
                CutToClipboard();
            } else {
                DeleteForward();
            }
            return true;
        case VK_INSERT:
            if (extend) {
                PasteFromClipboard();
            } else if (ctrl) {
                CopyToClipboard();
            }
            return true;
        default:
            return false;
    }
}

void TCustomEdit::HandleChar(char32_t c) {
    switch (c) {
        case 1: SelectAll(); return;
        case 3: CopyToClipboard(); return;
        case 8: Backspace(); return;
        case 22: PasteFromClipboard(); return;
        case 24: CutToClipboard(); return;
        case 26: Undo(); return;
        case 13:
            if (MultiLine() && WantReturns()) Replace(SelMin(), SelMax(), U"\r\n", TEditKind::Typing);
            return;
        case 9:
            if (MultiLine() && WantTabsNow()) Replace(SelMin(), SelMax(), U"\t", TEditKind::Typing);
            return;
        default:
            break;
    }
    if (c < 32 || c == 127) return;
    Replace(SelMin(), SelMax(), std::u32string(1, c), TEditKind::Typing);
}

void TCustomEdit::WndProc(TMessage& m) {
    switch (m.Msg) {
        case WM_CUT: CutToClipboard(); return;
        case WM_COPY: CopyToClipboard(); return;
        case WM_PASTE: PasteFromClipboard(); return;
        case WM_CLEAR: ClearSelection(); return;
        case WM_UNDO:
            m.Result = CanUndo() ? 1 : 0;
            Undo();
            return;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            // A click focuses the field without AutoSelect's select-all.
            if (!Focused() && CanFocus()) {
                const rtl::ScopedFlag clicking(clickFocusing_);
                SetFocus();
            }
            break;
        default:
            break;
    }
    TWinControl::WndProc(m);
}

void TCustomEdit::DefaultHandler(TMessage& m) {
    switch (m.Msg) {
        case WM_KEYDOWN:
            if (HandleKey(static_cast<uint16_t>(m.WParam), GetShiftState())) return;
            break;
        case WM_CHAR:
            HandleChar(static_cast<char32_t>(m.WParam));
            return;
        case WM_SETCURSOR:
            if (static_cast<int16_t>(LOWORD(static_cast<uintptr_t>(m.LParam))) == HTCLIENT) {
                vcl::SetCursor(TCursorShape::IBeam);
                m.Result = 1;
                return;
            }
            break;
        default:
            break;
    }
    TWinControl::DefaultHandler(m);
}

void TCustomEdit::WMGetDlgCode(TMessage& m) {
    m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_HASSETSEL;
    if (MultiLine() && WantReturns()) m.Result |= DLGC_WANTALLKEYS;
    if (MultiLine() && WantTabsNow()) m.Result |= DLGC_WANTTAB;
}

// ---- mouse -------------------------------------------------------------------------------------

size_t TCustomEdit::IndexAtPoint(int x, int y, bool& atLineEnd) {
    TEditLayout& layout = Layout();
    const TRect r = TextRect();
    const int lh = std::max(1, Advance().LineHeight());
    const int dy = y - r.Top;
    const long row = dy >= 0 ? dy / lh : -((-dy + lh - 1) / lh);
    const long line = std::clamp(static_cast<long>(topLine_) + row, 0L, static_cast<long>(layout.LineCount()) - 1);
    const size_t index = layout.IndexAt(chars_, Advance(), static_cast<size_t>(line), x - r.Left + scrollX_);
    const TEditLine& l = layout.Line(static_cast<size_t>(line));
    atLineEnd = l.softBreak && index == l.end;
    return index;
}

void TCustomEdit::MouseDown(TMouseButtonKind button, TShiftState shift, int x, int y) {
    if (button == mbLeft) {
        bool atLineEnd = false;
        const size_t index = IndexAtPoint(x, y, atLineEnd);
        if (shift & ssDouble) {
            SelectWordAt(index);
            selecting_ = false;
        } else {
            MoveTo(index, (shift & ssShift) != 0, atLineEnd);
            selecting_ = true;
        }
    }
    TWinControl::MouseDown(button, shift, x, y);
}

void TCustomEdit::MouseMove(TShiftState shift, int x, int y) {
    if (selecting_ && (shift & ssLeft)) {
        bool atLineEnd = false;
        const size_t index = IndexAtPoint(x, y, atLineEnd);
        if (index != caret_) MoveTo(index, true, atLineEnd);
    }
    TWinControl::MouseMove(shift, x, y);
}

void TCustomEdit::MouseUp(TMouseButtonKind button, TShiftState shift, int x, int y) {
    if (button == mbLeft) selecting_ = false;
    TWinControl::MouseUp(button, shift, x, y);
}

// ---- focus -------------------------------------------------------------------------------------

void TCustomEdit::DoEnter() {
    if (autoSelect_ && !clickFocusing_ && !MultiLine()) SelectAll();
    TWinControl::DoEnter();
}

void TCustomEdit::WMSetFocus(TMessage& m) {
    TWinControl::WMSetFocus(m);
    if (!HandleAllocated() || !Focused()) return;
    CreateCaret(Handle(), 1, Advance().LineHeight());
    UpdateCaret();
    ShowCaret(Handle());
    Invalidate();
}

void TCustomEdit::WMKillFocus(TMessage& m) {
    selecting_ = false;
    if (HandleAllocated() && GetCaretWindow() == Handle()) DestroyCaret();
    Invalidate();
    TWinControl::WMKillFocus(m);
}

void TCustomEdit::CMFontChanged(TMessage& m) {
    advance_.reset();
    layoutValid_ = false;
    AdjustHeight();
    if (HandleAllocated() && GetCaretWindow() == Handle()) {
        CreateCaret(Handle(), 1, Advance().LineHeight());
        ShowCaret(Handle());
    }
    ScrollCaretIntoView();
    TWinControl::CMFontChanged(m);
}

void TCustomEdit::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    const bool sized = AWidth != Width() || AHeight != Height();
    TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (sized) ScrollCaretIntoView();
}

// ---- context menu ------------------------------------------------------------------------------

void TCustomEdit::UpdateContextMenu() {
    if (!contextMenu_) {
        contextMenu_ = new TPopupMenu(this);
        TMenuItem* items = contextMenu_->Items();
        items->Add("Undo", [this](TObject*) { Undo(); });
        items->Add("-");
        items->Add("Cut", [this](TObject*) { CutToClipboard(); });
        items->Add("Copy", [this](TObject*) { CopyToClipboard(); });
        items->Add("Paste", [this](TObject*) { PasteFromClipboard(); });
        items->Add("Delete", [this](TObject*) { ClearSelection(); });
        items->Add("-");
        items->Add("Select All", [this](TObject*) { SelectAll(); });
        if (!contextCommands_.empty()) items->Add("-");
        for (const TContextCommand& command : contextCommands_) items->Add("", command.onClick);
    }
    const bool selected = anchor_ != caret_;
    const bool enabled[] = {CanUndo() && !readOnly_,
                            false,
                            selected && !readOnly_,
                            selected,
                            !readOnly_ && !ClipboardGetText().empty(),
                            selected && !readOnly_,
                            false,
                            SelMax() - SelMin() < chars_.size()};
    TMenuItem* items = contextMenu_->Items();
    for (int i = 0; i < static_cast<int>(std::size(enabled)); ++i) {
        if (!items->Items(i)->IsLine()) items->Items(i)->SetEnabled(enabled[i]);
    }
    const int first = items->Count() - static_cast<int>(contextCommands_.size());
    for (size_t i = 0; i < contextCommands_.size(); ++i) {
        items->Items(first + static_cast<int>(i))->SetCaption(contextCommands_[i].caption());
    }
}

void TCustomEdit::AddContextCommand(std::function<std::string()> caption, TNotifyEvent onClick) {
    // The menu is made once, with the commands known then.
    if (contextMenu_) {
        delete contextMenu_;
        contextMenu_ = nullptr;
    }
    contextCommands_.push_back({std::move(caption), std::move(onClick)});
}

TPopupMenu* TCustomEdit::GetPopupMenu() const { return PopupMenu() ? PopupMenu() : contextMenu_; }

void TCustomEdit::WMContextMenu(TMessage& m) {
    if (m.Result == 0 && !PopupMenu() && !HasState(csDesigning)) {
        if (!Focused() && CanFocus()) SetFocus();
        UpdateContextMenu();
        // From the keyboard the menu opens below the caret.
        if (GET_X_LPARAM(m.LParam) == -1 && GET_Y_LPARAM(m.LParam) == -1) {
            TPoint below = CaretPoint();
            below.Y = std::min(below.Y + Advance().LineHeight(), ClientHeight() - 1);
            below.X = std::clamp(below.X, 0, ClientWidth() - 1);
            const TPoint at = ClientToScreen(below);
            m.LParam = MAKELPARAM(at.X, at.Y);
        }
    }
    TWinControl::WMContextMenu(m);
}

// ---- layout and view ---------------------------------------------------------------------------

const TAdvanceCache& TCustomEdit::Advance() {
    if (!advance_) advance_ = std::make_unique<TAdvanceCache>(ResolveFont(LogFontOf(Font())));
    return *advance_;
}

TEditLayout& TCustomEdit::Layout() {
    const int width = TextRect().Width();
    const bool wrap = MultiLine() && Wrapping();
    if (!layoutValid_ || (wrap && width != layoutWidth_)) {
        layout_.Layout(chars_, Advance(), MultiLine(), wrap, width);
        layoutValid_ = true;
        layoutWidth_ = width;
    }
    return layout_;
}

void TCustomEdit::LayoutChanged() {
    layoutValid_ = false;
    ScrollCaretIntoView();
}

TRect TCustomEdit::TextRect() const {
    TRect r = ClientRect();
    if (borderStyle_ == bsSingle) r = r.Inflate(-kBorder, -kBorder);
    r.Left += kTextMargin;
    r.Right -= kTextMargin;
    r.Top += kTextMargin;
    r.Right = std::max(r.Right, r.Left);
    r.Bottom = std::max(r.Bottom, r.Top);
    return r;
}

int TCustomEdit::VisibleLines() { return std::max(1, TextRect().Height() / std::max(1, Advance().LineHeight())); }

size_t TCustomEdit::CaretLine() { return Layout().LineOf(caret_, caretAtLineEnd_); }

bool TCustomEdit::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) {
    if (TWinControl::DoMouseWheel(shift, wheelDelta, mousePos)) return true;
    if (!MultiLine()) return false;
    const long top = static_cast<long>(topLine_) - WheelStep(wheelDelta);
    topLine_ = static_cast<size_t>(std::max(top, 0L));
    ClampScroll();
    UpdateCaret();
    Invalidate();
    return true;
}

void TCustomEdit::ScrollCaretIntoView() {
    TEditLayout& layout = Layout();
    const size_t line = CaretLine();
    const int x = layout.XOf(chars_, Advance(), line, caret_);
    const int width = std::max(1, TextRect().Width());
    if (MultiLine() && Wrapping()) {
        scrollX_ = 0;
    } else if (x < scrollX_) {
        scrollX_ = std::max(0, x - width / 4);
    } else if (x >= scrollX_ + width) {
        // Jump a quarter of the width ahead, as the classic field does.
        scrollX_ = x - width + 1 + width / 4;
    }
    if (MultiLine()) {
        const size_t visible = static_cast<size_t>(VisibleLines());
        if (line < topLine_) {
            topLine_ = line;
        } else if (line >= topLine_ + visible) {
            topLine_ = line - visible + 1;
        }
    }
    ClampScroll();
    UpdateCaret();
    Invalidate();
}

void TCustomEdit::ClampScroll() {
    TEditLayout& layout = Layout();
    const int width = std::max(1, TextRect().Width());
    scrollX_ = std::clamp(scrollX_, 0, std::max(0, layout.MaxWidth() + 1 - width));
    const size_t visible = static_cast<size_t>(VisibleLines());
    const size_t count = layout.LineCount();
    topLine_ = std::min(topLine_, count > visible ? count - visible : 0);
}

void TCustomEdit::UpdateCaret() {
    if (!HandleAllocated() || GetCaretWindow() != Handle()) return;
    const TPoint p = CaretPoint();
    SetCaretPos(p.X, p.Y);
    // An input method composes where the caret is.
    ImmSetCompositionWindow(Handle(), {p.X, p.Y, p.X + 1, p.Y + Advance().LineHeight()});
}

TPoint TCustomEdit::CaretPoint() {
    TEditLayout& layout = Layout();
    const TRect r = TextRect();
    const size_t line = CaretLine();
    const int x = layout.XOf(chars_, Advance(), line, caret_);
    const int row = static_cast<int>(line) - static_cast<int>(topLine_);
    return {r.Left + x - scrollX_, r.Top + row * Advance().LineHeight()};
}

int TCustomEdit::DisplayLineCount() { return static_cast<int>(Layout().LineCount()); }

int TCustomEdit::FirstVisibleLine() {
    ClampScroll();
    return static_cast<int>(topLine_);
}

std::string TCustomEdit::DisplayLine(int index) {
    TEditLayout& layout = Layout();
    if (index < 0 || static_cast<size_t>(index) >= layout.LineCount()) return {};
    const TEditLine& l = layout.Line(static_cast<size_t>(index));
    return Encode(std::u32string_view(chars_).substr(l.start, l.end - l.start));
}

// ---- painting ----------------------------------------------------------------------------------

void TCustomEdit::PaintWindow(HDC dc) {
    TRect field = ClientRect();
    if (borderStyle_ == bsSingle) DrawEdge(dc, &field, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    FillRect(dc, &field, Brush().Handle());
    const TSavedDC saved(dc);
    IntersectClipRect(dc, field.Left, field.Top, field.Right, field.Bottom);
    {
        TPaintCanvas canvas(dc, Font());
        SetBkMode(dc, TRANSPARENT);
        TEditLayout& layout = Layout();
        ClampScroll();
        const TRect r = TextRect();
        const int lh = Advance().LineHeight();
        const bool showSelection = anchor_ != caret_ && (Focused() || !hideSelection_);
        const size_t last = std::min(layout.LineCount(), topLine_ + static_cast<size_t>(VisibleLines()) + 1);
        for (size_t line = topLine_; line < last; ++line) {
            const int y = r.Top + static_cast<int>(line - topLine_) * lh;
            if (y >= field.Bottom) break;
            PaintLine(dc, line, r.Left - scrollX_, y, showSelection, Enabled());
        }
    }
}

void TCustomEdit::PaintLine(HDC dc, size_t line, int x, int y, bool showSelection, bool enabled) {
    const TEditLine& l = layout_.Line(line);
    const TAdvanceCache& advance = Advance();
    const int lh = advance.LineHeight();
    const size_t selA = showSelection ? std::clamp(SelMin(), l.start, l.end) : l.end;
    const size_t selB = showSelection ? std::clamp(SelMax(), l.start, l.end) : l.end;
    const TColor text = enabled ? Font().Color() : clGrayText;
    const struct {
        size_t from, to;
        bool selected;
    } parts[] = {{l.start, selA, false}, {selA, selB, true}, {selB, l.end, false}};
    for (const auto& part : parts) {
        if (part.from >= part.to) continue;
        int width = 0;
        for (size_t i = part.from; i < part.to; ++i) width += advance(chars_[i]);
        if (part.selected) {
            const TRect box{x, y, x + width, y + lh};
            TBrush highlight;
            highlight.SetColor(clHighlight);
            FillRect(dc, &box, highlight.Handle());
        }
        SetTextColor(dc, ColorToRGB(part.selected ? clHighlightText : text));
        const std::u16string wide = Wide(std::u32string_view(chars_).substr(part.from, part.to - part.from));
        TextOutW(dc, x, y, wide.c_str(), static_cast<int>(wide.size()));
        x += width;
    }
}

// ---- TEdit -------------------------------------------------------------------------------------

TEdit::TEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}

// ---- TMemoStrings ------------------------------------------------------------------------------

const std::vector<std::string>& TMemoStrings::Lines() const {
    if (valid_) return lines_;
    lines_.clear();
    const std::string& text = memo_.Text();
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) end = text.size();
        lines_.push_back(text.substr(start, end - start));
        start = end;
        if (start < text.size() && text[start] == '\r') ++start;
        if (start < text.size() && text[start] == '\n') ++start;
    }
    valid_ = true;
    return lines_;
}

int TMemoStrings::Count() const { return static_cast<int>(Lines().size()); }

std::string TMemoStrings::Get(int index) const {
    const auto& lines = Lines();
    if (index < 0 || static_cast<size_t>(index) >= lines.size()) IndexError(index);
    return lines[static_cast<size_t>(index)];
}

void TMemoStrings::Write(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    memo_.SetText(text);
}

void TMemoStrings::Put(int index, const std::string& value) {
    std::vector<std::string> lines = Lines();
    if (index < 0 || static_cast<size_t>(index) >= lines.size()) IndexError(index);
    lines[static_cast<size_t>(index)] = value;
    Write(lines);
}

void TMemoStrings::Insert(int index, const std::string& value) {
    std::vector<std::string> lines = Lines();
    if (index < 0 || static_cast<size_t>(index) > lines.size()) IndexError(index);
    lines.insert(lines.begin() + index, value);
    Write(lines);
}

void TMemoStrings::Delete(int index) {
    std::vector<std::string> lines = Lines();
    if (index < 0 || static_cast<size_t>(index) >= lines.size()) IndexError(index);
    lines.erase(lines.begin() + index);
    Write(lines);
}

void TMemoStrings::Clear() { memo_.SetText(std::string()); }

void TMemoStrings::SetText(const std::string& value) { memo_.SetText(value); }

// ---- TCustomMemo -------------------------------------------------------------------------------

TCustomMemo::TCustomMemo(TComponent* AOwner) : TCustomEdit(AOwner), lines_(std::make_unique<TMemoStrings>(*this)) {
    SetAutoSize(false);
    SetAutoSelect(false);
    SetBounds(Left(), Top(), 185, 89);
}

TCustomMemo::~TCustomMemo() = default;

namespace {

constexpr TEnumName<TScrollStyle> kScrollStyleNames[] = {
    {"ssNone", ssNone}, {"ssHorizontal", ssHorizontal}, {"ssVertical", ssVertical}, {"ssBoth", ssBoth}};

}  // namespace

const TStoredProperties& TCustomMemo::StoredProperties() const {
    static const auto table = TStoredProperties::Of<TCustomMemo>(&TCustomEdit::StoredProperties(), {
        {"Lines.Strings", [](auto& m, auto& v) { m.SetLines(*v.Strings()); }},
        {"ScrollBars", [](auto& m, auto& v) { m.SetScrollBars(v.Enum(kScrollStyleNames)); }},
    });
    return table;
}

void TCustomMemo::SetWordWrap(bool value) {
    if (value == wordWrap_) return;
    wordWrap_ = value;
    LayoutChanged();
}

TMemo::TMemo(TComponent* AOwner) : TCustomMemo(AOwner) {}

}  // namespace vcl
