#include "settings/legacy_ini.h"

#include "core/core.h"
#include "settings/settings_file.h"

namespace lv {
namespace {

constexpr std::size_t kHeadOnlyMaximum = 100;  // files up to this length carry no tail
constexpr std::size_t kListStart = 20;
constexpr std::size_t kCodeSkip = 10;         // comma, 8 code digits, separator
constexpr std::size_t kEntryLimit = 255;      // the old 256-byte work buffer, less its terminator
constexpr std::size_t kHexDigits = 8;

// The old reader worked on a zero-filled copy of the file, so every byte past the end reads
// as zero and a zero byte ends any text that reaches it.
class IniText {
public:
    explicit IniText(std::string_view bytes) : bytes_(bytes) {}

    std::size_t Size() const { return bytes_.size(); }
    char At(std::size_t i) const { return i < bytes_.size() ? bytes_[i] : '\0'; }
    std::string_view Slice(std::size_t from, std::size_t to) const { return bytes_.substr(from, to - from); }

    // "%08X": leading white space skipped (however far it runs), then up to 8 hex digits.
    std::optional<uint32_t> Hex(std::size_t offset) const {
        std::size_t i = offset;
        while (IsSpace(At(i))) ++i;
        uint32_t value = 0;
        std::size_t digits = 0;
        for (; digits < kHexDigits; ++digits, ++i) {
            const int digit = HexDigit(At(i));
            if (digit < 0) break;
            value = value << 4 | static_cast<uint32_t>(digit);
        }
        if (digits == 0) return std::nullopt;
        return value;
    }

    bool Flag(std::size_t offset) const { return At(offset) == 'Y'; }

private:
    static bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
    static int HexDigit(char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        return -1;
    }

    std::string_view bytes_;
};

void ReadTail(const IniText& text, LegacyIniValues& values) {
    const std::size_t end = text.Size();
    const char marker = text.At(end - 3);
    if (marker == 'Y' || marker == 'N') {
        values.ColorSliderBrightness = text.Hex(end - 59);
        values.ColorSliderContrast = text.Hex(end - 50);
        values.ColorSliderVolume = text.Hex(end - 41);
        values.showvolume = text.Flag(end - 32);
        values.ColorBrightness = text.Hex(end - 31);
        values.ColorContrast = text.Hex(end - 22);
        values.ColorVolume = text.Hex(end - 13);
        values.showcombinedicon = text.Flag(end - 4);
        values.showbrightnessicon = text.Flag(end - 3);
        values.showcontrasticon = text.Flag(end - 2);
        values.showvolumeicon = text.Flag(end - 1);
    } else {
        values.ColorSliderBrightness = text.Hex(end - 28);
        values.ColorSliderContrast = text.Hex(end - 19);
        values.ColorSliderVolume = text.Hex(end - 10);
        values.showvolume = text.Flag(end - 1);
    }
}

bool EndsEntry(char c) { return c == ',' || c == '.' || c == '\0'; }

// Entries are ",XXXXXXXX ?command"; the code and its separator are stepped over by count,
// so whatever stands there is skipped. An entry that does not end in ',' or '.' within the
// limit ends the walk, and is lost with everything after it.
void ReadHotKeys(const IniText& text, std::vector<LegacyHotKey>& hotKeys) {
    std::size_t at = kListStart;
    while (hotKeys.size() < kLegacyHotKeySlots) {
        const char c = text.At(at);
        if (c == '.' || c == '\0') return;
        std::optional<int32_t> code;
        if (c == ',') {
            if (const auto hex = text.Hex(at + 1)) code = static_cast<int32_t>(*hex);
            at += kCodeSkip;
        }
        const std::size_t start = at;
        while (!EndsEntry(text.At(at))) {
            if (++at - start == kEntryLimit) return;
        }
        if (text.At(at) == '\0') return;
        hotKeys.push_back({code, std::string(text.Slice(start, at))});
    }
}

}  // namespace

LegacyIniValues ParseLegacyIni(std::string_view bytes) {
    LegacyIniValues values;
    const IniText text(bytes);
    if (text.Size() == 0) return values;

    values.ColorAreaBrightness = text.Hex(0);
    values.ColorAreaContrast = text.Hex(9);
    values.autostart = text.Flag(18);
    values.samevalues = text.Flag(19);
    if (text.Size() <= kHeadOnlyMaximum) return values;

    if (text.At(text.Size() - 1) != '.') ReadTail(text, values);
    ReadHotKeys(text, values.hotKeys);
    return values;
}

void ApplyLegacyIni(const LegacyIniValues& v, AppSettings& s) {
    const auto take = [](const auto& value, auto& field) {
        if (value) field = *value;
    };
    take(v.ColorAreaBrightness, s.ColorAreaBrightness);
    take(v.ColorAreaContrast, s.ColorAreaContrast);
    take(v.autostart, s.autostart);
    take(v.samevalues, s.samevalues);
    take(v.ColorSliderBrightness, s.ColorSliderBrightness);
    take(v.ColorSliderContrast, s.ColorSliderContrast);
    take(v.ColorSliderVolume, s.ColorSliderVolume);
    take(v.showvolume, s.showvolume);
    take(v.ColorBrightness, s.ColorBrightness);
    take(v.ColorContrast, s.ColorContrast);
    take(v.ColorVolume, s.ColorVolume);
    take(v.showcombinedicon, s.showcombinedicon);
    take(v.showbrightnessicon, s.showbrightnessicon);
    take(v.showcontrasticon, s.showcontrasticon);
    take(v.showvolumeicon, s.showvolumeicon);
    for (std::size_t k = 0; k < v.hotKeys.size() && k < kLegacyHotKeySlots; ++k) {
        take(v.hotKeys[k].hotkey, s.hotkeys[k].code);
        s.hotkeys[k].commandLine = v.hotKeys[k].editbuffer;
    }
}

void ImportLegacyIni(Core& core) {
    const std::u16string folder = ApplicationDataFolder(core);
    std::string bytes;
    if (folder.empty() || !core.platform.files.ReadWholeFile(folder + u"\\" + std::u16string(kLegacyIniFileName), bytes))
        return;
    ApplyLegacyIni(ParseLegacyIni(bytes), core.settings);
}

}  // namespace lv
