#include "platform/sim/sim_process.h"

namespace lv::sim {

WindowHandle SimProcessApi::FindWindowByClass(std::string_view className) {
    searches_.emplace_back(className);
    const auto it = windows_.find(std::string(className));
    return it == windows_.end() || clock_.Now() < it->second.from ? 0 : it->second.handle;
}

bool SimProcessApi::SendCopyData(WindowHandle window, uint32_t source, std::span<const char> data) {
    sent_.push_back({window, source, std::string(data.data(), data.size())});
    if (window == 0) return false;
    if (refusedCopyData_ > 0) {
        --refusedCopyData_;
        return false;
    }
    return true;
}

bool SimProcessApi::WaitThreadMessage(ThreadMessage& message, uint32_t timeoutMs) {
    if (incoming_.empty() || incoming_.front().time > clock_.Now() + timeoutMs) {
        clock_.Advance(timeoutMs);
        return false;
    }
    clock_.AdvanceTo(incoming_.front().time);
    message = incoming_.front().message;
    incoming_.pop_front();
    return true;
}

bool SimProcessApi::StartProcess(std::u16string_view path) {
    ++startAttempts_;
    if (failingStarts_ > 0) {
        --failingStarts_;
        return false;
    }
    started_.push_back({std::u16string(path), environment_, mutexHeld_});
    return true;
}

bool SimProcessApi::GetEnvironment(std::string_view name, std::string& value) {
    const auto it = environment_.find(std::string(name));
    if (it == environment_.end()) return false;
    value = it->second;
    return true;
}

bool SimProcessApi::SetEnvironment(std::string_view name, std::optional<std::string_view> value) {
    if (value)
        environment_[std::string(name)] = std::string(*value);
    else
        environment_.erase(std::string(name));
    return true;
}

}  // namespace lv::sim
