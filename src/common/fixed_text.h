// Fixed-capacity 8-bit text: N is the buffer size including the terminator, so a copy
// can never overflow and the capacities of the original record layout keep their meaning.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace lv {

template <std::size_t N>
class FixedText {
    static_assert(N >= 1);

public:
    static constexpr std::size_t kCapacity = N - 1;  // characters that fit

    FixedText() { buffer_.fill('\0'); }
    FixedText(std::string_view text) : FixedText() { Assign(text); }  // NOLINT: implicit on purpose

    // Bounded copy: text beyond the capacity is cut; an embedded terminator ends the text.
    void Assign(std::string_view text) {
        const std::size_t length = std::min(text.size(), kCapacity);
        std::size_t i = 0;
        for (; i < length && text[i] != '\0'; ++i) buffer_[i] = text[i];
        std::fill(buffer_.begin() + static_cast<std::ptrdiff_t>(i), buffer_.end(), '\0');
    }
    // Copies only when the whole text fits; leaves the field unchanged otherwise.
    bool AssignIfFits(std::string_view text) {
        if (text.size() > kCapacity) return false;
        Assign(text);
        return true;
    }
    FixedText& operator=(std::string_view text) {
        Assign(text);
        return *this;
    }

    void Clear() { buffer_.fill('\0'); }
    bool Empty() const { return buffer_[0] == '\0'; }
    std::size_t Size() const { return std::strlen(buffer_.data()); }
    const char* CStr() const { return buffer_.data(); }
    std::string_view View() const { return std::string_view(buffer_.data(), Size()); }
    std::string Str() const { return std::string(View()); }
    char operator[](std::size_t i) const { return buffer_[i]; }

    bool operator==(std::string_view text) const { return View() == text; }
    template <std::size_t M>
    bool operator==(const FixedText<M>& other) const { return View() == other.View(); }

private:
    std::array<char, N> buffer_{};
};

}  // namespace lv
