#include "platform/sim/sim_process.h"

namespace lv::sim {

WindowHandle SimProcessApi::FindWindowByClass(std::string_view className) {
    searches_.emplace_back(className);
    const auto it = windows_.find(std::string(className));
    return it == windows_.end() ? 0 : it->second;
}

bool SimProcessApi::SendCopyData(WindowHandle window, uint32_t source, std::span<const char> data) {
    sent_.push_back({window, source, std::string(data.data(), data.size())});
    return window != 0;
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
    started_.emplace_back(path);
    return true;
}

}  // namespace lv::sim
