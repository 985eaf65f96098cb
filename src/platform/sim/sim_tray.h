// The notification area in memory: icons are numbered pictures, the shell's requests are
// recorded and can be refused, the overflow area holds what a test puts there.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/tray_api.h"

namespace lv::sim {

struct NotifyCall {
    NotifyMessage message = NotifyMessage::Add;
    NotifyIconRecord record;
    bool ok = true;
};

class SimTrayApi : public lv::TrayApi {
public:
    IconHandle RenderIcon(const IconPicture& picture) override;
    void DestroyIcon(IconHandle icon) override;
    bool NotifyIcon(NotifyMessage message, const NotifyIconRecord& record) override;
    IconRectResult GetIconRect(const Guid& guid, uint32_t id, Rect& rect) override;
    OverflowScan ScanOverflowArea(std::string_view tip, bool& found) override;
    bool HiddenIconWarningOpen() override { return warningOpen_; }
    void RunHiddenIconWarning(bool german) override;
    void CloseHiddenIconWarning() override { ++warningCloses_; }

    // Icons.
    const IconPicture* Picture(IconHandle icon) const;  // null for an unknown or destroyed icon
    std::size_t LiveIcons() const { return live_.size(); }
    int RenderCount() const { return nextIcon_ - 1; }
    // The shell: every request in order; the icons it shows now by GUID.
    const std::vector<NotifyCall>& Calls() const { return calls_; }
    void ClearCalls() { calls_.clear(); }
    const std::map<std::string, NotifyIconRecord>& Shown() const { return shown_; }
    std::optional<NotifyIconRecord> ShownIcon(const Guid& guid) const;
    // The next `count` adds are refused.
    void RefuseAdds(int count) { refusedAdds_ = count; }
    // Icon rectangles: by GUID; others answer `otherwise`.
    void SetIconRect(const Guid& guid, Rect rect) { rects_[Key(guid)] = rect; }
    void SetIconRectAnswer(IconRectResult otherwise) { rectAnswer_ = otherwise; }

    // The overflow area: its answer, the texts of its buttons, and the warning.
    void SetOverflow(OverflowScan answer, std::vector<std::string> buttonTexts = {}) {
        overflowAnswer_ = answer;
        overflowButtons_ = std::move(buttonTexts);
    }
    int Scans() const { return scans_; }
    // While the warning runs, `duringWarning` is called (a nested message loop's work).
    void SetDuringWarning(std::function<void()> work) { duringWarning_ = std::move(work); }
    const std::vector<bool>& WarningsRun() const { return warnings_; }  // true: German
    int WarningCloses() const { return warningCloses_; }

    static std::string Key(const Guid& guid);  // the 16 bytes

private:
    IconHandle nextIcon_ = 1;
    std::map<IconHandle, IconPicture> live_;
    std::vector<NotifyCall> calls_;
    std::map<std::string, NotifyIconRecord> shown_;
    int refusedAdds_ = 0;
    std::map<std::string, Rect> rects_;
    IconRectResult rectAnswer_ = IconRectResult::Failed;
    OverflowScan overflowAnswer_ = OverflowScan::NoToolbar;
    std::vector<std::string> overflowButtons_;
    int scans_ = 0;
    bool warningOpen_ = false;
    std::function<void()> duringWarning_;
    std::vector<bool> warnings_;
    int warningCloses_ = 0;
};

}  // namespace lv::sim
