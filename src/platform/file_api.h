// Files and folders as the settings need them. Paths are UTF-16, as the system's own.
// One method per system call, with that call's success; the core decides what to do
// with a failure (a settings file is replaced only once its successor is complete).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lv {

// Settings and the legacy INI file are a few kilobytes; anything larger than this is no
// file of ours and is refused rather than read into memory.
inline constexpr std::size_t kMaxReadableFile = 16u << 20;

class FileApi {
public:
    virtual ~FileApi() = default;
    // SHGetKnownFolderPath(FOLDERID_RoamingAppData), without a trailing backslash.
    virtual bool GetRoamingAppDataFolder(std::u16string& folder) = 0;
    // GetCurrentDirectoryW, without a trailing backslash. (Methods are not named after
    // calls that windows.h turns into macros.)
    virtual bool GetWorkingFolder(std::u16string& folder) = 0;
    // CreateFileW with write access, no sharing, open-existing; closed at once. True when
    // the file exists and nobody else holds it and it may be written.
    virtual bool CanOpenForWriting(std::u16string_view path) = 0;
    // The whole file (read access, no sharing). False when it cannot be opened or read,
    // or is larger than kMaxReadableFile.
    virtual bool ReadWholeFile(std::u16string_view path, std::string& bytes) = 0;
    // Creates or truncates the file and writes all bytes. A failure may leave a partly
    // written file behind.
    virtual bool WriteWholeFile(std::u16string_view path, std::string_view bytes) = 0;
    // MoveFileExW(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH): the
    // replacement is atomic; `to` is either the old or the new file.
    virtual bool ReplaceFileWith(std::u16string_view from, std::u16string_view to) = 0;
    // CreateDirectoryW; true also when the folder exists already.
    virtual bool CreateFolder(std::u16string_view path) = 0;
    // DeleteFileW.
    virtual bool RemoveFile(std::u16string_view path) = 0;
    // SetFileAttributesW(path, FILE_ATTRIBUTE_HIDDEN).
    virtual bool SetHidden(std::u16string_view path) = 0;
};

}  // namespace lv
