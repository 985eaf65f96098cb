#include <endpointvolume.h>
#include <mmdeviceapi.h>

#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_platform.h"

namespace lv {

namespace {

using win32::ComApartment;
using win32::ComPtr;

// MinGW's headers declare these but no import library defines them, and g++ has no
// __uuidof for the coclass.
constexpr CLSID kClsidMMDeviceEnumerator = {
    0xbcde0395, 0xe52f, 0x467c, {0x8e, 0x3d, 0xc4, 0x57, 0x92, 0x91, 0x69, 0x2e}};
constexpr IID kIidIMMDeviceEnumerator = {
    0xa95664d2, 0x9614, 0x4f35, {0xa7, 0x46, 0xde, 0x8d, 0xb6, 0x36, 0x17, 0xe6}};
constexpr IID kIidIAudioEndpointVolume = {
    0x5cdf2c82, 0x841e, 0x4546, {0x97, 0x22, 0x0c, 0xf7, 0x40, 0x78, 0x22, 0x9a}};

// Runs `action` on the endpoint volume of the current default render device (console
// role) and answers whether every step and the action itself succeeded. The objects
// are released before the apartment ends.
template <typename Action>
bool WithEndpointVolume(Action&& action) {
    ComApartment apartment;
    ComPtr<IMMDeviceEnumerator> enumerator;
    if (FAILED(::CoCreateInstance(kClsidMMDeviceEnumerator, nullptr, CLSCTX_INPROC_SERVER, kIidIMMDeviceEnumerator,
                                  enumerator.PutVoid())) ||
        !enumerator)
        return false;
    ComPtr<IMMDevice> device;
    if (FAILED(enumerator->GetDefaultAudioEndpoint(eRender, eConsole, device.Put())) || !device) return false;
    ComPtr<IAudioEndpointVolume> volume;
    if (FAILED(device->Activate(kIidIAudioEndpointVolume, CLSCTX_INPROC_SERVER, nullptr, volume.PutVoid())) ||
        !volume)
        return false;
    return SUCCEEDED(action(*volume.Get()));
}

}  // namespace

bool Win32AudioApi::GetMasterVolumeLevelScalar(float& level) {
    float raw = 0.0f;
    if (!WithEndpointVolume([&](IAudioEndpointVolume& volume) { return volume.GetMasterVolumeLevelScalar(&raw); }))
        return false;
    level = raw;
    return true;
}

bool Win32AudioApi::SetMasterVolumeLevelScalar(float level) {
    return WithEndpointVolume(
        [&](IAudioEndpointVolume& volume) { return volume.SetMasterVolumeLevelScalar(level, &kVolumeEventContext); });
}

bool Win32AudioApi::GetVolumeStepInfo(uint32_t& step, uint32_t& stepCount) {
    UINT rawStep = 0, rawCount = 0;
    if (!WithEndpointVolume([&](IAudioEndpointVolume& volume) { return volume.GetVolumeStepInfo(&rawStep, &rawCount); }))
        return false;
    step = rawStep;
    stepCount = rawCount;
    return true;
}

bool Win32AudioApi::GetMute(bool& muted) {
    BOOL raw = FALSE;
    if (!WithEndpointVolume([&](IAudioEndpointVolume& volume) { return volume.GetMute(&raw); })) return false;
    muted = raw != FALSE;
    return true;
}

bool Win32AudioApi::SetMute(bool muted) {
    return WithEndpointVolume(
        [&](IAudioEndpointVolume& volume) { return volume.SetMute(muted ? TRUE : FALSE, nullptr); });
}

}  // namespace lv
