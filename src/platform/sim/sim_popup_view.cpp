#include "platform/sim/sim_popup_view.h"

#include <algorithm>
#include <utility>

#include "resources/resource.h"

namespace lv::sim {
namespace {

struct TemplateControl {
    int id;
    int x, y, width, height;  // dialog units
};

constexpr TemplateControl kTemplate[] = {
    {res::kMonitorList, 9, 8, 248, 47},   {res::kShowRgb, 9, 5, 25, 10},        {res::kShowVolume, 235, 5, 22, 10},
    {res::kColourPreset, 42, 6, 35, 30},  {res::kUnusedSlider, 133, 6, 48, 10}, {res::kUnusedPercent, 181, 6, 19, 8},
    {res::kShutOff, 139, 6, 32, 10},      {res::kShutOffWide, 164, 6, 34, 10},  {res::kClose, 259, 1, 6, 6},
    {res::kRedLabel, 9, 18, 20, 8},       {res::kGreenLabel, 34, 18, 20, 8},    {res::kBlueLabel, 59, 18, 20, 8},
    {res::kRedSlider, 9, 27, 17, 195},    {res::kGreenSlider, 34, 27, 17, 195}, {res::kBlueSlider, 59, 27, 17, 195},
    {res::kRgbHintEn, 9, 34, 67, 32},     {res::kRgbHintDe, 9, 34, 67, 32},     {res::kInputGroup, 11, 221, 64, 41},
    {res::kInput, 16, 230, 54, 30},       {res::kFactoryReset, 16, 248, 54, 11}, {res::kBrightnessLabel, 107, 18, 50, 8},
    {res::kContrastLabel, 163, 18, 43, 8}, {res::kVolumeLabel, 215, 18, 26, 8}, {res::kMute, 243, 17, 13, 10},
    {res::kBrightnessSlider, 128, 27, 17, 234}, {res::kContrastSlider, 184, 27, 17, 234},
    {res::kVolumeSlider, 240, 27, 17, 234}, {res::kLaptopTextEn, 157, 34, 59, 147},
    {res::kLaptopTextDe, 157, 34, 59, 147}, {res::kLaptopLevels, 157, 189, 59, 63},
};

constexpr int kPopupLeft = 100;
constexpr int kPopupTop = 100;
constexpr int kPopupBorder = 1;
constexpr int kListBorder = 2;

Rect Inset(Rect rect, int by) { return {rect.left + by, rect.top + by, rect.right - by, rect.bottom - by}; }

}  // namespace

int DialogUnitsX(int units) { return units * 7 / 4; }
int DialogUnitsY(int units) { return units * 15 / 8; }

SimPopupView::SimPopupView() {
    const auto place = [this](int id, int x, int y, int width, int height) {
        const Rect rect{DialogUnitsX(x), DialogUnitsY(y), DialogUnitsX(x + width), DialogUnitsY(y + height)};
        controls_[id] = {rect, Inset(rect, id == res::kMonitorList ? kListBorder : 0)};
    };
    for (const TemplateControl& control : kTemplate)
        place(control.id, control.x, control.y, control.width, control.height);
    // Preset columns: "100" at 28, each lower value 11 units further down.
    for (int k = 0; k <= 20; ++k) {
        const int y = 28 + (20 - k) * 11;
        place(res::kBrightnessPresetFirst + k, 108, y, 19, 11);
        place(res::kContrastPresetFirst + k, 164, y, 19, 11);
        place(res::kVolumePresetFirst + k, 220, y, 19, 11);
    }
    const Rect client{kPopupLeft + kPopupBorder, kPopupTop + kPopupBorder, kPopupLeft + kPopupBorder + DialogUnitsX(266),
                      kPopupTop + kPopupBorder + DialogUnitsY(265)};
    popup_ = {Inset(client, -kPopupBorder), client};
}

bool SimPopupView::Fails(int id) const { return std::find(failing_.begin(), failing_.end(), id) != failing_.end(); }

bool SimPopupView::GetPopupGeometry(WindowGeometry& out) {
    if (Fails(0)) return false;
    out = popup_;
    return true;
}

bool SimPopupView::GetControlGeometry(int id, WindowGeometry& out) {
    const auto it = controls_.find(id);
    if (it == controls_.end() || Fails(id)) return false;
    out = it->second;
    return true;
}

bool SimPopupView::GetListRowRect(int row, Rect& out) {
    if (row < 0 || static_cast<std::size_t>(row) >= rows_.size() || Fails(-1)) return false;
    const Rect list = controls_[res::kMonitorList].client;
    const int top = headerHeight_ + row * rowHeight_;
    out = {0, top, list.right - list.left, top + rowHeight_};
    return true;
}

bool SimPopupView::GetListHeaderHeight(int& out) {
    if (Fails(-2)) return false;
    out = headerHeight_;
    return true;
}

void SimPopupView::MoveControl(int id, Rect rect) {
    ++moves_;
    controls_[id] = {rect, Inset(rect, id == res::kMonitorList ? kListBorder : 0)};
}

void SimPopupView::SizePopup(int width, int height) {
    popup_.window.right = popup_.window.left + width;
    popup_.window.bottom = popup_.window.top + height;
    popup_.client = Inset(popup_.window, kPopupBorder);
}

std::optional<Rect> SimPopupView::ControlRect(int id) const {
    const auto it = controls_.find(id);
    if (it == controls_.end()) return std::nullopt;
    return it->second.window;
}

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
    if (whileAsking_) std::exchange(whileAsking_, nullptr)();
    if (answers_.empty()) return defaultAnswer_;
    const bool answer = answers_.front();
    answers_.pop_front();
    return answer;
}

void SimPopupView::ScriptAnswers(std::vector<bool> answers) { answers_.assign(answers.begin(), answers.end()); }

}  // namespace lv::sim
