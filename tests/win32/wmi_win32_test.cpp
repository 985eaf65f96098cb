// Runs against the system's own WMI. Wine 8 connects to ROOT\WMI and answers queries
// for the monitor classes, which it does not implement, with empty result sets; it has
// no unsecured apartment, so the event subscription fails there. Answers are compared
// exactly only under Wine; on Windows they are checked for their shape, and the only
// brightness set is the level the panel already has.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32/win32_wmi.h"

namespace {

using lv::win32::UniqueVariant;

bool RunningUnderWine() {
    return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// Runs `body` on a fresh thread (initialised for COM as `model`, or not at all) and
// answers whether the thread was left without COM, as every request must leave it.
bool RunOnThread(const std::function<void()>& body, std::optional<DWORD> model = std::nullopt) {
    bool clean = false;
    std::thread thread([&] {
        if (model && FAILED(::CoInitializeEx(nullptr, *model))) return;
        body();
        if (model) {
            ::CoUninitialize();
        }
        const HRESULT after = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        clean = after == S_OK;
        if (SUCCEEDED(after)) ::CoUninitialize();
    });
    thread.join();
    return clean;
}

SAFEARRAY* MakeVector(VARTYPE type, const std::vector<LONG>& values, LONG lowerBound = 0) {
    SAFEARRAYBOUND bound{static_cast<ULONG>(values.size()), lowerBound};
    SAFEARRAY* array = ::SafeArrayCreate(type, 1, &bound);
    for (std::size_t i = 0; i < values.size(); ++i) {
        LONG index = lowerBound + static_cast<LONG>(i);
        VARIANT element;
        ::VariantInit(&element);
        element.vt = VT_I4;
        element.lVal = values[i];
        ::VariantChangeType(&element, &element, 0, type);
        void* data = type == VT_BSTR ? static_cast<void*>(element.bstrVal) : static_cast<void*>(&element.lVal);
        EXPECT_EQ(::SafeArrayPutElement(array, &index, data), S_OK);
        ::VariantClear(&element);
    }
    return array;
}

void SetArray(UniqueVariant& variant, VARTYPE type, const std::vector<LONG>& values, LONG lowerBound = 0) {
    VARIANT* raw = variant.Put();
    raw->parray = MakeVector(type, values, lowerBound);
    raw->vt = VT_ARRAY | type;
}

void SetScalar(UniqueVariant& variant, VARTYPE type, LONG value) {
    VARIANT* raw = variant.Put();
    raw->vt = VT_I4;
    raw->lVal = value;
    ASSERT_EQ(::VariantChangeType(raw, raw, 0, type), S_OK);
}

TEST(WmiVariantReaders, ScalarsKeepToTheirTypes) {
    const struct {
        VARTYPE type;
        LONG value;
        std::optional<uint32_t> integer;
        std::optional<uint8_t> byte;
        std::optional<std::u16string> text;
    } cases[] = {
        {VT_I4, 2019, 2019u, std::nullopt, std::nullopt},  // how WMI delivers uint16 and uint32
        {VT_UI2, 2020, 2020u, std::nullopt, std::nullopt},
        {VT_UI4, 70000, 70000u, std::nullopt, std::nullopt},
        {VT_I2, -1, 0xFFFFFFFFu, std::nullopt, std::nullopt},
        {VT_UI1, 40, 40u, uint8_t{40}, std::nullopt},  // CurrentBrightness, event Brightness
        {VT_I1, 40, 40u, std::nullopt, std::nullopt},
        {VT_BSTR, 2019, std::nullopt, std::nullopt, u"2019"},  // InstanceName
        {VT_R8, 2019, std::nullopt, std::nullopt, std::nullopt},
        {VT_BOOL, -1, std::nullopt, std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        UniqueVariant value;
        SetScalar(value, c.type, c.value);
        EXPECT_EQ(lv::win32::VariantText(*value), c.text) << "vt " << c.type;
        EXPECT_EQ(lv::win32::VariantInteger(*value), c.integer) << "vt " << c.type;
        EXPECT_EQ(lv::win32::VariantByte(*value), c.byte) << "vt " << c.type;
        EXPECT_FALSE(lv::win32::VariantIntegerArray(*value)) << "vt " << c.type;
        EXPECT_FALSE(lv::win32::VariantByteArray(*value)) << "vt " << c.type;
    }
    UniqueVariant empty;
    EXPECT_FALSE(lv::win32::VariantInteger(*empty));
    EXPECT_FALSE(lv::win32::VariantByte(*empty));
    EXPECT_FALSE(lv::win32::VariantText(*empty));
    empty.Get()->bstrVal = nullptr;  // a null BSTR is an empty string
    empty.Get()->vt = VT_BSTR;
    EXPECT_EQ(lv::win32::VariantText(*empty), u"");
}

TEST(WmiVariantReaders, ArraysKeepToTheirElementTypes) {
    using Integers = std::optional<std::vector<uint32_t>>;
    using Bytes = std::optional<std::vector<uint8_t>>;
    const struct {
        VARTYPE type;
        std::vector<LONG> values;
        LONG lowerBound;
        Integers integers;
        Bytes bytes;
    } cases[] = {
        // SerialNumberID as WMI delivers it: uint16[] in VT_ARRAY|VT_I4, zero-padded.
        {VT_I4, {'7', 'M', 'T', 0, 0}, 0, std::vector<uint32_t>{'7', 'M', 'T', 0, 0}, std::nullopt},
        {VT_UI2, {'U', 'K', 0}, 0, std::vector<uint32_t>{'U', 'K', 0}, std::nullopt},
        {VT_I2, {-1}, 0, std::vector<uint32_t>{0xFFFFFFFFu}, std::nullopt},
        // Level and BlockContent: uint8[].
        {VT_UI1, {0, 50, 100}, 0, std::vector<uint32_t>{0, 50, 100}, std::vector<uint8_t>{0, 50, 100}},
        {VT_UI1, {7, 8}, 1, std::vector<uint32_t>{7, 8}, std::vector<uint8_t>{7, 8}},
        {VT_UI1, {}, 0, std::vector<uint32_t>{}, std::vector<uint8_t>{}},
        {VT_I1, {1, 2}, 0, std::vector<uint32_t>{1, 2}, std::nullopt},
        {VT_BSTR, {1, 2}, 0, std::nullopt, std::nullopt},
        {VT_R8, {1, 2}, 0, std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        UniqueVariant value;
        SetArray(value, c.type, c.values, c.lowerBound);
        EXPECT_EQ(lv::win32::VariantIntegerArray(*value), c.integers) << "vt " << c.type;
        EXPECT_EQ(lv::win32::VariantByteArray(*value), c.bytes) << "vt " << c.type;
        EXPECT_FALSE(lv::win32::VariantInteger(*value)) << "vt " << c.type;
        EXPECT_FALSE(lv::win32::VariantByte(*value)) << "vt " << c.type;
    }

    UniqueVariant twoDimensions;
    SAFEARRAYBOUND bounds[2] = {{2, 0}, {2, 0}};
    twoDimensions.Get()->parray = ::SafeArrayCreate(VT_UI1, 2, bounds);
    twoDimensions.Get()->vt = VT_ARRAY | VT_UI1;
    EXPECT_FALSE(lv::win32::VariantByteArray(*twoDimensions));
    EXPECT_FALSE(lv::win32::VariantIntegerArray(*twoDimensions));
}

// An event object holding just the properties a test gives it.
class EventObject final : public IWbemClassObject {
public:
    explicit EventObject(std::optional<std::pair<VARTYPE, LONG>> brightness) : brightness_(brightness) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE Get(LPCWSTR name, LONG, VARIANT* value, CIMTYPE*, LONG*) override {
        ++gets;
        if (!brightness_ || std::wstring(name) != L"Brightness") return WBEM_E_NOT_FOUND;
        value->vt = VT_I4;
        value->lVal = brightness_->second;
        return ::VariantChangeType(value, value, 0, brightness_->first);
    }

    HRESULT STDMETHODCALLTYPE GetQualifierSet(IWbemQualifierSet**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Put(LPCWSTR, LONG, VARIANT*, CIMTYPE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Delete(LPCWSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetNames(LPCWSTR, LONG, VARIANT*, SAFEARRAY**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE BeginEnumeration(LONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Next(LONG, BSTR*, VARIANT*, CIMTYPE*, LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EndEnumeration() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetPropertyQualifierSet(LPCWSTR, IWbemQualifierSet**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Clone(IWbemClassObject**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetObjectText(LONG, BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SpawnDerivedClass(LONG, IWbemClassObject**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SpawnInstance(LONG, IWbemClassObject**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CompareTo(LONG, IWbemClassObject*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetPropertyOrigin(LPCWSTR, BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InheritsFrom(LPCWSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMethod(LPCWSTR, LONG, IWbemClassObject**, IWbemClassObject**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE PutMethod(LPCWSTR, LONG, IWbemClassObject*, IWbemClassObject*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DeleteMethod(LPCWSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE BeginMethodEnumeration(LONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE NextMethod(LONG, BSTR*, IWbemClassObject**, IWbemClassObject**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE EndMethodEnumeration() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMethodQualifierSet(LPCWSTR, IWbemQualifierSet**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMethodOrigin(LPCWSTR, BSTR*) override { return E_NOTIMPL; }

    int gets = 0;

private:
    std::optional<std::pair<VARTYPE, LONG>> brightness_;
};

constexpr IID kIidIUnknown = {0x00000000, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr IID kIidIWbemObjectSink = {0x7c857801, 0x7381, 0x11cf, {0x88, 0x4d, 0x00, 0xaa, 0x00, 0x4b, 0x2e, 0x24}};
constexpr IID kIidIWbemClassObject = {0xdc12a681, 0x737f, 0x11cf, {0x88, 0x4d, 0x00, 0xaa, 0x00, 0x4b, 0x2e, 0x24}};

TEST(WmiBrightnessSink, HandsOnEveryByteSizedBrightnessAndKeepsExceptionsInside) {
    std::vector<int> seen;
    auto* sink = new lv::win32::WmiBrightnessSink([&](uint8_t level) {
        seen.push_back(level);
        if (level == 7) throw std::runtime_error("from the handler");
    });
    EventObject byte40({{VT_UI1, 40}}), byte7({{VT_UI1, 7}}), notAByte({{VT_I4, 55}}), missing(std::nullopt);
    IWbemClassObject* objects[] = {&byte40, &notAByte, nullptr, &missing, &byte7, &byte40};
    HRESULT result = E_FAIL;
    EXPECT_NO_THROW(result = sink->Indicate(6, objects));
    EXPECT_EQ(result, WBEM_S_NO_ERROR);
    // Telling repeats apart is the program's business, not the sink's; the object after
    // the one whose handler threw still arrives.
    EXPECT_EQ(seen, (std::vector<int>{40, 7, 40}));
    EXPECT_EQ(missing.gets, 1);
    EXPECT_EQ(sink->Indicate(0, nullptr), WBEM_S_NO_ERROR);
    EXPECT_EQ(sink->SetStatus(WBEM_STATUS_COMPLETE, WBEM_E_FAILED, nullptr, nullptr), WBEM_S_NO_ERROR);

    sink->Detach();
    EXPECT_EQ(sink->Indicate(1, objects), WBEM_S_NO_ERROR);
    EXPECT_EQ(seen.size(), 3u);
    sink->Release();
}

TEST(WmiBrightnessSink, AnswersItsTwoInterfacesAndDeletesItselfWithTheLastReference) {
    auto token = std::make_shared<int>(0);
    const std::weak_ptr<int> alive = token;
    auto* sink = new lv::win32::WmiBrightnessSink([token](uint8_t) {});
    token.reset();

    void* unknown = nullptr;
    void* objectSink = nullptr;
    void* other = &unknown;
    ASSERT_EQ(sink->QueryInterface(kIidIUnknown, &unknown), S_OK);
    ASSERT_EQ(sink->QueryInterface(kIidIWbemObjectSink, &objectSink), S_OK);
    EXPECT_EQ(sink->QueryInterface(kIidIWbemClassObject, &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
    EXPECT_EQ(sink->QueryInterface(kIidIUnknown, nullptr), E_POINTER);
    EXPECT_EQ(unknown, objectSink);  // one identity
    EXPECT_EQ(objectSink, static_cast<IWbemObjectSink*>(sink));

    EXPECT_EQ(sink->AddRef(), 4u);
    EXPECT_EQ(sink->Release(), 3u);
    static_cast<IUnknown*>(unknown)->Release();
    static_cast<IWbemObjectSink*>(objectSink)->Release();
    EXPECT_FALSE(alive.expired());
    EXPECT_EQ(sink->Release(), 0u);
    EXPECT_TRUE(alive.expired());
}

TEST(WmiBrightnessSink, IndicateLeavesTheCallingThreadsComAsItFoundIt) {
    EventObject byte40({{VT_UI1, 40}});
    IWbemClassObject* objects[] = {&byte40};
    int calls = 0;
    auto* sink = new lv::win32::WmiBrightnessSink([&](uint8_t) { ++calls; });
    EXPECT_TRUE(RunOnThread([&] { sink->Indicate(1, objects); }));
    EXPECT_TRUE(RunOnThread([&] { sink->Indicate(1, objects); }, COINIT_MULTITHREADED));
    EXPECT_EQ(calls, 2);
    sink->Release();
}

TEST(WmiWin32, RequestsAnswerAfterTheirOwnFashionAndLeaveNoComBehind) {
    const bool wine = RunningUnderWine();
    for (const std::optional<DWORD> model :
         {std::optional<DWORD>(), std::optional<DWORD>(COINIT_APARTMENTTHREADED),
          std::optional<DWORD>(COINIT_MULTITHREADED)}) {
        EXPECT_TRUE(RunOnThread(
            [&] {
                lv::Win32WmiApi wmi;
                std::vector<lv::WmiMonitorIdRecord> ids(3);
                const bool idsOk = wmi.QueryMonitorIds(ids);
                EXPECT_TRUE(idsOk || ids.empty());
                EXPECT_TRUE(!wine || (idsOk && ids.empty()));
                for (const lv::WmiMonitorIdRecord& id : ids) {
                    EXPECT_NE(id.instanceName.value_or(u"").find(u"DISPLAY\\"), std::u16string::npos);
                }

                std::size_t asked = 0;
                std::vector<uint8_t> block{1, 2};
                EXPECT_FALSE(wmi.GetRawEdidBlock(
                    [&](std::u16string_view) {
                        ++asked;
                        return false;
                    },
                    block));
                EXPECT_TRUE(block.empty());
                EXPECT_EQ(asked == 0, ids.empty()) << "every descriptor object is offered until one matches";
                block = {1, 2};
                if (wmi.GetRawEdidBlock([](std::u16string_view) { return true; }, block)) {
                    ASSERT_GE(block.size(), 8u);
                    EXPECT_EQ(block[1], 0xFF);
                } else {
                    EXPECT_TRUE(block.empty());
                }

                std::vector<lv::WmiBrightnessRecord> panels(2);
                const bool panelsOk = wmi.QueryBrightness(panels);
                EXPECT_TRUE(panelsOk || panels.empty());
                EXPECT_TRUE(!wine || (panelsOk && panels.empty()));
                for (const lv::WmiBrightnessRecord& panel : panels) {
                    const std::size_t levels = panel.levels ? panel.levels->size() : 1;
                    EXPECT_TRUE(levels >= 1 && levels <= 101) << levels;
                }
                // Only the level the panel already has, so nothing visible changes.
                const std::optional<uint8_t> current = panels.empty() ? std::nullopt : panels[0].currentBrightness;
                EXPECT_EQ(wmi.SetBrightness(current.value_or(50)), current.has_value());
            },
            model));
    }
}

TEST(WmiWin32, SubscriptionFailsSoftlyOrCancelsCleanly) {
    EXPECT_TRUE(RunOnThread(
        [] {
            lv::Win32WmiApi wmi;
            EXPECT_FALSE(wmi.SubscribeBrightnessEvents(lv::WmiApi::BrightnessHandler()));
            wmi.CancelBrightnessEvents();  // nothing to cancel
            const bool subscribed = wmi.SubscribeBrightnessEvents([](uint8_t) {});
            if (RunningUnderWine()) {
                EXPECT_FALSE(subscribed);  // no unsecured apartment there
            }
            if (subscribed) {
                EXPECT_FALSE(wmi.SubscribeBrightnessEvents([](uint8_t) {}));
                wmi.CancelBrightnessEvents();
                EXPECT_TRUE(wmi.SubscribeBrightnessEvents([](uint8_t) {}));
                // Left running: the destructor ends it.
            } else {
                EXPECT_FALSE(wmi.SubscribeBrightnessEvents([](uint8_t) {}));
            }
        },
        COINIT_APARTMENTTHREADED));
    // Without COM on the thread the subscription brings its own, and gives it back.
    EXPECT_TRUE(RunOnThread([] {
        lv::Win32WmiApi wmi;
        if (wmi.SubscribeBrightnessEvents([](uint8_t) {})) wmi.CancelBrightnessEvents();
    }));
}

}  // namespace
