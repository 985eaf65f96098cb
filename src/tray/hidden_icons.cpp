#include "tray/hidden_icons.h"

#include "core/timers.h"
#include "settings/settings_file.h"

namespace lv {
namespace {

// Misses advance by two per check: the seventh check slows down, the eleventh is the last.
constexpr uint64_t kSlowAfterMisses = 12;
constexpr uint64_t kStopAfterMisses = 22;

// CP1252 text: the German letters are escapes, as the source file is UTF-8.
constexpr std::string_view kWarningEnglish =
    "\r\n     There are hidden Lumivane icons!\r\n\r\n"
    "     Right click Taskbar, Settings, select icons\r\n"
    "     or drag and drop icon on taskbar.\r\n\r\n"
    "     Deselect unwanted icons in Lumivane-Settings.";
constexpr std::string_view kWarningGerman =
    "\r\n     versteckte Lumivane Symbole vorhanden!\r\n\r\n"
    "     Taskleiste rechts klicken, Einstellungen, Symbole ausw\xE4hlen\r\n"
    "     oder direkt mit der Maus das Symbol auf die Taskleiste ziehen.\r\n\r\n"
    "     Unerw\xFCnschte Symbole in Lumivane-Einstellungen abw\xE4hlen.";

// The power-event rule keeps its own copy of the counter; the notifications that come with
// registering the power settings at start-up are no change to act on.
void TakePowerChangeCount(Core& core) {
    HiddenIconCheck& hidden = core.trayState.hidden;
    if (hidden.powerChangeSeenSet) return;
    hidden.powerChangeSeen = core.powerChangeCount;
    hidden.powerChangeSeenSet = true;
}

void ShowWarning(Core& core) {
    HiddenIconCheck& hidden = core.trayState.hidden;
    WindowApi& window = core.platform.window;
    (void)window.SetTimer(timer::kHiddenWarning, timer::kHiddenWarningMs);
    hidden.warningShown = true;
    hidden.warningOpen = true;
    core.platform.tray.RunHiddenIconWarning(core.German());
    hidden.warningOpen = false;
    (void)window.KillTimer(timer::kHiddenIcons);
    hidden.hiddenIconFound = false;
    (void)window.KillTimer(timer::kHiddenWarning);
}

}  // namespace

void OnHiddenIconTimer(Core& core) {
    HiddenIconCheck& hidden = core.trayState.hidden;
    WindowApi& window = core.platform.window;
    TakePowerChangeCount(core);
    // Once the warning has been seen, nothing is checked again in this run; while it is
    // open, the checks go on only so that it can close itself.
    if (core.settings.nocheckhidden || (hidden.warningShown && !hidden.warningOpen)) {
        (void)window.KillTimer(timer::kHiddenIcons);
        return;
    }

    bool found = false;
    if (core.platform.tray.ScanOverflowArea(core.trayState.iconRecord.tip, found) != OverflowScan::Scanned)
        return;  // nothing learnt: neither a miss nor a reason to close the warning
    hidden.hiddenIconFound = found;
    if (hidden.warningOpen) return;

    if (found) {
        if (!core.platform.tray.HiddenIconWarningOpen()) ShowWarning(core);
        return;
    }
    if (++hidden.hiddenCheckMisses >= kSlowAfterMisses) (void)window.SetTimer(timer::kHiddenIcons, timer::kHiddenIconsSlowMs);
    if (++hidden.hiddenCheckMisses >= kStopAfterMisses) (void)window.KillTimer(timer::kHiddenIcons);
}

void OnHiddenWarningTimer(Core& core) {
    if (core.trayState.hidden.hiddenIconFound || !core.platform.tray.HiddenIconWarningOpen()) return;
    (void)core.platform.window.KillTimer(timer::kHiddenWarning);
    core.platform.tray.CloseHiddenIconWarning();
}

std::string_view HiddenWarningText(bool german) { return german ? kWarningGerman : kWarningEnglish; }

void OnHiddenWarningCheckBox(Core& core, bool checked) { core.settings.nocheckhidden = checked; }

void OnHiddenWarningClosed(Core& core) { SaveAllSettings(core); }

}  // namespace lv
