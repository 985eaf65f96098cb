// The popup's controls, recorded by control id: what the user would see now.
#pragma once

#include <array>
#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <utility>
#include <string>
#include <string_view>
#include <vector>

#include "platform/view.h"

namespace lv::sim {

inline constexpr int kListColumns = 6;

struct YesNoQuestion {
    std::string caption;
    std::string text;
    bool questionIcon = false;  // AskQuestion rather than AskYesNo
    bool operator==(const YesNoQuestion&) const = default;
};

// The template's pixels for "Segoe UI" 9 point at 96 dpi: 7 x 15 base units, so a dialog
// unit is 7/4 pixel across and 15/8 pixel down.
int DialogUnitsX(int units);
int DialogUnitsY(int units);

class SimPopupView : public lv::PopupView {
public:
    using Row = std::array<std::string, kListColumns>;

    // Every control of dialog 101 where the template puts it; the popup at (100, 100)
    // with a one-pixel border, list rows 19 pixels high under a 24-pixel header.
    SimPopupView();

    void SetText(int id, std::string_view text) override { texts_[id] = std::string(text); }
    std::string GetText(int id) override { return Text(id).value_or(std::string()); }
    void SetSliderPos(int id, int position) override { sliders_[id] = position; }
    void Show(int id, bool visible) override { shown_[id] = visible; }
    void Enable(int id, bool enabled) override { enabled_[id] = enabled; }
    void RedrawNow() override { ++redraws_; }
    bool IsVisible() override { return visible_; }
    // A cell outside the rows or columns is dropped, as the list view drops it, and
    // counted so a test can tell.
    void SetListCell(int row, int column, std::string_view text) override;
    // New rows are empty; rows beyond the count are removed.
    void SetListRowCount(int rows) override;
    void SelectListRow(int row) override { selectedRow_ = row; }
    void SetChoiceItems(int id, const std::vector<std::string>& items) override { choiceItems_[id] = items; }
    void SetChoiceCurrent(int id, int index) override { choiceCurrent_[id] = index; }
    int GetChoiceCurrent(int id) override { return Find(choiceCurrent_, id).value_or(-1); }
    bool IsChecked(int id) override { return Find(checked_, id).value_or(false); }
    // Answers from the script in order; when it runs out, the default answer (No).
    bool AskYesNo(std::string_view caption, std::string_view text) override;
    bool AskQuestion(std::string_view caption, std::string_view text) override;
    void ShowError(std::string_view text) override { errors_.emplace_back(text); }
    void HidePopup() override {
        visible_ = false;
        ++hides_;
    }
    void UpdateInfoTip(std::string_view text) override { infoTips_.emplace_back(text); }
    void SetInfoTipTitle(std::string_view title) override { infoTipTitle_ = title; }
    void SetUpInfoTip() override { infoTipMade_ = true; }
    // A busy clipboard (another program holds it open) takes nothing.
    bool CopyToClipboard(std::string_view text) override {
        if (clipboardBusy_) return false;
        clipboard_ = text;
        return true;
    }
    void SetClipboardBusy(bool busy) { clipboardBusy_ = busy; }
    const std::string& Clipboard() const { return clipboard_; }
    const std::string& InfoTipTitle() const { return infoTipTitle_; }
    bool InfoTipMade() const { return infoTipMade_; }
    // The list covers `listArea` on the screen (right and bottom excluded).
    bool IsListAt(Point point) override {
        return point.x >= listArea_.left && point.x < listArea_.right && point.y >= listArea_.top &&
               point.y < listArea_.bottom;
    }
    bool GetPopupGeometry(WindowGeometry& out) override;
    bool GetControlGeometry(int id, WindowGeometry& out) override;
    bool GetListRowRect(int row, Rect& out) override;
    bool GetListHeaderHeight(int& out) override;
    void MoveControl(int id, Rect rect) override;
    void SizePopup(int width, int height) override;
    void SetListColumnWidth(int column, int width) override { columnWidths_[column] = width; }
    void SetSliderRange(int id, int minimum, int maximum) override { ranges_[id] = {minimum, maximum}; }
    void SetUpList(const std::vector<std::string>& columns) override { columns_ = columns; }
    void SetUpControlTips(const std::vector<int>& ids) override { tipControls_ = ids; }
    const std::vector<int>& TipControls() const { return tipControls_; }

    // Layout records and what the measurements answer.
    std::optional<Rect> ControlRect(int id) const;  // client coordinates
    Rect PopupRect() const { return popup_.window; }
    std::optional<int> ColumnWidth(int column) const { return Find(columnWidths_, column); }
    std::optional<std::pair<int, int>> SliderRange(int id) const { return Find(ranges_, id); }
    const std::vector<std::string>& Columns() const { return columns_; }
    int MoveCount() const { return moves_; }
    void SetRowHeight(int height) { rowHeight_ = height; }
    // A measurement of the control (0: the popup; -1: the list's row; -2: its header) fails.
    void FailMeasurement(int id) { failing_.push_back(id); }

    // Nothing recorded for the id: nullopt.
    std::optional<std::string> Text(int id) const { return Find(texts_, id); }
    std::optional<int> SliderPos(int id) const { return Find(sliders_, id); }
    std::optional<bool> Shown(int id) const { return Find(shown_, id); }
    std::optional<bool> Enabled(int id) const { return Find(enabled_, id); }
    std::optional<std::vector<std::string>> ChoiceItems(int id) const { return Find(choiceItems_, id); }
    std::optional<int> ChoiceCurrent(int id) const { return Find(choiceCurrent_, id); }

    const std::vector<Row>& Rows() const { return rows_; }
    std::string Cell(int row, int column) const;  // empty outside the list
    int SelectedRow() const { return selectedRow_; }
    std::size_t BadCellWrites() const { return badCellWrites_; }
    int RedrawCount() const { return redraws_; }

    void SetVisible(bool visible) { visible_ = visible; }
    void SetChecked(int id, bool checked) { checked_[id] = checked; }
    int HideCount() const { return hides_; }
    const std::vector<std::string>& Errors() const { return errors_; }
    const std::vector<std::string>& InfoTips() const { return infoTips_; }
    void SetListArea(Rect area) { listArea_ = area; }
    void ScriptAnswers(std::vector<bool> answers);
    void SetDefaultAnswer(bool yes) { defaultAnswer_ = yes; }
    // Runs inside the next question, as the messages a real question's loop dispatches.
    void WhileAsking(std::function<void()> action) { whileAsking_ = std::move(action); }
    const std::vector<YesNoQuestion>& Questions() const { return questions_; }

private:
    bool NextAnswer();

    template <typename T>
    static std::optional<T> Find(const std::map<int, T>& values, int id) {
        const auto it = values.find(id);
        if (it == values.end()) return std::nullopt;
        return it->second;
    }

    bool Fails(int id) const;

    WindowGeometry popup_;
    std::map<int, WindowGeometry> controls_;
    std::map<int, int> columnWidths_;
    std::map<int, std::pair<int, int>> ranges_;
    std::vector<std::string> columns_;
    std::vector<int> tipControls_;
    std::vector<int> failing_;
    int rowHeight_ = 19;
    int headerHeight_ = 24;
    int moves_ = 0;
    std::map<int, std::string> texts_;
    std::map<int, int> sliders_;
    std::map<int, bool> shown_;
    std::map<int, bool> enabled_;
    std::map<int, std::vector<std::string>> choiceItems_;
    std::map<int, int> choiceCurrent_;
    std::map<int, bool> checked_;
    std::vector<Row> rows_;
    int selectedRow_ = -1;
    std::size_t badCellWrites_ = 0;
    int redraws_ = 0;
    bool visible_ = false;
    std::deque<bool> answers_;
    bool defaultAnswer_ = false;
    std::function<void()> whileAsking_;
    std::vector<YesNoQuestion> questions_;
    std::vector<std::string> errors_;
    std::vector<std::string> infoTips_;
    std::string infoTipTitle_;
    std::string clipboard_;
    bool clipboardBusy_ = false;
    bool infoTipMade_ = false;
    int hides_ = 0;
    Rect listArea_;
};

}  // namespace lv::sim
