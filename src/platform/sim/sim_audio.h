// The default output device's master volume, in memory. With no device available every
// call fails, as the endpoint calls do when Windows has no render device.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/audio_api.h"

namespace lv::sim {

struct AudioSet {
    enum class Kind { Level, Mute } kind = Kind::Level;
    float level = 0;     // Level
    bool muted = false;  // Mute
    bool accepted = false;
    bool operator==(const AudioSet&) const = default;
};

class SimAudioApi : public lv::AudioApi {
public:
    bool GetMasterVolumeLevelScalar(float& level) override;
    // A level outside 0..1 fails (E_INVALIDARG).
    bool SetMasterVolumeLevelScalar(float level) override;
    // The current step follows the level: round(level * (stepCount - 1)).
    bool GetVolumeStepInfo(uint32_t& step, uint32_t& stepCount) override;
    bool GetMute(bool& muted) override;
    bool SetMute(bool muted) override;

    // State as the device holds it; changing it here is a change made by someone else,
    // so it is not recorded.
    float Level() const { return level_; }
    void SetLevel(float level) { level_ = level; }
    bool Muted() const { return muted_; }
    void SetMuted(bool muted) { muted_ = muted; }
    void SetAvailable(bool available) { available_ = available; }
    void SetStepCount(uint32_t stepCount) { stepCount_ = stepCount; }

    // Every set call the program made, in order, also the refused ones.
    const std::vector<AudioSet>& Sets() const { return sets_; }

private:
    float level_ = 0.5f;
    bool muted_ = false;
    bool available_ = true;
    uint32_t stepCount_ = 101;
    std::vector<AudioSet> sets_;
};

}  // namespace lv::sim
