#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/host/posix_file_api.h"

namespace {

namespace fs = std::filesystem;

class PosixFileApiTest : public ::testing::Test {
protected:
    PosixFileApiTest() { fs::create_directories(root_); }
    ~PosixFileApiTest() override { fs::remove_all(root_); }

    // The core's spelling of a path below the test folder.
    std::u16string Path(std::u16string_view relative) const {
        std::u16string path = root_.u16string();
        for (char16_t& c : path) {
            if (c == u'/') c = u'\\';
        }
        return path + u"\\" + std::u16string(relative);
    }

    const fs::path root_ = fs::temp_directory_path() /
                           ("lumivane-posix-" + std::to_string(::getpid()) + "-" +
                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    lv::PosixFileApi files_{Path(u"roaming\\"), Path(u"program")};
};

TEST_F(PosixFileApiTest, FoldersFilesAndAnAtomicReplace) {
    std::u16string folder;
    ASSERT_TRUE(files_.GetRoamingAppDataFolder(folder));
    EXPECT_EQ(folder, Path(u"roaming"));  // without the trailing separator
    EXPECT_FALSE(lv::PosixFileApi{u""}.GetRoamingAppDataFolder(folder));
    ASSERT_TRUE(files_.GetWorkingFolder(folder));
    EXPECT_EQ(folder, Path(u"program"));

    EXPECT_FALSE(files_.WriteWholeFile(Path(u"Lumivane\\s.xml"), "x"));  // no folder yet
    ASSERT_TRUE(files_.CreateFolder(Path(u"Lumivane")));
    EXPECT_TRUE(files_.CreateFolder(Path(u"Lumivane")));  // an existing folder counts as created
    const std::string bytes("new\0bytes", 9);
    ASSERT_TRUE(files_.WriteWholeFile(Path(u"Lumivane\\s.xml"), "the old and longer content"));
    ASSERT_TRUE(files_.WriteWholeFile(Path(u"Lumivane\\s.xml.new"), bytes));
    EXPECT_TRUE(fs::exists(root_ / "Lumivane" / "s.xml.new"));  // backslashes separate folders
    ASSERT_TRUE(files_.ReplaceFileWith(Path(u"Lumivane\\s.xml.new"), Path(u"Lumivane\\s.xml")));
    std::string read;
    ASSERT_TRUE(files_.ReadWholeFile(Path(u"Lumivane\\s.xml"), read));
    EXPECT_EQ(read, bytes);
    EXPECT_FALSE(fs::exists(root_ / "Lumivane" / "s.xml.new"));
    EXPECT_FALSE(files_.ReplaceFileWith(Path(u"Lumivane\\s.xml.new"), Path(u"Lumivane\\s.xml")));
    EXPECT_FALSE(files_.CreateFolder(Path(u"Lumivane\\s.xml")));  // a file is no folder

    EXPECT_TRUE(files_.CanOpenForWriting(Path(u"Lumivane\\s.xml")));
    EXPECT_TRUE(files_.SetHidden(Path(u"Lumivane\\s.xml")));
    EXPECT_TRUE(files_.RemoveFile(Path(u"Lumivane\\s.xml")));
    std::string kept = "kept";
    EXPECT_FALSE(files_.ReadWholeFile(Path(u"Lumivane\\s.xml"), kept));
    EXPECT_EQ(kept, "kept");
    EXPECT_FALSE(files_.RemoveFile(Path(u"Lumivane\\s.xml")));
    EXPECT_FALSE(files_.ReadWholeFile(Path(u""), kept));  // the folder itself is no file
}

TEST_F(PosixFileApiTest, FileLargerThanAnyOfOursIsRefused) {
    ASSERT_TRUE(files_.WriteWholeFile(Path(u"big.xml"), std::string(lv::kMaxReadableFile + 1, 'x')));
    std::string bytes = "kept";
    EXPECT_FALSE(files_.ReadWholeFile(Path(u"big.xml"), bytes));
    ASSERT_TRUE(files_.WriteWholeFile(Path(u"big.xml"), std::string(lv::kMaxReadableFile, 'x')));
    EXPECT_TRUE(files_.ReadWholeFile(Path(u"big.xml"), bytes));
}

}  // namespace
