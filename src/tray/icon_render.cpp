#include "tray/icon_render.h"

#include <array>
#include <string_view>

#include "common/muldiv.h"
#include "common/text.h"
#include "platform/windows_codes.h"

namespace lv {
namespace {

// The weight is configured by name; only "NORMAL" is ever configured today.
constexpr std::string_view kFontWeightName = "NORMAL";

constexpr int32_t FontWeight(std::string_view name) {
    if (name == "MEDIUM") return win::kFwMedium;
    if (name == "SEMIBOLD") return win::kFwSemiBold;
    if (name == "BOLD") return win::kFwBold;
    return win::kFwNormal;
}

uint8_t QualityFromAliasing(int32_t aliasing) {
    switch (aliasing) {
        case 2: return win::kClearTypeQuality;
        case 1: return win::kAntialiasedQuality;
        default: return win::kNonAntialiasedQuality;
    }
}

// A pixel of 0 stays transparent, so black text would vanish; the darkest colour that is
// not 0 looks the same.
uint32_t VisibleColour(uint32_t colour) { return colour == 0 ? 0x00000001u : colour; }

bool ReadsAs100(std::string_view text) {
    if (text.empty() || !IsDigit(text.front())) return false;
    return ParseDecimal(text) == 100;
}

bool ReadsAsNonZero(std::string_view text) {
    return !text.empty() && IsDigit(text.front()) && ParseDecimal(text) != 0;
}

// The contrast cell of a monitor without contrast: empty, "." (laptop panel) or "?" (silent).
bool HasContrast(std::string_view cell) { return !cell.empty() && cell.front() != '.' && cell.front() != '?'; }

struct CombinedRects {
    int32_t size;
    Rect brightness;
    Rect contrast;
};

// Hand-placed for the sizes Windows uses for small icons, so the two numbers overlap
// as little as the font allows; other sizes share the whole icon.
constexpr std::array<CombinedRects, 6> kCombinedRects{{
    {16, {0, -3, 16, 13}, {0, 3, 16, 19}},
    {20, {0, -3, 20, 17}, {0, 4, 20, 24}},
    {24, {0, -5, 24, 19}, {0, 4, 24, 28}},
    {28, {0, -5, 28, 23}, {1, 5, 29, 33}},
    {32, {0, -7, 32, 25}, {1, 6, 33, 38}},
    {36, {-1, -7, 35, 29}, {0, 6, 36, 42}},
}};

CombinedRects RectsFor(int32_t size) {
    for (const CombinedRects& rects : kCombinedRects)
        if (rects.size == size) return rects;
    const Rect whole{0, 0, size, size};
    return {size, whole, whole};
}

const std::string& SelectedCell(const Core& core, int column) {
    return core.list.Cell(static_cast<int>(core.SelectedIndex()), column);
}

// An empty cell on the combined icon would leave its half blank; "?" says why.
std::string CellOrQuestionMark(const Core& core, int column) {
    const std::string& cell = SelectedCell(core, column);
    return cell.empty() ? std::string(1, '?') : cell;
}

bool SelectedRowExists(const Core& core) { return static_cast<int>(core.SelectedIndex()) < core.list.Rows(); }

// The volume label shows "Vol. 50" or "Ton 50"; the number is what follows the prefix.
// A label still in the other language (written before a language change) loses its
// prefix too, and a label without either is taken whole.
std::string VolumeText(Core& core) {
    std::string label = core.platform.view.GetText(res::kVolumeLabel);
    const std::string_view own = core.German() ? "Ton " : "Vol. ";
    const std::string_view other = core.German() ? "Vol. " : "Ton ";
    if (std::string_view(label).starts_with(own)) return label.substr(own.size());
    if (std::string_view(label).starts_with(other)) return label.substr(other.size());
    return label;
}

IconPicture PlanSingleIcon(Core& core, IconKind kind, int32_t size) {
    const AppSettings& settings = core.settings;
    std::string text;
    uint32_t colour = 0;
    switch (kind) {
        case kBrightnessIcon:
            // No row at all (no monitor found) shows "?", as the combined icon does.
            text = SelectedRowExists(core) ? SelectedCell(core, kColumnBrightness) : "?";
            colour = settings.ColorBrightness;
            break;
        case kContrastIcon:
            text = SelectedRowExists(core) ? SelectedCell(core, kColumnContrast) : "?";
            colour = settings.ColorContrast;
            break;
        default:
            text = VolumeText(core);
            colour = settings.ColorVolume;
            break;
    }
    core.trayState.valueIs100 = ReadsAs100(text);

    const int32_t height = MulDiv(size, 125, 100);
    IconPicture picture;
    picture.size = size;
    picture.font.face = "Segoe UI";
    picture.font.height = height;
    picture.font.weight = FontWeight(kFontWeightName);
    picture.font.strikeOut = kind == kVolumeIcon && core.volume.volumeMuted;
    picture.font.quality = QualityFromAliasing(settings.aliasing);
    if (core.trayState.valueIs100) {
        // Three digits fit only narrowed, and narrowed glyphs smear when smoothed.
        picture.font.width = MulDiv(height, 270, 1000);
        picture.font.quality = win::kNonAntialiasedQuality;
    }
    if (!text.empty())
        picture.runs.push_back({text, Rect{0, 0, size, size}, VisibleColour(colour),
                                win::kDtSingleLine | win::kDtCenter | win::kDtVCenter});
    return picture;
}

IconPicture PlanCombinedIcon(Core& core, int32_t size) {
    const std::string brightness = CellOrQuestionMark(core, kColumnBrightness);
    const std::string contrast = CellOrQuestionMark(core, kColumnContrast);
    core.trayState.valueIs100 = ReadsAs100(brightness) || ReadsAs100(contrast);

    const int32_t height = MulDiv(MulDiv(size, 125, 100), 67, 100);
    IconPicture picture;
    picture.size = size;
    picture.font.face = "Consolas";
    picture.font.height = height;
    picture.font.width = core.trayState.valueIs100 ? MulDiv(height, 360, 1000) : 0;
    picture.font.weight = 0;
    picture.font.quality = win::kNonAntialiasedQuality;  // small digits stay crisp only unsmoothed

    const CombinedRects rects = RectsFor(size);
    picture.runs.push_back({brightness, rects.brightness, VisibleColour(core.settings.ColorAreaBrightness),
                            win::kDtSingleLine});
    picture.runs.push_back({contrast, rects.contrast, VisibleColour(core.settings.ColorAreaContrast),
                            win::kDtSingleLine | win::kDtRight | win::kDtBottom});
    return picture;
}

constexpr std::size_t kTipCapacity = 127;
constexpr std::size_t kHintLimit = 86;  // a longer text leaves no room for the wheel hint
constexpr std::size_t kDeviceNameCapacity = 63;

std::string NormalTooltip(Core& core) {
    const bool german = core.German();
    const std::string& contrastCell = SelectedCell(core, kColumnContrast);

    std::string tip = SelectedCell(core, kColumnName);
    tip += '\n';
    tip += core.platform.view.GetText(res::kBrightnessLabel);
    tip += '\n';
    if (HasContrast(contrastCell)) {
        tip += core.platform.view.GetText(res::kContrastLabel);
        tip += '\n';
    }
    const std::string_view preset = core.presetChoice.CurrentText();
    if (!preset.empty()) {
        tip += preset;
        // The gains only mean something in a user preset.
        if (ContainsNoCase(preset, "user")) {
            constexpr std::array<std::pair<ListColumn, std::string_view>, 3> kGains{
                {{kColumnRed, "  r "}, {kColumnGreen, " g "}, {kColumnBlue, " bl "}}};
            for (const auto& [column, prefix] : kGains) {
                const std::string& cell = SelectedCell(core, column);
                if (!ReadsAsNonZero(cell)) continue;
                tip += prefix;
                tip += cell;
            }
        }
        tip += '\n';
    }
    tip += german ? "Lautst\xE4rke " : "Volume ";
    tip += std::to_string(core.volume.volumePercent);
    tip += '\n';
    if (core.list.Rows() > 1) {
        if (tip.size() < kHintLimit)
            tip += german ? "nutze Mausrad (+ Taste 1-9 Monitorauswahl)" : "use mousewheel (+ key 1-9 selects monitor)";
    } else {
        tip += std::string_view(core.audioDeviceName).substr(0, kDeviceNameCapacity);
    }
    if (tip.size() > kTipCapacity) tip.resize(kTipCapacity);
    return tip;
}

}  // namespace

IconPicture PlanIconPicture(Core& core, IconKind kind, int32_t size) {
    core.trayState.valueIs100 = false;
    return kind == kCombinedIcon ? PlanCombinedIcon(core, size) : PlanSingleIcon(core, kind, size);
}

IconTooltip BuildIconTooltip(Core& core, IconKind kind) {
    // Once the wheel has been used over an icon, a tooltip would only cover the number
    // that is being changed.
    if (!core.settings.tooltips || core.trayState.wheelOverIcon) return {};
    IconTooltip tip;
    tip.slotTip = NormalTooltip(core);
    tip.recordTip = tip.slotTip;
    // A laptop panel alone: the contrast icon can only ever show ".", so its tooltip says
    // how to get rid of it.
    if (kind == kContrastIcon && SelectedCell(core, kColumnContrast).starts_with('.') &&
        core.Selected().isLaptopPanel != 0 && core.list.Rows() == 1)
        tip.recordTip = core.German() ? "Weil das Laptop-Display keinen Kontrast hat,\nk\xF6nnen Sie das "
                                        "Kontrast-Symbol\nin den Einstellungen abschalten"
                                      : "Because Laptop-Display has no contrast,\nyou can turn off "
                                        "contrast-icon\nin settings";
    return tip;
}

void ApplyAlphaRule(std::span<uint32_t> pixels) {
    for (uint32_t& pixel : pixels)
        if (pixel != 0) pixel |= 0xFF000000u;
}

void RenderIcon(Core& core, IconKind kind) {
    TrayState& tray = core.trayState;
    IconSlot& slot = tray.slots[kind];
    int32_t size = core.platform.system.SmallIconHeight();
    if (size <= 0) size = 16;  // the metric could not be read: the classic small icon
    const IconPicture picture = PlanIconPicture(core, kind, size);
    const IconHandle icon = core.platform.tray.RenderIcon(picture);
    if (icon != 0) {
        // A handle still waiting to be destroyed is no longer shown anywhere.
        if (slot.previousIcon != 0 && slot.previousIcon != slot.icon) core.platform.tray.DestroyIcon(slot.previousIcon);
        slot.previousIcon = slot.icon;
        slot.icon = icon;
    }
    // A failed drawing keeps the icon shown so far: the icon stays present and the shell
    // is given the old picture again.
    tray.iconRecord.icon = slot.icon;

    const IconTooltip tip = BuildIconTooltip(core, kind);
    if (!core.settings.tooltips || tray.wheelOverIcon) {
        for (IconSlot& each : tray.slots) each.tip.Clear();
        tray.iconRecord.tip.clear();
        tray.balloonRecord.tip.clear();
        return;
    }
    slot.tip = tip.slotTip;
    tray.iconRecord.tip = tip.recordTip;
}

}  // namespace lv
