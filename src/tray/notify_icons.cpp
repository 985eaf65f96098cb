#include "tray/notify_icons.h"

#include <optional>
#include <string>

#include "core/requests.h"
#include "core/timers.h"
#include "platform/windows_codes.h"
#include "tray/icon_render.h"

namespace lv {
namespace {

constexpr std::string_view kBalloonHint[2] = {"turn off notifications in settings",
                                              "Benachrichtigungen abstellbar in Einstellungen"};
constexpr std::size_t kMaxBalloonTitle = 39;
constexpr std::size_t kMaxBalloonText = 199;
constexpr std::size_t kMaxSummaryLine = 59;

bool Shown(const AppSettings& settings, IconKind kind) {
    switch (kind) {
        case kVolumeIcon:
            return settings.showvolumeicon;
        case kContrastIcon:
            return settings.showcontrasticon;
        case kBrightnessIcon:
            return settings.showbrightnessicon;
        case kCombinedIcon:
            return settings.showcombinedicon;
    }
    return false;
}

bool Present(const IconSlot& slot) { return slot.icon != 0 || slot.added; }

std::string Cut(std::string text, std::size_t limit) {
    if (text.size() > limit) text.resize(limit);
    return text;
}

// The icon a balloon of `kind` appears at; none when every icon is off.
std::optional<IconKind> BalloonIcon(const AppSettings& settings, ChangeKind kind) {
    if (kind == ChangeKind::Brightness && settings.showbrightnessicon) return kBrightnessIcon;
    if (kind == ChangeKind::Contrast && settings.showcontrasticon) return kContrastIcon;
    if (kind == ChangeKind::Volume && settings.showvolumeicon) return kVolumeIcon;
    for (IconKind icon : {kBrightnessIcon, kContrastIcon, kVolumeIcon, kCombinedIcon})
        if (Shown(settings, icon)) return icon;
    return std::nullopt;
}

int TitleLabel(ChangeKind kind) {
    switch (kind) {
        case ChangeKind::Brightness:
            return res::kBrightnessLabel;
        case ChangeKind::Contrast:
            return res::kContrastLabel;
        case ChangeKind::Volume:
            return res::kVolumeLabel;
        case ChangeKind::Red:
        case ChangeKind::Green:
        case ChangeKind::Blue:
            return res::kRedLabel + (static_cast<int>(kind) - static_cast<int>(ChangeKind::Red));
        default:
            return 0;
    }
}

bool TooltipsOff(const Core& core) { return !core.settings.tooltips || core.trayState.wheelOverIcon; }

void AddIcon(Core& core, IconKind kind) {
    TrayState& tray = core.trayState;
    TrayApi& api = core.platform.tray;
    if (!api.NotifyIcon(NotifyMessage::Add, tray.iconRecord)) {
        for (int attempt = 0;; ++attempt) {
            if (attempt > kMaxGuidRetries) {
                // The shell will not take the icon: a program without icons cannot be used.
                RequestQuit(core);
                return;
            }
            tray.guids[kind] = IconGuid(kind, static_cast<uint16_t>(GuidCounter(tray.guids[kind]) + 1));
            core.settings.iconIdentifierTails[kind] = GuidCounter(tray.guids[kind]);
            tray.iconRecord.guid = tray.defaultIconGuid = tray.guids[kind];
            if (api.NotifyIcon(NotifyMessage::Add, tray.iconRecord)) break;
        }
    }
    tray.slots[kind].added = true;
    (void)api.NotifyIcon(NotifyMessage::SetVersion, tray.iconRecord);
}

}  // namespace

Guid IconGuid(IconKind kind, uint16_t counter) {
    return Guid{0x4C756D69, 0x7661, 0x6E65,
                {'I', 'c', 'o', 'n', static_cast<uint8_t>(kind), 0, static_cast<uint8_t>(counter >> 8),
                 static_cast<uint8_t>(counter & 0xFF)}};
}

uint16_t GuidCounter(const Guid& guid) { return static_cast<uint16_t>(guid.data4[6] << 8 | guid.data4[7]); }

void InitialiseNotifyIcons(Core& core) {
    TrayState& tray = core.trayState;
    for (int kind = 0; kind < kIconCount; ++kind) {
        tray.guids[kind] = IconGuid(static_cast<IconKind>(kind), 0);
        core.settings.iconIdentifierTails[kind] = 0;
    }
    tray.iconRecord = {};
    tray.iconRecord.flags = kNotifyIconFlags;
    tray.balloonRecord = {};
    tray.balloonRecord.flags = kNotifyBalloonFlags;
    tray.balloonRecord.infoFlags = kBalloonInfoFlags;
}

void IconOperation(Core& core, IconKind kind, IconAction action) {
    TrayState& tray = core.trayState;
    TrayApi& api = core.platform.tray;
    IconSlot& slot = tray.slots[kind];
    RenderIcon(core, kind);
    tray.iconRecord.icon = slot.icon;
    tray.iconRecord.guid = tray.guids[kind];
    tray.iconRecord.id = kind;
    tray.iconRecord.callbackMessage = kIconCallbackBase + kind;
    tray.iconRecord.flags = kNotifyIconFlags;
    tray.defaultIconGuid = tray.guids[kind];
    switch (action) {
        case IconAction::Modify:
            (void)api.NotifyIcon(NotifyMessage::Modify, tray.iconRecord);
            break;
        case IconAction::Remove: {
            NotifyIconRecord record = tray.iconRecord;
            record.flags = win::kNifInfo | win::kNifGuid;  // clears a balloon of the icon
            record.infoTitle.clear();
            record.infoText.clear();
            (void)api.NotifyIcon(NotifyMessage::Modify, record);
            record.flags = win::kNifGuid;
            (void)api.NotifyIcon(NotifyMessage::Delete, record);
            api.DestroyIcon(slot.icon);
            slot.icon = 0;
            slot.added = false;
            break;
        }
        case IconAction::Add:
            AddIcon(core, kind);
            break;
    }
    if (slot.previousIcon) api.DestroyIcon(slot.previousIcon);
    slot.previousIcon = 0;
}

void UpdateIcons(Core& core) {
    const AppSettings& settings = core.settings;
    for (IconKind kind : kIconUpdateOrder)
        if (Present(core.trayState.slots[kind]) && !Shown(settings, kind)) IconOperation(core, kind, IconAction::Remove);
    for (IconKind kind : kIconUpdateOrder)
        if (Present(core.trayState.slots[kind]) && Shown(settings, kind)) IconOperation(core, kind, IconAction::Modify);
    for (IconKind kind : kIconUpdateOrder)
        if (!Present(core.trayState.slots[kind]) && Shown(settings, kind)) IconOperation(core, kind, IconAction::Add);
}

void CopyBalloonTooltip(Core& core) {
    TrayState& tray = core.trayState;
    tray.balloonRecord.tip.clear();
    for (int kind = 0; kind < kIconCount; ++kind)
        if (tray.guids[kind] == tray.balloonIcon) tray.balloonRecord.tip = tray.slots[kind].tip.Str();
}

void ShowValueNotification(Core& core, ChangeKind kind) {
    TrayState& tray = core.trayState;
    if (kind == ChangeKind::BlockBalloons) {
        tray.balloonBlocked = true;
        (void)core.platform.window.SetTimer(timer::kNotificationGuard, timer::kNotificationGuardMs);
        return;
    }
    if (kind == ChangeKind::NoBalloon || tray.balloonBlocked) return;
    PopupView& view = core.platform.view;
    if (core.menuOpen || !core.settings.notifications || view.IsVisible() || tray.settingsDialogOpen) return;

    NotifyIconRecord& balloon = tray.balloonRecord;
    balloon.flags = kNotifyBalloonFlags;
    balloon.infoFlags = kBalloonInfoFlags;
    balloon.infoTitle.clear();
    balloon.infoText = kBalloonHint[core.German() ? 1 : 0];
    if (const int label = TitleLabel(kind)) {
        balloon.infoTitle = Cut(view.GetText(label), kMaxBalloonTitle);
    } else {
        balloon.infoText = Cut(view.GetText(res::kBrightnessLabel), kMaxSummaryLine) + "\n" +
                           Cut(view.GetText(res::kContrastLabel), kMaxSummaryLine) + "\n" +
                           Cut(view.GetText(res::kVolumeLabel), kMaxSummaryLine);
    }
    balloon.infoText = Cut(balloon.infoText, kMaxBalloonText);
    if (const std::optional<IconKind> icon = BalloonIcon(core.settings, kind)) {
        balloon.guid = tray.guids[*icon];
        balloon.id = *icon;
        tray.balloonIcon = balloon.guid;
    }
    CopyBalloonTooltip(core);
    if (TooltipsOff(core)) {
        balloon.tip.clear();
        tray.iconRecord.tip.clear();
        for (IconSlot& slot : tray.slots) slot.tip.Clear();
    }
    if (!BalloonIcon(core.settings, kind)) return;
    (void)core.platform.tray.NotifyIcon(NotifyMessage::Modify, balloon);
    (void)core.platform.window.SetTimer(timer::kNotification, timer::kAfterBalloonMs);
}

}  // namespace lv
