#include <shlobj.h>

#include <algorithm>
#include <string>

#include "platform/win32/win32_files.h"
#include "platform/win32/win32_handles.h"

namespace lv {

namespace {

// knownfolders.h defines it for linking against uuid.lib only.
constexpr KNOWNFOLDERID kFolderIdRoamingAppData = {
    0x3EB685DB, 0x65F9, 0x4CF6, {0xA0, 0x3A, 0xE3, 0xEF, 0x65, 0x72, 0x9F, 0x3D}};

// Reads and writes go in pieces a DWORD can count.
constexpr std::size_t kPiece = 1 << 30;

struct FileTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle file) { ::CloseHandle(file); }
};
using UniqueFile = win32::UniqueHandle<FileTraits>;

std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

std::u16string WithoutTrailingBackslash(const wchar_t* text, std::size_t length) {
    std::u16string out(text, text + length);
    while (!out.empty() && out.back() == u'\\') out.pop_back();
    return out;
}

UniqueFile Open(std::u16string_view path, DWORD access, DWORD disposition, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    return UniqueFile(::CreateFileW(Wide(path).c_str(), access, 0, nullptr, disposition, attributes, nullptr));
}

}  // namespace

bool Win32FileApi::GetRoamingAppDataFolder(std::u16string& folder) {
    PWSTR path = nullptr;
    const HRESULT result = ::SHGetKnownFolderPath(kFolderIdRoamingAppData, 0, nullptr, &path);
    // The buffer is the caller's to free whether or not the call succeeded.
    if (SUCCEEDED(result) && path) folder = WithoutTrailingBackslash(path, ::wcslen(path));
    ::CoTaskMemFree(path);
    return SUCCEEDED(result) && path;
}

bool Win32FileApi::GetWorkingFolder(std::u16string& folder) {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
        if (length == 0) return false;
        // Too small: the answer is the size needed, terminator included; it may grow
        // again before the next call.
        if (length >= buffer.size()) {
            buffer.resize(length);
            continue;
        }
        folder = WithoutTrailingBackslash(buffer.data(), length);
        return true;
    }
}

bool Win32FileApi::CanOpenForWriting(std::u16string_view path) {
    return static_cast<bool>(Open(path, GENERIC_WRITE, OPEN_EXISTING));
}

bool Win32FileApi::ReadWholeFile(std::u16string_view path, std::string& bytes) {
    const UniqueFile file = Open(path, GENERIC_READ, OPEN_EXISTING);
    LARGE_INTEGER size{};
    if (!file || !::GetFileSizeEx(file.Get(), &size) || static_cast<unsigned long long>(size.QuadPart) > kMaxReadableFile)
        return false;
    std::string content(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t done = 0;
    while (done < content.size()) {
        DWORD read = 0;
        const DWORD piece = static_cast<DWORD>(std::min(content.size() - done, kPiece));
        if (!::ReadFile(file.Get(), content.data() + done, piece, &read, nullptr)) return false;
        if (read == 0) break;  // shorter than it was a moment ago
        done += read;
    }
    content.resize(done);
    bytes = std::move(content);
    return true;
}

bool Win32FileApi::WriteWholeFile(std::u16string_view path, std::string_view bytes) {
    // CREATE_ALWAYS fails on an existing hidden or system file unless the call asks for
    // the same attributes.
    const DWORD existing = ::GetFileAttributesW(Wide(path).c_str());
    DWORD attributes = FILE_ATTRIBUTE_NORMAL;
    if (existing != INVALID_FILE_ATTRIBUTES && (existing & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)))
        attributes = existing & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    const UniqueFile file = Open(path, GENERIC_WRITE, CREATE_ALWAYS, attributes);
    if (!file) return false;
    while (!bytes.empty()) {
        DWORD written = 0;
        const DWORD piece = static_cast<DWORD>(std::min(bytes.size(), kPiece));
        if (!::WriteFile(file.Get(), bytes.data(), piece, &written, nullptr) || written == 0) return false;
        bytes.remove_prefix(written);
    }
    return ::FlushFileBuffers(file.Get()) != FALSE;
}

bool Win32FileApi::ReplaceFileWith(std::u16string_view from, std::u16string_view to) {
    return ::MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) !=
           FALSE;
}

bool Win32FileApi::CreateFolder(std::u16string_view path) {
    const std::wstring folder = Wide(path);
    if (::CreateDirectoryW(folder.c_str(), nullptr)) return true;
    if (::GetLastError() != ERROR_ALREADY_EXISTS) return false;
    const DWORD attributes = ::GetFileAttributesW(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileApi::RemoveFile(std::u16string_view path) { return ::DeleteFileW(Wide(path).c_str()) != FALSE; }

bool Win32FileApi::SetHidden(std::u16string_view path) {
    return ::SetFileAttributesW(Wide(path).c_str(), FILE_ATTRIBUTE_HIDDEN) != FALSE;
}

}  // namespace lv
