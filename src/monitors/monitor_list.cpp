#include "monitors/monitor_list.h"

#include <algorithm>
#include <string>

#include "common/text.h"
#include "monitors/enumeration.h"

namespace lv {
namespace {

constexpr const char* kInputQuestionCaption[2] = {"Click No if you are unsure!", "im Zweifelsfall klicke Nein!"};
constexpr const char* kInputQuestionText[2] = {
    "Click No if you are unsure!\n\nClick Yes if you really want to change monitor-input,\nmonitor may stop displaying "
    "windows-system\nand display data from the newly selected input.\nIf you want to select the original "
    "monitor-input,\nyou may have to use the monitor-buttons.",
    "im Zweifelsfall klicke Nein!\n\nKlicke Ja wenn Du wirklich den Monitor-Eingang wechseln willst,\ndanach werden "
    "wom\xF6glich anstatt windows die Daten\nvon dem am neuen Eingang angeschlossenen Ger\xE4t angezeigt.\nWenn Du auf "
    "den alten Monitor-Eingang zur\xFC" "ck wechseln willst,\nmusst Du hierzu wom\xF6glich die Monitor-Kn\xF6pfe "
    "benutzen."};

// Value of an input item: a name of the table, or a number 1..31 at the start of the text.
int InputValueOf(std::string_view text) {
    for (int value = 1; value <= kNamedInputs; ++value)
        if (text == InputName(value)) return value;
    std::size_t start = 0;
    while (start < text.size() && text[start] == ' ') ++start;
    const std::string_view word = text.substr(start, 15);
    if (word.empty() || !IsDigit(word[0])) return 0;
    const uint32_t number = ParseDecimal(word);
    return (number >= 1 && number <= kMaxInput) ? static_cast<int>(number) : 0;
}

ChoiceModel& ModelOf(Core& core, int controlId) {
    return controlId == res::kInput ? core.inputChoice : core.presetChoice;
}

}  // namespace

void ClearList(Core& core) {
    core.list.Clear();
    core.platform.view.SetListRowCount(0);
}

int AddListRow(Core& core, std::string_view text) {
    if (!core.list.AddRow(text)) return -1;
    const int row = core.list.Rows() - 1;
    core.platform.view.SetListRowCount(core.list.Rows());
    core.platform.view.SetListCell(row, kColumnName, text);
    return row;
}

void SetListCell(Core& core, int row, int column, std::string_view text) {
    core.list.SetCell(row, column, text);
    core.platform.view.SetListCell(row, column, text);
}

uint32_t ShownValue(const MonitorEntry& entry, int column) {
    switch (column) {
        case kColumnBrightness: return std::min<uint32_t>(entry.brightness, 100);
        case kColumnContrast: return std::min<uint32_t>(entry.contrast, 100);
        case kColumnRed: return std::min<uint32_t>(entry.red, 255);
        case kColumnGreen: return std::min<uint32_t>(entry.green, 255);
        case kColumnBlue: return std::min<uint32_t>(entry.blue, 255);
        default: return 0;
    }
}

void ShowRowValues(Core& core, int row) {
    if (row < 0 || row >= core.list.Rows() || core.list.IsSilent(row)) return;
    const MonitorEntry& entry = core.table[static_cast<std::size_t>(row)];
    SetListCell(core, row, kColumnBrightness, std::to_string(ShownValue(entry, kColumnBrightness)));
    if (core.list.IsPanel(row)) return;
    for (int column = kColumnContrast; column <= kColumnBlue; ++column)
        SetListCell(core, row, column, std::to_string(ShownValue(entry, column)));
}

void SelectListRow(Core& core) {
    const int row = static_cast<int>(core.selectedMonitor);
    core.list.SetSelectedRow(row);
    core.platform.view.SelectListRow(row);
}

void FillChoices(Core& core, const MonitorEntry& entry) {
    ChoiceModel presets;
    for (int value = 1; value <= kMaxPreset; ++value)
        if (!entry.presetNames[static_cast<std::size_t>(value)].Empty()) presets.items.emplace_back(PresetName(value));
    for (std::size_t i = 0; i < presets.items.size(); ++i)
        if (presets.items[i] == entry.presetNames[0].View()) presets.current = static_cast<int>(i);

    ChoiceModel inputs;
    for (int value = 1; value <= kMaxInput; ++value)
        if (!entry.inputNames[static_cast<std::size_t>(value)].Empty()) inputs.items.push_back(InputName(value));
    for (std::size_t i = 0; i < inputs.items.size(); ++i)
        if (inputs.items[i] == entry.inputNames[0].View()) inputs.current = static_cast<int>(i);

    core.presetChoice = std::move(presets);
    core.inputChoice = std::move(inputs);
    PopupView& view = core.platform.view;
    view.SetChoiceItems(res::kColourPreset, core.presetChoice.items);
    view.SetChoiceCurrent(res::kColourPreset, core.presetChoice.current);
    view.SetChoiceItems(res::kInput, core.inputChoice.items);
    view.SetChoiceCurrent(res::kInput, core.inputChoice.current);
}

void SetChoiceCurrent(Core& core, int controlId, int index) {
    ChoiceModel& model = ModelOf(core, controlId);
    if (index < -1 || index >= static_cast<int>(model.items.size())) index = -1;
    model.current = index;
    core.platform.view.SetChoiceCurrent(controlId, index);
}

void OnPresetChoiceChanged(Core& core) {
    const std::string_view text = core.presetChoice.CurrentText();
    if (core.presetChoice.current < 0) return;
    int preset = 0;
    for (int value = 1; value <= kMaxPreset && preset == 0; ++value)
        if (text == PresetName(value)) preset = value;
    core.Selected().pendingPreset = preset;
    core.RefreshPopup(0);
}

void OnInputChoiceChanged(Core& core) {
    if (core.inputConfirmOpen || core.inputChoice.current < 0) return;
    const int value = InputValueOf(core.inputChoice.CurrentText());
    core.Selected().pendingInput = 0;
    // The question's own message loop may run command lines that select another monitor
    // or find another set: the answer belongs to the monitor asked about.
    const std::size_t asked = core.SelectedIndex();
    const std::string fingerprint = MonitorFingerprint(core);
    if (core.platform.view.IsVisible()) {
        // The user picked it: a wrong input can leave the screen dark, so ask first.
        const int german = core.German() ? 1 : 0;
        core.inputConfirmOpen = true;
        const bool yes = core.platform.view.AskYesNo(kInputQuestionCaption[german], kInputQuestionText[german]);
        core.inputConfirmOpen = false;
        if (!yes) {
            const int current = core.inputChoice.FindNoCase(core.Selected().inputNames[0].View());
            if (current >= 0) SetChoiceCurrent(core, res::kInput, current);
            return;
        }
        if (MonitorFingerprint(core) != fingerprint) return;
    }
    core.table[asked].pendingInput = value;
    core.RefreshPopup(0);
}

}  // namespace lv
