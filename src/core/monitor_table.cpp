#include "core/monitor_table.h"

#include <algorithm>

#include "common/muldiv.h"
#include "common/text.h"

namespace lv {
namespace {

constexpr std::array<std::string_view, kMaxPreset + 1> kPresetNames = {
    "", "sRGB", "Native", "4000K", "5000K", "6500K", "7500K", "8200K", "9300K", "10000K", "11500K", "User1", "User2", "User3"};

constexpr std::array<std::string_view, kNamedInputs + 1> kInputNames = {
    "", "VGA1", "VGA2", "DVI1", "DVI2", "CompositeVideo1", "CompositeVideo2", "S-Video1", "S-Video2", "Tuner1", "Tuner2",
    "Tuner3", "ComponentVideo1", "ComponentVideo2", "ComponentVideo3", "DisplayPort1", "DisplayPort2", "HDMI1", "HDMI2"};

const std::string kEmpty;

}  // namespace

std::string_view PresetName(int value) {
    if (value < 1 || value > kMaxPreset) return {};
    return kPresetNames[static_cast<std::size_t>(value)];
}

std::string InputName(int value) {
    if (value < 1 || value > kMaxInput) return {};
    if (value <= kNamedInputs) return std::string(kInputNames[static_cast<std::size_t>(value)]);
    return std::to_string(value);
}

uint32_t NormaliseValue(uint32_t raw, uint32_t min, uint32_t max, int32_t scale) {
    if (max == min) return raw;
    // A reading below the reported minimum (or a reversed range) is taken as the bottom.
    if (raw <= min || max < min) return 0;
    const int32_t value = MulDiv(static_cast<int32_t>(raw - min), scale, static_cast<int32_t>(max - min));
    return value < 0 ? 0 : static_cast<uint32_t>(value);
}

uint32_t RawValue(uint32_t value, uint32_t min, uint32_t max, int32_t scale) {
    return static_cast<uint32_t>(MulDiv(static_cast<int32_t>(value), static_cast<int32_t>(max - min), scale)) + min;
}

bool MonitorList::AddRow(std::string_view name) {
    if (Rows() >= kMaxMonitors) return false;
    Row row;
    row[kColumnName] = std::string(name);
    rows_.push_back(std::move(row));
    return true;
}

const std::string& MonitorList::Cell(int row, int column) const {
    if (row < 0 || row >= Rows() || column < 0 || column >= kListColumns) return kEmpty;
    return rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

void MonitorList::SetCell(int row, int column, std::string_view text) {
    if (row < 0 || row >= Rows() || column < 0 || column >= kListColumns) return;
    rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = std::string(text);
}

int ChoiceModel::FindNoCase(std::string_view text) const {
    for (std::size_t i = 0; i < items.size(); ++i)
        if (EqualsNoCase(items[i], text)) return static_cast<int>(i);
    return -1;
}

std::string_view ChoiceModel::CurrentText() const {
    if (current < 0 || current >= static_cast<int>(items.size())) return {};
    return items[static_cast<std::size_t>(current)];
}

}  // namespace lv
