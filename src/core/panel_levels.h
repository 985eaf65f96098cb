// A laptop panel's supported brightness levels and their mapping onto percentages.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace lv {

inline constexpr uint8_t kUnusablePercentTable = 255;

// The panel's supported levels, read once at start-up.
struct PanelLevels {
    std::vector<uint8_t> levels;  // as WMI returns them, 1..101 entries
    uint8_t minLevel = 0;
    uint8_t maxLevel = 100;
    // Entry p: the level used for p percent. Entry 0 = 255 marks a level list that is not
    // ascending, whose percentages then go to the panel unchanged.
    std::array<uint8_t, 101> percent{};

    bool Usable() const { return !levels.empty() && percent[0] != kUnusablePercentTable; }
    // Percent shown for level `level`: its place in the list, or the level itself.
    uint32_t PercentOf(uint8_t level, uint32_t fallback) const;
};

// Builds the level data from a level list (empty data for an empty or oversized list).
PanelLevels MakePanelLevels(const std::vector<uint8_t>& levels);

}  // namespace lv
