#pragma once
// A grid of text rows too many to hold as strings (the bus monitor keeps 100,000): a header of
// column titles, then the rows, asked of a source only for those in view. The rows live elsewhere
// and grow at the end while the oldest go from the front; rows are numbered absolutely (the first
// row ever is 0), so the view and the selection stay on the same rows when older ones go. The
// view follows the end while it shows the last row, and stays where it is once the user scrolled
// up. Selection: a click picks a row, Shift extends a range, Ctrl+A takes them all; arrows, pages,
// Home, End and the wheel move; Ctrl+C asks the owner to copy. Built on the control set's
// foundation with its hosted vertical scroll bar, painted in the classic look.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "controls/foundation/CustomControl.h"
#include "controls/surface/Bitmap.h"
#include "controls/scrollbar/ScrollBar.h"

namespace app {

class TLogView : public se::TSeScrollBarHost<se::TSeCustomControl> {
public:
    struct TColumn {
        std::u16string Title;
        int Width = 80;
    };
    struct TRowSource {
        // The absolute number of the first row kept, and how many are kept.
        std::function<uint64_t()> First;
        std::function<uint64_t()> Count;
        // The cells of a kept row (absolute number), column by column.
        std::function<std::vector<std::u16string>(uint64_t row)> Cells;
        // Cells drawn in red (a pause too long, a CRC error); may be empty.
        std::function<bool(uint64_t row, size_t column)> Alarm;
    };

    explicit TLogView(vcl::TComponent* AOwner);

    void SetColumns(std::vector<TColumn> columns);
    const std::vector<TColumn>& Columns() const { return columns_; }
    void SetSource(TRowSource source);
    // The rows changed (some went, some came): the view keeps its rows or follows the end.
    void RowsChanged();
    // The cells of a kept row as shown (empty for a row not kept).
    std::vector<std::u16string> RowCells(uint64_t row) const;
    // The cells changed (another language): repaint.
    void Redraw() {
        ForgetRowImages();
        Invalidate();
    }

    static constexpr int kRowHeight = 16;
    uint64_t TopRow() const { return top_; }
    // Scrolls so that row (absolute) is the first in view, as far as the rows allow.
    void ScrollTo(uint64_t row);
    bool FollowsEnd() const { return follow_; }
    int VisibleRows() const;
    // The current row (the last clicked or moved to), none when nothing is selected.
    std::optional<uint64_t> CurrentRow() const { return current_; }
    // The selected rows that are still kept, oldest first.
    std::vector<uint64_t> SelectedRows() const;
    void SelectRow(uint64_t row, bool extend = false);
    void SelectAll();

    vcl::TNotifyEvent OnSelectionChange;
    vcl::TNotifyEvent OnCopy;

protected:
    void PaintFace() override;
    void KeyDown(uint16_t& key, vcl::TShiftState shift) override;
    void MouseDown(vcl::TMouseButtonKind button, vcl::TShiftState shift, int x, int y) override;
    bool DoMouseWheel(vcl::TShiftState shift, int wheelDelta, vcl::TPoint mousePos) override;
    void WndProc(vcl::TMessage& message) override;
    void WMGetDlgCode(vcl::TMessage& message) override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    virtual void SelectionChange();

private:
    uint64_t First() const { return source_.First ? source_.First() : 0; }
    uint64_t Count() const { return source_.Count ? source_.Count() : 0; }
    uint64_t End() const { return First() + Count(); }
    // The first row that shows the last one at the bottom.
    uint64_t LastTop() const;
    vcl::TRect RowsRect() const;
    void UpdateBar();
    void MoveTo(uint64_t row, bool extend);
    void PaintHeader(vcl::TCanvas& canvas, const vcl::TRect& rect);
    // Paints a row into its picture. Pictures of the rows in view are kept: a kept row never
    // changes, so following the end paints only the rows that came and copies the rest.
    void PaintRow(vcl::TCanvas& canvas, uint64_t row, se::TseBitmap& image, bool selected);
    // After anything that changes how rows look (columns, language, source, size, font, colour).
    void ForgetRowImages() { images_.clear(); }
    bool Selected(uint64_t row) const;

    std::vector<TColumn> columns_;
    TRowSource source_;
    uint64_t top_ = 0;
    bool follow_ = true;
    std::optional<uint64_t> anchor_;
    std::optional<uint64_t> current_;
    bool all_ = false;
    struct TRowImage {
        uint64_t Row = 0;
        bool Selected = false;
        std::unique_ptr<se::TseBitmap> Image;
    };
    // The rows last in view.
    std::vector<TRowImage> images_;
};

}  // namespace app
