#include "settings/settings_file.h"

#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "settings/legacy_ini.h"
#include "tools/simulator.h"

namespace lv {
namespace {

using sim::Simulator;
using Pairs = std::vector<std::pair<std::u16string, std::u16string>>;

constexpr std::u16string_view kProgramCopy = u"C:\\Program Files\\Lumivane\\Lumivane.xml";
constexpr std::u16string_view kAppDataCopy = u"C:\\Users\\User\\AppData\\Roaming\\Lumivane\\Lumivane.xml";
constexpr std::u16string_view kAppDataFolder = u"C:\\Users\\User\\AppData\\Roaming\\Lumivane";

// The children of a document as (key, value), in order.
Pairs Children(XmlReader& reader, const std::string& document) {
    Pairs pairs;
    reader.ReadFirstAttributes(document, [&](std::u16string_view key, std::u16string_view value) {
        pairs.emplace_back(key, value);
    });
    if (!pairs.empty()) pairs.erase(pairs.begin());  // the root's version attribute
    return pairs;
}

std::string Utf8(std::u16string_view text) { return std::string(text.begin(), text.end()); }

TEST(SettingsDocument, HoldsEveryFieldInTheFixedOrder) {
    Simulator sim(sim::Fleet{});
    const Pairs children = Children(*sim.xmlReader, SettingsDocument(sim.core));
    ASSERT_EQ(children.size(), 227u);
    EXPECT_EQ(children.front(), (std::pair<std::u16string, std::u16string>{u"restartflag", u"N"}));
    // Colours as eight upper-case hex digits (the round trip below writes only decimal digits).
    EXPECT_EQ(children[2], (std::pair<std::u16string, std::u16string>{u"ColorAreaBrightness", u"008000FF"}));
    EXPECT_EQ(children.back(), (std::pair<std::u16string, std::u16string>{u"language", u"English"}));

    sim.core.settings.fullSave = false;  // after restoring the defaults: only the restart flags
    EXPECT_EQ(Children(*sim.xmlReader, SettingsDocument(sim.core)).size(), 2u);
}

// Every field set to a value other than its default survives a save and a load.
TEST(SettingsDocument, EveryFieldSurvivesARoundTrip) {
    Simulator writer(sim::Fleet{});
    Pairs changed;
    int n = 0;
    for (auto [key, value] : Children(*writer.xmlReader, SettingsDocument(writer.core))) {
        ++n;
        if (key == u"autoselect") {
            // stays N, or the selection would not be read
        } else if (value == u"Y" || value == u"N") {
            value = value == u"Y" ? u"N" : u"Y";
        } else if (key == u"language") {
            value = u"German";
        } else if (key.starts_with(u"div")) {
            value = u"0.50";
        } else if (value.size() == 8 && key != u"IDC_1M") {
            value = std::u16string(u"000000") + char16_t(u'1' + n % 9) + char16_t(u'0' + n % 10);
        } else {
            value = u"v&<\"" + key.substr(0, 20) + u"\u00e4";  // escaping and a German letter
        }
        changed.emplace_back(key, value);
    }
    // The document is written by the platform's own writer, so escaping is its business.
    XmlWriter& w = *writer.xmlWriter;
    ASSERT_TRUE(w.StartDocument() && w.StartElement(u"settings") && w.WriteAttribute(u"Lumivane", u"4.4"));
    for (const auto& [key, value] : changed)
        ASSERT_TRUE(w.StartElement(u"set") && w.WriteAttribute(key, value) && w.WriteFullEndElement());
    std::string input;
    ASSERT_TRUE(w.WriteFullEndElement() && w.EndDocument(input));

    Simulator reader(sim::Fleet{});
    ApplySettingsDocument(reader.core, input);
    reader.core.settings.languageId = ResolveLanguage(reader.core.settings, 9);
    Pairs reread = Children(*reader.xmlReader, SettingsDocument(reader.core));
    ASSERT_EQ(reread.size(), changed.size());
    for (std::size_t i = 0; i < changed.size(); ++i) {
        if (changed[i].first.starts_with(u"guid_")) continue;  // written for the record, never read
        EXPECT_EQ(Utf8(reread[i].second), Utf8(changed[i].second)) << Utf8(changed[i].first);
    }
    EXPECT_TRUE(reader.core.settings.German());
    EXPECT_EQ(reader.core.settings.hotkeys[3].commandLine.View(), "v&<\"editbuffer3\xe4") << "8-bit text in code page 1252";
}

TEST(SettingsLoad, ReadsWhatTheRulesSay) {
    Simulator sim(sim::Fleet{});
    const AppSettings& s = sim.core.settings;
    // Keys in any case and order, nested under another root; Y only in capitals; two's complement;
    // full stops become spaces in command lines.
    ApplySettingsDocument(sim.core, "<?xml version=\"1.0\"?><other><x><set SAMEVALUES=\"Y\"/></x>"
                                    "<set Wheel_b=\"00000005\"/><set tooltips=\"y\"/><set offset_brightness="
                                    "\"FFFFFFF6\"/><set editbuffer0=\"b.20.c.30\"/></other>");
    EXPECT_TRUE(s.samevalues);
    EXPECT_EQ(s.wheel_B, 5);
    EXPECT_FALSE(s.tooltips);
    EXPECT_EQ(s.offset_brightness, -10);
    EXPECT_EQ(s.hotkeys[0].commandLine.View(), "b 20 c 30");

    // A malformed document keeps what came before the fault; a document type is refused.
    ApplySettingsDocument(sim.core, "<s><set wheel_B=\"00000007\"></s><set showRGB=\"Y\"/>");
    EXPECT_EQ(s.wheel_B, 7);
    EXPECT_FALSE(s.showRGB);
    ApplySettingsDocument(sim.core, "<!DOCTYPE s [<!ENTITY e \"b 99\">]><s><set editbuffer1=\"&e;\"/></s>");
    EXPECT_TRUE(s.hotkeys[1].commandLine.Empty());
}

// A negative selection in the file (FFFFFFFF) is taken as the first monitor, so it is not
// written back as it came.
TEST(SettingsLoad, NegativeSelectionBecomesTheFirstMonitor) {
    Simulator sim(sim::Fleet{});
    Core& core = sim.core;
    core.selectedMonitor = 3;
    ApplySettingsDocument(core, "<s><set selectedmonitor=\"FFFFFFFF\"/></s>");
    EXPECT_EQ(core.selectedMonitor, 0);
    EXPECT_NE(SettingsDocument(core).find("selectedmonitor=\"00000000\""), std::string::npos);
    ApplySettingsDocument(core, "<s><set selectedmonitor=\"00000002\"/></s>");
    EXPECT_EQ(core.selectedMonitor, 2);
}

class SettingsFiles : public testing::Test {
protected:
    SettingsFiles() : sim(sim::Fleet{}) {}
    std::string WithSameValues(bool on) {
        sim.core.settings.samevalues = on;
        std::string document = SettingsDocument(sim.core);
        sim.core.settings.samevalues = false;
        return document;
    }
    Simulator sim;
};

TEST_F(SettingsFiles, WritableProgramCopyWinsEvenWhenTheOtherIsNewerALockedOneIsSkipped) {
    sim.files.AddFolder(kAppDataFolder);
    sim.files.AddFile(kProgramCopy, WithSameValues(true));
    sim.files.AddFile(kAppDataCopy, WithSameValues(false));
    LoadSettings(sim.core);
    EXPECT_TRUE(sim.core.settings.samevalues);
    EXPECT_EQ(sim.core.localSettingsPath, kProgramCopy);
    EXPECT_EQ(sim.core.appDataSettingsPath, kAppDataCopy);

    sim.files.AddFile(kProgramCopy, WithSameValues(false));  // a locked one is skipped
    sim.files.AddFile(kAppDataCopy, WithSameValues(true));
    sim.files.SetLocked(kProgramCopy, true);
    sim.core.settings.samevalues = false;
    LoadSettings(sim.core);
    EXPECT_TRUE(sim.core.settings.samevalues);
}

TEST_F(SettingsFiles, SaveWritesBothCopiesAndDropsTheLegacyFile) {
    sim.files.AddFolder(kAppDataFolder);
    sim.files.AddFile(std::u16string(kAppDataFolder) + u"\\Lumivane.ini", "old");
    sim.core.settings.samevalues = true;
    SaveAllSettings(sim.core);
    EXPECT_FALSE(sim.files.FileExists(std::u16string(kAppDataFolder) + u"\\Lumivane.ini"));
    ASSERT_TRUE(sim.files.Contents(kProgramCopy).has_value());
    EXPECT_EQ(sim.files.Contents(kProgramCopy), sim.files.Contents(kAppDataCopy));
    EXPECT_EQ(sim.files.Files().size(), 2u) << "no temporary file is left behind";
}

TEST_F(SettingsFiles, FailedSaveLeavesTheOldFileByteForByte) {
    const std::string old = WithSameValues(true);
    sim.files.AddFile(kProgramCopy, old);
    sim.files.FailWriteAfter(100);  // the disk fills up half way
    SaveSettings(sim.core, SettingsLocation::ProgramFolder);
    EXPECT_EQ(sim.files.Contents(kProgramCopy), old);
    EXPECT_EQ(sim.files.Files().size(), 1u);

    sim.files.FailWriteAfter(std::nullopt);
    sim.files.SetFailing(sim::FileCall::ReplaceFileWith);
    SaveSettings(sim.core, SettingsLocation::ProgramFolder);
    EXPECT_EQ(sim.files.Contents(kProgramCopy), old);
    EXPECT_EQ(sim.files.Files().size(), 1u);
}

TEST_F(SettingsFiles, LegacyIniIsTakenOverAndTheXmlFileWins) {
    sim.files.AddFolder(kAppDataFolder);
    // Head (area colours, autostart, samevalues), one hot key, padding, no tail.
    const std::string ini = "000000FF 0000FF00 NY,00000241 b 20 c 30." + std::string(70, ' ') + ".";
    sim.files.AddFile(std::u16string(kAppDataFolder) + u"\\Lumivane.ini", ini);
    sim.files.AddFile(kAppDataCopy, "<settings><set ColorAreaBrightness=\"00112233\"></set></settings>");
    ImportLegacyIni(sim.core);
    LoadSettings(sim.core);
    const AppSettings& s = sim.core.settings;
    EXPECT_EQ(s.ColorAreaBrightness, 0x112233u);
    EXPECT_EQ(s.ColorAreaContrast, 0xFF00u);
    EXPECT_FALSE(s.autostart);
    EXPECT_TRUE(s.samevalues);
    EXPECT_EQ(s.hotkeys[0].code, 0x241);
    EXPECT_EQ(s.hotkeys[0].commandLine.View(), "b 20 c 30");
}

TEST(SettingsDefaults, LanguageFollowsTheSettingThenTheSystem) {
    AppSettings settings;
    constexpr uint16_t kFrench = 0x040C, kGermanAustria = 0x0C07;
    EXPECT_EQ(ResolveLanguage(settings, kGermanAustria), win::kLangGerman);
    EXPECT_EQ(ResolveLanguage(settings, kFrench), 0x0C) << "French: English texts, as any id but 7";
    settings.language = u"german";
    EXPECT_EQ(ResolveLanguage(settings, kFrench), win::kLangGerman);
    settings.language = u"Deutsch";  // only the dialog maps this one
    EXPECT_EQ(ResolveLanguage(settings, kFrench), 0x0C);
    settings.language = u"ENGLISH";
    EXPECT_EQ(ResolveLanguage(settings, kGermanAustria), win::kLangEnglish);
}

}  // namespace
}  // namespace lv
