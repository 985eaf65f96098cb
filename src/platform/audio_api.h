// Core Audio calls on the default output endpoint (eRender, eConsole). Each call acts on
// the default device of that moment; an implementation may use short-lived objects.
#pragma once

#include <cstdint>

namespace lv {

class AudioApi {
public:
    virtual ~AudioApi() = default;
    virtual bool GetMasterVolumeLevelScalar(float& level) = 0;
    // Passes the program's own event context, so callbacks can tell its changes apart.
    virtual bool SetMasterVolumeLevelScalar(float level) = 0;
    virtual bool GetVolumeStepInfo(uint32_t& step, uint32_t& stepCount) = 0;
    virtual bool GetMute(bool& muted) = 0;
    virtual bool SetMute(bool muted) = 0;
};

}  // namespace lv
