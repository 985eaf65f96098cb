#include "popup/popup_layout.h"

#include <vector>

#include "common/muldiv.h"

namespace lv {
namespace {

std::vector<int> MakeValueAreaControls() {
    std::vector<int> ids{res::kBrightnessSlider, res::kContrastSlider, res::kBrightnessLabel, res::kContrastLabel,
                         res::kVolumeSlider,     res::kVolumeLabel,    res::kMute,            res::kLaptopTextEn,
                         res::kLaptopTextDe,     res::kLaptopLevels,   res::kUnusedSlider,    res::kUnusedPercent,
                         res::kShutOff,          res::kShutOffWide};
    for (int id = res::kBrightnessPresetFirst; id <= res::kVolumePresetLast; ++id) ids.push_back(id);
    return ids;
}

std::vector<int> MakeControlsBelowList() {
    std::vector<int> ids = MakeValueAreaControls();
    for (int id : {res::kRedSlider, res::kGreenSlider, res::kBlueSlider, res::kRedLabel, res::kGreenLabel,
                   res::kBlueLabel, res::kFactoryReset, res::kInputGroup, res::kInput, res::kColourPreset,
                   res::kRgbHintEn, res::kRgbHintDe})
        ids.push_back(id);
    return ids;
}

const std::vector<int> kValueAreaControls = MakeValueAreaControls();
const std::vector<int> kControlsBelowList = MakeControlsBelowList();

int32_t Width(Rect rect) { return rect.right - rect.left; }
int32_t Height(Rect rect) { return rect.bottom - rect.top; }

// Column shares in percent: "Monitor", "Bri.", "Con.", then each gain column.
struct ColumnShares {
    int32_t name, brightness, contrast, gain;
};

ColumnShares SharesFor(bool showRgb, bool showVolume) {
    if (showRgb) return showVolume ? ColumnShares{28, 17, 17, 12} : ColumnShares{31, 15, 15, 12};
    return showVolume ? ColumnShares{43, 25, 25, 1} : ColumnShares{43, 24, 24, 1};
}

}  // namespace

PopupMetrics ComputePopupMetrics(const PopupMeasurements& measured, int rows) {
    PopupMetrics metrics;
    metrics.measured = true;
    metrics.rowHeight = Height(measured.row0);
    metrics.listHeight = rows * metrics.rowHeight + measured.headerHeight +
                         (Height(measured.list.window) - Height(measured.list.client));
    metrics.fullWidth = Width(measured.popup.window);
    metrics.widthNoVolume = MulDiv(metrics.fullWidth, 788, 1000);
    metrics.widthNoColour = MulDiv(metrics.fullWidth, 628, 1000);
    metrics.widthNeither = MulDiv(metrics.fullWidth, 425, 1000);
    metrics.colourShift = measured.brightnessLabel.left;
    metrics.margin = measured.list.window.left;
    metrics.listTop = measured.list.window.top;
    metrics.frameWidth = measured.popup.client.left - measured.popup.window.left;
    // The check boxes sit half a row below the list.
    metrics.checkTop = metrics.listHeight + metrics.rowHeight * 5 / 10 + measured.showVolumeCheck.top;
    metrics.checkHeight = Height(measured.showVolumeCheck);
    return metrics;
}

int32_t PopupWidth(const PopupMetrics& metrics, bool showRgb, bool showVolume) {
    if (showRgb) return showVolume ? metrics.fullWidth : metrics.widthNoVolume;
    return showVolume ? metrics.widthNoColour : metrics.widthNeither;
}

std::array<int32_t, 6> ListColumnWidths(int32_t innerWidth, bool showRgb, bool showVolume) {
    const ColumnShares shares = SharesFor(showRgb, showVolume);
    const int32_t gain = MulDiv(innerWidth, shares.gain, 100);
    return {MulDiv(innerWidth, shares.name, 100), MulDiv(innerWidth, shares.brightness, 100),
            MulDiv(innerWidth, shares.contrast, 100), gain, gain, gain};
}

int32_t ValueColumnShift(const PopupMetrics& metrics, int32_t brightnessLabelLeft, bool showRgb) {
    const int32_t shift = metrics.colourShift - metrics.margin;
    const bool shifted = brightnessLabelLeft == metrics.colourShift;
    if (showRgb && !shifted) return shift;
    if (!showRgb && shifted) return -shift;
    return 0;
}

Rect Offset(Rect rect, int32_t dx, int32_t dy) {
    return {rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy};
}

std::span<const int> ValueAreaControls() { return kValueAreaControls; }
std::span<const int> ControlsBelowList() { return kControlsBelowList; }

void LayoutPopupAtStartup(Core& core) {
    PopupView& view = core.platform.view;
    core.popupMetrics = {};
    PopupMeasurements measured;
    // An empty list has no row 0: a temporary row gives the height.
    const bool temporaryRow = core.list.Rows() == 0;
    if (temporaryRow) view.SetListRowCount(1);
    WindowGeometry check;
    WindowGeometry label;
    const bool ok = view.GetPopupGeometry(measured.popup) &&
                    view.GetControlGeometry(res::kMonitorList, measured.list) &&
                    view.GetListHeaderHeight(measured.headerHeight) && view.GetListRowRect(0, measured.row0) &&
                    view.GetControlGeometry(res::kShowVolume, check) &&
                    view.GetControlGeometry(res::kBrightnessLabel, label);
    if (temporaryRow) view.SetListRowCount(0);
    if (!ok || Height(measured.row0) <= 0) return;
    measured.showVolumeCheck = check.window;
    measured.brightnessLabel = label.window;
    core.popupMetrics = ComputePopupMetrics(measured, core.list.Rows());
    const PopupMetrics& metrics = core.popupMetrics;

    LayoutPopup(core);
    const int32_t down = metrics.listHeight + metrics.rowHeight * 5 / 10;
    for (int id : ControlsBelowList()) {
        WindowGeometry control;
        if (view.GetControlGeometry(id, control)) view.MoveControl(id, Offset(control.window, 0, down));
    }
    WindowGeometry popup;
    WindowGeometry lowestPreset;
    if (!view.GetPopupGeometry(popup) || !view.GetControlGeometry(res::kBrightnessPresetFirst, lowestPreset)) return;
    const int32_t bottom = popup.client.top + lowestPreset.window.bottom + metrics.rowHeight * 6 / 10;
    view.SizePopup(Width(popup.window), bottom - popup.window.top);
    if (view.GetPopupGeometry(popup)) core.expectedPopupHeight = Height(popup.client);
}

void LayoutPopup(Core& core) {
    const PopupMetrics& metrics = core.popupMetrics;
    if (!metrics.measured) return;
    PopupView& view = core.platform.view;
    const bool showRgb = core.settings.showRGB;
    const bool showVolume = core.settings.showvolume;
    WindowGeometry popup;
    if (!view.GetPopupGeometry(popup)) return;
    const int32_t width = PopupWidth(metrics, showRgb, showVolume);
    view.SizePopup(width, Height(popup.window));

    const int32_t inner = width - 2 * (metrics.margin + metrics.frameWidth);
    const int32_t listRight = metrics.margin + inner;
    // The columns shrink before the list does: a list narrowed around wider columns grows
    // scroll bars, and once both are there each keeps the other (the second row hides
    // behind the horizontal one) even after the columns fit.
    const std::array<int32_t, 6> columns = ListColumnWidths(inner, showRgb, showVolume);
    for (int column = 0; column < 6; ++column) view.SetListColumnWidth(column, columns[static_cast<std::size_t>(column)]);
    view.MoveControl(res::kMonitorList, {metrics.margin, metrics.listTop, listRight, metrics.listTop + metrics.listHeight});
    WindowGeometry control;
    if (view.GetControlGeometry(res::kClose, control)) {
        const int32_t left = listRight + metrics.frameWidth;
        view.MoveControl(res::kClose, {left, control.window.top, left + Width(control.window), control.window.bottom});
    }
    const int32_t checkBottom = metrics.checkTop + metrics.checkHeight;
    if (view.GetControlGeometry(res::kShowVolume, control))
        view.MoveControl(res::kShowVolume, {listRight - Width(control.window), metrics.checkTop, listRight, checkBottom});
    if (view.GetControlGeometry(res::kShowRgb, control))
        view.MoveControl(res::kShowRgb,
                         {metrics.margin, metrics.checkTop, metrics.margin + Width(control.window), checkBottom});

    if (view.GetControlGeometry(res::kBrightnessLabel, control)) {
        const int32_t dx = ValueColumnShift(metrics, control.window.left, showRgb);
        if (dx != 0) {
            for (int id : ValueAreaControls()) {
                if (view.GetControlGeometry(id, control)) view.MoveControl(id, Offset(control.window, dx, 0));
            }
        }
    }
    view.Show(res::kShutOffWide, showVolume);
    view.Show(res::kShutOff, !showVolume);
}

}  // namespace lv
