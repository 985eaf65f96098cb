// The process in memory: a program path, the mutex, other instances' windows, the
// messages a forwarding start receives, the environment, and every process started.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/process_api.h"
#include "platform/sim/sim_clock.h"

namespace lv::sim {

struct SentRecord {
    WindowHandle window = 0;
    uint32_t source = 0;
    std::string data;
};

struct StartedProcess {
    std::u16string path;
    std::map<std::string, std::string> environment;  // as the new process finds it
    bool mutexShared = false;                        // this process held the mutex then
    bool operator==(const StartedProcess&) const = default;
};

struct PostedToWindow {
    WindowHandle window = 0;
    uint32_t id = 0;
    intptr_t lparam = 0;
    bool operator==(const PostedToWindow&) const = default;
};

class SimProcessApi : public lv::ProcessApi {
public:
    explicit SimProcessApi(SimClock& clock) : clock_(clock) {}

    std::u16string ProgramPath() override { return programPath_; }
    bool SetWorkingFolder(std::u16string_view folder) override {
        workingFolders_.emplace_back(folder);
        return true;
    }
    uint32_t ProcessId() override { return 5150; }
    bool IsWindows7OrLater() override { return windows7_; }
    void ShowMessage(std::string_view text) override { messages_.emplace_back(text); }
    WindowHandle FindWindowByClass(std::string_view className) override;
    bool OpenHidden(std::u16string_view path) override {
        opened_.emplace_back(path);
        return true;
    }
    bool CreateInstanceMutex(bool& existed) override {
        existed = OthersHoldMutex();
        mutexHeld_ = true;
        return true;
    }
    void CloseInstanceMutex() override { mutexHeld_ = false; }
    bool SendCopyData(WindowHandle window, uint32_t source, std::span<const char> data) override;
    bool PostCommand(WindowHandle window, uint32_t id, intptr_t lparam) override {
        posted_.push_back({window, id, lparam});
        return true;
    }
    // The first queued message if it is due within `timeoutMs`: the virtual clock moves to
    // its time; otherwise the clock moves on by `timeoutMs`.
    bool WaitThreadMessage(ThreadMessage& message, uint32_t timeoutMs) override;
    bool StartProcess(std::u16string_view path) override;
    bool GetEnvironment(std::string_view name, std::string& value) override;
    bool SetEnvironment(std::string_view name, std::optional<std::string_view> value) override;

    // Set-up.
    void SetProgramPath(std::u16string path) { programPath_ = std::move(path); }
    void SetWindows7(bool ok) { windows7_ = ok; }
    // The window is found once the virtual clock reaches `from`.
    void AddWindow(std::string className, WindowHandle window, uint64_t from = 0) {
        windows_[std::move(className)] = {window, from};
    }
    // Other processes hold the mutex; with a time, until the clock reaches it.
    void SetMutexExists(bool exists) { othersHoldMutexUntil_ = exists ? kForever : 0; }
    void SetMutexReleasedAt(uint64_t time) { othersHoldMutexUntil_ = time; }
    // The next `count` copy-data records are refused, as by an instance that is ending.
    void RefuseCopyData(int count) { refusedCopyData_ = count; }
    // A variable the process found in its environment when it started.
    void SetInheritedVariable(std::string name, std::string value) { environment_[std::move(name)] = std::move(value); }
    // The message becomes readable once the virtual clock reaches `time`.
    void QueueThreadMessage(uint64_t time, ThreadMessage message) { incoming_.push_back({time, message}); }
    void FailProcessStarts(int count) { failingStarts_ = count; }

    // What happened.
    const std::vector<std::u16string>& WorkingFolders() const { return workingFolders_; }
    const std::vector<std::string>& Messages() const { return messages_; }
    const std::vector<std::string>& WindowSearches() const { return searches_; }
    const std::vector<std::u16string>& Opened() const { return opened_; }
    bool MutexHeld() const { return mutexHeld_; }
    const std::map<std::string, std::string>& Environment() const { return environment_; }
    const std::vector<SentRecord>& Sent() const { return sent_; }
    const std::vector<PostedToWindow>& Posted() const { return posted_; }
    int StartAttempts() const { return startAttempts_; }
    const std::vector<StartedProcess>& Started() const { return started_; }

private:
    static constexpr uint64_t kForever = UINT64_MAX;
    struct Window {
        WindowHandle handle = 0;
        uint64_t from = 0;
    };
    struct Incoming {
        uint64_t time = 0;
        ThreadMessage message;
    };

    SimClock& clock_;
    std::u16string programPath_ = u"C:\\Program Files\\Lumivane\\Lumivane.exe";
    bool windows7_ = true;
    bool OthersHoldMutex() const { return clock_.Now() < othersHoldMutexUntil_; }

    std::map<std::string, Window> windows_;
    uint64_t othersHoldMutexUntil_ = 0;
    bool mutexHeld_ = false;
    int refusedCopyData_ = 0;
    std::map<std::string, std::string> environment_;
    std::deque<Incoming> incoming_;
    int failingStarts_ = 0;

    std::vector<std::u16string> workingFolders_;
    std::vector<std::string> messages_;
    std::vector<std::string> searches_;
    std::vector<std::u16string> opened_;
    std::vector<SentRecord> sent_;
    std::vector<PostedToWindow> posted_;
    int startAttempts_ = 0;
    std::vector<StartedProcess> started_;
};

}  // namespace lv::sim
