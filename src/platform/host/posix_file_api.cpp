#include "platform/host/posix_file_api.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <utility>

#include "platform/portable/utf8.h"

namespace lv {

namespace {

std::string NativePath(std::u16string_view path) {
    std::string native = Utf8FromUtf16(path);
    for (char& c : native) {
        if (c == '\\') c = '/';
    }
    return native;
}

std::u16string CorePath(std::string_view path) {
    std::u16string text = Utf16FromUtf8(path);
    for (char16_t& c : text) {
        if (c == u'/') c = u'\\';
    }
    while (text.size() > 1 && text.back() == u'\\') text.pop_back();
    return text;
}

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    int Get() const { return fd_; }
    // Closing can report a late write error; it counts.
    bool Close() { return ::close(std::exchange(fd_, -1)) == 0; }

private:
    int fd_;
};

}  // namespace

bool PosixFileApi::GetRoamingAppDataFolder(std::u16string& folder) {
    if (roamingAppData_.empty()) return false;
    folder = CorePath(NativePath(roamingAppData_));
    return true;
}

bool PosixFileApi::GetWorkingFolder(std::u16string& folder) {
    if (!currentDirectory_.empty()) {
        folder = CorePath(NativePath(currentDirectory_));
        return true;
    }
    std::error_code error;
    const std::filesystem::path current = std::filesystem::current_path(error);
    if (error) return false;
    folder = CorePath(current.string());
    return true;
}

bool PosixFileApi::CanOpenForWriting(std::u16string_view path) {
    Descriptor file(::open(NativePath(path).c_str(), O_WRONLY | O_CLOEXEC));
    struct stat status {};
    return file.Get() >= 0 && ::fstat(file.Get(), &status) == 0 && S_ISREG(status.st_mode);
}

bool PosixFileApi::ReadWholeFile(std::u16string_view path, std::string& bytes) {
    Descriptor file(::open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC));
    struct stat status {};
    if (file.Get() < 0 || ::fstat(file.Get(), &status) != 0 || !S_ISREG(status.st_mode) ||
        static_cast<unsigned long long>(status.st_size) > kMaxReadableFile)
        return false;
    std::string content;
    char buffer[65536];
    for (;;) {
        const ssize_t count = ::read(file.Get(), buffer, sizeof buffer);
        if (count == 0) break;
        if (count < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        content.append(buffer, static_cast<std::size_t>(count));
        if (content.size() > kMaxReadableFile) return false;  // grew while being read
    }
    bytes = std::move(content);
    return true;
}

bool PosixFileApi::WriteWholeFile(std::u16string_view path, std::string_view bytes) {
    Descriptor file(::open(NativePath(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (file.Get() < 0) return false;
    while (!bytes.empty()) {
        const ssize_t count = ::write(file.Get(), bytes.data(), bytes.size());
        if (count < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(count));
    }
    return ::fsync(file.Get()) == 0 && file.Close();
}

bool PosixFileApi::ReplaceFileWith(std::u16string_view from, std::u16string_view to) {
    return std::rename(NativePath(from).c_str(), NativePath(to).c_str()) == 0;
}

bool PosixFileApi::CreateFolder(std::u16string_view path) {
    const std::string native = NativePath(path);
    if (::mkdir(native.c_str(), 0755) == 0) return true;
    struct stat status {};
    return errno == EEXIST && ::stat(native.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool PosixFileApi::RemoveFile(std::u16string_view path) { return ::unlink(NativePath(path).c_str()) == 0; }

bool PosixFileApi::SetHidden(std::u16string_view path) {
    struct stat status {};
    return ::stat(NativePath(path).c_str(), &status) == 0;
}

}  // namespace lv
