#include "platform/sim/sim_tray.h"

#include <cstring>

#include "platform/windows_codes.h"

namespace lv::sim {

std::string SimTrayApi::Key(const Guid& guid) {
    std::string key(16, '\0');
    std::memcpy(key.data(), &guid.data1, 4);
    std::memcpy(key.data() + 4, &guid.data2, 2);
    std::memcpy(key.data() + 6, &guid.data3, 2);
    std::memcpy(key.data() + 8, guid.data4, 8);
    return key;
}

IconHandle SimTrayApi::RenderIcon(const IconPicture& picture) {
    const IconHandle icon = nextIcon_++;
    live_[icon] = picture;
    return icon;
}

void SimTrayApi::DestroyIcon(IconHandle icon) { live_.erase(icon); }

const IconPicture* SimTrayApi::Picture(IconHandle icon) const {
    const auto it = live_.find(icon);
    return it == live_.end() ? nullptr : &it->second;
}

bool SimTrayApi::NotifyIcon(NotifyMessage message, const NotifyIconRecord& record) {
    const std::string key = Key(record.guid);
    bool ok = true;
    switch (message) {
        case NotifyMessage::Add:
            if (refusedAdds_ > 0) {
                --refusedAdds_;
                ok = false;
            } else {
                ok = shown_.emplace(key, record).second;
            }
            break;
        case NotifyMessage::Modify: {
            const auto it = shown_.find(key);
            ok = it != shown_.end();
            if (ok) {
                if (record.flags & win::kNifIcon) it->second.icon = record.icon;
                if (record.flags & win::kNifTip) it->second.tip = record.tip;
                if (record.flags & win::kNifInfo) {
                    it->second.infoTitle = record.infoTitle;
                    it->second.infoText = record.infoText;
                }
            }
            break;
        }
        case NotifyMessage::Delete:
            ok = shown_.erase(key) != 0;
            break;
        case NotifyMessage::SetVersion:
            ok = shown_.count(key) != 0;
            break;
    }
    calls_.push_back({message, record, ok});
    return ok;
}

std::optional<NotifyIconRecord> SimTrayApi::ShownIcon(const Guid& guid) const {
    const auto it = shown_.find(Key(guid));
    if (it == shown_.end()) return std::nullopt;
    return it->second;
}

IconRectResult SimTrayApi::GetIconRect(const Guid& guid, uint32_t, Rect& rect) {
    const auto it = rects_.find(Key(guid));
    if (it == rects_.end()) return rectAnswer_;
    rect = it->second;
    return IconRectResult::Ok;
}

OverflowScan SimTrayApi::ScanOverflowArea(std::string_view tip, bool& found) {
    ++scans_;
    found = false;
    if (overflowAnswer_ != OverflowScan::Scanned) return overflowAnswer_;
    for (const std::string& text : overflowButtons_)
        if (!text.empty() && text == tip) found = true;
    return OverflowScan::Scanned;
}

void SimTrayApi::RunHiddenIconWarning(bool german) {
    warnings_.push_back(german);
    warningOpen_ = true;
    if (duringWarning_) duringWarning_();
    warningOpen_ = false;
}

}  // namespace lv::sim
