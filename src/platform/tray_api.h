// The notification area as the core sees it: icons drawn from a picture description,
// the shell's icon requests, the icon's place on the screen, and the task bar's overflow
// area with the warning about icons hidden there.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/types.h"

namespace lv {

using IconHandle = std::uintptr_t;

// DrawText formats the icons use.
inline constexpr uint32_t kDrawCenter = 0x01;      // DT_CENTER
inline constexpr uint32_t kDrawRight = 0x02;       // DT_RIGHT
inline constexpr uint32_t kDrawVCenter = 0x04;     // DT_VCENTER
inline constexpr uint32_t kDrawBottom = 0x08;      // DT_BOTTOM
inline constexpr uint32_t kDrawSingleLine = 0x20;  // DT_SINGLELINE

// Font qualities (CreateFont).
inline constexpr uint8_t kQualityNonAntialiased = 3;
inline constexpr uint8_t kQualityAntialiased = 4;
inline constexpr uint8_t kQualityClearType = 5;

struct FontSpec {
    std::string face;
    int32_t height = 0;
    int32_t width = 0;  // 0: natural
    int32_t weight = 0;
    bool strikeOut = false;
    uint8_t quality = kQualityNonAntialiased;
    bool operator==(const FontSpec&) const = default;
};

struct TextRun {
    std::string text;
    Rect rect;
    uint32_t colour = 0;  // COLORREF 0x00BBGGRR
    uint32_t format = 0;  // kDraw* flags
    bool operator==(const TextRun&) const = default;
};

// What one icon shows: texts drawn with one font onto a transparent square of `size`.
struct IconPicture {
    int32_t size = 16;
    FontSpec font;
    std::vector<TextRun> runs;
    bool operator==(const IconPicture&) const = default;
};

enum class NotifyMessage : uint32_t { Add = 0, Modify = 1, Delete = 2, SetVersion = 4 };

// Flags of a notification record (NIF_*).
inline constexpr uint32_t kNotifyMessageFlag = 0x01;
inline constexpr uint32_t kNotifyIconFlag = 0x02;
inline constexpr uint32_t kNotifyTipFlag = 0x04;
inline constexpr uint32_t kNotifyInfoFlag = 0x10;
inline constexpr uint32_t kNotifyGuidFlag = 0x20;
inline constexpr uint32_t kNotifyShowTipFlag = 0x80;
inline constexpr uint32_t kNotifyIconFlags = 0xA7;     // add and modify an icon
inline constexpr uint32_t kNotifyBalloonFlags = 0xB4;  // show a balloon
inline constexpr uint32_t kBalloonInfoFlags = 0x34;    // NIIF_USER | NIIF_NOSOUND | NIIF_LARGE_ICON

// One request to the notification area (NOTIFYICONDATAA, version 4, the main window as
// owner). The balloon fields matter only with kNotifyInfoFlag.
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
