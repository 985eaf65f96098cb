// The management interface (WMI, ROOT\WMI) and the display topology on Windows. Each
// method makes the requests it is named after and reports their own success; nothing
// here retries, waits or decides.
#pragma once

#include <windows.h>

#include <oaidl.h>
#include <wbemcli.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/display_config_api.h"
#include "platform/wmi_api.h"

namespace lv {

// Every request connects afresh inside its own CoInitialize/CoUninitialize. The
// brightness subscription is the exception: its objects, and the COM initialisation
// that keeps them usable, live until CancelBrightnessEvents or destruction, which must
// therefore happen on the thread that subscribed.
class Win32WmiApi final : public WmiApi {
public:
    Win32WmiApi();
    ~Win32WmiApi() override;
    Win32WmiApi(const Win32WmiApi&) = delete;
    Win32WmiApi& operator=(const Win32WmiApi&) = delete;

    bool QueryMonitorIds(std::vector<WmiMonitorIdRecord>& records) override;
    bool GetRawEdidBlock(const InstanceMatch& match, std::vector<uint8_t>& block) override;
    // A Level that is not an array of 1 to 101 bytes is reported as absent.
    bool QueryBrightness(std::vector<WmiBrightnessRecord>& records) override;
    bool SetBrightness(uint32_t level) override;
    // Fails, leaving the running subscription alone, while one is running. Events are
    // delivered to the subscribing thread's apartment, through its message loop.
    bool SubscribeBrightnessEvents(BrightnessHandler onBrightness) override;
    void CancelBrightnessEvents() override;

private:
    struct Subscription;
    std::unique_ptr<Subscription> subscription_;
};

// QueryDisplayConfig and DisplayConfigGetDeviceInfo (user32), active paths only.
class Win32DisplayConfigApi final : public DisplayConfigApi {
public:
    bool GetDisplayConfigBufferSizes(uint32_t& pathCount, uint32_t& modeCount) override;
    bool QueryDisplayConfig(uint32_t pathCount, uint32_t modeCount, std::vector<DisplayPath>& paths) override;
    bool GetSourceDeviceName(const DisplayPath& path, std::u16string& gdiDeviceName) override;
    bool GetTargetDeviceName(const DisplayPath& path, TargetDeviceName& name) override;
};

namespace win32 {

// A VARIANT that is cleared when it goes out of scope, whatever it came to hold.
class UniqueVariant {
public:
    UniqueVariant() { ::VariantInit(&value_); }
    UniqueVariant(const UniqueVariant&) = delete;
    UniqueVariant& operator=(const UniqueVariant&) = delete;
    ~UniqueVariant() { ::VariantClear(&value_); }

    VARIANT* Get() { return &value_; }
    const VARIANT& operator*() const { return value_; }
    // For out parameters: clears what it holds first.
    VARIANT* Put() {
        ::VariantClear(&value_);
        return &value_;
    }

private:
    VARIANT value_;
};

// Owns one BSTR. WMI marshals its string arguments by their length prefix, so literals
// must go through SysAllocString before they reach it.
class UniqueBstr {
public:
    UniqueBstr() = default;
    explicit UniqueBstr(const wchar_t* text) : text_(::SysAllocString(text)) {}
    UniqueBstr(UniqueBstr&& other) noexcept : text_(std::exchange(other.text_, nullptr)) {}
    UniqueBstr& operator=(UniqueBstr&& other) noexcept {
        if (this != &other) {
            ::SysFreeString(text_);
            text_ = std::exchange(other.text_, nullptr);
        }
        return *this;
    }
    UniqueBstr(const UniqueBstr&) = delete;
    UniqueBstr& operator=(const UniqueBstr&) = delete;
    ~UniqueBstr() { ::SysFreeString(text_); }

    BSTR Get() const { return text_; }
    explicit operator bool() const { return text_ != nullptr; }

private:
    BSTR text_ = nullptr;
};

// Readers of property values. Each answers nothing when the VARIANT holds another type,
// so a property WMI reports differently than expected counts as absent.
std::optional<std::u16string> VariantText(const VARIANT& value);  // VT_BSTR
// Any signed or unsigned integer of up to 32 bits; signed values keep their bits. WMI
// hands uint16 and uint32 properties over as VT_I4.
std::optional<uint32_t> VariantInteger(const VARIANT& value);
// A one-dimensional array of such integers (SerialNumberID, uint16[] in the class
// definition, arrives as VT_ARRAY|VT_I4).
std::optional<std::vector<uint32_t>> VariantIntegerArray(const VARIANT& value);
std::optional<uint8_t> VariantByte(const VARIANT& value);                   // VT_UI1
std::optional<std::vector<uint8_t>> VariantByteArray(const VARIANT& value);  // VT_ARRAY|VT_UI1, one dimension

// Receives WmiMonitorBrightnessEvent objects and hands each Brightness byte to the
// handler. It deletes itself when the last reference goes; Detach makes sure the
// handler is not called again, whoever still holds the sink.
class WmiBrightnessSink final : public IWbemObjectSink {
public:
    // Starts with the one reference of its creator.
    explicit WmiBrightnessSink(WmiApi::BrightnessHandler handler);
    WmiBrightnessSink(const WmiBrightnessSink&) = delete;
    WmiBrightnessSink& operator=(const WmiBrightnessSink&) = delete;

    void Detach();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE Indicate(LONG count, IWbemClassObject** objects) override;
    HRESULT STDMETHODCALLTYPE SetStatus(LONG flags, HRESULT result, BSTR text, IWbemClassObject* object) override;

private:
    ~WmiBrightnessSink() = default;

    std::atomic<ULONG> references_{1};
    // Copied out under the lock and called without it, so a handler may cancel.
    std::mutex mutex_;
    std::shared_ptr<const WmiApi::BrightnessHandler> handler_;
};

}  // namespace win32

}  // namespace lv
