#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "fakes/fake_file_api.h"

namespace {

using lv::fake::FakeFileApi;
using lv::fake::FileCall;

constexpr std::u16string_view kFolder = u"C:\\Users\\User\\AppData\\Roaming\\Lumivane";
constexpr std::u16string_view kFile = u"C:\\Users\\User\\AppData\\Roaming\\Lumivane\\Lumivane.xml";
constexpr std::u16string_view kNew = u"C:\\Users\\User\\AppData\\Roaming\\Lumivane\\Lumivane.xml.new";

struct CallCase {
    FileCall call;
    std::function<bool(FakeFileApi&)> make;
};

// One call of each kind, each of which succeeds on FilledFiles().
std::vector<CallCase> EveryCall() {
    return {
        {FileCall::GetRoamingAppDataFolder, [](FakeFileApi& f) { std::u16string s; return f.GetRoamingAppDataFolder(s); }},
        {FileCall::GetWorkingFolder, [](FakeFileApi& f) { std::u16string s; return f.GetWorkingFolder(s); }},
        {FileCall::CanOpenForWriting, [](FakeFileApi& f) { return f.CanOpenForWriting(kFile); }},
        {FileCall::ReadWholeFile, [](FakeFileApi& f) { std::string s; return f.ReadWholeFile(kFile, s); }},
        {FileCall::WriteWholeFile, [](FakeFileApi& f) { return f.WriteWholeFile(kFile, "written"); }},
        {FileCall::ReplaceFileWith, [](FakeFileApi& f) { return f.ReplaceFileWith(kNew, kFile); }},
        {FileCall::CreateFolder, [](FakeFileApi& f) { return f.CreateFolder(std::u16string(kFolder) + u"\\sub"); }},
        {FileCall::RemoveFile, [](FakeFileApi& f) { return f.RemoveFile(kFile); }},
        {FileCall::SetHidden, [](FakeFileApi& f) { return f.SetHidden(kFile); }},
    };
}

void Fill(FakeFileApi& files) {
    files.AddFile(kFile, "old");
    files.AddFile(kNew, "new");
}

TEST(FakeFileApi, EveryCallCanBeMadeToFailAndThenChangesNothing) {
    for (const CallCase& c : EveryCall()) {
        FakeFileApi files;
        Fill(files);
        ASSERT_TRUE(c.make(files)) << static_cast<int>(c.call);

        FakeFileApi failing;
        Fill(failing);
        failing.SetFailing(c.call);
        EXPECT_FALSE(c.make(failing)) << static_cast<int>(c.call);
        EXPECT_EQ(failing.Files(), (std::vector<std::u16string>{std::u16string(kFile), std::u16string(kNew)}));
        EXPECT_EQ(failing.Contents(kFile), "old");
        EXPECT_FALSE(failing.IsHidden(kFile));
        EXPECT_FALSE(failing.FolderExists(std::u16string(kFolder) + u"\\sub"));
        EXPECT_EQ(failing.CallCount(c.call), 1u);
        EXPECT_FALSE(failing.Calls().back().ok);
    }
}

TEST(FakeFileApi, ALockedFileCanBeNeitherOpenedReadWrittenReplacedNorDeleted) {
    for (const CallCase& c : EveryCall()) {
        if (c.call != FileCall::CanOpenForWriting && c.call != FileCall::ReadWholeFile &&
            c.call != FileCall::WriteWholeFile && c.call != FileCall::ReplaceFileWith && c.call != FileCall::RemoveFile)
            continue;
        FakeFileApi files;
        Fill(files);
        files.SetLocked(kFile, true);
        EXPECT_FALSE(c.make(files)) << static_cast<int>(c.call);
        EXPECT_EQ(files.Contents(kFile), "old");
        files.SetLocked(kFile, false);
        EXPECT_TRUE(c.make(files)) << static_cast<int>(c.call);
    }
}

TEST(FakeFileApi, AReadOnlyFileIsReadButNotChanged) {
    FakeFileApi files;
    Fill(files);
    files.SetReadOnly(kFile, true);
    std::string bytes;
    EXPECT_TRUE(files.ReadWholeFile(kFile, bytes));
    EXPECT_FALSE(files.CanOpenForWriting(kFile));
    EXPECT_FALSE(files.WriteWholeFile(kFile, "x"));
    EXPECT_FALSE(files.ReplaceFileWith(kNew, kFile));
    EXPECT_FALSE(files.RemoveFile(kFile));
    EXPECT_EQ(files.Contents(kFile), "old");
}

TEST(FakeFileApi, AFullDiskKeepsThePartOfAWriteThatFitted) {
    FakeFileApi files;
    files.AddFolder(kFolder);
    files.FailWriteAfter(4);
    EXPECT_FALSE(files.WriteWholeFile(kFile, "<?xml version"));
    EXPECT_EQ(files.Contents(kFile), "<?xm");
    EXPECT_TRUE(files.WriteWholeFile(kFile, "<s/>"));
    files.FailWriteAfter(std::nullopt);
    EXPECT_TRUE(files.WriteWholeFile(kFile, "<?xml version"));
    EXPECT_EQ(files.Contents(kFile), "<?xml version");
}

TEST(FakeFileApi, PathsCompareWithoutCaseAndFilesNeedTheirFolder) {
    FakeFileApi files;
    EXPECT_FALSE(files.WriteWholeFile(kFile, "x"));
    EXPECT_FALSE(files.CreateFolder(std::u16string(kFolder) + u"\\a\\b"));
    ASSERT_TRUE(files.CreateFolder(u"c:\\users\\USER\\appdata\\roaming\\Lumivane"));
    EXPECT_TRUE(files.CreateFolder(kFolder));
    ASSERT_TRUE(files.WriteWholeFile(u"C:\\USERS\\User\\AppData\\Roaming\\LUMIVANE\\\u00C4.xml", "x"));
    EXPECT_EQ(files.Contents(std::u16string(kFolder) + u"\\\u00E4.XML"), "x");
    EXPECT_EQ(files.Files(), std::vector<std::u16string>{u"C:\\USERS\\User\\AppData\\Roaming\\LUMIVANE\\\u00C4.xml"});
}

TEST(FakeFileApi, HiddenStaysThroughAWriteAndComesFromTheMovedFile) {
    FakeFileApi files;
    Fill(files);
    ASSERT_TRUE(files.SetHidden(kFile));
    ASSERT_TRUE(files.WriteWholeFile(kFile, "rewritten"));
    EXPECT_TRUE(files.IsHidden(kFile));
    ASSERT_TRUE(files.ReplaceFileWith(kNew, kFile));
    EXPECT_FALSE(files.IsHidden(kFile));
    EXPECT_EQ(files.Contents(kFile), "new");
    EXPECT_FALSE(files.FileExists(kNew));
}

TEST(FakeFileApi, LogsEveryCallWithItsPathsAndResult) {
    FakeFileApi files;
    Fill(files);
    files.SetFailing(FileCall::RemoveFile, kNew);
    EXPECT_FALSE(files.RemoveFile(kNew));
    EXPECT_TRUE(files.ReplaceFileWith(kNew, kFile));
    EXPECT_EQ(files.Calls(), (std::vector<lv::fake::FileCallRecord>{
                                 {FileCall::RemoveFile, std::u16string(kNew), u"", false},
                                 {FileCall::ReplaceFileWith, std::u16string(kNew), std::u16string(kFile), true},
                             }));
}

}  // namespace
