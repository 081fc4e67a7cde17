#pragma once
// The undo history of the edit field: a last-in, first-out stack of deletion and insertion
// records. Runs of typing, of Backspace and of Delete extend the record on top; typing over a
// selection pushes an insertion chained to the deletion of the selection.

#include <cstdint>
#include <string>
#include <vector>

namespace se {

struct TEditAction {
    static constexpr uint8_t kDeleted = 0, kInserted = 1;
    uint8_t Kind = kDeleted;
    bool Chained = false;  // undoing this record goes on with the one below
    int Position = 1;      // index (from 1) where the deleted text stood or the insertion begins
    std::u16string Text;   // the deleted text
    int Count = 0;         // inserted characters
};

class TSeCustomEdit;

class TEditActionStack {
public:
    explicit TEditActionStack(TSeCustomEdit& edit) : edit_(edit) {}

    TSeCustomEdit& Edit() const { return edit_; }
    bool Empty() const { return actions_.empty(); }
    int Count() const { return static_cast<int>(actions_.size()); }
    const TEditAction& Top() const { return actions_.back(); }
    TEditAction Pop();

    // Nothing for an empty text; a further Delete at the same place or Backspace just before the
    // top deletion extends it.
    void RecordDeletion(int position, const std::u16string& text);
    // Nothing for n = 0; typing on where the top insertion ended extends it.
    void RecordInsertion(int position, int count, bool chained);
    // The text was written by code: the next record starts afresh instead of extending the top
    // one, whose positions belong to another text.
    void Seal() { sealed_ = true; }

private:
    TSeCustomEdit& edit_;
    std::vector<TEditAction> actions_;
    bool sealed_ = false;
};

}  // namespace se
