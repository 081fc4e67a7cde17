#include "controls/edit/EditActions.h"

namespace se {

TEditAction TEditActionStack::Pop() {
    TEditAction action = std::move(actions_.back());
    actions_.pop_back();
    return action;
}

void TEditActionStack::RecordDeletion(int position, const std::u16string& text) {
    if (text.empty()) return;
    if (!sealed_ && !actions_.empty() && actions_.back().Kind == TEditAction::kDeleted) {
        TEditAction& top = actions_.back();
        if (position == top.Position) {
            top.Text += text;
            return;
        }
        if (position + static_cast<int>(text.size()) == top.Position) {
            top.Text.insert(0, text);
            top.Position = position;
            return;
        }
    }
    sealed_ = false;
    actions_.push_back(TEditAction{TEditAction::kDeleted, false, position, text, 0});
}

void TEditActionStack::RecordInsertion(int position, int count, bool chained) {
    if (count == 0) return;
    if (!sealed_ && !actions_.empty() && actions_.back().Kind == TEditAction::kInserted &&
        actions_.back().Position + actions_.back().Count == position) {
        actions_.back().Count += count;
        return;
    }
    sealed_ = false;
    actions_.push_back(TEditAction{TEditAction::kInserted, chained, position, {}, count});
}

}  // namespace se
