#include "popup/list_actions.h"

#include "core/requests.h"
#include "monitors/monitor_list.h"

namespace lv {

namespace {

int FirstAnsweringRow(const MonitorList& list) {
    for (int row = 0; row < list.Rows(); ++row)
        if (!list.IsSilent(row)) return row;
    return -1;
}

bool IsIgnored(const MonitorList& list, int row) { return list.Cell(row, kColumnName).starts_with(kIgnorePrefix); }

// A row index from a message or an earlier right click: the list may have changed since.
int CheckedRow(const Core& core, int row) { return (row >= 0 && row < core.list.Rows()) ? row : -1; }

void AppendLine(std::string& text, std::string_view field) {
    if (field.empty()) return;
    text += field;
    text += "\r\n";
}

void AppendNumber(std::string& text, int64_t value) {
    text += std::to_string(value);
    text += "\r\n";
}

}  // namespace

void SelectFromList(Core& core, int listRow) {
    core.selectedMonitor = 0;
    core.forceReselect = true;
    const int clicked = CheckedRow(core, listRow);
    int chosen = FirstAnsweringRow(core.list);
    if (clicked >= 0 && (!core.list.IsSilent(clicked) || chosen < 0)) chosen = clicked;
    if (chosen >= 0) core.selectedMonitor = chosen;
    SelectListRow(core);
    core.RefreshPopup(1);
}

ListMenuChecks ListMenuChecksFor(const Core& core, int row) {
    if (CheckedRow(core, row) < 0) return {};
    const bool ignored = IsIgnored(core.list, row);
    return {ignored, !ignored};
}

void RememberMenuRow(Core& core, int listRow) { core.menuRow = CheckedRow(core, listRow); }

void IgnoreMonitor(Core& core) {
    const MonitorList& list = core.list;
    const int row = CheckedRow(core, core.menuRow);
    if (row < 0 || list.Rows() < 2) {
        RequestRestart(core);
        return;
    }
    bool otherUsable = false;
    for (int other = 0; other < list.Rows(); ++other)
        if (other != row && !IsIgnored(list, other) && !list.IsSilent(other)) otherUsable = true;
    if (!otherUsable) return;  // the last working monitor stays
    const std::string name = list.Cell(row, kColumnName);
    if (name.starts_with(kIgnorePrefix)) {
        RequestRestart(core);
        return;
    }
    // The ignore list holds names: a name another row shares would silence that row too.
    for (int other = 0; other < list.Rows(); ++other) {
        const std::string_view otherName = list.Cell(other, kColumnName);
        if (other != row && (otherName == name || otherName == std::string(kIgnorePrefix) + name)) return;
    }
    SetListCell(core, row, kColumnName, std::string(kIgnorePrefix) + name);
    core.table[static_cast<std::size_t>(row)].ignoreName.Assign(std::string_view(name).substr(0, 259));
    RequestRestart(core);
}

void UtilizeMonitor(Core& core) {
    const int row = CheckedRow(core, core.menuRow);
    if (row < 0 || !IsIgnored(core.list, row)) {
        RequestRestart(core);
        return;
    }
    const std::string name = core.list.Cell(row, kColumnName).substr(kIgnorePrefix.size());
    SetListCell(core, row, kColumnName, name);
    for (MonitorEntry& entry : core.table)
        if (entry.ignoreName == name) entry.ignoreName.Clear();
    RequestRestart(core);
}

std::string DebugText(const Core& core) {
    std::string text;
    for (const MonitorEntry& entry : core.table) {
        AppendLine(text, entry.modelName.View());
        AppendLine(text, entry.capabilitiesModel.View());
        AppendLine(text, entry.connectionName.View());
        AppendLine(text, entry.serialNumber.View());
        AppendLine(text, entry.capabilitiesString.View());
        for (int64_t value : {int64_t{entry.capabilitiesAttempt}, int64_t{entry.brightnessMin},
                              int64_t{entry.brightnessMax}, int64_t{entry.contrastMin}, int64_t{entry.contrastMax},
                              int64_t{entry.redMin}, int64_t{entry.redMax}})
            AppendNumber(text, value);
        if (entry.isLaptopPanel) {
            std::string levels;
            for (uint8_t level : core.panel.levels) {
                if (!levels.empty()) levels += ' ';
                levels += std::to_string(level);
            }
            text += levels;
            text += "\r\n";
        }
        text += "----------\r\n";
    }
    if (text.size() > kDebugTextLimit) text.resize(kDebugTextLimit);
    return text;
}

HoverTip HoverTipFor(const Core& core, int hotItem) {
    HoverTip tip;
    const int row = CheckedRow(core, hotItem);
    if (row < 0) return tip;
    const MonitorEntry& entry = core.table[static_cast<std::size_t>(row)];
    const std::string year = entry.yearOfManufacture != 0 ? std::to_string(entry.yearOfManufacture) : std::string();
    const std::pair<std::string_view, std::string_view> lines[] = {
        {"Monitorname             ", entry.modelName.View()},
        {"Model                       ", entry.capabilitiesModel.View()},
        {"Manufacturer              ", entry.manufacturerName.View()},
        {"ManufacturerID             ", entry.manufacturerId.View()},
        {"Productcode                 ", entry.productCode.View()},
        {"Monitorinfo       ", entry.description.View()},
        {"Serialnumber          ", entry.serialNumber.View()},
        {"Connection                  ", entry.connectionName.View()},
        {"Year of manufacture    ", year},
    };
    for (const auto& [label, value] : lines) {
        if (value.empty()) continue;
        tip.text += label;
        tip.text += value;
        tip.text += '\n';
    }
    tip.text += core.German() ? "\nRechtsklick -> reaktionslosen Monitor ignorieren"
                              : "\nRight click -> ignore or check unresponsive monitor";
    const Rect& r = entry.monitorRect;
    tip.title = std::string(entry.deviceName.View()) + "        " + std::to_string(r.right - r.left) + "," +
                std::to_string(r.bottom - r.top);
    return tip;
}

void OnListClick(Core& core, int selectedRow) { SelectFromList(core, selectedRow); }

void OnListRightClick(Core& core, int selectedRow) {
    RememberMenuRow(core, selectedRow);
    const ListMenuChecks checks = ListMenuChecksFor(core, core.menuRow);
    core.platform.window.ShowListMenu(core.cursorPos, core.German(), checks.ignore, checks.utilize);
    SelectFromList(core, selectedRow);
}

void OnListHotTrack(Core& core, int hotItem) {
    const HoverTip tip = HoverTipFor(core, hotItem);
    core.infoTipText = tip.text.substr(0, 2047);
    if (!tip.title.empty()) core.platform.view.SetInfoTipTitle(tip.title);
    core.platform.view.UpdateInfoTip(core.infoTipText);
}

void CopyDebugInfo(Core& core) { (void)core.platform.view.CopyToClipboard(DebugText(core)); }

bool OnListMenuCommand(Core& core, uint32_t id) {
    switch (id) {
        case res::kIgnoreMonitor:
            IgnoreMonitor(core);
            return true;
        case res::kUtilizeMonitor:
            UtilizeMonitor(core);
            return true;
        case res::kCopyDebugInfo:
            CopyDebugInfo(core);
            return true;
        default:
            return false;
    }
}

}  // namespace lv
