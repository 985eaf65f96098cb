#include "platform/win32/popup_window.h"

#include <commctrl.h>
#include <dbt.h>
#include <windowsx.h>

#include <cstring>
#include <limits>
#include <optional>
#include <string_view>

#include "commands/submission.h"
#include "core/requests.h"
#include "popup/list_actions.h"
#include "popup/popup_commands.h"
#include "popup/popup_placement.h"
#include "popup/popup_proc.h"
#include "popup/popup_tips.h"
#include "popup/slider_fill.h"

namespace lv {
namespace {

PopupWindowContext context;

LRESULT OnCopyDataMessage(Core& core, LPARAM lParam) {
    const auto* record = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    // A source must be a command source or a thread id; anything wider is no record of ours.
    if (!record || record->dwData > std::numeric_limits<uint32_t>::max()) return FALSE;
    // TRUE tells a forwarding start that its line will run.
    return OnCopyData(core, static_cast<uint32_t>(record->dwData), record->lpData, record->cbData) ? TRUE : FALSE;
}

LRESULT OnPowerMessage(Core& core, WPARAM wParam, LPARAM lParam) {
    std::optional<Guid> setting;
    if (wParam == PBT_POWERSETTINGCHANGE && lParam != 0)
        setting = FromSystemGuid(reinterpret_cast<const POWERBROADCAST_SETTING*>(lParam)->PowerSetting);
    return OnPowerBroadcast(core, wParam, setting ? &*setting : nullptr);
}

// The window class is an ANSI one, so device-interface names arrive as 8-bit text.
void OnDeviceMessage(Core& core, WPARAM wParam, LPARAM lParam) {
    std::optional<std::string_view> name;
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(lParam);
    if (header && header->dbch_devicetype == DBT_DEVTYP_DEVICEINTERFACE &&
        header->dbch_size > offsetof(DEV_BROADCAST_DEVICEINTERFACE_A, dbcc_name)) {
        const auto* device = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_A*>(header);
        const std::size_t room = header->dbch_size - offsetof(DEV_BROADCAST_DEVICEINTERFACE_A, dbcc_name);
        name = std::string_view(device->dbcc_name, strnlen(device->dbcc_name, room));
    }
    OnDeviceChange(core, wParam, name);
}

// The position is read from the slider itself: the message's word holds it only for two codes.
void OnVScrollMessage(Core& core, HWND window, WPARAM wParam, LPARAM lParam) {
    const HWND slider = reinterpret_cast<HWND>(lParam);
    if (!slider || ::GetParent(slider) != window) return;
    const int id = ::GetDlgCtrlID(slider);
    if (!IsPopupSlider(id)) return;
    const int position = static_cast<int>(::SendMessageA(slider, TBM_GETPOS, 0, 0));
    OnSliderScroll(core, id, LOWORD(wParam), position);
    // The trackbar repaints only the old and new thumb; the bar between is ours to redo.
    ::InvalidateRect(slider, nullptr, TRUE);
}

// One brush per slider, made again only when its colour changes.
struct SliderBrush {
    uint32_t rgb = 0;
    HBRUSH brush = nullptr;
};
SliderBrush sliderBrushes[6];

HBRUSH BrushFor(int id, uint32_t rgb) {
    const int slot = id >= res::kRedSlider ? 3 + (id - res::kRedSlider) : id - res::kBrightnessSlider;
    SliderBrush& cached = sliderBrushes[slot];
    if (cached.brush && cached.rgb == rgb) return cached.brush;
    if (cached.brush) ::DeleteObject(cached.brush);
    cached = {rgb, ::CreateSolidBrush(rgb)};
    return cached.brush;
}

void ReleaseSliderBrushes() {
    for (SliderBrush& cached : sliderBrushes) {
        if (cached.brush) ::DeleteObject(cached.brush);
        cached = {};
    }
}

RECT ToRect(Rect rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

LRESULT OnSliderCustomDraw(Core& core, int id, NMCUSTOMDRAW& draw) {
    if (PaintsChannel(draw.dwDrawStage, draw.dwItemSpec)) {
        const int position = static_cast<int>(::SendMessageA(draw.hdr.hwndFrom, TBM_GETPOS, 0, 0));
        const ChannelFill fill = SliderChannelFill(
            {draw.rc.left, draw.rc.top, draw.rc.right, draw.rc.bottom}, position, SliderMaximum(id));
        const SliderColour colour = SliderColourOf(core, id);
        const RECT empty = ToRect(fill.empty);
        const RECT filled = ToRect(fill.filled);
        ::FillRect(draw.hdc, &empty, static_cast<HBRUSH>(::GetStockObject(LTGRAY_BRUSH)));
        ::FillRect(draw.hdc, &filled,
                   colour.gray ? static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH)) : BrushFor(id, colour.rgb));
    }
    return SliderCustomDrawResult(draw.dwDrawStage, draw.dwItemSpec);
}

// `idFrom` names the control, or is its window when the tool was added by window.
void OnTipText(HWND window, NMTTDISPINFOA& info) {
    const HWND control = (info.uFlags & TTF_IDISHWND) ? reinterpret_cast<HWND>(info.hdr.idFrom)
                                                      : ::GetDlgItem(window, static_cast<int>(info.hdr.idFrom));
    if (!control) return;
    const int id = ::GetDlgCtrlID(control);
    const int position = IsPopupSlider(id) ? static_cast<int>(::SendMessageA(control, TBM_GETPOS, 0, 0)) : 0;
    const ControlTip tip = TipOf(id, position);
    info.lpszText = info.szText;
    info.hinst = nullptr;
    info.szText[0] = '\0';
    if (tip.kind == ControlTip::Kind::Value)
        lstrcpynA(info.szText, tip.value.c_str(), sizeof(info.szText));
    else if (tip.kind == ControlTip::Kind::String)
        ::LoadStringA(::GetModuleHandleA(nullptr), static_cast<UINT>(tip.stringId), info.szText, sizeof(info.szText));
}

// The list's clicks and hot tracking go to the core with the rows the control reports.
bool OnListNotify(Core& core, const NMHDR& header) {
    const auto selectedRow = [&header] {
        return static_cast<int>(::SendMessageA(header.hwndFrom, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    };
    switch (header.code) {
        case NM_CLICK:
        case NM_DBLCLK:
            OnListClick(core, selectedRow());
            return true;
        case NM_RCLICK:
        case NM_RDBLCLK:
            OnListRightClick(core, selectedRow());
            return true;
        case LVN_HOTTRACK:
            OnListHotTrack(core, reinterpret_cast<const NMLISTVIEW&>(header).iItem);
            return false;  // the control still tracks the hot item itself
        default:
            return false;
    }
}

LRESULT OnNotifyMessage(Core& core, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header) {
        if (header->code == NM_CUSTOMDRAW && IsPopupSlider(static_cast<int>(header->idFrom)))
            return OnSliderCustomDraw(core, static_cast<int>(header->idFrom), *reinterpret_cast<NMCUSTOMDRAW*>(lParam));
        if (header->idFrom == static_cast<UINT_PTR>(res::kMonitorList) && OnListNotify(core, *header)) return 0;
        if (header->code == TTN_GETDISPINFOA) {
            OnTipText(window, *reinterpret_cast<NMTTDISPINFOA*>(lParam));
            return 0;
        }
    }
    return ::DefDlgProcA(window, message, wParam, lParam);
}

}  // namespace

void SetPopupWindowContext(const PopupWindowContext& newContext) { context = newContext; }

LRESULT CALLBACK PopupProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Core* core = context.core;
    if (!core) return ::DefDlgProcA(window, message, wParam, lParam);
    // The handle is kept for every later call, but not brought back once the window goes.
    if (message != WM_DESTROY && message != WM_NCDESTROY && context.window->Window() == nullptr &&
        !core->enumeration.closing) {
        context.window->SetWindow(window);
        context.view->SetWindow(window);
    }
    POINT cursor{};
    if (::GetCursorPos(&cursor)) core->cursorPos = Point{cursor.x, cursor.y};

    if (context.taskbarCreatedMessage != 0 && message == context.taskbarCreatedMessage) {
        OnTaskbarCreated(*core);
        return 0;
    }
    switch (message) {
        case WM_DESTROY:
            ReleaseSliderBrushes();
            ::PostQuitMessage(0);
            return 0;
        case WM_SIZE:
            OnSize(*core, HIWORD(lParam));
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            ::BeginPaint(window, &paint);
            ::EndPaint(window, &paint);
            return 0;
        }
        case WM_CLOSE:
            OnClose(*core);
            return 0;
        case WM_QUERYENDSESSION:
            return OnQueryEndSession(*core);
        case WM_ENDSESSION:
            return 0;
        case WM_COPYDATA:
            return OnCopyDataMessage(*core, lParam);
        case WM_NCRBUTTONDOWN:
            // Wine's DefDlgProcA tracks the button itself and swallows the button-up; answering
            // here lets WM_NCRBUTTONUP arrive (and changes nothing on Windows).
            if (wParam == HTCAPTION) return 0;
            return ::DefDlgProcA(window, message, wParam, lParam);
        case WM_NCRBUTTONUP:
            // Any free spot of the window counts as its caption (below).
            if (wParam == HTCAPTION) ShowTrayMenu(*core, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return 0;
        case WM_RBUTTONUP: {
            POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            ::ClientToScreen(window, &point);
            ShowTrayMenu(*core, {point.x, point.y});
            return 0;
        }
        case WM_NCHITTEST: {
            // Any free spot of the popup drags it.
            const LRESULT hit = ::DefDlgProcA(window, message, wParam, lParam);
            return hit == HTCLIENT ? HTCAPTION : hit;
        }
        case WM_COMMAND:
            OnCommand(*core, LOWORD(wParam), HIWORD(wParam), static_cast<intptr_t>(lParam));
            return 0;
        case WM_NOTIFY:
            return OnNotifyMessage(*core, window, message, wParam, lParam);
        case WM_VSCROLL:
            OnVScrollMessage(*core, window, wParam, lParam);
            return 0;
        case WM_TIMER:
            OnTimer(*core, static_cast<uint32_t>(wParam));
            return 0;
        case WM_ENTERMENULOOP:
        case WM_EXITMENULOOP:
            if (wParam != 0) core->menuOpen = message == WM_ENTERMENULOOP;
            return 0;
        case WM_POWERBROADCAST:
            return OnPowerMessage(*core, wParam, lParam);
        case WM_DEVICECHANGE:
            OnDeviceMessage(*core, wParam, lParam);
            return 1;
        case WM_WTSSESSION_CHANGE:
            OnSessionChange(*core, wParam);
            return 0;
        case WM_DPICHANGED:
            RequestRestart(*core);
            return 0;
        default:
            if (message >= kIconCallbackBase && message < kIconCallbackBase + kIconCount) {
                OnIconCallback(*core, message, LOWORD(lParam), wParam);
                return 0;
            }
            return ::DefDlgProcA(window, message, wParam, lParam);
    }
}

}  // namespace lv
