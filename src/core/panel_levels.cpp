#include "core/panel_levels.h"

#include <algorithm>

namespace lv {
namespace {

constexpr std::size_t kMaxLevels = 101;

// numerator / denominator rounded to the nearest integer, halves up (both positive).
uint32_t RoundDiv(uint32_t numerator, uint32_t denominator) { return (2 * numerator + denominator) / (2 * denominator); }

}  // namespace

uint32_t PanelLevels::PercentOf(uint8_t level, uint32_t fallback) const {
    uint32_t percent = fallback;
    if (Usable()) {
        const auto it = std::find(levels.begin(), levels.end(), level);
        // With a single level there is no step to scale by; the min/max rule below decides.
        if (it != levels.end() && levels.size() > 1)
            percent = RoundDiv(static_cast<uint32_t>(it - levels.begin()) * 100, static_cast<uint32_t>(levels.size() - 1));
    }
    if (level == minLevel) percent = 0;
    if (level == maxLevel) percent = 100;
    return percent;
}

PanelLevels MakePanelLevels(const std::vector<uint8_t>& levels) {
    PanelLevels data;
    if (levels.empty() || levels.size() > kMaxLevels) return data;
    const auto count = static_cast<uint32_t>(levels.size());
    data.minLevel = 100;
    data.maxLevel = 0;
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t level = levels[i];
        data.levels.push_back(level);
        data.maxLevel = std::max(data.maxLevel, level);
        data.minLevel = std::min(data.minLevel, level);
        if (i > 0 && level <= levels[i - 1]) {
            data.minLevel = 0;
            data.maxLevel = 100;
            data.percent[0] = kUnusablePercentTable;
        }
        // From i = 1 on the first entry written is at least 1, so the unusable mark stays.
        for (uint32_t p = RoundDiv(i * 101, count); p <= 100; ++p) data.percent[p] = level;
    }
    return data;
}

}  // namespace lv
