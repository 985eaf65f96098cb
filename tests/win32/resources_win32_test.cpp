// The resources linked into this executable (src/resources/lumivane.rc) that no other
// test loads: dialog 101 is checked with the popup's controls, the tray menus with the
// tray menu. Numbers are written out rather than taken from resource.h.
#include <windows.h>

#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <utility>
#include <vector>

#include "app/startup.h"
#include "popup/popup_proc.h"

namespace {

HINSTANCE Module() { return ::GetModuleHandleW(nullptr); }

TEST(ResourcesTest, ListMenusAcceleratorsAndTheRestLoad) {
    for (const int id : {111, 112}) {  // the monitor list's menu, English and German
        const HMENU menu = ::LoadMenuW(Module(), MAKEINTRESOURCEW(id));
        ASSERT_NE(menu, nullptr) << id;
        EXPECT_EQ(::GetMenuItemCount(::GetSubMenu(menu, 0)), 5) << id;
        EXPECT_EQ(::GetMenuItemID(::GetSubMenu(menu, 0), 0), 1292u) << id;
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

    // Dialogs, icon, version and manifest, by id and type.
    for (const auto& [id, type] : {std::pair{103, 5}, {106, 5}, {107, 5}, {108, 14}, {1, 16}, {1, 24}})
        EXPECT_NE(::FindResourceW(Module(), MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(type)), nullptr) << id << "/" << type;
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
    EXPECT_EQ(lv::kProgramTitle, "Lumivane " + version);
    EXPECT_EQ(lv::kWindowClassName, "Lumivane class " + version);

    const auto* translation = static_cast<const WORD*>(query(L"\\VarFileInfo\\Translation"));
    ASSERT_NE(translation, nullptr);
    ASSERT_GE(length, 2 * sizeof(WORD));
    const std::wstring wideVersion(version.begin(), version.end());
    for (const auto& [name, value] : {std::pair<const wchar_t*, std::wstring>{L"FileVersion", wideVersion + L".0.0"},
                                      {L"ProductVersion", wideVersion + L".0.0"},
                                      {L"ProductName", L"Lumivane"},
                                      {L"OriginalFilename", L"Lumivane.exe"}}) {
        wchar_t key[96] = {};
        std::swprintf(key, std::size(key), L"\\StringFileInfo\\%04X%04X\\%ls", translation[0], translation[1],
                      name);
        const auto* found = static_cast<const wchar_t*>(query(key));
        ASSERT_NE(found, nullptr) << name;
        EXPECT_EQ(std::wstring(found), value) << name;
    }
}

}  // namespace
