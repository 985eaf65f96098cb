// Command lines waiting to run on the main thread. Each submitted line is its own entry,
// so a second hand-off can never overwrite a line that has not run yet; lines run one at
// a time in the order they were submitted. The hook thread pushes too, hence the lock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>

namespace lv {

inline constexpr std::size_t kCommandBufferSize = 2048;  // bytes including the terminator
inline constexpr std::size_t kMaxCommandLine = kCommandBufferSize - 1;

struct QueuedLine {
    std::string text;  // normalised, at most kMaxCommandLine characters
    uint32_t source = 0;
};

class CommandQueue {
public:
    // Far more than a person can produce before the main thread catches up; a runaway
    // producer cannot exhaust memory.
    static constexpr std::size_t kMaxPending = 256;

    bool Push(QueuedLine line);
    std::optional<QueuedLine> Pop();
    std::size_t Size() const;

private:
    mutable std::mutex mutex_;
    std::deque<QueuedLine> lines_;
};

}  // namespace lv
