#include "commands/interpreter.h"

#include <algorithm>
#include <array>
#include <string>

#include "audio/volume.h"
#include "commands/submission.h"
#include "common/text.h"
#include "core/requests.h"
#include "monitors/ddc_access.h"
#include "monitors/monitor_list.h"

namespace lv {
namespace {

constexpr std::size_t kMaxWord = 128;
constexpr std::size_t kMaxPresetWord = 6;
constexpr std::size_t kMaxInputWord = 15;
constexpr std::size_t kMaxToggleHalf = 259;

// What a preset word is tested for, in value order 1..13.
constexpr std::array<std::string_view, kMaxPreset> kPresetPatterns = {
    "sRGB", "Nati", "4000", "5000", "6500", "7500", "8200", "9300", "1000", "1150", "User1", "User2", "User3"};

bool IsLetterOrQuery(char c) { return IsAsciiLetter(c) || c == '?'; }

int RowOfNumber(char digit) { return digit == '0' ? 0 : digit - '1'; }

// The first row whose list name, serial number or model holds the word; -1 when none does.
int RowOfName(const Core& core, std::string_view word) {
    for (int row = 0; row < core.list.Rows(); ++row) {
        const MonitorEntry& entry = core.table[static_cast<std::size_t>(row)];
        if (ContainsNoCase(core.list.Cell(row, kColumnName), word) || ContainsNoCase(entry.serialNumber.View(), word) ||
            ContainsNoCase(entry.capabilitiesModel.View(), word))
            return row;
    }
    return -1;
}

bool IsSelectable(const Core& core, int row) {
    return row >= 0 && row <= core.list.Rows() - 1 && !core.list.IsSilent(row);
}

class Interpreter {
public:
    Interpreter(Core& core, std::string_view line) : core_(core), line_(line.substr(0, line.find('\0'))) {
        if (line_.size() > kMaxCommandLine) line_ = line_.substr(0, kMaxCommandLine);
    }

    void Run() {
        while (At(p_) != '\0') {
            const char c = At(p_);
            if (c == ' ') {
                ++p_;
                continue;
            }
            if (IsDigit(c) && At(p_ + 1) == ' ') {
                if (!Select(RowOfNumber(c))) return;
                ++p_;
                continue;
            }
            const std::string_view word = Word(p_, kMaxWord);
            if (!IsCommandWord(word)) {
                p_ += word.size();
                if (!Select(RowOfName(core_, word))) return;
                continue;
            }
            if (!Dispatch(c)) return;
        }
    }

private:
    char At(std::size_t i) const { return i < line_.size() ? line_[i] : '\0'; }

    std::string_view Word(std::size_t from, std::size_t maxLength) const {
        std::size_t end = from;
        while (end < line_.size() && end - from < maxLength && line_[end] != ' ') ++end;
        return line_.substr(std::min(from, line_.size()), end - std::min(from, line_.size()));
    }

    bool Select(int index) {
        if (!IsSelectable(core_, index)) return false;
        core_.selectedMonitor = index;
        core_.forceReselect = true;
        if (core_.listSync) {
            SelectListRow(core_);
            // A preset or input named later in the line must be one this monitor offers.
            FillChoices(core_, core_.Selected());
        }
        return true;
    }

    // The number after a command letter: signs met on the way count (the last one wins),
    // anything else is passed over. False when the line ends first.
    bool Number(char& sign, uint32_t& value) {
        std::size_t q = p_;
        sign = 0;
        while (!IsDigit(At(q))) {
            if (At(q) == '\0') return false;
            if (At(q) == '+' || At(q) == '-') sign = At(q);
            ++q;
        }
        std::size_t digits = 0;
        value = ParseDecimal(line_.substr(q), &digits);
        p_ = q + digits;
        return true;
    }

    bool Dispatch(char letter) {
        ++p_;
        switch (letter) {
            case 'b':
                if (At(p_) == 'l') return true;  // "bl" is the blue command
                return ValueCommand(letter);
            case 'c':
            case 'r':
            case 'g':
            case 'l':
            case 'i':
                return ValueCommand(letter);
            case 'v':
                return VolumeCommand();
            case 'k': {
                char sign = 0;
                uint32_t value = 0;
                return Number(sign, value);
            }
            case 'x':
                (void)core_.platform.window.PostCommand(res::kMonitorsOff, 0);
                return true;
            case 'm':
                SetMute(core_, true);
                return true;
            case 'u':
                SetMute(core_, false);
                return true;
            case 'd':
                core_.queryFlag = true;
                core_.queryValue = core_.Selected().brightness;
                return true;
            case 'e':
                core_.queryFlag = true;
                core_.queryValue = core_.Selected().contrast;
                return true;
            case '?':
                core_.lastChangedKind = ChangeKind::Summary;
                return true;
            case 'q':
                RequestQuit(core_);
                return false;
            case 'z':
                RequestRestart(core_);
                return false;
            case 'a':
                Limits();
                return false;
            case 'p':
                return PresetCommand();
            case 's':
                return InputCommand();
            case 't':
                Toggle();
                return false;
            default:
                return true;  // not a command letter: skipped
        }
    }

    bool ValueCommand(char letter) {
        char sign = 0;
        uint32_t value = 0;
        if (!Number(sign, value)) return false;
        MonitorEntry& entry = core_.Selected();
        const bool gain = letter != 'b' && letter != 'c';
        const uint64_t maximum = gain ? 255 : 100;
        uint32_t current = 0;
        switch (letter) {
            case 'b': current = entry.brightness; break;
            case 'c': current = entry.contrast; break;
            case 'r': current = entry.red; break;
            case 'g': current = entry.green; break;
            default: current = entry.blue; break;
        }
        uint64_t target = 0;
        if (sign == '+') {
            if (current == maximum) return true;
            target = std::min<uint64_t>(uint64_t{current} + value, maximum);
        } else if (sign == '-') {
            if (current == 0) return true;
            target = current > value ? current - value : 0;
        } else {
            if (value > maximum) return true;
            target = value;
        }
        const auto request = static_cast<uint32_t>(target);
        switch (letter) {
            case 'b': SetBrightness(core_, request); break;
            case 'c': SetContrast(core_, request); break;
            case 'r': SetColorGain(core_, request, 0); break;
            case 'g': SetColorGain(core_, request, 1); break;
            default: SetColorGain(core_, request, 2); break;
        }
        return true;
    }

    bool VolumeCommand() {
        char sign = 0;
        uint32_t value = 0;
        if (!Number(sign, value)) return false;
        const int64_t current = core_.volume.volumePercent;
        if (sign == '+') {
            const int64_t target = std::min<int64_t>(current + value, 100);
            SetVolume(core_, static_cast<float>((static_cast<double>(target) - 0.001) / 100.0));
            ShowVolumeIndicator(core_, false);
        } else if (sign == '-') {
            const int64_t target = std::max<int64_t>(current - value, 0);
            SetVolume(core_, static_cast<float>((static_cast<double>(target) + 0.001) / 100.0));
            ShowVolumeIndicator(core_, true);
        } else {
            // No upper check: the audio layer refuses a level above 1.0.
            SetVolume(core_, static_cast<float>(static_cast<double>(value) / 100.0));
            ShowVolumeIndicator(core_, value <= 50);
        }
        return true;
    }

    void Limits() {
        std::size_t q = p_;
        while (At(q) != '\0' && !IsDigit(At(q))) ++q;
        MonitorEntry& entry = core_.Selected();
        uint32_t* fields[4] = {&entry.brightnessLow, &entry.brightnessHigh, &entry.contrastLow, &entry.contrastHigh};
        int read = 0;
        for (; read < 4; ++read) {
            if (read > 0)
                while (At(q) == ' ') ++q;
            if (!IsDigit(At(q))) break;
            std::size_t digits = 0;
            *fields[read] = ParseDecimal(line_.substr(q), &digits);
            q += digits;
        }
        if (read < 4) return;
        if (entry.brightness < entry.brightnessLow) SetBrightness(core_, entry.brightnessLow);
        if (entry.brightness > entry.brightnessHigh) SetBrightness(core_, entry.brightnessHigh);
        if (entry.contrast < entry.contrastLow) SetContrast(core_, entry.contrastLow);
        if (entry.contrast > entry.contrastHigh) SetContrast(core_, entry.contrastHigh);
    }

    // Skips spaces and reads the argument word of p or s; empty at the end of the line.
    std::string_view ArgumentWord(std::size_t maxLength) {
        while (At(p_) == ' ') ++p_;
        const std::string_view word = Word(p_, maxLength);
        p_ += word.size();
        return word;
    }

    bool ChoosePreset(std::string_view name) {
        const int index = core_.presetChoice.FindNoCase(name);
        if (index < 0) return false;
        SetChoiceCurrent(core_, res::kColourPreset, index);
        OnPresetChoiceChanged(core_);
        return true;
    }

    bool PresetCommand() {
        const std::string_view word = ArgumentWord(kMaxPresetWord);
        if (word.empty()) return false;
        if (IsDigit(word[0])) {
            const uint32_t number = ParseDecimal(word);
            if (number >= 1 && number <= kMaxPreset) {
                core_.Selected().pendingPreset = static_cast<int32_t>(number);
                core_.RefreshPopup(0);
                return true;
            }
        }
        const bool wantsUser = ContainsNoCase(word, "user");
        bool userChosen = false;
        for (int value = 1; value <= kMaxPreset; ++value) {
            if (!ContainsNoCase(word, kPresetPatterns[static_cast<std::size_t>(value - 1)])) continue;
            if (ChoosePreset(PresetName(value)) && wantsUser) userChosen = true;
        }
        // A user preset the monitor does not offer falls back to the first one.
        if (!userChosen && wantsUser) ChoosePreset(PresetName(11));
        return true;
    }

    bool InputCommand() {
        const std::string_view word = ArgumentWord(kMaxInputWord);
        if (word.empty()) return false;
        if (IsDigit(word[0])) {
            const uint32_t number = ParseDecimal(word);
            if (number >= 1 && number <= kMaxInput) {
                core_.Selected().pendingInput = static_cast<int32_t>(number);
                core_.RefreshPopup(0);
                return true;
            }
        }
        const std::string text(word);
        for (int value = 1; value <= kNamedInputs; ++value) {
            const std::string name = InputName(value);
            if (!ContainsNoCase(text, name) && !ContainsNoCase(text + "1", name) && !ContainsNoCase(text + "2", name))
                continue;
            const int index = core_.inputChoice.FindNoCase(name);
            if (index < 0) continue;
            SetChoiceCurrent(core_, res::kInput, index);
            OnInputChoiceChanged(core_);
        }
        return true;
    }

    void Toggle() {
        const std::string_view rest = line_.substr(std::min(p_, line_.size()));
        const auto isT = [](char c) { return c == 't' || c == 'T'; };
        const auto first = std::find_if(rest.begin(), rest.end(), isT);
        if (first == rest.end()) {
            SubmitCommandLine(core_, rest, kSourceInternal);
            return;
        }
        const std::string_view a = rest.substr(0, static_cast<std::size_t>(first - rest.begin()));
        const std::string_view afterSeparator = rest.substr(a.size() + 1);
        const auto second = std::find_if(afterSeparator.begin(), afterSeparator.end(), isT);
        const std::string_view b = afterSeparator.substr(0, static_cast<std::size_t>(second - afterSeparator.begin()));
        if (!core_.toggleState) {
            core_.toggleState = true;
            SubmitCommandLine(core_, a.substr(0, kMaxToggleHalf), kSourceInternal);
        } else {
            core_.toggleState = false;
            SubmitCommandLine(core_, b.substr(0, kMaxToggleHalf), kSourceInternal);
        }
    }

    Core& core_;
    std::string_view line_;
    std::size_t p_ = 0;
};

}  // namespace

void CommandInterpreter(Core& core, std::string_view line) { Interpreter(core, line).Run(); }

int RowSelectedBy(const Core& core, std::string_view word) {
    const int row = word.size() == 1 && IsDigit(word[0]) ? RowOfNumber(word[0]) : RowOfName(core, word);
    return IsSelectable(core, row) ? row : -1;
}

bool IsCommandWord(std::string_view word) {
    if (word.starts_with("bl")) return true;
    if (word.empty() || word.size() > 5 || !IsLetterOrQuery(word[0])) return false;
    return std::count_if(word.begin(), word.end(), IsLetterOrQuery) <= 1;
}

}  // namespace lv
