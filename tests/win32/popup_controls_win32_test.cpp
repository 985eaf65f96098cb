// The popup's controls on the real dialog 101: set-up, layout, the sliders' bars, tip
// texts and the decoding of slider and combo-box messages. The hardware is simulated.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>

#include "app/startup.h"
#include "commands/command_test_support.h"
#include "platform/win32/popup_window.h"
#include "popup/program_actions.h"
#include "tools/simulator.h"
#include "win32/win32_test_support.h"

namespace lv {
namespace {

INT_PTR CALLBACK QuietDialogProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

class PopupControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
        ASSERT_TRUE(::InitCommonControlsEx(&classes));
        // Template 101 names the program's class; the program's procedure is put in below.
        ASSERT_TRUE(test::RegisterWindowClass("Lumivane class 4.4", ::DefDlgProcA, 60));
        sim_ = std::make_unique<sim::Simulator>(sim::ParseFleet(test::kDesk).fleet);
        sim::Simulator& s = *sim_;
        core_ = std::make_unique<Core>(Platform{s.monitors, s.clock, s.codec, s.window, s.audio, s.system, view_, s.wmi,
                                                s.displayConfig, s.files, *s.xmlReader, *s.xmlWriter, s.process,
                                                s.tray});
        core_->settings.showRGB = true;
        popup_ = ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(101), nullptr, QuietDialogProc, 0);
        ASSERT_NE(popup_, nullptr);
        view_.SetWindow(popup_);
        window_.SetWindow(popup_);
        SetPopupWindowContext({core_.get(), &window_, &view_, 0});
        // The program's procedure as the class's would be.
        ::SetWindowLongPtrA(popup_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PopupProc));
        BindProgramActions(*core_);
        StartMonitorsAndIcons(*core_);
    }
    void TearDown() override {
        if (popup_) ::DestroyWindow(popup_);
        SetPopupWindowContext({});
        MSG message;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
    }

    HWND Item(int id) const { return ::GetDlgItem(popup_, id); }
    RECT ClientRectOf(int id) const {
        RECT rect{};
        ::GetWindowRect(Item(id), &rect);
        ::MapWindowPoints(nullptr, popup_, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }

    // Pixels of exactly `colour` (0x00BBGGRR) in the slider as it paints itself.
    int CountColour(int id, COLORREF colour) {
        RECT client{};
        ::GetClientRect(Item(id), &client);
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), client.right, -client.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        const HDC memory = ::CreateCompatibleDC(nullptr);
        const HBITMAP bitmap = ::CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        const HGDIOBJ old = ::SelectObject(memory, bitmap);
        ::SendMessageA(Item(id), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT | PRF_ERASEBKGND);
        ::GdiFlush();
        const uint32_t wanted = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
        int count = 0;
        const auto* pixels = static_cast<const uint32_t*>(bits);
        for (int i = 0; i < client.right * client.bottom; ++i) count += (pixels[i] & 0xFFFFFF) == wanted;
        ::SelectObject(memory, old);
        ::DeleteObject(bitmap);
        ::DeleteDC(memory);
        return count;
    }

    std::unique_ptr<sim::Simulator> sim_;
    std::unique_ptr<Core> core_;
    Win32WindowApi window_;
    Win32PopupView view_;
    HWND popup_ = nullptr;
};

// Dialog 101 as the resources give it: every control the program reaches, hidden at first.
TEST_F(PopupControlsTest, TheDialogHoldsEveryControlAndStartsHidden) {
    EXPECT_FALSE(::GetWindowLongA(popup_, GWL_STYLE) & WS_VISIBLE);
    for (const int id : {1001, 1112, 1064, 1113, 1119, 1120, 1221, 1222, 1214, 1070, 1071, 1072, 1067, 1068, 1069,
                         1108, 1109, 1116, 1115, 1117, 1002, 1003, 1004, 1037, 1038, 1039, 1040, 1104, 1105, 1106})
        EXPECT_NE(Item(id), nullptr) << id;
    for (int id = 40001; id <= 40063; ++id) EXPECT_NE(Item(id), nullptr) << id;
}

TEST_F(PopupControlsTest, SetUpGivesSixCentredColumnsAndTheSliderRanges) {
    std::string names;
    for (int column = 0; column < 6; ++column) {
        char text[32] = {};
        LVCOLUMNA info{};
        info.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH;
        info.pszText = text;
        info.cchTextMax = sizeof(text);
        ASSERT_TRUE(::SendMessageA(Item(1001), LVM_GETCOLUMNA, column, reinterpret_cast<LPARAM>(&info))) << column;
        names += std::string(text) + "|";
        EXPECT_GT(info.cx, 0) << column;
        EXPECT_TRUE(column == 0 || (info.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_CENTER) << column;
    }
    EXPECT_EQ(names, "Monitor|Bri.|Con.|R|G|B|");
    EXPECT_TRUE(::SendMessageA(Item(1001), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_FULLROWSELECT);
    for (const auto& [id, max] : {std::pair{1038, 100}, {1039, 100}, {1040, 100}, {1067, 255}, {1068, 255}, {1069, 255}}) {
        EXPECT_EQ(::SendMessageA(Item(id), TBM_GETRANGEMIN, 0, 0), 0) << id;
        EXPECT_EQ(::SendMessageA(Item(id), TBM_GETRANGEMAX, 0, 0), max) << id;
    }
    EXPECT_EQ(::SendMessageA(Item(1038), TBM_GETPOS, 0, 0), 30);  // brightness 70
}

TEST_F(PopupControlsTest, TheLayoutPutsTheCheckBoxesBelowTheListAndFixesTheHeight) {
    ASSERT_TRUE(core_->popupMetrics.measured);
    EXPECT_GT(core_->popupMetrics.rowHeight, 0);
    RECT client{};
    ::GetClientRect(popup_, &client);
    EXPECT_EQ(client.bottom, core_->expectedPopupHeight);
    const RECT list = ClientRectOf(1001);
    EXPECT_EQ(list.bottom - list.top, core_->popupMetrics.listHeight);
    for (int id : {1064, 1112}) EXPECT_GE(ClientRectOf(id).top, list.bottom) << id;
    EXPECT_GT(ClientRectOf(40001).bottom, ClientRectOf(40021).bottom);
    EXPECT_LT(ClientRectOf(40001).bottom, client.bottom);
    RECT window{};
    ::GetWindowRect(popup_, &window);
    EXPECT_EQ(window.right - window.left, core_->popupMetrics.fullWidth);
}

TEST_F(PopupControlsTest, TheBarHoldsTheValuesShareInTheLoadedColour) {
    const COLORREF colour = core_->settings.ColorSliderBrightness;
    auto countAt = [&](int value) {
        ::SendMessageA(Item(1038), TBM_SETPOS, TRUE, 100 - value);
        return CountColour(1038, colour);
    };
    EXPECT_EQ(countAt(0), 0);
    const int full = countAt(100);
    ASSERT_GT(full, 100);
    const int part = countAt(37);
    EXPECT_NEAR(part * 100.0 / full, 37.0, 2.0);
    core_->settings.ColorSliderBrightness = RGB(0x12, 0x34, 0x56);  // loaded from the settings
    EXPECT_EQ(CountColour(1038, colour), 0);
    EXPECT_EQ(CountColour(1038, RGB(0x12, 0x34, 0x56)), part);
}

TEST_F(PopupControlsTest, TipTextsComeFromTheSliderAndTheStringTable) {
    auto tip = [&](int id, UINT_PTR idFrom, UINT flags) {
        NMTTDISPINFOA info{};
        info.hdr = {popup_, idFrom, static_cast<UINT>(TTN_GETDISPINFOA)};
        info.uFlags = flags;
        ::SendMessageA(popup_, WM_NOTIFY, id, reinterpret_cast<LPARAM>(&info));
        return std::string(info.lpszText ? info.lpszText : "(none)");
    };
    ::SendMessageA(Item(1038), TBM_SETPOS, TRUE, 63);
    EXPECT_EQ(tip(1038, reinterpret_cast<UINT_PTR>(Item(1038)), TTF_IDISHWND), "37");
    EXPECT_EQ(tip(1117, 1117, 0), "restore default Monitor-factory-settings\ndo not click, if you are unsure!");
}

TEST_F(PopupControlsTest, ScrollMessagesReadTheSliderNotTheWord) {
    ::SendMessageA(Item(1038), TBM_SETPOS, TRUE, 40);
    ::SendMessageA(popup_, WM_VSCROLL, MAKEWPARAM(TB_THUMBTRACK, 5), reinterpret_cast<LPARAM>(Item(1038)));
    ::SendMessageA(popup_, WM_VSCROLL, MAKEWPARAM(TB_PAGEUP, 0), reinterpret_cast<LPARAM>(Item(1119)));
    EXPECT_EQ(sim_->monitors.CallCount("SetMonitorBrightness"), 0u);
    ::SendMessageA(popup_, WM_VSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 5), reinterpret_cast<LPARAM>(Item(1038)));
    EXPECT_EQ(sim_->monitors.CallCount("SetMonitorBrightness"), 1u);
    EXPECT_EQ(test::Hw(*sim_, 0).brightness.current, 60u);
}

// Which notifications take the pick is the portable handler's; here the real combo box is read.
TEST_F(PopupControlsTest, ASelectionChangeOfTheColourPresetIsTaken) {
    core_->actions.refreshPopup = [](int) {};  // the pick stays pending
    const int user = core_->presetChoice.FindNoCase("User1");
    ASSERT_GE(user, 0);
    ::SendMessageA(Item(1113), CB_SETCURSEL, user, 0);
    ::SendMessageA(popup_, WM_COMMAND, MAKEWPARAM(1113, CBN_SELCHANGE), reinterpret_cast<LPARAM>(Item(1113)));
    EXPECT_EQ(core_->table[0].pendingPreset, 11);
}

// Wine's list view sends no hot tracking of its own: a synthetic one stands in.
TEST_F(PopupControlsTest, HotTrackingFillsTheListsTooltip) {
    ASSERT_NE(view_.InfoTipWindow(), nullptr);
    NMLISTVIEW hot{};
    hot.hdr = {Item(1001), 1001, static_cast<UINT>(LVN_HOTTRACK)};
    hot.iItem = 0;
    ::SendMessageA(popup_, WM_NOTIFY, 1001, reinterpret_cast<LPARAM>(&hot));
    char text[2048] = {};
    TTTOOLINFOA tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = popup_;
    tool.uId = reinterpret_cast<UINT_PTR>(Item(1001));
    tool.lpszText = text;
    ::SendMessageA(view_.InfoTipWindow(), TTM_GETTEXTA, sizeof(text), reinterpret_cast<LPARAM>(&tool));
    // Wine hands back at most the first 80 characters of a tip.
    ASSERT_GE(std::string_view(text).size(), 40u);
    EXPECT_TRUE(core_->infoTipText.starts_with(text)) << text;
}

std::string ClipboardText() {
    if (!::OpenClipboard(nullptr)) return "(not opened)";
    const HANDLE data = ::GetClipboardData(CF_TEXT);
    const auto* chars = data ? static_cast<const char*>(::GlobalLock(data)) : nullptr;
    const std::string text = chars ? chars : "";
    if (chars) ::GlobalUnlock(data);
    ::CloseClipboard();
    return text;
}

TEST_F(PopupControlsTest, TheCopyLandsOnTheClipboardUnlessItIsHeldOpen) {
    ASSERT_TRUE(view_.CopyToClipboard("first\r\n"));
    EXPECT_EQ(ClipboardText(), "first\r\n");

    const HANDLE opened = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    const HANDLE release = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread holder([&] {
        const BOOL held = ::OpenClipboard(nullptr);
        ::SetEvent(opened);
        ::WaitForSingleObject(release, INFINITE);
        if (held) ::CloseClipboard();
    });
    ::WaitForSingleObject(opened, INFINITE);
    EXPECT_FALSE(view_.CopyToClipboard("second"));
    ::SetEvent(release);
    holder.join();
    ::CloseHandle(opened);
    ::CloseHandle(release);
    EXPECT_EQ(ClipboardText(), "first\r\n");
}

}  // namespace
}  // namespace lv
