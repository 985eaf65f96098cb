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
        const std::string id = std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++serial_);
        folder_ = std::u16string(temp, temp + length) + u"lumivane-files-" + std::u16string(id.begin(), id.end());
        ::CreateDirectoryW(Wide(folder_).c_str(), nullptr);
    }
    ~Win32FileApiTest() override {
        for (const char16_t* name : {u"Lumivane.xml", u"Lumivane.xml.new"}) {
            ::SetFileAttributesW(Wide(Path(name)).c_str(), FILE_ATTRIBUTE_NORMAL);
            ::DeleteFileW(Wide(Path(name)).c_str());
        }
        ::RemoveDirectoryW(Wide(Path(u"Lumivane")).c_str());
        ::RemoveDirectoryW(Wide(folder_).c_str());
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

TEST_F(Win32FileApiTest, AHiddenSettingsFileIsRewrittenAndReplacedAndStaysHidden) {
    ASSERT_TRUE(files_.WriteWholeFile(Path(u"Lumivane.xml"), "old and longer"));
    ASSERT_TRUE(files_.SetHidden(Path(u"Lumivane.xml")));
    ASSERT_TRUE(files_.WriteWholeFile(Path(u"Lumivane.xml"), "new"));
    EXPECT_EQ(Contents(u"Lumivane.xml"), "new");
    EXPECT_NE(Attributes(u"Lumivane.xml") & FILE_ATTRIBUTE_HIDDEN, 0u);

    ASSERT_TRUE(files_.WriteWholeFile(Path(u"Lumivane.xml.new"), std::string("newer\0", 6)));
    EXPECT_TRUE(files_.ReplaceFileWith(Path(u"Lumivane.xml.new"), Path(u"Lumivane.xml")));
    EXPECT_EQ(Contents(u"Lumivane.xml"), std::string("newer\0", 6));
    EXPECT_EQ(Attributes(u"Lumivane.xml.new"), INVALID_FILE_ATTRIBUTES);
}

TEST_F(Win32FileApiTest, AFileHeldOpenWithoutSharingCanBeNeitherWrittenNorRead) {
    ASSERT_TRUE(files_.WriteWholeFile(Path(u"Lumivane.xml"), "x"));
    EXPECT_TRUE(files_.CanOpenForWriting(Path(u"Lumivane.xml")));
    const HANDLE held = ::CreateFileW(Wide(Path(u"Lumivane.xml")).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::string bytes;
    EXPECT_FALSE(files_.CanOpenForWriting(Path(u"Lumivane.xml")));
    EXPECT_FALSE(files_.ReadWholeFile(Path(u"Lumivane.xml"), bytes));
    EXPECT_FALSE(files_.WriteWholeFile(Path(u"Lumivane.xml"), "y"));
    ::CloseHandle(held);
    EXPECT_TRUE(files_.CanOpenForWriting(Path(u"Lumivane.xml"))) << "closed at once";

    // An existing folder counts as created, a file of that name does not.
    EXPECT_TRUE(files_.CreateFolder(Path(u"Lumivane")));
    EXPECT_TRUE(files_.CreateFolder(Path(u"Lumivane")));
    EXPECT_FALSE(files_.CreateFolder(Path(u"Lumivane.xml")));
    EXPECT_FALSE(files_.CreateFolder(Path(u"missing\\Lumivane")));
}

}  // namespace
