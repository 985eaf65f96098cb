#include "core/command_queue.h"

namespace lv {

bool CommandQueue::Push(QueuedLine line) {
    std::lock_guard lock(mutex_);
    if (lines_.size() >= kMaxPending) return false;
    if (line.text.size() > kMaxCommandLine) line.text.resize(kMaxCommandLine);
    lines_.push_back(std::move(line));
    return true;
}

std::optional<QueuedLine> CommandQueue::Pop() {
    std::lock_guard lock(mutex_);
    if (lines_.empty()) return std::nullopt;
    QueuedLine line = std::move(lines_.front());
    lines_.pop_front();
    return line;
}

std::size_t CommandQueue::Size() const {
    std::lock_guard lock(mutex_);
    return lines_.size();
}

}  // namespace lv
