#include "settings/settings_file.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <functional>
#include <unordered_map>
#include <vector>

#include "common/text.h"
#include "core/core.h"
#include "core/requests.h"

namespace lv {
namespace {

constexpr std::u16string_view kRootElement = u"settings";
constexpr std::u16string_view kVersionAttribute = u"Lumivane";
constexpr std::u16string_view kVersion = u"4.4";
constexpr std::u16string_view kChildElement = u"set";
constexpr std::u16string_view kTemporarySuffix = u".new";
constexpr const char* kAutoRunNames[kAutoRunSlots] = {"day", "night", "night2", "night3", "night4", "night5", "night6", "night7"};
constexpr const char* kIconIdentifierKeys[kIconIdentifiers] = {"guid_volume", "guid_contrast", "guid_brightness", "guid_combined"};

std::u16string Ascii(std::string_view text) { return std::u16string(text.begin(), text.end()); }

std::u16string Hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(value));
    return Ascii(text);
}

// "%08X" reading: blanks skipped, then at most eight hex digits; nothing without a digit.
bool ParseHex(std::u16string_view text, uint32_t& value) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t' || text[i] == u'\r' || text[i] == u'\n')) ++i;
    uint32_t result = 0;
    std::size_t digits = 0;
    for (; i < text.size() && digits < 8; ++i, ++digits) {
        const char16_t c = text[i];
        uint32_t digit = 0;
        if (c >= u'0' && c <= u'9') digit = c - u'0';
        else if (c >= u'a' && c <= u'f') digit = c - u'a' + 10;
        else if (c >= u'A' && c <= u'F') digit = c - u'A' + 10;
        else break;
        result = result * 16 + digit;
    }
    if (digits == 0) return false;
    value = result;
    return true;
}

// A decimal multiplier; values that are no finite number leave the field alone.
bool ParseFloat(std::u16string_view text, float& value) {
    std::string ascii;
    for (char16_t c : text) {
        if (c >= 0x80) break;
        ascii += static_cast<char>(c);
    }
    std::size_t start = ascii.find_first_not_of(" \t\r\n");
    if (start == std::string::npos) return false;
    if (ascii[start] == '+') ++start;
    float result = 0;
    const auto [end, error] = std::from_chars(ascii.data() + start, ascii.data() + ascii.size(), result);
    if (error != std::errc() || end == ascii.data() + start || !std::isfinite(result)) return false;
    value = result;
    return true;
}

struct Field {
    std::string key;
    std::function<std::u16string()> write;
    std::function<void(std::u16string_view)> read;  // empty: written, never read
};

// The fields in the order a save writes them.
class FieldTable {
public:
    explicit FieldTable(Core& core) : core_(core), s_(core.settings) { Build(); }

    const std::vector<Field>& Fields() const { return fields_; }
    const Field* Find(std::u16string_view key) const {
        std::string lower;
        for (char16_t c : key) {
            if (c >= 0x80) return nullptr;
            lower += ToLowerAscii(static_cast<char>(c));
        }
        const auto it = index_.find(lower);
        return it == index_.end() ? nullptr : &fields_[it->second];
    }

private:
    void Add(std::string key, std::function<std::u16string()> write, std::function<void(std::u16string_view)> read) {
        index_.emplace(ToLower(key), fields_.size());
        fields_.push_back({std::move(key), std::move(write), std::move(read)});
    }
    void Switch(std::string key, bool& field) {
        Add(std::move(key), [&field] { return std::u16string(field ? u"Y" : u"N"); },
            [&field](std::u16string_view v) { field = !v.empty() && v[0] == u'Y'; });
    }
    template <typename Integer>
    void Number(std::string key, Integer& field) {
        Add(std::move(key), [&field] { return Hex(static_cast<uint32_t>(field)); },
            [&field](std::u16string_view v) {
                uint32_t value = 0;
                if (ParseHex(v, value)) field = static_cast<Integer>(value);
            });
    }
    void Multiplier(std::string key, float& field) {
        Add(std::move(key),
            [&field] {
                char text[64];
                std::snprintf(text, sizeof text, "%.2f", static_cast<double>(field));
                return Ascii(text);
            },
            [&field](std::u16string_view v) { ParseFloat(v, field); });
    }
    template <std::size_t N>
    void Text(std::string key, FixedText<N>& field) {
        Core& core = core_;
        Add(std::move(key), [&core, &field] { return core.platform.codec.AnsiToWide(field.View()); },
            [&core, &field](std::u16string_view v) { field.AssignIfFits(core.platform.codec.WideToAnsi(v)); });
    }

    void Build() {
        Switch("restartflag", core_.restartflag);
        Switch("hiddenrestart", core_.hiddenrestart);
        Number("ColorAreaBrightness", s_.ColorAreaBrightness);
        Number("ColorAreaContrast", s_.ColorAreaContrast);
        Number("ColorBrightness", s_.ColorBrightness);
        Number("ColorContrast", s_.ColorContrast);
        Number("ColorVolume", s_.ColorVolume);
        Number("ColorSliderBrightness", s_.ColorSliderBrightness);
        Number("ColorSliderContrast", s_.ColorSliderContrast);
        Number("ColorSliderVolume", s_.ColorSliderVolume);
        for (int i = 0; i < kIconIdentifiers; ++i) {
            uint16_t& tail = s_.iconIdentifierTails[static_cast<std::size_t>(i)];
            Add(kIconIdentifierKeys[i], [&tail] { return Hex(tail); }, nullptr);
        }
        for (int i = 0; i < kAutoRunSlots; ++i) {
            SystemTime& time = s_.autoRun[static_cast<std::size_t>(i)].time;
            const std::string name = kAutoRunNames[i];
            // An hour starts its slot's minute afresh, a minute its seconds: the auto-run
            // relies on whole minutes.
            Add(name + "timeHour", [&time] { return Hex(time.hour); },
                [&time](std::u16string_view v) {
                    uint32_t value = 0;
                    if (!ParseHex(v, value)) return;
                    time.hour = static_cast<uint16_t>(value);
                    time.minute = 0;
                });
            Add(name + "timeMinute", [&time] { return Hex(time.minute); },
                [&time](std::u16string_view v) {
                    uint32_t value = 0;
                    if (!ParseHex(v, value)) return;
                    time.minute = static_cast<uint16_t>(value);
                    time.second = 0;
                });
        }
        Number("lastsettings", s_.lastsettings);
        Number("aliasing", s_.aliasing);
        Number("offset_brightness", s_.offset_brightness);
        Number("wheel_B", s_.wheel_B);
        Number("wheel_C", s_.wheel_C);
        Number("wheel_V", s_.wheel_V);
        for (int n = 1; n <= kLimitRows; ++n) {
            MonitorLimitRow& row = s_.limits[static_cast<std::size_t>(n - 1)];
            std::string m = "m";
            m += std::to_string(n);
            Number(m + "_B_MIN", row.brightnessMin);
            Number(m + "_B_MAX", row.brightnessMax);
            Number(m + "_C_MIN", row.contrastMin);
            Number(m + "_C_MAX", row.contrastMax);
        }
        for (int i = 0; i < 4; ++i) Multiplier("div" + std::to_string(i), s_.div[static_cast<std::size_t>(i)]);
        for (int i = 0; i < kHotKeys; ++i) {
            HotKeySetting& hotkey = s_.hotkeys[static_cast<std::size_t>(i)];
            Number("hotkey" + std::to_string(i), hotkey.code);
            Text("editbuffer" + std::to_string(i), hotkey.commandLine);
        }
        Text("source_brightness", s_.source_brightness);
        Text("destination_brightness", s_.destination_brightness);
        for (int n = 1; n <= kLimitRows; ++n) Text("IDC_" + std::to_string(n) + "M", s_.limits[static_cast<std::size_t>(n - 1)].name);
        for (int i = 0; i < kAutoRunSlots; ++i)
            Text(std::string(kAutoRunNames[i]) + "editbuffer", s_.autoRun[static_cast<std::size_t>(i)].commandLine);
        for (int k = 0; k < kWheelCombos; ++k) Text("wheelkeys" + std::to_string(k), s_.wheelCombos[static_cast<std::size_t>(k)].keys);
        for (int k = 0; k < kWheelCombos; ++k)
            Text("direction" + std::to_string(k), s_.wheelCombos[static_cast<std::size_t>(k)].direction);
        for (int k = 0; k < kWheelCombos; ++k)
            Text("wheelbuffer" + std::to_string(k), s_.wheelCombos[static_cast<std::size_t>(k)].commandLine);
        for (int i = 0; i < kMenuEntries; ++i)
            Text("m_editbuffer" + std::to_string(i), s_.menuEntries[static_cast<std::size_t>(i)].commandLine);
        for (int i = 0; i < kMenuEntries; ++i)
            Text("m_editbuffer" + std::to_string(i + kMenuEntries), s_.menuEntries[static_cast<std::size_t>(i)].comment);
        for (int i = 0; i < kMaxMonitors; ++i) Text("ignoremonitor" + std::to_string(i), core_.table[static_cast<std::size_t>(i)].ignoreName);
        for (int i = 0; i < kMenuEntries; ++i) Switch("hide" + std::to_string(i), s_.menuEntries[static_cast<std::size_t>(i)].hide);
        Switch("autostart", s_.autostart);
        Switch("autoselect", s_.autoselect);
        Core& core = core_;
        // The file holds autoselect first: while it is on, the selection follows the pointer.
        Add("selectedmonitor", [&core] { return Hex(static_cast<uint32_t>(core.selectedMonitor)); },
            [&core](std::u16string_view v) {
                uint32_t value = 0;
                // A negative number (an older file's FFFFFFFF) selects nothing: take the first monitor.
                if (!core.settings.autoselect && ParseHex(v, value))
                    core.selectedMonitor = std::max<int32_t>(static_cast<int32_t>(value), 0);
            });
        Switch("samebrightness", s_.samebrightness);
        Switch("tooltips", s_.tooltips);
        Switch("showvolume", s_.showvolume);
        Switch("nocheckhidden", s_.nocheckhidden);
        Switch("nocheckmonitor", s_.nocheckmonitor);
        Switch("showRGB", s_.showRGB);
        Switch("samevalues", s_.samevalues);
        Switch("rereadvalues", s_.rereadvalues);
        Switch("additional", s_.additional);
        Switch("cdbackup", s_.cdbackup);
        Switch("notifications", s_.notifications);
        for (int i = 0; i < kAutoRunSlots; ++i)
            Switch(std::string(kAutoRunNames[i]) + "timeflag", s_.autoRun[static_cast<std::size_t>(i)].enabled);
        Switch("showcombinedicon", s_.showcombinedicon);
        Switch("showbrightnessicon", s_.showbrightnessicon);
        Switch("showcontrasticon", s_.showcontrasticon);
        Switch("showvolumeicon", s_.showvolumeicon);
        Switch("transferbrightness", s_.transferbrightness);
        AppSettings& s = s_;
        Add("language", [&s] { return std::u16string(s.German() ? u"German" : u"English"); },
            [&s](std::u16string_view v) {
                if (v.size() <= kMaxLanguageText) s.language = std::u16string(v);
            });
    }

    Core& core_;
    AppSettings& s_;
    std::vector<Field> fields_;
    std::unordered_map<std::string, std::size_t> index_;
};

// Full stops in hot-key and menu command lines become spaces ("b.20.c.30" is "b 20 c 30");
// menu comments keep theirs.
void ReplaceFullStops(AppSettings& settings) {
    const auto replace = [](auto& field) {
        std::string text = field.Str();
        std::replace(text.begin(), text.end(), '.', ' ');
        field = text;
    };
    for (HotKeySetting& hotkey : settings.hotkeys) replace(hotkey.commandLine);
    for (MenuEntrySetting& entry : settings.menuEntries) replace(entry.commandLine);
}

bool ContainsNoCase16(std::u16string_view haystack, std::u16string_view needle) {
    std::string ascii;
    for (char16_t c : haystack) ascii += c < 0x80 ? static_cast<char>(c) : '?';
    std::string word;
    for (char16_t c : needle) word += static_cast<char>(c);
    return ContainsNoCase(ascii, word);
}

std::u16string Join(std::u16string_view folder, std::u16string_view name) {
    std::u16string path(folder);
    if (!path.empty() && path.back() != u'\\') path += u'\\';
    return path + std::u16string(name);
}

// Fills in the two settings paths from the current folder and the roaming folder.
void FindSettingsPaths(Core& core) {
    FileApi& files = core.platform.files;
    std::u16string folder;
    if (core.localSettingsPath.empty() && files.GetWorkingFolder(folder))
        core.localSettingsPath = Join(folder, kSettingsFileName);
    const std::u16string appData = ApplicationDataFolder(core);
    core.appDataSettingsPath = appData.empty() ? std::u16string() : Join(appData, kSettingsFileName);
}

// Writes `document` beside `path` and moves it over `path` only once it is complete.
bool ReplaceFileSafely(FileApi& files, const std::u16string& path, const std::string& document) {
    const std::u16string temporary = path + std::u16string(kTemporarySuffix);
    if (!files.WriteWholeFile(temporary, document) || !files.ReplaceFileWith(temporary, path)) {
        (void)files.RemoveFile(temporary);
        return false;
    }
    return true;
}

}  // namespace

void ApplySettingsDocument(Core& core, std::string_view document) {
    const FieldTable table(core);
    (void)core.platform.xmlReader.ReadFirstAttributes(document, [&table](std::u16string_view key, std::u16string_view value) {
        if (const Field* field = table.Find(key); field && field->read) field->read(value);
    });
    ReplaceFullStops(core.settings);
}

std::string SettingsDocument(Core& core) {
    const FieldTable table(core);
    XmlWriter& writer = core.platform.xmlWriter;
    bool ok = writer.StartDocument() && writer.StartElement(kRootElement) && writer.WriteAttribute(kVersionAttribute, kVersion);
    const std::size_t count = core.settings.fullSave ? table.Fields().size() : 2;
    for (std::size_t i = 0; ok && i < count; ++i) {
        const Field& field = table.Fields()[i];
        ok = writer.StartElement(kChildElement) && writer.WriteAttribute(Ascii(field.key), field.write()) &&
             writer.WriteFullEndElement();
    }
    ok = ok && writer.WriteFullEndElement() && writer.WriteWhitespace(u"\n");
    std::string document;
    if (!writer.EndDocument(document) || !ok) return {};
    return document;
}

std::u16string ApplicationDataFolder(Core& core) {
    std::u16string roaming;
    if (!core.platform.files.GetRoamingAppDataFolder(roaming)) return {};
    return Join(roaming, kSettingsFolderName);
}

void LoadSettings(Core& core) {
    FindSettingsPaths(core);
    FileApi& files = core.platform.files;
    std::string document;
    const bool local = !core.localSettingsPath.empty() && files.CanOpenForWriting(core.localSettingsPath) &&
                       files.ReadWholeFile(core.localSettingsPath, document);
    if (!local && (core.appDataSettingsPath.empty() || !files.ReadWholeFile(core.appDataSettingsPath, document))) return;
    ApplySettingsDocument(core, document);
}

void SaveSettings(Core& core, SettingsLocation location) {
    FileApi& files = core.platform.files;
    std::u16string path;
    if (location == SettingsLocation::ApplicationData) {
        if (!core.settings.additional) return;
        const std::u16string folder = ApplicationDataFolder(core);
        if (folder.empty()) return;
        (void)files.CreateFolder(folder);
        (void)files.RemoveFile(Join(folder, kLegacyIniFileName));
        path = Join(folder, kSettingsFileName);
    } else {
        if (!core.settings.cdbackup) return;
        if (core.localSettingsPath.empty()) FindSettingsPaths(core);
        path = core.localSettingsPath;
    }
    const std::string document = SettingsDocument(core);
    if (path.empty() || document.empty() || !ReplaceFileSafely(files, path, document)) return;
    // A program kept on the desktop keeps its settings copy there out of sight.
    if (location == SettingsLocation::ProgramFolder && ContainsNoCase16(core.localSettingsPath, u"Desktop"))
        (void)files.SetHidden(path);
}

void SaveAllSettings(Core& core) {
    SaveSettings(core, SettingsLocation::ProgramFolder);
    SaveSettings(core, SettingsLocation::ApplicationData);
}

void EnsureSaveLocation(Core& core) {
    AppSettings& s = core.settings;
    if (!s.additional) {
        s.cdbackup = true;
        const std::u16string folder = ApplicationDataFolder(core);
        if (!folder.empty()) (void)core.platform.files.RemoveFile(Join(folder, kSettingsFileName));
    }
    if (!s.cdbackup && !core.localSettingsPath.empty()) (void)core.platform.files.RemoveFile(core.localSettingsPath);
}

void RestoreDefaults(Core& core) {
    FileApi& files = core.platform.files;
    const std::u16string folder = ApplicationDataFolder(core);
    if (!folder.empty()) {
        (void)files.RemoveFile(Join(folder, kLegacyIniFileName));
        (void)files.RemoveFile(Join(folder, kSettingsFileName));
    }
    if (!core.localSettingsPath.empty()) (void)files.RemoveFile(core.localSettingsPath);
    core.settings.fullSave = false;
    RequestRestart(core, RestartView::AsStarted);
}

}  // namespace lv
