// The settings file: one small XML document, "Lumivane.xml", kept in the roaming
// application-data folder, beside the program, or both. Every persistent field of the
// settings record is one <set KEY="VALUE"></set> child of the root.
#pragma once

#include <string>
#include <string_view>

namespace lv {

struct Core;

enum class SettingsLocation { ProgramFolder = 0, ApplicationData = 1 };

inline constexpr std::u16string_view kSettingsFileName = u"Lumivane.xml";
inline constexpr std::u16string_view kSettingsFolderName = u"Lumivane";
inline constexpr std::u16string_view kLegacyIniFileName = u"Lumivane.ini";

// Reads one settings document into the record: any element anywhere, its first
// attribute alone, keys without regard to case, later duplicates win, unknown keys and
// values that do not fit are passed over. Command lines of hot keys and menu entries get
// their full stops turned into spaces. A malformed document keeps what came before the fault.
void ApplySettingsDocument(Core& core, std::string_view document);
// The document a save writes: every field, or only the restart flags while `fullSave`
// is off.
std::string SettingsDocument(Core& core);

// Start-up: the program-folder copy when it exists and may be written, else the
// application-data copy.
void LoadSettings(Core& core);
// Writes the copy of one location, if its switch allows. The new document is written
// beside the old one and replaces it only once complete, so a failed save (a full disk,
// a crash) leaves the previous file as it was.
void SaveSettings(Core& core, SettingsLocation location);
// Both copies, program folder first, as every caller saves.
void SaveAllSettings(Core& core);

// The application-data folder's "\Lumivane" subfolder; empty when there is none.
std::u16string ApplicationDataFolder(Core& core);
// At least one copy is always kept: with both switched off the program-folder copy stays
// on; a copy switched off is deleted.
void EnsureSaveLocation(Core& core);
// Deletes every settings file and restarts with the built-in defaults (after the user
// confirmed it).
void RestoreDefaults(Core& core);

}  // namespace lv
