#include "tray/icon_render.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/command_test_support.h"

namespace lv {
namespace {

using test::Seeded;

constexpr uint32_t kSingleFormat = win::kDtSingleLine | win::kDtCenter | win::kDtVCenter;
constexpr std::string_view kLaptopFleet =
    "[display]\ntechnology = 0x80000000\n[monitor]\nddc = dead\n[panel]\ncurrent = 40\n";
constexpr const char* kLaptopNote =
    "Because Laptop-Display has no contrast,\nyou can turn off contrast-icon\nin settings";
constexpr const char* kDeskTip = "NOVA U27\nBrightness 70\nContrast 75\nVolume 30\nSpeakers (HD Audio)";

// One monitor row and the popup's labels, as the popup's refresh leaves them.
struct Desk {
    Desk() : s(sim::Fleet{}) {
        AddRow("NOVA U27", "70", "75");
        s.view.SetText(res::kBrightnessLabel, "Brightness 70");
        s.view.SetText(res::kContrastLabel, "Contrast 75");
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
    void German() { s.core.settings.languageId = win::kLangGerman; }
    IconPicture Plan(IconKind kind, int32_t size = 16) { return PlanIconPicture(s.core, kind, size); }
    std::string Tip(IconKind kind = kBrightnessIcon) { return BuildIconTooltip(s.core, kind).slotTip; }

    sim::Simulator s;
};

// ---- Pictures ----

TEST(SingleIconPicture, FontQualityAndColourFollowTheSettings) {
    struct Case {
        IconKind kind;
        int32_t size, aliasing;
        const char* text;
        uint8_t quality;
        uint32_t colour;
    };
    const Case cases[] = {
        {kBrightnessIcon, 16, 0, "70", win::kNonAntialiasedQuality, 0x008000FF},
        {kContrastIcon, 16, 1, "75", win::kAntialiasedQuality, 0x0011D21B},
        {kVolumeIcon, 16, 2, "30", win::kClearTypeQuality, 0x00FF8080},
        {kVolumeIcon, 20, 7, "30", win::kNonAntialiasedQuality, 0x00FF8080},  // unknown setting: no smoothing
    };
    for (const Case& c : cases) {
        Desk d;
        d.s.core.settings.aliasing = c.aliasing;
        const IconPicture picture = d.Plan(c.kind, c.size);
        SCOPED_TRACE(testing::Message() << "kind " << int{c.kind} << " size " << c.size);
        EXPECT_EQ(picture.font, (FontSpec{"Segoe UI", c.size * 125 / 100, 0, 400, false, c.quality}));
        EXPECT_EQ(picture.runs, (std::vector<TextRun>{{c.text, {0, 0, c.size, c.size}, c.colour, kSingleFormat}}));
        EXPECT_FALSE(d.s.core.trayState.valueIs100);
    }
}

// A value of 100 narrows the font: on a single icon (unsmoothed) to height * 270 / 1000, on
// the combined icon (S * 125 / 100 * 67 / 100 high) to height * 360 / 1000 if either number is 100.
TEST(IconPicture, HundredNarrowsTheFont) {
    struct Case {
        IconKind kind;
        const char *brightness, *contrast;
        bool german;
        const char* volumeLabel;
        int32_t size;
        bool marker;
        int32_t height, width;
    };
    const Case cases[] = {
        {kBrightnessIcon, "100", "100", false, "Vol. 30", 16, true, 20, 5},
        {kVolumeIcon, "100", "100", true, "Ton 100", 16, true, 20, 5},
        {kBrightnessIcon, "100", "100", false, "Vol. 30", 20, true, 25, 7},  // 6.75
        {kContrastIcon, "100", "100", false, "Vol. 30", 32, true, 40, 11},   // 10.8
        {kCombinedIcon, "100", "75", false, "Vol. 30", 16, true, 13, 5},
        {kCombinedIcon, "70", "100", false, "Vol. 30", 32, true, 27, 10},
        {kCombinedIcon, "99", "10", false, "Vol. 30", 32, false, 27, 0},
    };
    for (const Case& c : cases) {
        Desk d;
        d.s.core.settings.aliasing = 2;
        if (c.german) d.German();
        d.SetCell(kColumnBrightness, c.brightness);
        d.SetCell(kColumnContrast, c.contrast);
        d.s.view.SetText(res::kVolumeLabel, c.volumeLabel);
        const IconPicture picture = d.Plan(c.kind, c.size);
        SCOPED_TRACE(testing::Message() << c.brightness << '/' << c.contrast << '/' << c.volumeLabel << " kind "
                                        << int{c.kind} << " size " << c.size);
        EXPECT_EQ(d.s.core.trayState.valueIs100, c.marker);
        EXPECT_EQ(picture.font.height, c.height);
        EXPECT_EQ(picture.font.width, c.width);
        EXPECT_EQ(picture.font.quality, win::kNonAntialiasedQuality);
        if (c.kind != kCombinedIcon) {
            EXPECT_EQ(picture.runs.at(0).text, "100");
        }
    }
}

TEST(IconPicture, BlackIsDrawnInTheDarkestColourThatIsNotTransparent) {
    Desk d;
    AppSettings& settings = d.s.core.settings;
    settings.ColorBrightness = settings.ColorContrast = settings.ColorVolume = 0;
    settings.ColorAreaBrightness = settings.ColorAreaContrast = 0;
    for (IconKind kind : kIconUpdateOrder)
        for (const TextRun& run : d.Plan(kind).runs) EXPECT_EQ(run.colour, 0x00000001u) << int{kind};
}

TEST(IconPicture, MutedVolumeIsStruckThroughOnTheVolumeIconOnly) {
    Desk d;
    d.s.core.volume.volumeMuted = true;
    for (IconKind kind : kIconUpdateOrder) EXPECT_EQ(d.Plan(kind).font.strikeOut, kind == kVolumeIcon) << int{kind};
}

TEST(CombinedIconPicture, RectanglesByIconSize) {
    struct Case {
        int32_t size;
        Rect brightness, contrast;
    };
    // The first and last sizes with their own rectangles (24 is below); other sizes use the whole icon.
    const Case cases[] = {
        {16, {0, -3, 16, 13}, {0, 3, 16, 19}}, {36, {-1, -7, 35, 29}, {0, 6, 36, 42}},
        {40, {0, 0, 40, 40}, {0, 0, 40, 40}},  {18, {0, 0, 18, 18}, {0, 0, 18, 18}},
    };
    for (const Case& c : cases) {
        Desk d;
        const IconPicture picture = d.Plan(kCombinedIcon, c.size);
        ASSERT_EQ(picture.runs.size(), 2u) << c.size;
        EXPECT_EQ(picture.runs[0].rect, c.brightness) << c.size;
        EXPECT_EQ(picture.runs[1].rect, c.contrast) << c.size;
    }
}

TEST(CombinedIconPicture, TwoNumbersInAFixedUnsmoothedFont) {
    Desk d;
    d.s.core.settings.aliasing = 2;
    d.s.core.settings.ColorAreaBrightness = 0x00123456;
    const IconPicture picture = d.Plan(kCombinedIcon, 24);
    EXPECT_EQ(picture.font, (FontSpec{"Consolas", 20, 0, 0, false, win::kNonAntialiasedQuality}));  // 30 * 67 / 100
    EXPECT_EQ(picture.runs, (std::vector<TextRun>{
                                {"70", {0, -5, 24, 19}, 0x00123456, win::kDtSingleLine},
                                {"75", {0, 4, 24, 28}, 0x0011D21B, win::kDtSingleLine | win::kDtRight | win::kDtBottom},
                            }));
}

// ---- Tooltips ----

TEST(IconTooltip, LinesForOneMonitor) {
    Desk d;
    EXPECT_EQ(d.Tip(), kDeskTip);
    d.s.core.presetChoice = {{"sRGB", "6500K"}, 0};
    d.German();
    EXPECT_EQ(d.Tip(), "NOVA U27\nBrightness 70\nContrast 75\nsRGB\nLautst\xE4rke 30\nSpeakers (HD Audio)");
    for (const char* cell : {".", "?", ""}) {
        d.SetCell(kColumnContrast, cell);
        EXPECT_EQ(d.Tip(), "NOVA U27\nBrightness 70\nsRGB\nLautst\xE4rke 30\nSpeakers (HD Audio)") << '"' << cell;
    }
}

TEST(IconTooltip, WheelHintWithSeveralMonitorsWhileTheTextIsShorterThan86) {
    struct Case {
        bool german;
        std::size_t textBeforeHint;
        bool hint;
    };
    const Case cases[] = {
        {false, 40, true}, {false, 85, true}, {false, 86, false}, {true, 85, true}, {true, 86, false}};
    for (const Case& c : cases) {
        Desk d;
        d.AddRow("ORION 243", "50", "40");
        if (c.german) d.German();
        const std::string rest =
            std::string("\nBrightness 70\nContrast 75\n") + (c.german ? "Lautst\xE4rke" : "Volume") + " 30\n";
        const std::string name(c.textBeforeHint - rest.size(), 'N');
        d.SetCell(kColumnName, name);
        const char* hint =
            c.german ? "nutze Mausrad (+ Taste 1-9 Monitorauswahl)" : "use mousewheel (+ key 1-9 selects monitor)";
        EXPECT_EQ(d.Tip(), (name + rest + (c.hint ? hint : "")).substr(0, 127)) << c.textBeforeHint << c.german;
    }
}

TEST(IconTooltip, CutAt127Characters) {
    Desk d;
    d.SetCell(kColumnName, std::string(200, 'M'));
    EXPECT_EQ(d.Tip(), std::string(127, 'M'));
    d.SetCell(kColumnName, std::string(80, 'M'));
    d.s.core.audioDeviceName = std::string(70, 'D');
    EXPECT_EQ(d.Tip(), std::string(80, 'M') + "\nBrightness 70\nContrast 75\nVolume 30\n" + std::string(10, 'D'));
    d.SetCell(kColumnName, "M");
    d.s.core.audioDeviceName = std::string(63, 'D') + "overlong";
    EXPECT_EQ(d.Tip(), "M\nBrightness 70\nContrast 75\nVolume 30\n" + std::string(63, 'D'));
}

// A laptop panel alone: its contrast icon says how to turn it off.
TEST(IconTooltip, LaptopNoteForTheContrastIconOfALoneLaptopPanel) {
    auto s = Seeded(kLaptopFleet);
    IconTooltip tip = BuildIconTooltip(s->core, kContrastIcon);
    EXPECT_EQ(tip.recordTip, kLaptopNote);
    EXPECT_EQ(tip.slotTip, BuildIconTooltip(s->core, kBrightnessIcon).recordTip) << "the slot keeps the normal text";
    for (IconKind kind : {kBrightnessIcon, kVolumeIcon, kCombinedIcon})
        EXPECT_EQ(BuildIconTooltip(s->core, kind).recordTip.find("Because"), std::string::npos) << int{kind};

    s->core.settings.languageId = win::kLangGerman;
    EXPECT_EQ(BuildIconTooltip(s->core, kContrastIcon).recordTip.substr(0, 44),
              "Weil das Laptop-Display keinen Kontrast hat,");

    RenderIcon(s->core, kContrastIcon);
    EXPECT_EQ(s->core.trayState.iconRecord.tip, BuildIconTooltip(s->core, kContrastIcon).recordTip);
    EXPECT_EQ(s->core.trayState.slots[kContrastIcon].tip.View(), BuildIconTooltip(s->core, kContrastIcon).slotTip);

    // Not with a second monitor, nor for a panel not marked as one, nor one with contrast.
    for (int c = 0; c < 3; ++c) {
        Desk d;
        d.SetCell(kColumnContrast, c == 2 ? "75" : ".");
        d.s.core.table[0].isLaptopPanel = c == 1 ? 0 : 1;
        if (c == 0) d.AddRow("ORION 243", "50", "40");
        EXPECT_NE(BuildIconTooltip(d.s.core, kContrastIcon).recordTip, kLaptopNote) << c;
    }
}

// ---- The icon operation's first half ----

TEST(RenderIconInSlot, NewIconReplacesTheOldAndCarriesThePictureAndTip) {
    Desk d;
    d.s.system.SetSmallIconHeight(20);
    RenderIcon(d.s.core, kBrightnessIcon);
    const IconSlot& slot = d.s.core.trayState.slots[kBrightnessIcon];
    const IconHandle first = slot.icon;
    ASSERT_NE(d.s.tray.Picture(first), nullptr);
    EXPECT_EQ(*d.s.tray.Picture(first), d.Plan(kBrightnessIcon, 20));
    EXPECT_EQ(slot.previousIcon, 0u);
    EXPECT_EQ(slot.tip.View(), kDeskTip);
    EXPECT_EQ(d.s.core.trayState.iconRecord.tip, kDeskTip);
    EXPECT_EQ(d.s.core.trayState.iconRecord.icon, first);

    RenderIcon(d.s.core, kBrightnessIcon);
    EXPECT_EQ(slot.previousIcon, first);
    EXPECT_NE(slot.icon, first);
    RenderIcon(d.s.core, kBrightnessIcon);  // the shell's half never came to destroy the first
    EXPECT_EQ(d.s.tray.LiveIcons(), 2u) << "the shown icon and the one replaced last";
}

TEST(RenderIconInSlot, TooltipsOffOrWheelUsedEmptiesEveryTooltip) {
    for (bool wheel : {false, true}) {
        auto s = Seeded(kLaptopFleet);  // the contrast icon would carry the laptop note
        for (IconKind kind : kIconUpdateOrder) RenderIcon(s->core, kind);
        s->core.trayState.balloonRecord.tip = "Brightness 40";
        ASSERT_FALSE(s->core.trayState.slots[kVolumeIcon].tip.Empty());
        if (wheel)
            s->core.trayState.wheelOverIcon = true;
        else
            s->core.settings.tooltips = false;

        RenderIcon(s->core, kContrastIcon);
        for (const IconSlot& slot : s->core.trayState.slots) EXPECT_TRUE(slot.tip.Empty()) << wheel;
        EXPECT_EQ(s->core.trayState.iconRecord.tip, "");
        EXPECT_EQ(s->core.trayState.balloonRecord.tip, "");
        EXPECT_NE(s->core.trayState.slots[kContrastIcon].icon, 0u) << "the number is still drawn";
    }
}

TEST(AlphaRule, NonZeroPixelsBecomeOpaqueZeroStaysTransparent) {
    std::vector<uint32_t> pixels{0x00000000, 0x00010000, 0x00FFFFFF, 0x7F123456, 0x01000000};
    ApplyAlphaRule(pixels);
    EXPECT_EQ(pixels, (std::vector<uint32_t>{0x00000000, 0xFF010000, 0xFFFFFFFF, 0xFF123456, 0xFF000000}));
}

}  // namespace
}  // namespace lv
