#include "platform/sim/sim_audio.h"

#include <cmath>

namespace lv::sim {

bool SimAudioApi::GetMasterVolumeLevelScalar(float& level) {
    if (!available_) return false;
    level = level_;
    return true;
}

bool SimAudioApi::SetMasterVolumeLevelScalar(float level) {
    // Written so that NaN is refused too.
    const bool accepted = available_ && level >= 0.0f && level <= 1.0f;
    sets_.push_back({AudioSet::Kind::Level, level, false, accepted});
    if (accepted) level_ = level;
    return accepted;
}

bool SimAudioApi::GetVolumeStepInfo(uint32_t& step, uint32_t& stepCount) {
    if (!available_ || stepCount_ == 0) return false;
    stepCount = stepCount_;
    step = static_cast<uint32_t>(std::lround(static_cast<double>(level_) * (stepCount_ - 1)));
    return true;
}

bool SimAudioApi::GetMute(bool& muted) {
    if (!available_) return false;
    muted = muted_;
    return true;
}

bool SimAudioApi::SetMute(bool muted) {
    sets_.push_back({AudioSet::Kind::Mute, 0.0f, muted, available_});
    if (available_) muted_ = muted;
    return available_;
}

}  // namespace lv::sim
