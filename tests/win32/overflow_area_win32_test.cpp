// The task bar's overflow area and the warning about icons hidden there. Wine has no
// overflow window, so the tests build one in this process: a top-level window of the
// task bar's class holding a real toolbar, read through the same cross-process calls.
// The warning runs its real modal loop; a thread timer plays the user and gives up
// after a few seconds, so a dialog that never ends cannot hang the run.
#include "platform/win32/overflow_area.h"

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_platform.h"
#include "tools/simulator.h"
#include "tray/hidden_icons.h"
#include "win32/win32_test_support.h"

namespace lv {
namespace {

constexpr char kTip[] = "Lumivane: brightness 70";
constexpr std::u16string_view kAppDataCopy = u"C:\\Users\\User\\AppData\\Roaming\\Lumivane\\Lumivane.xml";

HINSTANCE Module() { return ::GetModuleHandleW(nullptr); }

// The task bar's overflow window, with a toolbar of buttons showing `texts` (null: no text).
class OverflowWindow {
public:
    explicit OverflowWindow(const std::vector<const char*>& texts) {
        const INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_BAR_CLASSES};
        if (!::InitCommonControlsEx(&classes) ||
            !test::RegisterWindowClass("NotifyIconOverflowWindow", ::DefWindowProcA))
            return;
        window_.Reset(::CreateWindowExA(0, "NotifyIconOverflowWindow", nullptr, WS_POPUP, 0, 0, 200, 40, nullptr,
                                        nullptr, Module(), nullptr));
        if (!window_) return;
        const HWND toolbar = ::CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr, WS_CHILD | TBSTYLE_LIST, 0, 0, 200, 40,
                                               window_.Get(), nullptr, Module(), nullptr);
        if (!toolbar) return;
        ::SendMessageA(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
        std::vector<TBBUTTON> buttons;
        int command = 100;
        for (const char* text : texts) {
            buttons.push_back({.iBitmap = I_IMAGENONE, .idCommand = command++, .fsState = TBSTATE_ENABLED,
                               .fsStyle = BTNS_BUTTON | BTNS_SHOWTEXT, .bReserved = {}, .dwData = 0,
                               .iString = text ? reinterpret_cast<INT_PTR>(text) : -1});
        }
        ready_ = ::SendMessageA(toolbar, TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data())) &&
                 ::SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0) == static_cast<LRESULT>(texts.size());
    }
    bool Ready() const { return window_ && ready_; }

private:
    win32::UniqueWindow window_;  // destroys the toolbar with it
    bool ready_ = true;
};

TEST(OverflowArea, FindsOnlyAButtonWhoseWholeTextIsTheTip) {
    Win32WindowApi window;
    Win32TrayApi tray(window);
    bool found = true;
    EXPECT_EQ(tray.ScanOverflowArea(kTip, found), OverflowScan::NoToolbar) << "no overflow window made yet";
    EXPECT_FALSE(found);

    const std::string longer = std::string(kTip) + "%";
    const std::string huge(3000, 'x');  // more than the text block: must not be fetched
    // What the case shows, the buttons' texts (null: none), the tip looked for, and whether it is found.
    const std::tuple<const char*, std::vector<const char*>, std::string, bool> cases[] = {
        {"among others", {"Volume 40", nullptr, kTip, "Network"}, kTip, true},
        {"prefix of a text", {longer.c_str()}, kTip, false},
        {"text is a prefix", {"Lumivane"}, kTip, false},
        {"after a text too long for the block", {huge.c_str(), kTip}, kTip, true},
        {"no tip yet", {nullptr, "Volume 40"}, "", false},
        {"no buttons", {}, kTip, false},
    };
    for (const auto& [name, texts, tip, expected] : cases) {
        SCOPED_TRACE(name);
        const OverflowWindow overflow(texts);
        ASSERT_TRUE(overflow.Ready());
        found = !expected;
        EXPECT_EQ(tray.ScanOverflowArea(tip, found), OverflowScan::Scanned);
        EXPECT_EQ(found, expected);
    }
}

// Plays the user: waits until the warning has shown itself, notes what it shows, then
// ticks the check box and ends the warning by OK.
struct UserScript {
    const char* caption = nullptr;
    Win32TrayApi* tray = nullptr;
    int ticks = 0;
    // What it saw of the warning while it was open.
    bool shown = false, open = false, checked = false;
    std::string text = {};
};
UserScript* script = nullptr;

void CALLBACK PlayUser(HWND, UINT, UINT_PTR timer, DWORD) {
    const HWND dialog = ::FindWindowA("#32770", script->caption);
    if (++script->ticks > 300) {  // about three seconds: give up, end whatever is open
        ::KillTimer(nullptr, timer);
        if (dialog) ::EndDialog(dialog, -5);
        return;
    }
    if (!dialog || !::IsWindowVisible(dialog)) return;
    ::KillTimer(nullptr, timer);
    script->open = script->tray->HiddenIconWarningOpen();
    script->shown = true;
    char text[2048] = {};
    ::GetDlgItemTextA(dialog, res::kHiddenIconsText, text, sizeof(text));
    script->text = text;
    script->checked = ::IsDlgButtonChecked(dialog, res::kHiddenIconsNoWarning) == BST_CHECKED;
    const HWND box = ::GetDlgItem(dialog, res::kHiddenIconsNoWarning);
    ::SendMessageA(box, BM_SETCHECK, BST_CHECKED, 0);
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(res::kHiddenIconsNoWarning, BN_CLICKED), reinterpret_cast<LPARAM>(box));
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

TEST(HiddenIconWarningDialog, ShowsTheTextAndOkSavesTheCheckBox) {
    sim::Simulator s{sim::Fleet{}};
    s.core.settings.nocheckhidden = false;
    Win32WindowApi window;
    Win32TrayApi tray(window);
    UserScript user{"There are hidden Lumivane icons!", &tray};
    script = &user;
    SetHiddenWarningCore(&s.core);
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 10, PlayUser);
    ASSERT_NE(timer, 0u);
    tray.RunHiddenIconWarning(false);
    ::KillTimer(nullptr, timer);
    SetHiddenWarningCore(nullptr);
    script = nullptr;

    ASSERT_TRUE(user.shown) << "the warning never showed itself";
    EXPECT_TRUE(user.open);
    EXPECT_FALSE(tray.HiddenIconWarningOpen());
    EXPECT_EQ(user.text, HiddenWarningText(false));
    EXPECT_FALSE(user.checked);
    EXPECT_TRUE(s.core.settings.nocheckhidden);
    const std::optional<std::string> saved = s.files.Contents(kAppDataCopy);
    ASSERT_TRUE(saved);
    EXPECT_NE(saved->find("nocheckhidden=\"Y\""), std::string::npos);
}

}  // namespace
}  // namespace lv
