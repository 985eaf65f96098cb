// Files and folders on the host, for the simulator and tests. Paths are the core's:
// UTF-16 with backslashes between folders, which become slashes here.
#pragma once

#include <string>
#include <string_view>

#include "platform/file_api.h"

namespace lv {

class PosixFileApi final : public FileApi {
public:
    // The roaming folder is whatever the caller chooses (there is none when it is
    // empty), so nothing depends on the environment; an empty current folder means the
    // process's own.
    explicit PosixFileApi(std::u16string roamingAppData, std::u16string currentDirectory = {})
        : roamingAppData_(std::move(roamingAppData)), currentDirectory_(std::move(currentDirectory)) {}

    bool GetRoamingAppDataFolder(std::u16string& folder) override;
    bool GetWorkingFolder(std::u16string& folder) override;
    // POSIX has no sharing modes: a file that exists and may be written counts as free.
    bool CanOpenForWriting(std::u16string_view path) override;
    bool ReadWholeFile(std::u16string_view path, std::string& bytes) override;
    // Synced before it reports success, so a rename after it is durable.
    bool WriteWholeFile(std::u16string_view path, std::string_view bytes) override;
    // rename(): atomic, like MoveFileExW.
    bool ReplaceFileWith(std::u16string_view from, std::u16string_view to) override;
    bool CreateFolder(std::u16string_view path) override;
    bool RemoveFile(std::u16string_view path) override;
    // There is no hidden attribute here: succeeds without effect when the file exists.
    bool SetHidden(std::u16string_view path) override;

private:
    std::u16string roamingAppData_;
    std::u16string currentDirectory_;
};

}  // namespace lv
