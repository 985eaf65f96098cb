// The resources linked into this executable (src/resources/lumivane.rc): the popup
// template with every control where the layout expects it, the menus, accelerators,
// icon, version and manifest. Numbers are written out rather than taken from
// resource.h, so a wrong identifier in the header fails here too. Creating dialogs
// needs a graphics driver (under Wine: Graphics=null is enough).
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "resources/resource.h"

namespace {

static_assert(lv::res::kPopupDialog == 101 && lv::res::kBrightnessPresetFirst == 40001 &&
              lv::res::kVolumePresetLast == 40063 && lv::res::kEscape == 40075);

constexpr wchar_t kPopupClass[] = L"Lumivane class 4.4";

HINSTANCE Module() { return ::GetModuleHandleW(nullptr); }

// The test executable may link no comctl32 import library, so the classes are
// registered through a run-time lookup.
bool RegisterControlClasses() {
    static const bool registered = [] {
        const HMODULE module = ::LoadLibraryW(L"comctl32.dll");  // stays loaded for the whole run
        if (!module) return false;
        using InitFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
        const auto init = reinterpret_cast<InitFunction>(
            reinterpret_cast<void*>(::GetProcAddress(module, "InitCommonControlsEx")));
        INITCOMMONCONTROLSEX classes{sizeof(classes),
                                     ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
        return init && init(&classes);
    }();
    return registered;
}

// Template 101 names the program's window class; the program registers it with its
// own procedure, the test with the default dialog procedure.
bool RegisterPopupClass() {
    static const bool registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = ::DefDlgProcW;
        windowClass.cbWndExtra = 60;
        windowClass.hInstance = Module();
        windowClass.lpszClassName = kPopupClass;
        return ::RegisterClassExW(&windowClass) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    return registered;
}

INT_PTR CALLBACK QuietDialogProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

class HiddenDialog {
public:
    explicit HiddenDialog(int id)
        : window_(::CreateDialogParamW(Module(), MAKEINTRESOURCEW(id), nullptr, QuietDialogProc, 0)) {}
    ~HiddenDialog() {
        if (window_) ::DestroyWindow(window_);
    }
    HiddenDialog(const HiddenDialog&) = delete;
    HiddenDialog& operator=(const HiddenDialog&) = delete;
    HWND Get() const { return window_; }

private:
    HWND window_;
};

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    return name;
}

std::wstring TextOf(HWND window) {
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

LONG StyleOf(HWND window) { return ::GetWindowLongW(window, GWL_STYLE); }

enum class Kind { List, Static, Slider, HorizontalSlider, Button, CheckBox, GroupBox, DropDown };

struct ControlSpec {
    int id;
    Kind kind;
    int x, y, width, height;  // dialog units
    const wchar_t* text;      // nullptr: not checked
};

std::vector<ControlSpec> PopupControls() {
    std::vector<ControlSpec> controls = {
        {1001, Kind::List, 9, 8, 248, 47, nullptr},
        {1112, Kind::CheckBox, 9, 5, 25, 10, L"RGB"},
        {1064, Kind::CheckBox, 235, 5, 22, 10, L"vol."},
        {1113, Kind::DropDown, 42, 6, 35, 30, nullptr},
        {1119, Kind::HorizontalSlider, 133, 6, 48, 10, nullptr},
        {1120, Kind::Static, 181, 6, 19, 8, L"100%"},
        {1221, Kind::Button, 139, 6, 32, 10, L"shut off"},
        {1222, Kind::Button, 164, 6, 34, 10, L"shut off"},
        {1214, Kind::Button, 259, 1, 6, 6, nullptr},
        {1070, Kind::Static, 9, 18, 20, 8, L"R:100"},
        {1071, Kind::Static, 34, 18, 20, 8, L"G:100"},
        {1072, Kind::Static, 59, 18, 20, 8, L"B:100"},
        {1067, Kind::Slider, 9, 27, 17, 195, nullptr},
        {1068, Kind::Slider, 34, 27, 17, 195, nullptr},
        {1069, Kind::Slider, 59, 27, 17, 195, nullptr},
        {1108, Kind::Static, 9, 34, 67, 32, L"RGB-sliders\r\nonly functional\r\nin User-Profile"},
        {1109, Kind::Static, 9, 34, 67, 32, L"RGB-Schieberegler\r\nfunktionieren nur\r\nin User-Profil"},
        {1116, Kind::GroupBox, 11, 221, 64, 41, nullptr},
        {1115, Kind::DropDown, 16, 230, 54, 30, nullptr},
        {1117, Kind::Button, 16, 248, 54, 11, L"Reset Monitor"},
        {1002, Kind::Static, 107, 18, 50, 8, L"Brightness ?"},
        {1003, Kind::Static, 163, 18, 43, 8, L"Contrast ?"},
        {1004, Kind::Static, 215, 18, 26, 8, L"Vol. 100"},
        {1037, Kind::Button, 243, 17, 13, 10, L"O"},
        {1038, Kind::Slider, 128, 27, 17, 234, nullptr},
        {1039, Kind::Slider, 184, 27, 17, 234, nullptr},
        {1040, Kind::Slider, 240, 27, 17, 234, nullptr},
        {1104, Kind::Static, 157, 34, 59, 147, nullptr},
        {1105, Kind::Static, 157, 34, 59, 147,
         L"Sie k\u00f6nnen\nHelligkeit\nund Kontrast\neines externen\nDDC-Monitors\nanpassen.\n\nSie k\u00f6nnen\n"
         L"auch die\nHelligkeit\neines Laptops\nanpassen,\nallerdings\nunterst\u00fctzen\nLaptop-Displays\n"
         L"keine direkte\nKontrast oder\nFarb\u00e4nderung."},
        {1106, Kind::Static, 157, 189, 59, 63, L""},
    };
    // Preset columns: "100" at 28, each lower value 11 units further down, "0" at 248.
    static const std::vector<std::wstring> labels = [] {
        std::vector<std::wstring> texts;
        for (int k = 0; k <= 20; ++k) texts.push_back(std::to_wstring(5 * k));
        return texts;
    }();
    const struct {
        int first, x;
    } columns[] = {{40001, 108}, {40022, 164}, {40043, 220}};
    for (const auto& column : columns) {
        for (int k = 0; k <= 20; ++k) {
            controls.push_back({column.first + k, Kind::Button, column.x, 28 + (20 - k) * 11, 19, 11,
                                labels[static_cast<size_t>(k)].c_str()});
        }
    }
    return controls;
}

bool HasKind(HWND control, Kind kind) {
    const std::wstring name = ClassOf(control);
    const LONG style = StyleOf(control);
    const auto isClass = [&](const wchar_t* expected) { return ::lstrcmpiW(name.c_str(), expected) == 0; };
    switch (kind) {
        case Kind::List:
            return isClass(WC_LISTVIEWW) && (style & LVS_TYPEMASK) == LVS_REPORT && (style & LVS_SINGLESEL);
        case Kind::Static:
            return isClass(L"Static");
        case Kind::Slider:
            return isClass(TRACKBAR_CLASSW) && (style & TBS_VERT) && (style & TBS_TOOLTIPS);
        case Kind::HorizontalSlider:
            return isClass(TRACKBAR_CLASSW) && !(style & TBS_VERT);
        case Kind::Button:
            return isClass(L"Button") && ((style & BS_TYPEMASK) == BS_PUSHBUTTON ||
                                          (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON);
        case Kind::CheckBox:
            return isClass(L"Button") && (style & BS_TYPEMASK) == BS_AUTOCHECKBOX;
        case Kind::GroupBox:
            return isClass(L"Button") && (style & BS_TYPEMASK) == BS_GROUPBOX;
        case Kind::DropDown:
            return isClass(L"ComboBox") && (style & 3) == CBS_DROPDOWNLIST;
    }
    return false;
}

class PopupTemplateTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(RegisterControlClasses());
        ASSERT_TRUE(RegisterPopupClass());
        popup.emplace(101);
        ASSERT_NE(Popup(), nullptr) << "dialog 101 could not be created: " << ::GetLastError();
    }

    HWND Popup() const { return popup ? popup->Get() : nullptr; }

    // The dialog manager converts position and size separately, so the right edge is
    // not the conversion of x + width.
    RECT DialogUnits(int x, int y, int width, int height) const {
        RECT position{x, y, width, height};
        ::MapDialogRect(Popup(), &position);
        return {position.left, position.top, position.left + position.right, position.top + position.bottom};
    }

    RECT ClientRectOf(HWND control) const {
        RECT rect{};
        ::GetWindowRect(control, &rect);
        ::MapWindowPoints(HWND_DESKTOP, Popup(), reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }

    std::optional<HiddenDialog> popup;  // created in SetUp, once the class is registered
};

TEST_F(PopupTemplateTest, IsAHiddenWindowOfTheProgramClassWithTheTemplateSize) {
    EXPECT_EQ(ClassOf(Popup()), kPopupClass);
    EXPECT_FALSE(StyleOf(Popup()) & WS_VISIBLE);
    RECT client{};
    ::GetClientRect(Popup(), &client);
    const RECT expected = DialogUnits(0, 0, 266, 265);
    EXPECT_EQ(client.right, expected.right);
    EXPECT_EQ(client.bottom, expected.bottom);
}

TEST_F(PopupTemplateTest, EveryControlHasItsKindPositionAndText) {
    const auto controls = PopupControls();
    ASSERT_EQ(controls.size(), 30u + 63u);
    for (const auto& spec : controls) {
        SCOPED_TRACE(spec.id);
        const HWND control = ::GetDlgItem(Popup(), spec.id);
        ASSERT_NE(control, nullptr);
        EXPECT_TRUE(HasKind(control, spec.kind)) << "class " << ::testing::PrintToString(ClassOf(control))
                                                 << " style " << std::hex << StyleOf(control);
        const RECT expected = DialogUnits(spec.x, spec.y, spec.width, spec.height);
        const RECT actual = ClientRectOf(control);
        EXPECT_EQ(actual.left, expected.left);
        EXPECT_EQ(actual.top, expected.top);
        EXPECT_EQ(actual.right, expected.right);
        if (spec.kind != Kind::DropDown) {  // a drop-down's template height is that of its list
            EXPECT_EQ(actual.bottom, expected.bottom);
        }
        if (spec.text) {
            EXPECT_EQ(TextOf(control), spec.text);
        }
    }
}

TEST_F(PopupTemplateTest, OnlyTheUnusedSliderAndItsLabelStartHidden) {
    for (const int id : {1119, 1120}) EXPECT_FALSE(StyleOf(::GetDlgItem(Popup(), id)) & WS_VISIBLE) << id;
    for (const int id : {1001, 1038, 1104, 1105, 1108, 1109, 40001, 1221, 1222})
        EXPECT_TRUE(StyleOf(::GetDlgItem(Popup(), id)) & WS_VISIBLE) << id;
}

TEST(ResourcesTest, WarningDialogsHaveTheirCaptionsAndControls) {
    ASSERT_TRUE(RegisterControlClasses());
    const struct {
        int id;
        const wchar_t* caption;
        const wchar_t* checkBox;
    } dialogs[] = {{106, L"There are hidden Lumivane icons!", L"Do not show warning again"},
                   {107, L"versteckte Lumivane Symbole vorhanden!", L"Warnung nicht mehr anzeigen"}};
    for (const auto& expected : dialogs) {
        SCOPED_TRACE(expected.id);
        const HiddenDialog dialog(expected.id);
        ASSERT_NE(dialog.Get(), nullptr);
        EXPECT_EQ(TextOf(dialog.Get()), expected.caption);
        EXPECT_FALSE(StyleOf(dialog.Get()) & WS_VISIBLE);  // the dialog shows itself from a timer
        const HWND text = ::GetDlgItem(dialog.Get(), 1258);
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(::lstrcmpiW(ClassOf(text).c_str(), L"Edit"), 0);
        EXPECT_TRUE(StyleOf(text) & ES_MULTILINE);
        EXPECT_TRUE(StyleOf(text) & ES_READONLY);
        const HWND checkBox = ::GetDlgItem(dialog.Get(), 1257);
        ASSERT_NE(checkBox, nullptr);
        EXPECT_EQ(TextOf(checkBox), expected.checkBox);
        EXPECT_EQ(StyleOf(checkBox) & BS_TYPEMASK, BS_AUTOCHECKBOX);
        ASSERT_NE(::GetDlgItem(dialog.Get(), IDOK), nullptr);
        EXPECT_EQ(TextOf(::GetDlgItem(dialog.Get(), IDOK)), L"OK");
    }
    EXPECT_NE(::FindResourceW(Module(), MAKEINTRESOURCEW(103), MAKEINTRESOURCEW(5)), nullptr);  // RT_DIALOG
}

struct MenuEntry {
    UINT id;  // 0: separator
    const wchar_t* text;
};

std::vector<MenuEntry> Separated(std::initializer_list<MenuEntry> entries) {
    std::vector<MenuEntry> result;
    for (const auto& entry : entries) {
        if (!result.empty()) result.push_back({0, L""});
        result.push_back(entry);
    }
    return result;
}

void ExpectMenu(int menuId, const std::vector<MenuEntry>& expected) {
    SCOPED_TRACE(menuId);
    const HMENU menu = ::LoadMenuW(Module(), MAKEINTRESOURCEW(menuId));
    ASSERT_NE(menu, nullptr);
    const HMENU entries = ::GetSubMenu(menu, 0);
    ASSERT_NE(entries, nullptr);
    ASSERT_EQ(::GetMenuItemCount(entries), static_cast<int>(expected.size()));
    for (size_t position = 0; position < expected.size(); ++position) {
        SCOPED_TRACE(position);
        wchar_t text[128] = {};
        MENUITEMINFOW item{};
        item.cbSize = sizeof(item);
        item.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STRING;
        item.dwTypeData = text;
        item.cch = 128;
        ASSERT_TRUE(::GetMenuItemInfoW(entries, static_cast<UINT>(position), TRUE, &item));
        if (expected[position].id == 0) {
            EXPECT_TRUE(item.fType & MFT_SEPARATOR);
        } else {
            EXPECT_EQ(item.wID, expected[position].id);
            EXPECT_EQ(std::wstring_view(text), expected[position].text);
        }
    }
    ::DestroyMenu(menu);
}

TEST(ResourcesTest, NotificationAreaMenusListTheCommandsInOrder) {
    ExpectMenu(109, Separated({{40064, L"Lumivane 4.4"},
                               {40066, L"Settings..."},
                               {40067, L"Shut monitors off"},
                               {1171, L"Rescan monitors"},
                               {1295, L"Uninstall program"},
                               {40068, L"Help"},
                               {40074, L"Exit"}}));
    ExpectMenu(110, Separated({{40064, L"Lumivane 4.4"},
                               {40066, L"Einstellungen..."},
                               {40067, L"Monitore schlafen legen"},
                               {1171, L"Monitore erneut abfragen"},
                               {1295, L"Programm deinstallieren"},
                               {40068, L"Hilfe"},
                               {40074, L"Beenden"}}));
    for (const int menuId : {109, 110}) {
        const HMENU menu = ::LoadMenuW(Module(), MAKEINTRESOURCEW(menuId));
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(::GetMenuDefaultItem(::GetSubMenu(menu, 0), FALSE, 0), 40064u) << menuId;
        ::DestroyMenu(menu);
    }
}

TEST(ResourcesTest, MonitorListMenusListTheCommandsInOrder) {
    ExpectMenu(111, Separated({{1292, L"Ignore monitor -> Lumivane-window opens a little bit faster"},
                               {1293, L"Utilize monitor"},
                               {1223, L"Copy Debug-Infos of all monitors to Clipboard"}}));
    ExpectMenu(112, Separated({{1292, L"Monitor ignorieren wodurch Lumivane-Fenster etwas schneller ge\u00f6ffnet wird"},
                               {1293, L"Monitor auswerten"},
                               {1223, L"Kopiere Analyse-Daten aller Monitore in die Zwischenablage"}}));
}

TEST(ResourcesTest, AcceleratorsMapEscapeAndF1) {
    const HACCEL table = ::LoadAcceleratorsW(Module(), MAKEINTRESOURCEW(113));
    ASSERT_NE(table, nullptr);
    ACCEL entries[4] = {};
    ASSERT_EQ(::CopyAcceleratorTableW(table, entries, 4), 2);
    const struct {
        WORD key, command;
    } expected[] = {{VK_ESCAPE, 40075}, {VK_F1, 40068}};
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(entries[i].fVirt & (FVIRTKEY | FSHIFT | FCONTROL | FALT), FVIRTKEY) << i;
        EXPECT_EQ(entries[i].key, expected[i].key) << i;
        EXPECT_EQ(entries[i].cmd, expected[i].command) << i;
    }
    ::DestroyAcceleratorTable(table);
}

std::string_view ResourceBytes(int id, LPCWSTR type) {
    const HRSRC found = ::FindResourceW(Module(), MAKEINTRESOURCEW(id), type);
    if (!found) return {};
    const HGLOBAL loaded = ::LoadResource(Module(), found);
    return {static_cast<const char*>(::LockResource(loaded)), ::SizeofResource(Module(), found)};
}

TEST(ResourcesTest, ManifestAsksForCommonControls6SystemDpiAndAsInvoker) {
    const std::string_view manifest = ResourceBytes(1, MAKEINTRESOURCEW(24));  // RT_MANIFEST
    ASSERT_FALSE(manifest.empty());
    for (const char* part : {"Microsoft.Windows.Common-Controls", "version=\"6.0.0.0\"", "level=\"asInvoker\"",
                             ">true</dpiAware>", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
                             "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"})
        EXPECT_NE(manifest.find(part), std::string_view::npos) << part;
}

TEST(ResourcesTest, ProgramIconLoadsAtTheUsualSizes) {
    for (const int size : {16, 32, 48}) {
        const HANDLE icon = ::LoadImageW(Module(), MAKEINTRESOURCEW(108), IMAGE_ICON, size, size, 0);
        EXPECT_NE(icon, nullptr) << size;
        if (icon) ::DestroyIcon(static_cast<HICON>(icon));
    }
}

TEST(ResourcesTest, VersionIs4400AndTooltipTextsAreStrings) {
    const std::string_view version = ResourceBytes(1, MAKEINTRESOURCEW(16));  // RT_VERSION
    ASSERT_FALSE(version.empty());
    const std::string_view signature("\xBD\x04\xEF\xFE", 4);
    const size_t fixed = version.find(signature);
    ASSERT_NE(fixed, std::string_view::npos);
    VS_FIXEDFILEINFO info{};
    ASSERT_LE(fixed + sizeof(info), version.size());
    ::memcpy(&info, version.data() + fixed, sizeof(info));
    EXPECT_EQ(info.dwFileVersionMS, 0x00040004u);
    EXPECT_EQ(info.dwFileVersionLS, 0u);
    const std::wstring_view product = L"Lumivane";
    EXPECT_NE(version.find(std::string_view(reinterpret_cast<const char*>(product.data()), product.size() * 2)),
              std::string_view::npos);

    wchar_t text[128] = {};
    ASSERT_GT(::LoadStringW(Module(), 1037, text, 128), 0);
    EXPECT_STREQ(text, L"mutes or\r\nunmutes volume");
    ASSERT_GT(::LoadStringW(Module(), 1221, text, 128), 0);
    EXPECT_STREQ(text, L"shut monitors off for power saving,\nmove mouse for powering on again");
}

}  // namespace
