// The single in-memory model of every display the program controls, and the monitor
// list whose six column texts double as state ("?" marks a silent or ignored monitor,
// "." a laptop panel).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/fixed_text.h"
#include "platform/types.h"

namespace lv {

inline constexpr int kMaxMonitors = 10;
inline constexpr int kPresetSlots = 14;  // slot 0 current, 1..13 offered presets
inline constexpr int kInputSlots = 32;   // slot 0 current, 1..31 offered inputs
inline constexpr int kMaxPreset = 13;
inline constexpr int kMaxInput = 31;
inline constexpr int kNamedInputs = 18;

struct MonitorEntry {
    FixedText<128> description;
    FixedText<32> deviceName;
    Rect monitorRect;
    FixedText<64> modelName;
    FixedText<128> instanceId;
    FixedText<32> connectionName;
    std::optional<uint32_t> outputTechnology;  // none until identification found the target
    FixedText<8> manufacturerId;
    FixedText<6> productCode;
    FixedText<32> manufacturerName;
    int32_t yearOfManufacture = 0;
    FixedText<32> serialNumber;
    FixedText<260> wmiInstanceId;
    FixedText<32> capabilitiesModel;
    FixedText<1024> capabilitiesString;
    int32_t capabilitiesAttempt = 0;
    FixedText<260> ignoreName;

    uint32_t brightnessMin = 0, brightness = 0, brightnessMax = 0;
    uint32_t contrastMin = 0, contrast = 0, contrastMax = 0;
    uint32_t redMin = 0, red = 0, redMax = 0;
    uint32_t greenMin = 0, green = 0, greenMax = 0;
    uint32_t blueMin = 0, blue = 0, blueMax = 0;

    uint32_t brightnessLow = 0, brightnessHigh = 100;
    uint32_t contrastLow = 0, contrastHigh = 100;

    int32_t readMode = 0;
    int32_t isLaptopPanel = 0;
    int32_t factoryResetPending = 0;
    int32_t userPresetActive = 0;
    int32_t pendingPreset = 0;
    int32_t pendingInput = 0;
    std::array<FixedText<32>, kPresetSlots> presetNames{};
    std::array<FixedText<32>, kInputSlots> inputNames{};
};

using MonitorTable = std::array<MonitorEntry, kMaxMonitors>;

// Name of VCP 0x14 value 1..13; empty for any other value.
std::string_view PresetName(int value);
// Name of VCP 0x60 value 1..31 (19..31 are named by their number); empty otherwise.
std::string InputName(int value);

// Values stored in an entry are normalised: raw [min, max] onto 0..scale. When the
// monitor reports an empty range the raw value is kept.
uint32_t NormaliseValue(uint32_t raw, uint32_t min, uint32_t max, int32_t scale);
// The raw value to send for a normalised value.
uint32_t RawValue(uint32_t value, uint32_t min, uint32_t max, int32_t scale);

inline constexpr int kListColumns = 6;
enum ListColumn : int { kColumnName = 0, kColumnBrightness, kColumnContrast, kColumnRed, kColumnGreen, kColumnBlue };

// The monitor list's model: row i shows entry i. The list control mirrors it.
class MonitorList {
public:
    using Row = std::array<std::string, kListColumns>;

    int Rows() const { return static_cast<int>(rows_.size()); }
    void Clear() { rows_.clear(); selectedRow_ = -1; }
    // Appends a row with the name text and empty values; refused beyond ten rows.
    bool AddRow(std::string_view name);
    const std::string& Cell(int row, int column) const;
    void SetCell(int row, int column, std::string_view text);
    const Row& RowAt(int row) const { return rows_.at(static_cast<std::size_t>(row)); }
    // The row shows a monitor that does not answer or is ignored.
    bool IsSilent(int row) const { return Cell(row, kColumnBrightness).starts_with('?'); }
    // The row shows a laptop panel.
    bool IsPanel(int row) const { return Cell(row, kColumnContrast).starts_with('.'); }
    int SelectedRow() const { return selectedRow_; }
    void SetSelectedRow(int row) { selectedRow_ = row; }

private:
    std::vector<Row> rows_;
    int selectedRow_ = -1;
};

// A drop-down list's model (colour preset 1113, input 1115).
struct ChoiceModel {
    std::vector<std::string> items;
    int current = -1;

    // Index of the item whose text equals `text` without regard to case, or -1.
    int FindNoCase(std::string_view text) const;
    std::string_view CurrentText() const;
};

}  // namespace lv
