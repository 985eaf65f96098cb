#include "audio/volume.h"

#include "platform/windows_codes.h"

namespace lv {

void SetVolume(Core& core, float level) {
    (void)core.platform.audio.SetMasterVolumeLevelScalar(level);
    if (!core.platform.system.IsWindows8OrLater()) core.lastChangedKind = ChangeKind::Volume;
}

void SetMute(Core& core, bool muted) { (void)core.platform.audio.SetMute(muted); }

void ShowVolumeIndicator(Core& core, bool upFirst) {
    if (!core.platform.system.IsWindows8OrLater()) return;
    WindowApi& window = core.platform.window;
    window.SendAppCommand(upFirst ? win::kAppCommandVolumeUp : win::kAppCommandVolumeDown);
    window.SendAppCommand(upFirst ? win::kAppCommandVolumeDown : win::kAppCommandVolumeUp);
}

}  // namespace lv
