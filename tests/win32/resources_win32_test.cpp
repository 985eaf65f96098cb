// The resources linked into this executable (src/resources/lumivane.rc). Numbers are
// written out rather than taken from resource.h, so a wrong identifier in the header
// fails here too. Creating dialogs needs a graphics driver (under Wine: Graphics=null).
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <vector>

#include "app/startup.h"
#include "popup/popup_proc.h"
#include "resources/resource.h"

namespace {

static_assert(lv::res::kPopupDialog == 101 && lv::res::kBrightnessPresetFirst == 40001 &&
              lv::res::kVolumePresetLast == 40063 && lv::res::kEscape == 40075);

HINSTANCE Module() { return ::GetModuleHandleW(nullptr); }

INT_PTR CALLBACK QuietDialogProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

TEST(ResourcesTest, PopupDialogHasEveryControl) {
    // The test executable may link no comctl32 import library: classes through a run-time lookup.
    const HMODULE comctl = ::LoadLibraryW(L"comctl32.dll");
    ASSERT_NE(comctl, nullptr);
    using InitFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    const auto init = reinterpret_cast<InitFunction>(
        reinterpret_cast<void*>(::GetProcAddress(comctl, "InitCommonControlsEx")));
    INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    ASSERT_TRUE(init && init(&classes));
    // Template 101 names the program's window class; here it gets the default dialog procedure.
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = ::DefDlgProcW;
    windowClass.cbWndExtra = 60;
    windowClass.hInstance = Module();
    windowClass.lpszClassName = L"Lumivane class 4.4";
    ASSERT_TRUE(::RegisterClassExW(&windowClass) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS);

    const HWND popup = ::CreateDialogParamW(Module(), MAKEINTRESOURCEW(101), nullptr, QuietDialogProc, 0);
    ASSERT_NE(popup, nullptr) << "dialog 101 could not be created: " << ::GetLastError();
    EXPECT_FALSE(::GetWindowLongW(popup, GWL_STYLE) & WS_VISIBLE);
    for (const int id : {1001, 1112, 1064, 1113, 1119, 1120, 1221, 1222, 1214, 1070, 1071, 1072, 1067, 1068, 1069,
                         1108, 1109, 1116, 1115, 1117, 1002, 1003, 1004, 1037, 1038, 1039, 1040, 1104, 1105, 1106})
        EXPECT_NE(::GetDlgItem(popup, id), nullptr) << id;
    for (int id = 40001; id <= 40063; ++id) EXPECT_NE(::GetDlgItem(popup, id), nullptr) << id;
    wchar_t text[64] = {};
    ::GetDlgItemTextW(popup, 40001, text, 64);
    EXPECT_STREQ(text, L"0");
    ::DestroyWindow(popup);
}

TEST(ResourcesTest, MenusAcceleratorsAndTheRestLoad) {
    const struct {
        int menu, entries, first;
    } menus[] = {{109, 13, 40064}, {110, 13, 40064}, {111, 5, 1292}, {112, 5, 1292}};
    for (const auto& expected : menus) {
        const HMENU menu = ::LoadMenuW(Module(), MAKEINTRESOURCEW(expected.menu));
        ASSERT_NE(menu, nullptr) << expected.menu;
        EXPECT_EQ(::GetMenuItemCount(::GetSubMenu(menu, 0)), expected.entries) << expected.menu;
        EXPECT_EQ(::GetMenuItemID(::GetSubMenu(menu, 0), 0), static_cast<UINT>(expected.first)) << expected.menu;
        ::DestroyMenu(menu);
    }

    const HACCEL table = ::LoadAcceleratorsW(Module(), MAKEINTRESOURCEW(113));
    ASSERT_NE(table, nullptr);
    ACCEL entries[4] = {};
    ASSERT_EQ(::CopyAcceleratorTableW(table, entries, 4), 2);
    EXPECT_EQ(entries[0].key, VK_ESCAPE);
    EXPECT_EQ(entries[0].cmd, 40075);
    EXPECT_EQ(entries[1].key, VK_F1);
    EXPECT_EQ(entries[1].cmd, 40068);
    ::DestroyAcceleratorTable(table);

    const struct {
        int id, type;
    } others[] = {{103, 5}, {106, 5}, {107, 5}, {108, 14}, {1, 16}, {1, 24}};  // dialogs, icon, version, manifest
    for (const auto& other : others)
        EXPECT_NE(::FindResourceW(Module(), MAKEINTRESOURCEW(other.id), MAKEINTRESOURCEW(other.type)), nullptr)
            << other.id << " of type " << other.type;
    wchar_t text[128] = {};
    ASSERT_GT(::LoadStringW(Module(), 1037, text, 128), 0);
    EXPECT_STREQ(text, L"mutes or\r\nunmutes volume");
}

// The version the file shows is the project's, the one in the program's title and window
// class; its strings are found through the translation it names, as Explorer looks them up.
TEST(ResourcesTest, TheVersionResourceIsTheProgramsVersion) {
    wchar_t path[MAX_PATH] = {};
    ASSERT_GT(::GetModuleFileNameW(nullptr, path, MAX_PATH), 0u);
    DWORD unused = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(path, &unused);
    ASSERT_GT(size, 0u);
    std::vector<char> info(size);
    ASSERT_TRUE(::GetFileVersionInfoW(path, 0, size, info.data()));

    // The value under a key of the version block, with its length; null when it is missing.
    UINT length = 0;
    auto query = [&](const wchar_t* key) {
        void* value = nullptr;
        return ::VerQueryValueW(info.data(), key, &value, &length) ? value : nullptr;
    };
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(query(L"\\"));
    ASSERT_NE(fixed, nullptr);
    const std::string version =
        std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." + std::to_string(LOWORD(fixed->dwFileVersionMS));
    EXPECT_EQ(version, LUMIVANE_VERSION);
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
    EXPECT_EQ(lv::kProgramTitle, "Lumivane " + version);
    EXPECT_EQ(lv::kWindowClassName, "Lumivane class " + version);

    const auto* translation = static_cast<const WORD*>(query(L"\\VarFileInfo\\Translation"));
    ASSERT_NE(translation, nullptr);
    ASSERT_GE(length, 2 * sizeof(WORD));
    const std::wstring wideVersion(version.begin(), version.end());
    const struct {
        const wchar_t* name;
        std::wstring value;
    } strings[] = {{L"FileVersion", wideVersion + L".0.0"},
                   {L"ProductVersion", wideVersion + L".0.0"},
                   {L"ProductName", L"Lumivane"},
                   {L"OriginalFilename", L"Lumivane.exe"}};
    for (const auto& expected : strings) {
        wchar_t key[96] = {};
        std::swprintf(key, std::size(key), L"\\StringFileInfo\\%04X%04X\\%ls", translation[0], translation[1],
                      expected.name);
        const auto* value = static_cast<const wchar_t*>(query(key));
        ASSERT_NE(value, nullptr) << expected.name;
        EXPECT_EQ(std::wstring(value), expected.value) << expected.name;
    }
}

}  // namespace
