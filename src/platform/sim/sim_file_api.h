// Files and folders in memory, with the Windows behaviour the settings rely on:
// - Paths are full paths. They compare without regard to case (ASCII and Latin-1
//   letters) and keep the spelling they were created with. A file or folder can only be
//   made in a folder that exists; the roaming folder and the current folder (and the
//   folders above them) exist from the start.
// - A locked file is one another program holds open without sharing: it cannot be
//   opened for writing or reading, replaced, moved or deleted.
// - A read-only file can be read, but not written, replaced or deleted.
// - WriteWholeFile keeps an existing file's hidden flag (the Windows layer carries it
//   over, as CreateFileW demands); ReplaceFileWith gives the target the moved file's
//   flags, as a rename does.
// - Every call can be made to fail, for every path or for one; a failing call changes
//   nothing. FailWriteAfter(n) is a disk that fills up: a write keeps its first n bytes
//   and fails.
// - Every call is logged with its paths and its result.
#pragma once

#include <array>
#include <cstddef>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/file_api.h"

namespace lv::sim {

enum class FileCall {
    GetRoamingAppDataFolder,
    GetWorkingFolder,
    CanOpenForWriting,
    ReadWholeFile,
    WriteWholeFile,
    ReplaceFileWith,
    CreateFolder,
    RemoveFile,
    SetHidden,
};

struct FileCallRecord {
    FileCall call;
    std::u16string path;    // empty for the folder queries
    std::u16string target;  // ReplaceFileWith's `to`
    bool ok = false;
    bool operator==(const FileCallRecord&) const = default;
};

class SimFileApi : public lv::FileApi {
public:
    explicit SimFileApi(std::u16string roamingAppData = u"C:\\Users\\User\\AppData\\Roaming",
                         std::u16string currentDirectory = u"C:\\Program Files\\Lumivane");

    bool GetRoamingAppDataFolder(std::u16string& folder) override;
    bool GetWorkingFolder(std::u16string& folder) override;
    bool CanOpenForWriting(std::u16string_view path) override;
    bool ReadWholeFile(std::u16string_view path, std::string& bytes) override;
    bool WriteWholeFile(std::u16string_view path, std::string_view bytes) override;
    bool ReplaceFileWith(std::u16string_view from, std::u16string_view to) override;
    bool CreateFolder(std::u16string_view path) override;
    bool RemoveFile(std::u16string_view path) override;
    bool SetHidden(std::u16string_view path) override;

    // Setting up, without logging. AddFile makes the missing folders above the file.
    void AddFolder(std::u16string_view path);
    void AddFile(std::u16string_view path, std::string_view bytes);
    void SetLocked(std::u16string_view path, bool locked);
    void SetReadOnly(std::u16string_view path, bool readOnly);

    void SetFailing(FileCall call, bool failing = true) { failingCalls_[Index(call)] = failing; }
    // Only calls that name `path` (as source or target) fail.
    void SetFailing(FileCall call, std::u16string_view path, bool failing = true);
    void FailWriteAfter(std::optional<std::size_t> bytes) { writeLimit_ = bytes; }

    // Looking at the result.
    bool FileExists(std::u16string_view path) const;
    bool FolderExists(std::u16string_view path) const;
    // The file's bytes, or nothing when there is no such file.
    std::optional<std::string> Contents(std::u16string_view path) const;
    bool IsHidden(std::u16string_view path) const;
    // The files as they are spelt, in path order without regard to case.
    std::vector<std::u16string> Files() const;

    const std::vector<FileCallRecord>& Calls() const { return calls_; }
    std::size_t CallCount(FileCall call) const;
    void ClearCalls() { calls_.clear(); }

private:
    struct File {
        std::u16string spelling;
        std::string bytes;
        bool hidden = false;
        bool readOnly = false;
        bool locked = false;
    };

    static constexpr std::size_t Index(FileCall call) { return static_cast<std::size_t>(call); }
    static std::u16string Key(std::u16string_view path);
    static std::u16string Parent(std::u16string_view path);

    bool Fails(FileCall call, std::u16string_view path, std::u16string_view target = {}) const;
    bool Log(FileCall call, std::u16string_view path, std::u16string_view target, bool ok);
    File* Find(std::u16string_view path);
    const File* Find(std::u16string_view path) const;
    bool ParentExists(std::u16string_view path) const;

    std::u16string roamingAppData_;
    std::u16string currentDirectory_;
    std::map<std::u16string, File> files_;  // by Key()
    std::set<std::u16string> folders_;      // by Key()
    std::array<bool, 9> failingCalls_{};
    std::set<std::pair<FileCall, std::u16string>> failingPaths_;
    std::optional<std::size_t> writeLimit_;
    std::vector<FileCallRecord> calls_;
};

}  // namespace lv::sim
