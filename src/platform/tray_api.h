// The notification area as the core sees it: icons drawn from a picture description,
// the shell's icon requests, the icon's place on the screen, and the task bar's overflow
// area with the warning about icons hidden there.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/types.h"
#include "platform/windows_codes.h"

namespace lv {

using IconHandle = std::uintptr_t;

struct FontSpec {
    std::string face;
    int32_t height = 0;
    int32_t width = 0;  // 0: natural
    int32_t weight = 0;
    bool strikeOut = false;
    uint8_t quality = win::kNonAntialiasedQuality;
    bool operator==(const FontSpec&) const = default;
};

struct TextRun {
    std::string text;
    Rect rect;
    uint32_t colour = 0;  // COLORREF 0x00BBGGRR
    uint32_t format = 0;  // win::kDt* flags
    bool operator==(const TextRun&) const = default;
};

// What one icon shows: texts drawn with one font onto a transparent square of `size`.
struct IconPicture {
    int32_t size = 16;
    FontSpec font;
    std::vector<TextRun> runs;
    bool operator==(const IconPicture&) const = default;
};

enum class NotifyMessage : uint32_t {
    Add = win::kNimAdd,
    Modify = win::kNimModify,
    Delete = win::kNimDelete,
    SetVersion = win::kNimSetVersion,
};

// Record flags of adding and modifying an icon, and of showing a balloon.
inline constexpr uint32_t kNotifyIconFlags =
    win::kNifMessage | win::kNifIcon | win::kNifTip | win::kNifGuid | win::kNifShowTip;
inline constexpr uint32_t kNotifyBalloonFlags = win::kNifTip | win::kNifInfo | win::kNifGuid | win::kNifShowTip;
inline constexpr uint32_t kBalloonInfoFlags = win::kNiifUser | win::kNiifNoSound | win::kNiifLargeIcon;

// One request to the notification area (NOTIFYICONDATAA, version 4, the main window as
// owner). The balloon fields matter only with win::kNifInfo.
struct NotifyIconRecord {
    uint32_t flags = 0;
    Guid guid;
    // Ignored where the GUID identifies the icon; a shell that knows icons only by owner
    // and id needs a different id for each of the four.
    uint32_t id = 0;
    IconHandle icon = 0;
    uint32_t callbackMessage = 0;
    std::string tip;        // at most 127 characters
    std::string infoTitle;  // at most 39 characters
    std::string infoText;   // at most 199 characters
    uint32_t infoFlags = 0;
    bool operator==(const NotifyIconRecord&) const = default;
};

enum class IconRectResult { Ok, NotImplemented, Failed };

// The overflow area's toolbar as one scan finds it.
enum class OverflowScan {
    NoToolbar,  // no overflow window or no toolbar in it: the tick does not count
    Failed,     // the toolbar's process or memory could not be had: the tick does not count
    Scanned,    // every button was looked at
};

class TrayApi {
public:
    virtual ~TrayApi() = default;

    // Draws the picture into a 32-bit bitmap of its size, gives every pixel that is not 0
    // full opacity (ApplyAlphaRule), and makes an icon of it. 0 on failure.
    virtual IconHandle RenderIcon(const IconPicture& picture) = 0;
    virtual void DestroyIcon(IconHandle icon) = 0;
    // Shell_NotifyIconA.
    virtual bool NotifyIcon(NotifyMessage message, const NotifyIconRecord& record) = 0;
    // Shell_NotifyIconGetRect of the icon with this GUID and id (owner: the main window).
    virtual IconRectResult GetIconRect(const Guid& guid, uint32_t id, Rect& rect) = 0;

    // Looks for a button whose text equals `tip` in the overflow area's toolbar.
    virtual OverflowScan ScanOverflowArea(std::string_view tip, bool& found) = 0;
    // A warning dialog about hidden icons is open (either language's caption).
    virtual bool HiddenIconWarningOpen() = 0;
    // Runs the warning dialog (106 English, 107 German) until it is closed.
    virtual void RunHiddenIconWarning(bool german) = 0;
    // Posts WM_CLOSE to an open warning.
    virtual void CloseHiddenIconWarning() = 0;
};

}  // namespace lv
