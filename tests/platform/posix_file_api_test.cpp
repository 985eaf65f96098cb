#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
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
    std::string Read(const fs::path& relative) const {
        std::ifstream file(root_ / relative, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }

    const fs::path root_ = fs::temp_directory_path() /
                           ("lumivane-posix-" + std::to_string(::getpid()) + "-" +
                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    lv::PosixFileApi files_{Path(u"roaming\\"), Path(u"program")};
};

TEST_F(PosixFileApiTest, FoldersAreTheConfiguredOnesWithoutTrailingSeparator) {
    std::u16string folder;
    ASSERT_TRUE(files_.GetRoamingAppDataFolder(folder));
    EXPECT_EQ(folder, Path(u"roaming"));
    ASSERT_TRUE(files_.GetWorkingFolder(folder));
    EXPECT_EQ(folder, Path(u"program"));

    lv::PosixFileApi unconfigured{u""};
    EXPECT_FALSE(unconfigured.GetRoamingAppDataFolder(folder));
    ASSERT_TRUE(unconfigured.GetWorkingFolder(folder));
    std::u16string current = fs::current_path().u16string();
    for (char16_t& c : current) {
        if (c == u'/') c = u'\\';
    }
    EXPECT_EQ(folder, current);
}

TEST_F(PosixFileApiTest, BackslashesSeparateFolders) {
    ASSERT_TRUE(files_.CreateFolder(Path(u"Lumivane")));
    ASSERT_TRUE(files_.WriteWholeFile(Path(u"Lumivane\\Lumivane.xml"), "<s/>"));
    EXPECT_EQ(Read("Lumivane/Lumivane.xml"), "<s/>");
}

TEST_F(PosixFileApiTest, ANewFileReplacesTheOldOneWhole) {
    const std::string bytes("new\0bytes", 9);
    ASSERT_TRUE(files_.WriteWholeFile(Path(u"s.xml"), "the old and longer content"));
    ASSERT_TRUE(files_.WriteWholeFile(Path(u"s.xml.new"), bytes));
    ASSERT_TRUE(files_.ReplaceFileWith(Path(u"s.xml.new"), Path(u"s.xml")));
    std::string read;
    ASSERT_TRUE(files_.ReadWholeFile(Path(u"s.xml"), read));
    EXPECT_EQ(read, bytes);
    EXPECT_FALSE(fs::exists(root_ / "s.xml.new"));
    EXPECT_FALSE(files_.ReplaceFileWith(Path(u"s.xml.new"), Path(u"s.xml")));
}

TEST_F(PosixFileApiTest, MissingFilesAndFoldersFail) {
    std::string bytes = "kept";
    EXPECT_FALSE(files_.ReadWholeFile(Path(u"missing.xml"), bytes));
    EXPECT_EQ(bytes, "kept");
    EXPECT_FALSE(files_.CanOpenForWriting(Path(u"missing.xml")));
    EXPECT_FALSE(files_.WriteWholeFile(Path(u"missing\\s.xml"), "x"));
    EXPECT_FALSE(files_.RemoveFile(Path(u"missing.xml")));
    EXPECT_FALSE(files_.SetHidden(Path(u"missing.xml")));
    EXPECT_FALSE(files_.ReadWholeFile(Path(u""), bytes));  // the folder itself is no file
    EXPECT_FALSE(files_.CanOpenForWriting(Path(u"")));
}

TEST_F(PosixFileApiTest, ExistingFilesCanBeOpenedHiddenAndDeleted) {
    ASSERT_TRUE(files_.WriteWholeFile(Path(u"s.xml"), "x"));
    EXPECT_TRUE(files_.CanOpenForWriting(Path(u"s.xml")));
    EXPECT_TRUE(files_.SetHidden(Path(u"s.xml")));
    EXPECT_TRUE(files_.RemoveFile(Path(u"s.xml")));
    EXPECT_FALSE(fs::exists(root_ / "s.xml"));
}

TEST_F(PosixFileApiTest, AnExistingFolderCountsAsCreatedButAFileDoesNot) {
    EXPECT_TRUE(files_.CreateFolder(Path(u"Lumivane")));
    EXPECT_TRUE(files_.CreateFolder(Path(u"Lumivane")));
    EXPECT_TRUE(fs::is_directory(root_ / "Lumivane"));
    ASSERT_TRUE(files_.WriteWholeFile(Path(u"file"), "x"));
    EXPECT_FALSE(files_.CreateFolder(Path(u"file")));
}

}  // namespace

TEST_F(PosixFileApiTest, FileLargerThanAnyOfOursIsRefused) {
    ASSERT_TRUE(files_.WriteWholeFile(Path(u"big.xml"), std::string(lv::kMaxReadableFile + 1, 'x')));
    std::string bytes = "kept";
    EXPECT_FALSE(files_.ReadWholeFile(Path(u"big.xml"), bytes));
    ASSERT_TRUE(files_.WriteWholeFile(Path(u"big.xml"), std::string(lv::kMaxReadableFile, 'x')));
    EXPECT_TRUE(files_.ReadWholeFile(Path(u"big.xml"), bytes));
}
