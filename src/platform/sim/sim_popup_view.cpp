#include "platform/sim/sim_popup_view.h"

namespace lv::sim {

void SimPopupView::SetListCell(int row, int column, std::string_view text) {
    if (row < 0 || static_cast<std::size_t>(row) >= rows_.size() || column < 0 || column >= kListColumns) {
        ++badCellWrites_;
        return;
    }
    rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = std::string(text);
}

void SimPopupView::SetListRowCount(int rows) { rows_.resize(rows > 0 ? static_cast<std::size_t>(rows) : 0); }

std::string SimPopupView::Cell(int row, int column) const {
    if (row < 0 || static_cast<std::size_t>(row) >= rows_.size() || column < 0 || column >= kListColumns) return {};
    return rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

bool SimPopupView::AskQuestion(std::string_view caption, std::string_view text) {
    questions_.push_back({std::string(caption), std::string(text), true});
    return NextAnswer();
}

bool SimPopupView::AskYesNo(std::string_view caption, std::string_view text) {
    questions_.push_back({std::string(caption), std::string(text)});
    return NextAnswer();
}

bool SimPopupView::NextAnswer() {
    if (answers_.empty()) return defaultAnswer_;
    const bool answer = answers_.front();
    answers_.pop_front();
    return answer;
}

void SimPopupView::ScriptAnswers(std::vector<bool> answers) { answers_.assign(answers.begin(), answers.end()); }

}  // namespace lv::sim
