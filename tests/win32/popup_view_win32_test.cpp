// The view over real controls in a hidden window. Creating them needs a graphics
// driver: under Wine either an X display or the prefix setting
// HKCU\Software\Wine\Drivers Graphics=null, which works without any display.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_platform.h"

namespace {

constexpr int kList = lv::Win32PopupView::kMonitorListId;
constexpr int kLabel = 1002;
constexpr int kButton = 1037;
constexpr int kSlider = 1038;
constexpr int kChoice = 1113;
constexpr int kColumns = 6;

// The test executable links no comctl32 import library, so the controls are
// registered through a run-time lookup.
bool RegisterCommonControls() {
    static const bool registered = [] {
        const HMODULE module = ::LoadLibraryW(L"comctl32.dll");  // stays loaded for the whole run
        if (!module) return false;
        using InitFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
        const auto init = reinterpret_cast<InitFunction>(
            reinterpret_cast<void*>(::GetProcAddress(module, "InitCommonControlsEx")));
        INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
        return init && init(&classes);
    }();
    return registered;
}

class Win32PopupViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(RegisterCommonControls());
        popup.Reset(::CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr,
                                      nullptr, nullptr));
        ASSERT_TRUE(popup) << "no window could be created; under Wine set Graphics=null or provide a display";
        Child(L"STATIC", kLabel, 0);
        Child(L"BUTTON", kButton, BS_PUSHBUTTON);
        Child(TRACKBAR_CLASSW, kSlider, TBS_VERT);
        Child(WC_COMBOBOXW, kChoice, CBS_DROPDOWNLIST);
        const HWND list = Child(WC_LISTVIEWW, kList, LVS_REPORT);  // several rows may be selected at once
        ::SendMessageW(::GetDlgItem(popup.Get(), kSlider), TBM_SETRANGE, FALSE, MAKELPARAM(0, 100));
        for (int column = 0; column < kColumns; ++column) {
            LVCOLUMNW header{};
            header.mask = LVCF_WIDTH;
            header.cx = 40;
            ::SendMessageW(list, LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&header));
        }
        view.SetWindow(popup.Get());
    }

    HWND Child(const wchar_t* className, int id, DWORD style) {
        const HWND child = ::CreateWindowExW(0, className, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 200, 100,
                                             popup.Get(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr,
                                             nullptr);
        EXPECT_NE(child, nullptr) << id;
        return child;
    }

    HWND Item(int id) const { return ::GetDlgItem(popup.Get(), id); }

    std::string Text(int id) const {
        char buffer[256] = {};
        ::GetDlgItemTextA(popup.Get(), id, buffer, sizeof(buffer));
        return buffer;
    }

    int RowCount() const { return static_cast<int>(::SendMessageA(Item(kList), LVM_GETITEMCOUNT, 0, 0)); }

    std::string Cell(int row, int column) const {
        char buffer[256] = {};
        LVITEMA item{};
        item.iSubItem = column;
        item.pszText = buffer;
        item.cchTextMax = sizeof(buffer);
        ::SendMessageA(Item(kList), LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
        return buffer;
    }

    std::vector<int> SelectedRows() const {
        std::vector<int> rows;
        for (int row = 0; row < RowCount(); ++row)
            if (::SendMessageA(Item(kList), LVM_GETITEMSTATE, row, LVIS_SELECTED) & LVIS_SELECTED) rows.push_back(row);
        return rows;
    }

    std::vector<std::string> ChoiceItems() const {
        std::vector<std::string> items;
        const int count = static_cast<int>(::SendDlgItemMessageA(popup.Get(), kChoice, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char buffer[256] = {};
            ::SendDlgItemMessageA(popup.Get(), kChoice, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(buffer));
            items.push_back(buffer);
        }
        return items;
    }

    lv::win32::UniqueWindow popup;
    lv::Win32PopupView view;
};

TEST_F(Win32PopupViewTest, TextSliderShowEnableAndVisibility) {
    view.SetText(kLabel, "Ton 35");
    EXPECT_EQ(Text(kLabel), "Ton 35");
    view.SetText(kButton, "\xD8");  // code page 1252 bytes are kept
    EXPECT_EQ(Text(kButton), "\xD8");
    view.SetText(kLabel, std::string_view("Vol. 100 and more").substr(0, 8));
    EXPECT_EQ(Text(kLabel), "Vol. 100");

    for (const int position : {65, 0, 100, 1}) {
        view.SetSliderPos(kSlider, position);
        EXPECT_EQ(::SendMessageW(Item(kSlider), TBM_GETPOS, 0, 0), position);
    }

    for (const bool on : {false, true}) {
        view.Show(kButton, on);
        EXPECT_EQ((::GetWindowLongW(Item(kButton), GWL_STYLE) & WS_VISIBLE) != 0, on);
        view.Enable(kSlider, on);
        EXPECT_EQ(::IsWindowEnabled(Item(kSlider)) != FALSE, on);
        EXPECT_TRUE(::IsWindowEnabled(Item(kButton)));
    }

    EXPECT_FALSE(view.IsVisible());
    ::ShowWindow(popup.Get(), SW_SHOWNOACTIVATE);
    EXPECT_TRUE(view.IsVisible());
    view.RedrawNow();
    ::ShowWindow(popup.Get(), SW_HIDE);
    EXPECT_FALSE(view.IsVisible());
}

TEST_F(Win32PopupViewTest, RowCountInsertsAndDeletesAtTheEndAndCellsAreReplaced) {
    view.SetListRowCount(3);
    ASSERT_EQ(RowCount(), 3);
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < kColumns; ++column)
            view.SetListCell(row, column, std::to_string(row) + ":" + std::to_string(column));
    EXPECT_EQ(Cell(2, 5), "2:5");
    EXPECT_EQ(Cell(1, 3), "1:3");

    view.SetListRowCount(1);
    ASSERT_EQ(RowCount(), 1);
    EXPECT_EQ(Cell(0, 5), "0:5");  // the remaining row keeps its cells
    view.SetListRowCount(4);
    ASSERT_EQ(RowCount(), 4);
    for (int row = 1; row < 4; ++row) EXPECT_EQ(Cell(row, 0), "") << row;

    view.SetListCell(0, 2, "\xC4nderung");
    view.SetListCell(0, 2, "ab");
    EXPECT_EQ(Cell(0, 2), "ab");
    view.SetListCell(0, 2, "");
    EXPECT_EQ(Cell(0, 2), "");

    view.SetListRowCount(-1);
    EXPECT_EQ(RowCount(), 0);
}

TEST_F(Win32PopupViewTest, SelectionMarksExactlyOneRow) {
    view.SetListRowCount(4);
    view.SelectListRow(0);
    EXPECT_EQ(SelectedRows(), std::vector<int>{0});
    // Another mark set from outside, as a click with Ctrl would leave it.
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED;
    item.state = LVIS_SELECTED;
    ::SendMessageA(Item(kList), LVM_SETITEMSTATE, 3, reinterpret_cast<LPARAM>(&item));

    view.SelectListRow(2);
    EXPECT_EQ(SelectedRows(), std::vector<int>{2});
    view.SelectListRow(-1);
    EXPECT_EQ(SelectedRows(), std::vector<int>{});
}

TEST_F(Win32PopupViewTest, ChoiceItemsAreReplacedAndSelected) {
    view.SetChoiceItems(kChoice, {"sRGB", "6500 K", "User 1"});
    EXPECT_EQ(ChoiceItems(), (std::vector<std::string>{"sRGB", "6500 K", "User 1"}));
    view.SetChoiceCurrent(kChoice, 1);
    EXPECT_EQ(::SendDlgItemMessageA(popup.Get(), kChoice, CB_GETCURSEL, 0, 0), 1);

    view.SetChoiceItems(kChoice, {"HDMI 2", "DisplayPort", "\xC4"});
    EXPECT_EQ(ChoiceItems(), (std::vector<std::string>{"HDMI 2", "DisplayPort", "\xC4"}));
    view.SetChoiceCurrent(kChoice, -1);
    EXPECT_EQ(::SendDlgItemMessageA(popup.Get(), kChoice, CB_GETCURSEL, 0, 0), CB_ERR);

    view.SetChoiceItems(kChoice, {});
    EXPECT_TRUE(ChoiceItems().empty());
}

// Answers the message box from inside: a CBT hook sees it activate, records what it
// shows and queues a key press, which the box's own message loop handles once it runs.
struct MessageBoxAnswerer {
    static inline WPARAM key = 0;
    static inline std::string caption;
    static inline std::string text;
    static inline HWND owner = nullptr;

    static LRESULT CALLBACK Hook(int code, WPARAM wparam, LPARAM lparam) {
        // The owner is activated again when the box closes; only the box is of interest.
        char className[16] = {};
        const HWND window = reinterpret_cast<HWND>(wparam);
        if (code == HCBT_ACTIVATE && ::GetClassNameA(window, className, sizeof(className)) &&
            std::string_view(className) == "#32770") {
            char buffer[256] = {};
            ::GetWindowTextA(window, buffer, sizeof(buffer));
            caption = buffer;
            ::GetDlgItemTextA(window, 0xFFFF, buffer, sizeof(buffer));
            text = buffer;
            owner = ::GetWindow(window, GW_OWNER);
            ::PostMessageW(window, WM_KEYDOWN, key, 0);
        }
        return ::CallNextHookEx(nullptr, code, wparam, lparam);
    }
};

TEST_F(Win32PopupViewTest, AskYesNoShowsTheQuestionWithNoAsDefault) {
    const lv::win32::UniqueHook hook(
        ::SetWindowsHookExW(WH_CBT, MessageBoxAnswerer::Hook, nullptr, ::GetCurrentThreadId()));
    ASSERT_TRUE(hook);
    struct Case {
        WPARAM key;
        bool expected;
    };
    // Y chooses Yes; Enter chooses the default button, which must be No.
    for (const Case c : {Case{'Y', true}, Case{VK_RETURN, false}}) {
        MessageBoxAnswerer::key = c.key;
        MessageBoxAnswerer::caption.clear();
        EXPECT_EQ(view.AskYesNo("Lumivane", "Alle Einstellungen zur\xFC" "cksetzen?"), c.expected) << c.key;
        EXPECT_EQ(MessageBoxAnswerer::caption, "Lumivane");
        EXPECT_EQ(MessageBoxAnswerer::text, "Alle Einstellungen zur\xFC" "cksetzen?");
        EXPECT_EQ(MessageBoxAnswerer::owner, popup.Get());
    }
}

TEST(Win32PopupView, WithoutAWindowEveryCallIsHarmless) {
    lv::Win32PopupView view;
    view.SetText(kLabel, "x");
    view.SetSliderPos(kSlider, 5);
    view.Show(kLabel, true);
    view.Enable(kLabel, false);
    view.RedrawNow();
    view.SetListRowCount(3);
    view.SetListCell(0, 0, "x");
    view.SelectListRow(0);
    view.SetChoiceItems(kChoice, {"a"});
    view.SetChoiceCurrent(kChoice, 0);
    EXPECT_FALSE(view.IsVisible());
    EXPECT_FALSE(view.AskYesNo("caption", "text"));  // no question is shown, and No is the default
}

}  // namespace
