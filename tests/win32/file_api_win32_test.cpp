#include <gtest/gtest.h>

#include <string>

#include "platform/win32/win32_files.h"

namespace {

// A fresh folder under the temporary folder for each test, removed with what it holds.
class Win32FileApiTest : public ::testing::Test {
protected:
    Win32FileApiTest() {
        wchar_t temp[MAX_PATH + 1];
        const DWORD length = ::GetTempPathW(MAX_PATH + 1, temp);
        folder_ = std::u16string(temp, temp + length) + u"lumivane-files-" + Number(::GetCurrentProcessId()) + u"-" +
                  Number(++serial_);
        ::CreateDirectoryW(Wide(folder_).c_str(), nullptr);
    }
    ~Win32FileApiTest() override {
        WIN32_FIND_DATAW found;
        const HANDLE search = ::FindFirstFileW(Wide(Path(u"*")).c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring path = Wide(Path(reinterpret_cast<const char16_t*>(found.cFileName)));
                ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    ::RemoveDirectoryW(path.c_str());
                } else {
                    ::DeleteFileW(path.c_str());
                }
            } while (::FindNextFileW(search, &found));
            ::FindClose(search);
        }
        ::RemoveDirectoryW(Wide(folder_).c_str());
    }

    static std::u16string Number(unsigned long value) {
        const std::string digits = std::to_string(value);
        return std::u16string(digits.begin(), digits.end());
    }
    static std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }
    std::u16string Path(std::u16string_view name) const { return folder_ + u"\\" + std::u16string(name); }
    DWORD Attributes(std::u16string_view name) const { return ::GetFileAttributesW(Wide(Path(name)).c_str()); }
    std::string Contents(std::u16string_view name) {
        std::string bytes;
        EXPECT_TRUE(files_.ReadWholeFile(Path(name), bytes));
        return bytes;
    }

    static inline unsigned long serial_ = 0;
    std::u16string folder_;
    lv::Win32FileApi files_;
};

TEST_F(Win32FileApiTest, FoldersComeWithoutTrailingBackslash) {
    std::u16string folder;
    ASSERT_TRUE(files_.GetRoamingAppDataFolder(folder));
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(folder.back(), u'\\');
    EXPECT_NE(::GetFileAttributesW(Wide(folder).c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
    ASSERT_TRUE(files_.GetWorkingFolder(folder));
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(folder.back(), u'\\');
    EXPECT_NE(::GetFileAttributesW(Wide(folder).c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
}

TEST_F(Win32FileApiTest, ReplacesAnExistingFileAlsoAHiddenOne) {
    for (const DWORD attributes : {DWORD{FILE_ATTRIBUTE_NORMAL}, DWORD{FILE_ATTRIBUTE_HIDDEN}}) {
        ASSERT_TRUE(files_.WriteWholeFile(Path(u"Lumivane.xml"), "old and longer"));
        ASSERT_TRUE(::SetFileAttributesW(Wide(Path(u"Lumivane.xml")).c_str(), attributes));
        ASSERT_TRUE(files_.WriteWholeFile(Path(u"Lumivane.xml.new"), std::string("new\0", 4)));
        EXPECT_TRUE(files_.ReplaceFileWith(Path(u"Lumivane.xml.new"), Path(u"Lumivane.xml"))) << attributes;
        EXPECT_EQ(Contents(u"Lumivane.xml"), std::string("new\0", 4));
        EXPECT_EQ(Attributes(u"Lumivane.xml.new"), INVALID_FILE_ATTRIBUTES);
        ASSERT_TRUE(::SetFileAttributesW(Wide(Path(u"Lumivane.xml")).c_str(), FILE_ATTRIBUTE_NORMAL));
    }
}

TEST_F(Win32FileApiTest, RewritingAHiddenFileKeepsItHidden) {
    ASSERT_TRUE(files_.WriteWholeFile(Path(u"Lumivane.xml"), "old and longer"));
    ASSERT_TRUE(files_.SetHidden(Path(u"Lumivane.xml")));
    EXPECT_NE(Attributes(u"Lumivane.xml") & FILE_ATTRIBUTE_HIDDEN, 0u);
    ASSERT_TRUE(files_.WriteWholeFile(Path(u"Lumivane.xml"), "new"));
    EXPECT_EQ(Contents(u"Lumivane.xml"), "new");
    EXPECT_NE(Attributes(u"Lumivane.xml") & FILE_ATTRIBUTE_HIDDEN, 0u);
}

TEST_F(Win32FileApiTest, AFileHeldOpenWithoutSharingCanBeNeitherWrittenNorRead) {
    ASSERT_TRUE(files_.WriteWholeFile(Path(u"Lumivane.xml"), "x"));
    EXPECT_TRUE(files_.CanOpenForWriting(Path(u"Lumivane.xml")));
    {
        const HANDLE held = ::CreateFileW(Wide(Path(u"Lumivane.xml")).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        std::string bytes;
        EXPECT_FALSE(files_.CanOpenForWriting(Path(u"Lumivane.xml")));
        EXPECT_FALSE(files_.ReadWholeFile(Path(u"Lumivane.xml"), bytes));
        EXPECT_FALSE(files_.WriteWholeFile(Path(u"Lumivane.xml"), "y"));
        ::CloseHandle(held);
    }
    // Closed at once: the test can still open it.
    EXPECT_TRUE(files_.CanOpenForWriting(Path(u"Lumivane.xml")));
    EXPECT_FALSE(files_.CanOpenForWriting(Path(u"missing.xml")));
}

TEST_F(Win32FileApiTest, AnExistingFolderCountsAsCreatedButAFileDoesNot) {
    EXPECT_TRUE(files_.CreateFolder(Path(u"Lumivane")));
    EXPECT_TRUE(files_.CreateFolder(Path(u"Lumivane")));
    EXPECT_NE(Attributes(u"Lumivane") & FILE_ATTRIBUTE_DIRECTORY, 0u);
    ASSERT_TRUE(files_.WriteWholeFile(Path(u"Lumivane.ini"), "x"));
    EXPECT_FALSE(files_.CreateFolder(Path(u"Lumivane.ini")));
    EXPECT_FALSE(files_.CreateFolder(Path(u"missing\\Lumivane")));
}

TEST_F(Win32FileApiTest, DeletesAFileOnce) {
    ASSERT_TRUE(files_.WriteWholeFile(Path(u"Lumivane.ini"), ""));
    EXPECT_EQ(Contents(u"Lumivane.ini"), "");
    EXPECT_TRUE(files_.RemoveFile(Path(u"Lumivane.ini")));
    EXPECT_EQ(Attributes(u"Lumivane.ini"), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(files_.RemoveFile(Path(u"Lumivane.ini")));
}

}  // namespace
