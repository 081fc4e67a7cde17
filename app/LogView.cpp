#include "app/LogView.h"

#include <algorithm>

#include "controls/foundation/PaintBuffer.h"
#include "controls/surface/Primitives.h"
#include "platform/draw/Gdi.h"
#include "platform/window/SystemMetrics.h"

namespace app {

using vcl::TRect;

namespace {

constexpr unsigned kCellFormat = vcl::DT_SINGLELINE | vcl::DT_VCENTER | vcl::DT_NOPREFIX | vcl::DT_END_ELLIPSIS;
constexpr int kCellPadding = 3;

}  // namespace

TLogView::TLogView(vcl::TComponent* AOwner) : TSeScrollBarHost(AOwner) {
    SetTabStop(true);
    SetColor(vcl::clWindow);
    SetBevelKind(se::kbkSingle);
    SetBevelWidth(1);
    SetBevelOuter(se::kbvLowered);
    SetScrollBars(se::kssVertical);
}

void TLogView::SetColumns(std::vector<TColumn> columns) {
    columns_ = std::move(columns);
    ForgetRowImages();
    Invalidate();
}

void TLogView::SetSource(TRowSource source) {
    source_ = std::move(source);
    ForgetRowImages();
    RowsChanged();
}

TRect TLogView::RowsRect() const {
    TRect r = const_cast<TLogView*>(this)->GetClientRect();
    r.Top += kRowHeight;
    return r;
}

int TLogView::VisibleRows() const { return std::max(RowsRect().Height() / kRowHeight, 1); }

uint64_t TLogView::LastTop() const {
    const uint64_t rows = static_cast<uint64_t>(VisibleRows());
    return Count() > rows ? End() - rows : First();
}

void TLogView::RowsChanged() {
    // Rows gone from the front take the view with them; at the end it follows new rows.
    if (follow_) top_ = LastTop();
    top_ = std::clamp(top_, First(), LastTop());
    if (current_ && *current_ < First()) current_.reset();
    UpdateBar();
    Invalidate();
}

std::vector<std::u16string> TLogView::RowCells(uint64_t row) const {
    if (row < First() || row >= End() || !source_.Cells) return {};
    return source_.Cells(row);
}

void TLogView::ScrollTo(uint64_t row) {
    top_ = std::clamp(row, First(), LastTop());
    follow_ = top_ == LastTop();
    UpdateBar();
    Invalidate();
}

void TLogView::UpdateBar() {
    auto* bar = static_cast<se::TSeCustomScrollBar*>(VertScrollBar());
    if (!bar) return;
    const int rows = VisibleRows();
    bar->SetMin(0);
    bar->SetMax(static_cast<int>(std::max<uint64_t>(Count(), 1) - 1));
    bar->SetPageSize(rows);
    bar->SetPosition(static_cast<int>(top_ - First()));
}

void TLogView::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    TSeScrollBarHost::SetBounds(ALeft, ATop, AWidth, AHeight);
    ForgetRowImages();
    RowsChanged();
}

void TLogView::WndProc(vcl::TMessage& message) {
    if (message.Msg == vcl::CM_FONTCHANGED || message.Msg == vcl::CM_COLORCHANGED) ForgetRowImages();
    if (message.Msg == vcl::WM_VSCROLL) {
        const int code = static_cast<int>(message.WParam);
        const auto pos = static_cast<int64_t>(message.LParam);
        const int64_t top = static_cast<int64_t>(top_ - First());
        const int64_t page = std::max(VisibleRows() - 1, 1);
        switch (code) {
            case vcl::SB_LINEUP: ScrollTo(First() + static_cast<uint64_t>(std::max<int64_t>(top - 1, 0))); break;
            case vcl::SB_LINEDOWN: ScrollTo(top_ + 1); break;
            case vcl::SB_PAGEUP: ScrollTo(First() + static_cast<uint64_t>(std::max<int64_t>(top - page, 0))); break;
            case vcl::SB_PAGEDOWN: ScrollTo(top_ + static_cast<uint64_t>(page)); break;
            case vcl::SB_THUMBTRACK:
            case vcl::SB_THUMBPOSITION: ScrollTo(First() + static_cast<uint64_t>(std::max<int64_t>(pos, 0))); break;
            case vcl::SB_TOP: ScrollTo(First()); break;
            case vcl::SB_BOTTOM: ScrollTo(LastTop()); break;
            default: break;
        }
        return;
    }
    TSeScrollBarHost::WndProc(message);
}

bool TLogView::DoMouseWheel(vcl::TShiftState shift, int wheelDelta, vcl::TPoint mousePos) {
    if (TSeScrollBarHost::DoMouseWheel(shift, wheelDelta, mousePos)) return true;
    const int step = vcl::WheelStep(wheelDelta);
    const int64_t top = static_cast<int64_t>(top_ - First()) - step;
    ScrollTo(First() + static_cast<uint64_t>(std::max<int64_t>(top, 0)));
    return true;
}

void TLogView::WMGetDlgCode(vcl::TMessage& message) { message.Result = vcl::DLGC_WANTARROWS; }

void TLogView::MouseDown(vcl::TMouseButtonKind button, vcl::TShiftState shift, int x, int y) {
    if (CanFocus() && !Focused()) SetFocus();
    TSeScrollBarHost::MouseDown(button, shift, x, y);
    const TRect rows = RowsRect();
    if (button != vcl::mbLeft || y < rows.Top || x >= rows.Right) return;
    const uint64_t row = top_ + static_cast<uint64_t>((y - rows.Top) / kRowHeight);
    if (row < End()) MoveTo(row, (shift & vcl::ssShift) != 0);
}

void TLogView::KeyDown(uint16_t& key, vcl::TShiftState shift) {
    TSeScrollBarHost::KeyDown(key, shift);
    if ((shift & vcl::ssCtrl) && key == 'C') {
        if (OnCopy) OnCopy(this);
        return;
    }
    if ((shift & vcl::ssCtrl) && key == 'A') {
        SelectAll();
        return;
    }
    if (Count() == 0) return;
    const uint64_t at = current_.value_or(top_);
    const uint64_t page = static_cast<uint64_t>(std::max(VisibleRows() - 1, 1));
    const uint64_t last = End() - 1;
    uint64_t to = at;
    switch (key) {
        case vcl::VK_UP: to = at > First() ? at - 1 : at; break;
        case vcl::VK_DOWN: to = std::min(at + 1, last); break;
        case vcl::VK_PRIOR: to = at >= First() + page ? at - page : First(); break;
        case vcl::VK_NEXT: to = std::min(at + page, last); break;
        case vcl::VK_HOME: to = First(); break;
        case vcl::VK_END: to = last; break;
        default: return;
    }
    MoveTo(to, (shift & vcl::ssShift) != 0);
}

void TLogView::MoveTo(uint64_t row, bool extend) {
    SelectRow(row, extend);
    // Into view, the least scrolling that does it.
    const uint64_t rows = static_cast<uint64_t>(VisibleRows());
    if (row < top_) ScrollTo(row);
    else if (row >= top_ + rows) ScrollTo(row - rows + 1);
}

void TLogView::SelectRow(uint64_t row, bool extend) {
    if (!extend || !anchor_) anchor_ = row;
    current_ = row;
    all_ = false;
    Invalidate();
    SelectionChange();
}

void TLogView::SelectAll() {
    all_ = true;
    Invalidate();
    SelectionChange();
}

void TLogView::SelectionChange() {
    if (OnSelectionChange) {
        const vcl::TNotifyEvent handler = OnSelectionChange;
        handler(this);
    }
}

std::vector<uint64_t> TLogView::SelectedRows() const {
    std::vector<uint64_t> rows;
    uint64_t from = First(), to = End();
    if (!all_) {
        if (!current_ || !anchor_) return rows;
        from = std::max(std::min(*anchor_, *current_), First());
        to = std::min(std::max(*anchor_, *current_) + 1, End());
    }
    for (uint64_t row = from; row < to; ++row) rows.push_back(row);
    return rows;
}

void TLogView::PaintFace() {
    vcl::TCanvas& canvas = *Canvas();
    canvas.Font().Assign(PaintFont());
    const TRect client = GetClientRect();
    PaintHeader(canvas, {client.Left, client.Top, client.Right, client.Top + kRowHeight});
    const TRect rows = RowsRect();
    const uint64_t end = std::min(End(), top_ + static_cast<uint64_t>(VisibleRows()) + 1);
    // Pictures of rows gone from view are reused for the rows that come into it.
    std::vector<TRowImage> spare;
    std::erase_if(images_, [&](TRowImage& image) {
        if (image.Row >= top_ && image.Row < end) return false;
        spare.push_back(std::move(image));
        return true;
    });
    for (uint64_t row = top_; row < end; ++row) {
        const int y = rows.Top + static_cast<int>(row - top_) * kRowHeight;
        const bool selected = Selected(row);
        auto kept = std::find_if(images_.begin(), images_.end(), [&](const TRowImage& image) { return image.Row == row; });
        if (kept == images_.end()) {
            TRowImage made{row, !selected, nullptr};
            if (!spare.empty()) {
                made.Image = std::move(spare.back().Image);
                spare.pop_back();
            } else {
                made.Image = std::make_unique<se::TseBitmap>();
            }
            images_.push_back(std::move(made));
            kept = images_.end() - 1;
        }
        if (kept->Selected != selected || kept->Image->Width() != rows.Width()) {
            kept->Selected = selected;
            PaintRow(canvas, row, *kept->Image, selected);
        }
        const int height = std::min(kRowHeight, rows.Bottom - y);
        if (height > 0) kept->Image->DrawRect(canvas, rows.Left, y, {0, 0, rows.Width(), height});
        if (HasFocus() && current_ == row) {
            se::DrawFocusRectColor(canvas, {rows.Left, y, rows.Right, y + kRowHeight}, vcl::clHighlightText);
        }
    }
    const int below = rows.Top + static_cast<int>(end - top_) * kRowHeight;
    if (below < rows.Bottom) se::FillRectColor(canvas, {rows.Left, below, rows.Right, rows.Bottom}, Color());
}

void TLogView::PaintHeader(vcl::TCanvas& canvas, const TRect& rect) {
    se::FillRectColor(canvas, rect, vcl::clBtnFace);
    int x = rect.Left;
    for (const TColumn& column : columns_) {
        TRect cell{x, rect.Top, std::min(x + column.Width, rect.Right), rect.Bottom};
        if (cell.Left >= rect.Right) break;
        se::Draw3DFrame(canvas, cell, vcl::clBtnHighlight, vcl::clBtnShadow);
        cell.Left += kCellPadding;
        canvas.Font().SetColor(vcl::clBtnText);
        se::DrawWideText(canvas, column.Title, cell, kCellFormat);
        x += column.Width;
    }
}

bool TLogView::Selected(uint64_t row) const {
    return all_ || (current_ && anchor_ && row >= std::min(*anchor_, *current_) && row <= std::max(*anchor_, *current_));
}

void TLogView::PaintRow(vcl::TCanvas& canvas, uint64_t row, se::TseBitmap& image, bool selected) {
    const TRect rect{0, 0, RowsRect().Width(), kRowHeight};
    image.SetSize(rect.Width(), rect.Height());
    se::TSeCanvasRedirect onImage(canvas, image.DC());
    se::FillRectColor(canvas, rect, selected ? vcl::clHighlight : Color());
    const std::vector<std::u16string> cells = RowCells(row);
    int x = rect.Left;
    for (size_t i = 0; i < columns_.size() && x < rect.Right; ++i) {
        TRect cell{x + kCellPadding, rect.Top, std::min(x + columns_[i].Width - kCellPadding, rect.Right), rect.Bottom};
        const bool alarm = source_.Alarm && source_.Alarm(row, i);
        canvas.Font().SetColor(alarm ? vcl::clRed : selected ? vcl::clHighlightText : vcl::clWindowText);
        if (i < cells.size()) se::DrawWideText(canvas, cells[i], cell, kCellFormat);
        x += columns_[i].Width;
    }
}

}  // namespace app
