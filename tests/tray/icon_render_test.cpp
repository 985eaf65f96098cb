#include "tray/icon_render.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "commands/command_test_support.h"

namespace lv {
namespace {

using test::Seeded;

constexpr uint32_t kSingleFormat = kDrawSingleLine | kDrawCenter | kDrawVCenter;
constexpr const char* kLaptopNote = "Because Laptop-Display has no contrast,\nyou can turn off contrast-icon\nin settings";

// A popup with one monitor row and its labels, as the popup's refresh leaves them.
struct Desk {
    Desk() : s(fake::Fleet{}) {
        s.system.SetSmallIconHeight(16);
        AddRow("NOVA U27", "70", "75");
        s.view.SetText(id::kBrightnessLabel, "Brightness 70");
        s.view.SetText(id::kContrastLabel, "Contrast 75");
        s.view.SetText(res::kVolumeLabel, "Vol. 30");
        s.core.volume.volumePercent = 30;
        s.core.audioDeviceName = "Speakers (HD Audio)";
    }
    void AddRow(std::string_view name, std::string_view brightness, std::string_view contrast) {
        const int row = s.core.list.Rows();
        s.core.list.AddRow(name);
        s.core.list.SetCell(row, kColumnBrightness, brightness);
        s.core.list.SetCell(row, kColumnContrast, contrast);
    }
    void SetCell(int column, std::string_view text) { s.core.list.SetCell(0, column, text); }
    void SetPreset(std::string_view text) {
        s.core.presetChoice.items = {"sRGB", std::string(text)};
        s.core.presetChoice.current = 1;
    }
    IconPicture Plan(IconKind kind, int32_t size = 16) { return PlanIconPicture(s.core, kind, size); }
    std::string Tip(IconKind kind = kBrightnessIcon) { return BuildIconTooltip(s.core, kind).slotTip; }

    sim::Simulator s;
};

// ---- The single icons' number and font ----

TEST(SingleIconPicture, NumberFontAndColourFollowTheSettings) {
    struct Case {
        IconKind kind;
        int32_t size;
        int32_t aliasing;
        std::string text;
        uint8_t quality;
        uint32_t colour;
    };
    const Case cases[] = {
        {kBrightnessIcon, 16, 0, "70", kQualityNonAntialiased, 0x008000FF},
        {kContrastIcon, 16, 1, "75", kQualityAntialiased, 0x0011D21B},
        {kVolumeIcon, 16, 2, "30", kQualityClearType, 0x00FF8080},
        {kBrightnessIcon, 24, 2, "70", kQualityClearType, 0x008000FF},
        {kVolumeIcon, 20, 7, "30", kQualityNonAntialiased, 0x00FF8080},  // an unknown setting: no smoothing
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "kind " << int{c.kind} << " size " << c.size << " aliasing " << c.aliasing);
        Desk d;
        d.s.core.settings.aliasing = c.aliasing;
        const IconPicture picture = d.Plan(c.kind, c.size);
        const int32_t height = c.size * 125 / 100;
        EXPECT_EQ(picture.size, c.size);
        EXPECT_EQ(picture.font, (FontSpec{"Segoe UI", height, 0, 400, false, c.quality}));
        EXPECT_EQ(picture.runs, (std::vector<TextRun>{{c.text, {0, 0, c.size, c.size}, c.colour, kSingleFormat}}));
        EXPECT_FALSE(d.s.core.trayState.valueIs100);
    }
}

TEST(SingleIconPicture, HundredIsDrawnNarrowAndUnsmoothed) {
    struct Case {
        IconKind kind;
        bool german;
        const char* label;  // the volume label
        const char* cell;   // brightness and contrast cells
        int32_t size;
        int32_t height;
        int32_t width;  // height * 270 / 1000, rounded
    };
    const Case cases[] = {
        {kBrightnessIcon, false, "Vol. 30", "100", 16, 20, 5},
        {kContrastIcon, false, "Vol. 30", "100", 16, 20, 5},
        {kVolumeIcon, false, "Vol. 100", "50", 16, 20, 5},
        {kVolumeIcon, true, "Ton 100", "50", 16, 20, 5},
        {kBrightnessIcon, false, "Vol. 30", "100", 20, 25, 7},  // 6.75
        {kContrastIcon, false, "Vol. 30", "100", 32, 40, 11},   // 10.8
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.label << " size " << c.size);
        Desk d;
        d.s.core.settings.aliasing = 2;
        d.s.core.settings.languageId = c.german ? kLanguageGerman : kLanguageEnglish;
        d.SetCell(kColumnBrightness, c.cell);
        d.SetCell(kColumnContrast, c.cell);
        d.s.view.SetText(res::kVolumeLabel, c.label);
        const IconPicture picture = d.Plan(c.kind, c.size);
        EXPECT_TRUE(d.s.core.trayState.valueIs100);
        EXPECT_EQ(picture.font.height, c.height);
        EXPECT_EQ(picture.font.width, c.width);
        EXPECT_EQ(picture.font.quality, kQualityNonAntialiased);
        ASSERT_EQ(picture.runs.size(), 1u);
        EXPECT_EQ(picture.runs[0].text, "100");
    }
}

TEST(SingleIconPicture, MarkerReadsTheLeadingNumberAndIsClearedEveryTime) {
    Desk d;
    struct Case {
        const char* cell;
        bool marker;
    };
    // Only the number the text starts with counts; the same slot is drawn in turn, so a
    // marker left from the drawing before would show.
    const Case cases[] = {{"100", true}, {"99", false}, {"100%", true}, {"1000", false},
                          {"100", true}, {"?", false},  {"100", true},  {"", false}};
    for (const Case& c : cases) {
        d.SetCell(kColumnBrightness, c.cell);
        (void)d.Plan(kBrightnessIcon);
        EXPECT_EQ(d.s.core.trayState.valueIs100, c.marker) << '"' << c.cell << '"';
    }
    d.SetCell(kColumnBrightness, "100");
    (void)d.Plan(kBrightnessIcon);
    (void)d.Plan(kVolumeIcon);
    EXPECT_FALSE(d.s.core.trayState.valueIs100) << "each icon decides for itself";
}

TEST(SingleIconPicture, BlackIsDrawnInTheDarkestColourThatIsNotTransparent) {
    const std::array kinds{kBrightnessIcon, kContrastIcon, kVolumeIcon};
    for (IconKind kind : kinds) {
        Desk d;
        d.s.core.settings.ColorBrightness = 0;
        d.s.core.settings.ColorContrast = 0;
        d.s.core.settings.ColorVolume = 0;
        const IconPicture picture = d.Plan(kind);
        ASSERT_EQ(picture.runs.size(), 1u);
        EXPECT_EQ(picture.runs[0].colour, 0x00000001u) << int{kind};
    }
}

TEST(SingleIconPicture, MutedVolumeIsStruckThroughOnTheVolumeIconOnly) {
    Desk d;
    d.s.core.volume.volumeMuted = true;
    EXPECT_TRUE(d.Plan(kVolumeIcon).font.strikeOut);
    EXPECT_FALSE(d.Plan(kBrightnessIcon).font.strikeOut);
    EXPECT_FALSE(d.Plan(kContrastIcon).font.strikeOut);
    EXPECT_FALSE(d.Plan(kCombinedIcon).font.strikeOut);
    d.s.core.volume.volumeMuted = false;
    EXPECT_FALSE(d.Plan(kVolumeIcon).font.strikeOut);
}

TEST(SingleIconPicture, TextSourcesAndEmptyValues) {
    struct Case {
        const char* name;
        void (*arrange)(Desk&);
        IconKind kind;
        std::vector<std::string> texts;  // drawn runs
    };
    const Case cases[] = {
        {"volume after the English prefix", [](Desk& d) { d.s.view.SetText(res::kVolumeLabel, "Vol. 7"); },
         kVolumeIcon, {"7"}},
        {"volume after the German prefix",
         [](Desk& d) {
             d.s.core.settings.languageId = kLanguageGerman;
             d.s.view.SetText(res::kVolumeLabel, "Ton 64");
         },
         kVolumeIcon, {"64"}},
        {"label written before a language change",
         [](Desk& d) {
             d.s.core.settings.languageId = kLanguageGerman;
             d.s.view.SetText(res::kVolumeLabel, "Vol. 64");
         },
         kVolumeIcon, {"64"}},
        {"volume label that is only the prefix", [](Desk& d) { d.s.view.SetText(res::kVolumeLabel, "Vol. "); },
         kVolumeIcon, {}},
        {"no volume label", [](Desk& d) { d.s.view.SetText(res::kVolumeLabel, ""); }, kVolumeIcon, {}},
        {"empty brightness cell draws nothing", [](Desk& d) { d.SetCell(kColumnBrightness, ""); }, kBrightnessIcon,
         {}},
        {"silent monitor", [](Desk& d) { d.SetCell(kColumnBrightness, "?"); }, kBrightnessIcon, {"?"}},
        {"laptop panel's contrast", [](Desk& d) { d.SetCell(kColumnContrast, "."); }, kContrastIcon, {"."}},
        {"second row selected",
         [](Desk& d) {
             d.AddRow("ORION 243", "42", "40");
             d.s.core.selectedMonitor = 1;
         },
         kContrastIcon, {"40"}},
        {"no row for the selected monitor", [](Desk& d) { d.s.core.list.Clear(); }, kBrightnessIcon, {"?"}},
    };
    for (const Case& c : cases) {
        Desk d;
        c.arrange(d);
        std::vector<std::string> texts;
        for (const TextRun& run : d.Plan(c.kind).runs) texts.push_back(run.text);
        EXPECT_EQ(texts, c.texts) << c.name;
    }
}

// ---- The combined icon ----

TEST(CombinedIconPicture, RectanglesByIconSize) {
    struct Case {
        int32_t size;
        Rect brightness;
        Rect contrast;
    };
    const Case cases[] = {
        {16, {0, -3, 16, 13}, {0, 3, 16, 19}},   {20, {0, -3, 20, 17}, {0, 4, 20, 24}},
        {24, {0, -5, 24, 19}, {0, 4, 24, 28}},   {28, {0, -5, 28, 23}, {1, 5, 29, 33}},
        {32, {0, -7, 32, 25}, {1, 6, 33, 38}},   {36, {-1, -7, 35, 29}, {0, 6, 36, 42}},
        {40, {0, 0, 40, 40}, {0, 0, 40, 40}},    {18, {0, 0, 18, 18}, {0, 0, 18, 18}},
        {48, {0, 0, 48, 48}, {0, 0, 48, 48}},
    };
    for (const Case& c : cases) {
        Desk d;
        const IconPicture picture = d.Plan(kCombinedIcon, c.size);
        ASSERT_EQ(picture.runs.size(), 2u) << c.size;
        EXPECT_EQ(picture.runs[0].rect, c.brightness) << c.size;
        EXPECT_EQ(picture.runs[1].rect, c.contrast) << c.size;
    }
}

TEST(CombinedIconPicture, TwoNumbersInTheAreaColoursWithAFixedUnsmoothedFont) {
    Desk d;
    d.s.core.settings.aliasing = 2;
    d.s.core.settings.ColorAreaBrightness = 0x00123456;
    d.s.core.settings.ColorAreaContrast = 0;
    const IconPicture picture = d.Plan(kCombinedIcon, 24);
    // H = 30, H2 = 30 * 67 / 100 = 20.1.
    EXPECT_EQ(picture.font, (FontSpec{"Consolas", 20, 0, 0, false, kQualityNonAntialiased}));
    EXPECT_EQ(picture.runs, (std::vector<TextRun>{
                                {"70", {0, -5, 24, 19}, 0x00123456, kDrawSingleLine},
                                {"75", {0, 4, 24, 28}, 0x00000001, kDrawSingleLine | kDrawRight | kDrawBottom},
                            }));
}

TEST(CombinedIconPicture, EitherHundredNarrowsTheFont) {
    struct Case {
        const char* brightness;
        const char* contrast;
        int32_t size;
        bool marker;
        int32_t height;  // S * 125 / 100 * 67 / 100, each step rounded
        int32_t width;   // height * 360 / 1000, rounded
    };
    const Case cases[] = {
        {"100", "75", 16, true, 13, 5},   // 13.4, 4.68
        {"70", "100", 16, true, 13, 5},
        {"100", "100", 20, true, 17, 6},  // 16.75, 6.12
        {"70", "100", 32, true, 27, 10},  // 26.8, 9.72
        {"99", "10", 16, false, 13, 0},
        {"99", "10", 32, false, 27, 0},
    };
    for (const Case& c : cases) {
        Desk d;
        d.SetCell(kColumnBrightness, c.brightness);
        d.SetCell(kColumnContrast, c.contrast);
        const IconPicture picture = d.Plan(kCombinedIcon, c.size);
        SCOPED_TRACE(testing::Message() << c.brightness << '/' << c.contrast << " size " << c.size);
        EXPECT_EQ(d.s.core.trayState.valueIs100, c.marker);
        EXPECT_EQ(picture.font.height, c.height);
        EXPECT_EQ(picture.font.width, c.width);
    }
}

TEST(CombinedIconPicture, EmptyCellsShowAQuestionMark) {
    Desk d;
    d.SetCell(kColumnBrightness, "");
    d.SetCell(kColumnContrast, "");
    IconPicture picture = d.Plan(kCombinedIcon);
    ASSERT_EQ(picture.runs.size(), 2u);
    EXPECT_EQ(picture.runs[0].text, "?");
    EXPECT_EQ(picture.runs[1].text, "?");

    d.s.core.list.Clear();
    picture = d.Plan(kCombinedIcon);
    ASSERT_EQ(picture.runs.size(), 2u);
    EXPECT_EQ(picture.runs[0].text, "?");
    EXPECT_EQ(picture.runs[1].text, "?");
}

// ---- Tooltips ----

TEST(IconTooltip, LinesForOneMonitor) {
    Desk d;
    d.s.core.presetChoice = {{"sRGB", "6500K"}, 0};
    EXPECT_EQ(d.Tip(), "NOVA U27\nBrightness 70\nContrast 75\nsRGB\nVolume 30\nSpeakers (HD Audio)");

    d.s.core.presetChoice.current = -1;
    d.s.core.settings.languageId = kLanguageGerman;
    d.s.view.SetText(id::kBrightnessLabel, "Helligkeit 70");
    d.s.view.SetText(id::kContrastLabel, "Kontrast 75");
    EXPECT_EQ(d.Tip(), "NOVA U27\nHelligkeit 70\nKontrast 75\nLautst\xE4rke 30\nSpeakers (HD Audio)");
}

TEST(IconTooltip, ContrastLineOnlyForAMonitorWithContrast) {
    for (const char* cell : {".", "?", "", ".5", "?0"}) {
        Desk d;
        d.SetCell(kColumnContrast, cell);
        EXPECT_EQ(d.Tip(), "NOVA U27\nBrightness 70\nVolume 30\nSpeakers (HD Audio)") << '"' << cell << '"';
    }
}

TEST(IconTooltip, GainsFollowAUserPreset) {
    struct Case {
        const char* preset;
        std::array<const char*, 3> gains;
        const char* line;
    };
    const Case cases[] = {
        {"User1", {"128", "128", "200"}, "User1  r 128 g 128 bl 200"},
        {"USER 2", {"50", "0", "?"}, "USER 2  r 50"},  // zero and unreadable gains are left out
        {"my user set", {"", "7", "0"}, "my user set g 7"},
        {"6500K", {"128", "128", "200"}, "6500K"},
        {"Us er", {"1", "1", "1"}, "Us er"},
    };
    for (const Case& c : cases) {
        Desk d;
        d.SetPreset(c.preset);
        d.SetCell(kColumnRed, c.gains[0]);
        d.SetCell(kColumnGreen, c.gains[1]);
        d.SetCell(kColumnBlue, c.gains[2]);
        EXPECT_EQ(d.Tip(), std::string("NOVA U27\nBrightness 70\nContrast 75\n") + c.line +
                               "\nVolume 30\nSpeakers (HD Audio)")
            << c.preset;
    }
}

TEST(IconTooltip, WheelHintWithSeveralMonitorsWhileItFits) {
    // The name makes up the text to the given length.
    struct Case {
        bool german;
        std::size_t textBeforeHint;
        bool hint;
    };
    const Case cases[] = {{false, 40, true}, {false, 85, true}, {false, 86, false}, {false, 120, false},
                          {true, 85, true},  {true, 86, false}};
    for (const Case& c : cases) {
        Desk d;
        d.AddRow("ORION 243", "50", "40");
        d.s.core.settings.languageId = c.german ? kLanguageGerman : kLanguageEnglish;
        const std::string volume = c.german ? "Lautst\xE4rke 30\n" : "Volume 30\n";
        const std::string fixed = "\nBrightness 70\nContrast 75\n" + volume;
        const std::string name(c.textBeforeHint - fixed.size(), 'N');
        d.s.core.list.SetCell(0, kColumnName, name);
        const std::string hint =
            c.german ? "nutze Mausrad (+ Taste 1-9 Monitorauswahl)" : "use mousewheel (+ key 1-9 selects monitor)";
        const std::string expected = (name + fixed + (c.hint ? hint : "")).substr(0, 127);
        EXPECT_EQ(d.Tip(), expected) << c.textBeforeHint << (c.german ? " German" : "");
        EXPECT_EQ(d.Tip().find("Speakers"), std::string::npos) << "no device name with several monitors";
    }
}

TEST(IconTooltip, CutAt127Characters) {
    const std::string longName(200, 'M');
    for (int rows : {1, 2}) {
        Desk d;
        if (rows == 2) d.AddRow("ORION 243", "50", "40");
        d.s.core.list.SetCell(0, kColumnName, longName);
        const IconTooltip tip = BuildIconTooltip(d.s.core, kBrightnessIcon);
        EXPECT_EQ(tip.slotTip.size(), 127u) << rows;
        EXPECT_EQ(tip.slotTip, (longName + "\nBrightness 70").substr(0, 127)) << rows;
        EXPECT_EQ(tip.recordTip, tip.slotTip);
    }
    // A name that leaves room: the device name is added and the whole is still cut.
    Desk d;
    d.s.core.audioDeviceName = std::string(70, 'D');
    d.s.core.list.SetCell(0, kColumnName, std::string(80, 'M'));
    const std::string tip = d.Tip();
    EXPECT_EQ(tip.size(), 127u);
    EXPECT_EQ(tip.substr(80), "\nBrightness 70\nContrast 75\nVolume 30\n" + std::string(10, 'D'));
}

TEST(IconTooltip, DeviceNameIsAtMost63Characters) {
    Desk d;
    d.s.core.audioDeviceName = std::string(63, 'a') + "bcd";
    EXPECT_EQ(d.Tip(), "NOVA U27\nBrightness 70\nContrast 75\nVolume 30\n" + std::string(63, 'a'));
}

// A laptop panel alone: its contrast icon says how to turn it off.
TEST(IconTooltip, LaptopNoteForTheContrastIconOfALoneLaptopPanel) {
    auto s = Seeded("[display]\n[monitor]\nddc = dead\n[panel]\ncurrent = 40\n");
    ASSERT_EQ(s->core.list.Rows(), 1);
    ASSERT_EQ(s->core.list.Cell(0, kColumnContrast), ".");
    ASSERT_NE(s->core.Selected().isLaptopPanel, 0);
    IconTooltip tip = BuildIconTooltip(s->core, kContrastIcon);
    EXPECT_EQ(tip.recordTip, kLaptopNote);
    EXPECT_NE(tip.slotTip, tip.recordTip);
    EXPECT_EQ(tip.slotTip.find("Because"), std::string::npos);

    s->core.settings.languageId = kLanguageGerman;
    tip = BuildIconTooltip(s->core, kContrastIcon);
    EXPECT_EQ(tip.recordTip,
              "Weil das Laptop-Display keinen Kontrast hat,\nk\xF6nnen Sie das Kontrast-Symbol\nin den "
              "Einstellungen abschalten");

    s->core.settings.languageId = kLanguageEnglish;
    for (IconKind kind : {kBrightnessIcon, kVolumeIcon, kCombinedIcon}) {
        tip = BuildIconTooltip(s->core, kind);
        EXPECT_EQ(tip.recordTip, tip.slotTip) << int{kind};
    }
}

TEST(IconTooltip, NoLaptopNoteUnlessEveryConditionHolds) {
    struct Case {
        const char* name;
        const char* contrast;
        bool laptop;
        int rows;
    };
    const Case cases[] = {
        {"all hold", ".", true, 1},
        {"a second monitor", ".", true, 2},
        {"not marked as a panel", ".", false, 1},
        {"silent monitor", "?", true, 1},
        {"monitor with contrast", "75", true, 1},
    };
    for (const Case& c : cases) {
        Desk d;
        d.SetCell(kColumnContrast, c.contrast);
        d.s.core.table[0].isLaptopPanel = c.laptop ? 1 : 0;
        if (c.rows == 2) d.AddRow("ORION 243", "50", "40");
        const IconTooltip tip = BuildIconTooltip(d.s.core, kContrastIcon);
        const bool note = tip.recordTip == kLaptopNote;
        EXPECT_EQ(note, std::string_view(c.name) == "all hold") << c.name;
        EXPECT_NE(tip.slotTip, kLaptopNote) << c.name;
    }
}

// ---- The icon operation's first half ----

TEST(RenderIconInSlot, NewIconReplacesTheOldAndCarriesThePicture) {
    Desk d;
    d.s.system.SetSmallIconHeight(20);
    RenderIcon(d.s.core, kBrightnessIcon);
    const IconSlot& slot = d.s.core.trayState.slots[kBrightnessIcon];
    const IconHandle first = slot.icon;
    ASSERT_NE(first, 0u);
    EXPECT_EQ(slot.previousIcon, 0u);
    const IconPicture* picture = d.s.tray.Picture(first);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(*picture, d.Plan(kBrightnessIcon, 20));
    EXPECT_EQ(slot.tip.View(), "NOVA U27\nBrightness 70\nContrast 75\nVolume 30\nSpeakers (HD Audio)");
    EXPECT_EQ(d.s.core.trayState.iconRecord.tip, slot.tip.View());
    EXPECT_EQ(d.s.core.trayState.iconRecord.icon, first);

    d.SetCell(kColumnBrightness, "71");
    RenderIcon(d.s.core, kBrightnessIcon);
    EXPECT_EQ(slot.previousIcon, first);
    EXPECT_NE(slot.icon, first);
    EXPECT_EQ(d.s.tray.Picture(slot.icon)->runs.at(0).text, "71");
    EXPECT_EQ(d.s.core.trayState.slots[kContrastIcon].icon, 0u) << "other slots untouched";
}

TEST(RenderIconInSlot, AHandleStillWaitingIsDestroyedNotLost) {
    Desk d;
    RenderIcon(d.s.core, kVolumeIcon);
    RenderIcon(d.s.core, kVolumeIcon);  // the shell's half never came to destroy the first
    RenderIcon(d.s.core, kVolumeIcon);
    EXPECT_EQ(d.s.tray.LiveIcons(), 2u) << "the shown icon and the one replaced last";
}

// Drawing can fail (GDI out of resources); the slot must keep counting as present.
class RefusingTray : public fake::FakeTrayApi {
public:
    IconHandle RenderIcon(const IconPicture& picture) override {
        return refuse ? 0 : fake::FakeTrayApi::RenderIcon(picture);
    }
    bool refuse = false;
};

TEST(RenderIconInSlot, FailedDrawingKeepsTheIconShown) {
    Desk d;
    sim::Simulator& s = d.s;
    RefusingTray tray;
    Core core(Platform{s.monitors, s.clock, s.codec, s.window, s.audio, s.system, s.view, s.wmi, s.displayConfig,
                       s.files, *s.xmlReader, *s.xmlWriter, s.process, tray});
    core.list = s.core.list;
    core.volume = s.core.volume;
    IconSlot& slot = core.trayState.slots[kBrightnessIcon];
    RenderIcon(core, kBrightnessIcon);
    RenderIcon(core, kBrightnessIcon);
    const IconHandle shown = slot.icon;
    const IconHandle previous = slot.previousIcon;
    ASSERT_NE(previous, 0u);

    tray.refuse = true;
    core.list.SetCell(0, kColumnBrightness, "71");
    RenderIcon(core, kBrightnessIcon);
    EXPECT_EQ(slot.icon, shown);
    EXPECT_EQ(slot.previousIcon, previous) << "left for the shell's half to destroy";
    EXPECT_EQ(core.trayState.iconRecord.icon, shown);
    EXPECT_EQ(tray.LiveIcons(), 2u);
    EXPECT_EQ(slot.tip.View(), "NOVA U27\nBrightness 70\nContrast 75\nVolume 30\n")
        << "the tooltip is still brought up to date";
}

TEST(RenderIconInSlot, UnreadableIconSizeFallsBackTo16) {
    Desk d;
    d.s.system.SetSmallIconHeight(0);
    RenderIcon(d.s.core, kCombinedIcon);
    EXPECT_EQ(d.s.tray.Picture(d.s.core.trayState.slots[kCombinedIcon].icon)->size, 16);
}

TEST(RenderIconInSlot, LaptopNoteGoesToTheRecordWhileTheSlotKeepsTheNormalTip) {
    auto s = Seeded("[display]\n[monitor]\nddc = dead\n[panel]\ncurrent = 40\n");
    RenderIcon(s->core, kContrastIcon);
    EXPECT_EQ(s->core.trayState.iconRecord.tip, kLaptopNote);
    EXPECT_FALSE(s->core.trayState.slots[kContrastIcon].tip.Empty());
    EXPECT_NE(s->core.trayState.slots[kContrastIcon].tip, kLaptopNote);
}

TEST(RenderIconInSlot, TooltipsOffOrWheelUsedEmptiesEveryTooltip) {
    for (const char* why : {"tooltips N", "wheel over an icon"}) {
        SCOPED_TRACE(why);
        auto s = Seeded("[display]\n[monitor]\nddc = dead\n[panel]\ncurrent = 40\n");
        for (IconKind kind : kIconUpdateOrder) RenderIcon(s->core, kind);
        s->core.trayState.balloonRecord.tip = "Brightness 40";
        for (const IconSlot& slot : s->core.trayState.slots) ASSERT_FALSE(slot.tip.Empty());

        if (std::string_view(why) == "wheel over an icon")
            s->core.trayState.wheelOverIcon = true;
        else
            s->core.settings.tooltips = false;
        const IconTooltip tip = BuildIconTooltip(s->core, kContrastIcon);
        EXPECT_TRUE(tip.slotTip.empty());
        EXPECT_TRUE(tip.recordTip.empty());

        RenderIcon(s->core, kContrastIcon);
        for (const IconSlot& slot : s->core.trayState.slots) EXPECT_TRUE(slot.tip.Empty());
        EXPECT_EQ(s->core.trayState.iconRecord.tip, "");
        EXPECT_EQ(s->core.trayState.balloonRecord.tip, "");
        EXPECT_NE(s->core.trayState.slots[kContrastIcon].icon, 0u) << "the number is still drawn";
    }
}

// The icons show what the popup shows: after a command the list's text.
TEST(RenderIconInSlot, FollowsTheMonitorListAfterACommand) {
    auto s = Seeded();
    s->Run("b 100 c 30");
    RenderIcon(s->core, kCombinedIcon);
    const IconPicture* picture = s->tray.Picture(s->core.trayState.slots[kCombinedIcon].icon);
    ASSERT_NE(picture, nullptr);
    ASSERT_EQ(picture->runs.size(), 2u);
    EXPECT_EQ(picture->runs[0].text, "100");
    EXPECT_EQ(picture->runs[1].text, "30");
    EXPECT_TRUE(s->core.trayState.valueIs100);
}

TEST(AlphaRule, NonZeroPixelsBecomeOpaqueZeroStaysTransparent) {
    std::vector<uint32_t> pixels{0x00000000, 0x00010000, 0x00FFFFFF, 0x7F123456, 0xFF000001, 0x01000000};
    ApplyAlphaRule(pixels);
    EXPECT_EQ(pixels, (std::vector<uint32_t>{0x00000000, 0xFF010000, 0xFFFFFFFF, 0xFF123456, 0xFF000001, 0xFF000000}));
}

}  // namespace
}  // namespace lv
