#include "platform/sim/sim_file_api.h"

namespace lv::sim {

SimFileApi::SimFileApi(std::u16string roamingAppData, std::u16string currentDirectory)
    : roamingAppData_(std::move(roamingAppData)), currentDirectory_(std::move(currentDirectory)) {
    AddFolder(roamingAppData_);
    AddFolder(currentDirectory_);
}

std::u16string SimFileApi::Key(std::u16string_view path) {
    while (!path.empty() && path.back() == u'\\') path.remove_suffix(1);
    std::u16string key(path);
    for (char16_t& c : key) {
        if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) c = static_cast<char16_t>(c + 0x20);
    }
    return key;
}

std::u16string SimFileApi::Parent(std::u16string_view path) {
    while (!path.empty() && path.back() == u'\\') path.remove_suffix(1);
    const std::size_t slash = path.rfind(u'\\');
    return slash == std::u16string_view::npos ? std::u16string() : std::u16string(path.substr(0, slash));
}

bool SimFileApi::Fails(FileCall call, std::u16string_view path, std::u16string_view target) const {
    if (failingCalls_[Index(call)]) return true;
    return failingPaths_.count({call, Key(path)}) > 0 || (!target.empty() && failingPaths_.count({call, Key(target)}) > 0);
}

bool SimFileApi::Log(FileCall call, std::u16string_view path, std::u16string_view target, bool ok) {
    calls_.push_back({call, std::u16string(path), std::u16string(target), ok});
    return ok;
}

SimFileApi::File* SimFileApi::Find(std::u16string_view path) {
    const auto it = files_.find(Key(path));
    return it == files_.end() ? nullptr : &it->second;
}

const SimFileApi::File* SimFileApi::Find(std::u16string_view path) const {
    const auto it = files_.find(Key(path));
    return it == files_.end() ? nullptr : &it->second;
}

bool SimFileApi::ParentExists(std::u16string_view path) const { return folders_.count(Key(Parent(path))) > 0; }

bool SimFileApi::GetRoamingAppDataFolder(std::u16string& folder) {
    const bool ok = !Fails(FileCall::GetRoamingAppDataFolder, {}) && !roamingAppData_.empty();
    if (ok) folder = roamingAppData_;
    return Log(FileCall::GetRoamingAppDataFolder, {}, {}, ok);
}

bool SimFileApi::GetWorkingFolder(std::u16string& folder) {
    const bool ok = !Fails(FileCall::GetWorkingFolder, {});
    if (ok) folder = currentDirectory_;
    return Log(FileCall::GetWorkingFolder, {}, {}, ok);
}

bool SimFileApi::CanOpenForWriting(std::u16string_view path) {
    const File* file = Find(path);
    const bool ok = !Fails(FileCall::CanOpenForWriting, path) && file && !file->locked && !file->readOnly;
    return Log(FileCall::CanOpenForWriting, path, {}, ok);
}

bool SimFileApi::ReadWholeFile(std::u16string_view path, std::string& bytes) {
    const File* file = Find(path);
    const bool ok = !Fails(FileCall::ReadWholeFile, path) && file && !file->locked && file->bytes.size() <= kMaxReadableFile;
    if (ok) bytes = file->bytes;
    return Log(FileCall::ReadWholeFile, path, {}, ok);
}

bool SimFileApi::WriteWholeFile(std::u16string_view path, std::string_view bytes) {
    File* existing = Find(path);
    if (Fails(FileCall::WriteWholeFile, path) || !ParentExists(path) || folders_.count(Key(path)) ||
        (existing && (existing->locked || existing->readOnly)))
        return Log(FileCall::WriteWholeFile, path, {}, false);
    File& file = existing ? *existing : files_[Key(path)];
    if (!existing) file.spelling = std::u16string(path);
    const bool full = writeLimit_ && bytes.size() > *writeLimit_;
    file.bytes = std::string(full ? bytes.substr(0, *writeLimit_) : bytes);
    return Log(FileCall::WriteWholeFile, path, {}, !full);
}

bool SimFileApi::ReplaceFileWith(std::u16string_view from, std::u16string_view to) {
    const File* source = Find(from);
    const File* target = Find(to);
    const bool ok = !Fails(FileCall::ReplaceFileWith, from, to) && source && !source->locked && ParentExists(to) &&
                    !folders_.count(Key(to)) && (!target || (!target->locked && !target->readOnly));
    if (ok && Key(from) != Key(to)) {
        File moved = *source;
        moved.spelling = std::u16string(to);
        files_.erase(Key(from));
        files_[Key(to)] = std::move(moved);
    }
    return Log(FileCall::ReplaceFileWith, from, to, ok);
}

bool SimFileApi::CreateFolder(std::u16string_view path) {
    const bool ok = !Fails(FileCall::CreateFolder, path) && !Find(path) &&
                    (folders_.count(Key(path)) || ParentExists(path));
    if (ok) folders_.insert(Key(path));
    return Log(FileCall::CreateFolder, path, {}, ok);
}

bool SimFileApi::RemoveFile(std::u16string_view path) {
    const File* file = Find(path);
    const bool ok = !Fails(FileCall::RemoveFile, path) && file && !file->locked && !file->readOnly;
    if (ok) files_.erase(Key(path));
    return Log(FileCall::RemoveFile, path, {}, ok);
}

bool SimFileApi::SetHidden(std::u16string_view path) {
    File* file = Find(path);
    const bool ok = !Fails(FileCall::SetHidden, path) && file;
    // The attribute given is the only one the file keeps.
    if (ok) {
        file->hidden = true;
        file->readOnly = false;
    }
    return Log(FileCall::SetHidden, path, {}, ok);
}

void SimFileApi::AddFolder(std::u16string_view path) {
    for (std::u16string folder(path); !folder.empty(); folder = Parent(folder)) folders_.insert(Key(folder));
}

void SimFileApi::AddFile(std::u16string_view path, std::string_view bytes) {
    AddFolder(Parent(path));
    File& file = files_[Key(path)];
    file.spelling = std::u16string(path);
    file.bytes = std::string(bytes);
}

void SimFileApi::SetLocked(std::u16string_view path, bool locked) {
    if (File* file = Find(path)) file->locked = locked;
}

void SimFileApi::SetReadOnly(std::u16string_view path, bool readOnly) {
    if (File* file = Find(path)) file->readOnly = readOnly;
}

void SimFileApi::SetFailing(FileCall call, std::u16string_view path, bool failing) {
    if (failing) {
        failingPaths_.insert({call, Key(path)});
    } else {
        failingPaths_.erase({call, Key(path)});
    }
}

bool SimFileApi::FileExists(std::u16string_view path) const { return Find(path) != nullptr; }

bool SimFileApi::FolderExists(std::u16string_view path) const { return folders_.count(Key(path)) > 0; }

std::optional<std::string> SimFileApi::Contents(std::u16string_view path) const {
    const File* file = Find(path);
    if (!file) return std::nullopt;
    return file->bytes;
}

bool SimFileApi::IsHidden(std::u16string_view path) const {
    const File* file = Find(path);
    return file && file->hidden;
}

std::vector<std::u16string> SimFileApi::Files() const {
    std::vector<std::u16string> paths;
    for (const auto& [key, file] : files_) paths.push_back(file.spelling);
    return paths;
}

std::size_t SimFileApi::CallCount(FileCall call) const {
    std::size_t count = 0;
    for (const FileCallRecord& record : calls_) count += record.call == call;
    return count;
}

}  // namespace lv::sim
