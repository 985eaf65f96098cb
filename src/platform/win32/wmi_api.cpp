#include <string>

#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_wmi.h"

namespace lv {

namespace {

using win32::ComApartment;
using win32::ComPtr;
using win32::UniqueBstr;
using win32::UniqueVariant;

// The import library with these (wbemuuid) is not needed for five GUIDs, and g++ has no
// __uuidof.
constexpr CLSID kClsidWbemLocator = {0x4590f811, 0x1d3a, 0x11d0, {0x89, 0x1f, 0x00, 0xaa, 0x00, 0x4b, 0x2e, 0x24}};
constexpr IID kIidIWbemLocator = {0xdc12a687, 0x737f, 0x11cf, {0x88, 0x4d, 0x00, 0xaa, 0x00, 0x4b, 0x2e, 0x24}};
constexpr IID kIidIWbemObjectSink = {0x7c857801, 0x7381, 0x11cf, {0x88, 0x4d, 0x00, 0xaa, 0x00, 0x4b, 0x2e, 0x24}};
constexpr CLSID kClsidUnsecuredApartment = {
    0x49bd2028, 0x1523, 0x11d1, {0xad, 0x79, 0x00, 0xc0, 0x4f, 0xd8, 0xfd, 0xff}};
constexpr IID kIidIUnsecuredApartment = {
    0x1cfaba8c, 0x1523, 0x11d1, {0xad, 0x79, 0x00, 0xc0, 0x4f, 0xd8, 0xfd, 0xff}};
constexpr IID kIidIUnknown = {0x00000000, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

constexpr std::size_t kMaxLevels = 101;

std::u16string FromWide(const wchar_t* text, std::size_t length) {
    std::u16string out(length, u'\0');
    for (std::size_t i = 0; i < length; ++i) out[i] = static_cast<char16_t>(text[i]);
    return out;
}

// Locator, connection to ROOT\WMI with the caller's credentials, and the proxy
// security the brightness provider needs for method calls.
bool Connect(ComPtr<IWbemLocator>& locator, ComPtr<IWbemServices>& services) {
    if (FAILED(::CoCreateInstance(kClsidWbemLocator, nullptr, CLSCTX_INPROC_SERVER, kIidIWbemLocator,
                                  locator.PutVoid())) ||
        !locator)
        return false;
    const UniqueBstr resource(L"ROOT\\WMI");
    if (!resource ||
        FAILED(locator->ConnectServer(resource.Get(), nullptr, nullptr, nullptr, 0, nullptr, nullptr,
                                      services.Put())) ||
        !services)
        return false;
    return SUCCEEDED(::CoSetProxyBlanket(services.Get(), RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr,
                                         RPC_C_AUTHN_LEVEL_CALL, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE));
}

enum class Walk { Continue, Stop };

// One request: connects, runs `query` forward-only and hands each object to `visit`
// (with the connection, for method calls) until it stops the walk or the objects run
// out. False when anything before the end of the walk failed. Every object is released
// before the next is fetched, and everything before the apartment ends.
template <typename Visit>
bool WalkQuery(const wchar_t* query, Visit&& visit) {
    ComApartment apartment;
    ComPtr<IWbemLocator> locator;
    ComPtr<IWbemServices> services;
    if (!Connect(locator, services)) return false;
    const UniqueBstr language(L"WQL");
    const UniqueBstr text(query);
    if (!language || !text) return false;
    ComPtr<IEnumWbemClassObject> enumerator;
    if (FAILED(services->ExecQuery(language.Get(), text.Get(), WBEM_FLAG_RETURN_IMMEDIATELY | WBEM_FLAG_FORWARD_ONLY,
                                   nullptr, enumerator.Put())) ||
        !enumerator)
        return false;
    for (;;) {
        ComPtr<IWbemClassObject> object;
        ULONG returned = 0;
        const HRESULT result = enumerator->Next(static_cast<LONG>(WBEM_INFINITE), 1, object.Put(), &returned);
        if (FAILED(result)) return false;
        if (returned == 0 || !object) return true;
        if (visit(*services.Get(), *object.Get()) == Walk::Stop) return true;
    }
}

template <typename Reader>
auto ReadProperty(IWbemClassObject& object, const wchar_t* name, Reader reader) -> decltype(reader(VARIANT{})) {
    UniqueVariant value;
    if (FAILED(object.Get(name, 0, value.Put(), nullptr, nullptr))) return std::nullopt;
    return reader(*value);
}

// Runs `method` of `className` on `object` (by its __PATH) with the in-parameters that
// `fill` puts, and hands the out-parameters (possibly none) to `onDone`.
template <typename Fill, typename Done>
bool ExecMethodOn(IWbemServices& services, IWbemClassObject& object, const wchar_t* className,
                  const wchar_t* method, Fill&& fill, Done&& onDone) {
    const UniqueBstr classText(className);
    const UniqueBstr methodText(method);
    if (!classText || !methodText) return false;
    ComPtr<IWbemClassObject> classObject;
    if (FAILED(services.GetObject(classText.Get(), 0, nullptr, classObject.Put(), nullptr)) || !classObject)
        return false;
    ComPtr<IWbemClassObject> signature;
    if (FAILED(classObject->GetMethod(method, 0, signature.Put(), nullptr)) || !signature) return false;
    ComPtr<IWbemClassObject> inParams;
    if (FAILED(signature->SpawnInstance(0, inParams.Put())) || !inParams) return false;
    if (!fill(*inParams.Get())) return false;
    UniqueVariant path;
    if (FAILED(object.Get(L"__PATH", 0, path.Put(), nullptr, nullptr)) || (*path).vt != VT_BSTR) return false;
    ComPtr<IWbemClassObject> outParams;
    if (FAILED(services.ExecMethod((*path).bstrVal, methodText.Get(), 0, nullptr, inParams.Get(), outParams.Put(),
                                   nullptr)))
        return false;
    return onDone(outParams.Get());
}

// The brightness methods take their numbers as text; WMI converts them to the
// parameters' own types.
bool PutText(IWbemClassObject& params, const wchar_t* name, const std::wstring& text) {
    UniqueVariant value;
    VARIANT* raw = value.Get();
    raw->bstrVal = ::SysAllocString(text.c_str());
    if (!raw->bstrVal) return false;
    raw->vt = VT_BSTR;
    return SUCCEEDED(params.Put(name, 0, raw, 0));
}

bool IsIntegerType(VARTYPE type) {
    switch (type) {
        case VT_I1: case VT_UI1: case VT_I2: case VT_UI2: case VT_I4: case VT_UI4: case VT_INT: case VT_UINT:
            return true;
        default:
            return false;
    }
}

uint32_t IntegerAt(VARTYPE type, const void* data, std::size_t index) {
    switch (type) {
        case VT_I1: return static_cast<uint32_t>(static_cast<const signed char*>(data)[index]);
        case VT_UI1: return static_cast<const unsigned char*>(data)[index];
        case VT_I2: return static_cast<uint32_t>(static_cast<const SHORT*>(data)[index]);
        case VT_UI2: return static_cast<const USHORT*>(data)[index];
        case VT_I4: return static_cast<uint32_t>(static_cast<const LONG*>(data)[index]);
        case VT_INT: return static_cast<uint32_t>(static_cast<const INT*>(data)[index]);
        case VT_UI4: return static_cast<const ULONG*>(data)[index];
        case VT_UINT: return static_cast<const UINT*>(data)[index];
        default: return 0;
    }
}

// Copies the elements of a one-dimensional array of `type` elements, converted by
// `convert(data, index)`.
template <typename Element, typename Convert>
std::optional<std::vector<Element>> ReadArray(const VARIANT& value, VARTYPE type, Convert convert) {
    if (value.vt != (VT_ARRAY | type) || !value.parray) return std::nullopt;
    SAFEARRAY* array = value.parray;
    if (::SafeArrayGetDim(array) != 1) return std::nullopt;
    LONG lower = 0, upper = -1;
    if (FAILED(::SafeArrayGetLBound(array, 1, &lower)) || FAILED(::SafeArrayGetUBound(array, 1, &upper)))
        return std::nullopt;
    std::vector<Element> elements;
    if (upper < lower) return elements;
    void* data = nullptr;
    if (FAILED(::SafeArrayAccessData(array, &data))) return std::nullopt;
    const auto count = static_cast<std::size_t>(static_cast<int64_t>(upper) - lower + 1);
    elements.reserve(count);
    for (std::size_t i = 0; i < count; ++i) elements.push_back(convert(data, i));
    ::SafeArrayUnaccessData(array);
    return elements;
}

}  // namespace

namespace win32 {

std::optional<std::u16string> VariantText(const VARIANT& value) {
    if (value.vt != VT_BSTR) return std::nullopt;
    if (!value.bstrVal) return std::u16string();  // a null BSTR is the empty string
    return FromWide(value.bstrVal, ::SysStringLen(value.bstrVal));
}

std::optional<uint32_t> VariantInteger(const VARIANT& value) {
    switch (value.vt) {
        case VT_I1: return static_cast<uint32_t>(static_cast<signed char>(value.cVal));
        case VT_UI1: return value.bVal;
        case VT_I2: return static_cast<uint32_t>(value.iVal);
        case VT_UI2: return value.uiVal;
        case VT_I4: return static_cast<uint32_t>(value.lVal);
        case VT_INT: return static_cast<uint32_t>(value.intVal);
        case VT_UI4: return value.ulVal;
        case VT_UINT: return value.uintVal;
        default: return std::nullopt;
    }
}

std::optional<std::vector<uint32_t>> VariantIntegerArray(const VARIANT& value) {
    if (!(value.vt & VT_ARRAY) || (value.vt & VT_BYREF)) return std::nullopt;
    const VARTYPE type = value.vt & VT_TYPEMASK;
    if (!IsIntegerType(type)) return std::nullopt;
    return ReadArray<uint32_t>(value, type,
                               [type](const void* data, std::size_t i) { return IntegerAt(type, data, i); });
}

std::optional<uint8_t> VariantByte(const VARIANT& value) {
    if (value.vt != VT_UI1) return std::nullopt;
    return value.bVal;
}

std::optional<std::vector<uint8_t>> VariantByteArray(const VARIANT& value) {
    return ReadArray<uint8_t>(value, VT_UI1,
                              [](const void* data, std::size_t i) { return static_cast<const uint8_t*>(data)[i]; });
}

WmiBrightnessSink::WmiBrightnessSink(WmiApi::BrightnessHandler handler)
    : handler_(handler ? std::make_shared<const WmiApi::BrightnessHandler>(std::move(handler)) : nullptr) {}

void WmiBrightnessSink::Detach() {
    const std::lock_guard lock(mutex_);
    handler_.reset();
}

HRESULT STDMETHODCALLTYPE WmiBrightnessSink::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (IsEqualIID(iid, kIidIUnknown) || IsEqualIID(iid, kIidIWbemObjectSink)) {
        *object = static_cast<IWbemObjectSink*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE WmiBrightnessSink::AddRef() { return ++references_; }

ULONG STDMETHODCALLTYPE WmiBrightnessSink::Release() {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
}

HRESULT STDMETHODCALLTYPE WmiBrightnessSink::Indicate(LONG count, IWbemClassObject** objects) {
    ComApartment apartment;
    std::shared_ptr<const WmiApi::BrightnessHandler> handler;
    {
        const std::lock_guard lock(mutex_);
        handler = handler_;
    }
    if (!objects) return WBEM_S_NO_ERROR;
    for (LONG i = 0; i < count; ++i) {
        if (!objects[i]) continue;
        const std::optional<uint8_t> brightness = ReadProperty(*objects[i], L"Brightness", VariantByte);
        if (!brightness || !handler) continue;
        // The caller is WMI; nothing may unwind into it.
        try {
            (*handler)(*brightness);
        } catch (...) {
        }
    }
    return WBEM_S_NO_ERROR;
}

HRESULT STDMETHODCALLTYPE WmiBrightnessSink::SetStatus(LONG, HRESULT, BSTR, IWbemClassObject*) {
    return WBEM_S_NO_ERROR;
}

}  // namespace win32

// Members in the order they are made, so that they are released in reverse and the
// apartment ends last.
struct Win32WmiApi::Subscription {
    ComApartment apartment;
    ComPtr<IWbemLocator> locator;
    ComPtr<IWbemServices> services;
    ComPtr<IUnsecuredApartment> unsecured;
    win32::WmiBrightnessSink* sink = nullptr;  // our own reference
    ComPtr<IUnknown> stub;
    ComPtr<IWbemObjectSink> stubSink;
    bool running = false;

    ~Subscription() {
        if (running) services->CancelAsyncCall(stubSink.Get());
        if (sink) {
            sink->Detach();
            sink->Release();
        }
        stubSink.Reset();
        stub.Reset();
        unsecured.Reset();
        services.Reset();
        locator.Reset();
    }
};

Win32WmiApi::Win32WmiApi() = default;

Win32WmiApi::~Win32WmiApi() { CancelBrightnessEvents(); }

bool Win32WmiApi::QueryMonitorIds(std::vector<WmiMonitorIdRecord>& records) {
    records.clear();
    std::vector<WmiMonitorIdRecord> found;
    const bool ok = WalkQuery(L"SELECT * FROM WmiMonitorID", [&](IWbemServices&, IWbemClassObject& object) {
        WmiMonitorIdRecord record;
        record.instanceName = ReadProperty(object, L"InstanceName", win32::VariantText);
        record.serialNumberId = ReadProperty(object, L"SerialNumberID", win32::VariantIntegerArray);
        record.yearOfManufacture = ReadProperty(object, L"YearOfManufacture", win32::VariantInteger);
        found.push_back(std::move(record));
        return Walk::Continue;
    });
    if (ok) records = std::move(found);
    return ok;
}

bool Win32WmiApi::GetRawEdidBlock(const InstanceMatch& match, std::vector<uint8_t>& block) {
    block.clear();
    if (!match) return false;
    bool read = false;
    std::vector<uint8_t> content;
    const bool walked =
        WalkQuery(L"SELECT * FROM WmiMonitorDescriptorMethods", [&](IWbemServices& services, IWbemClassObject& object) {
            const std::optional<std::u16string> name = ReadProperty(object, L"InstanceName", win32::VariantText);
            if (!name || !match(*name)) return Walk::Continue;
            read = ExecMethodOn(
                services, object, L"WmiMonitorDescriptorMethods", L"WmiGetMonitorRawEEdidV1Block",
                [](IWbemClassObject& in) { return PutText(in, L"BlockId", L"0"); },
                [&](IWbemClassObject* out) {
                    if (!out) return false;
                    std::optional<std::vector<uint8_t>> bytes =
                        ReadProperty(*out, L"BlockContent", win32::VariantByteArray);
                    if (!bytes) return false;
                    content = std::move(*bytes);
                    return true;
                });
            return Walk::Stop;
        });
    if (!walked || !read) return false;
    block = std::move(content);
    return true;
}

bool Win32WmiApi::QueryBrightness(std::vector<WmiBrightnessRecord>& records) {
    records.clear();
    std::vector<WmiBrightnessRecord> found;
    const bool ok = WalkQuery(L"SELECT * FROM WmiMonitorBrightness", [&](IWbemServices&, IWbemClassObject& object) {
        WmiBrightnessRecord record;
        record.instanceName = ReadProperty(object, L"InstanceName", win32::VariantText);
        record.levels = ReadProperty(object, L"Level", win32::VariantByteArray);
        if (record.levels && (record.levels->empty() || record.levels->size() > kMaxLevels)) record.levels.reset();
        record.currentBrightness = ReadProperty(object, L"CurrentBrightness", win32::VariantByte);
        found.push_back(std::move(record));
        return Walk::Continue;
    });
    if (ok) records = std::move(found);
    return ok;
}

bool Win32WmiApi::SetBrightness(uint32_t level) {
    const std::wstring levelText = std::to_wstring(level);
    bool accepted = false;
    const bool walked =
        WalkQuery(L"SELECT * FROM WmiMonitorBrightnessMethods", [&](IWbemServices& services, IWbemClassObject& object) {
            if (ExecMethodOn(
                    services, object, L"WmiMonitorBrightnessMethods", L"WmiSetBrightness",
                    [&](IWbemClassObject& in) {
                        return PutText(in, L"Timeout", L"0") && PutText(in, L"Brightness", levelText);
                    },
                    [](IWbemClassObject*) { return true; }))
                accepted = true;
            return Walk::Continue;
        });
    return walked && accepted;
}

bool Win32WmiApi::SubscribeBrightnessEvents(BrightnessHandler onBrightness) {
    if (subscription_ || !onBrightness) return false;
    auto subscription = std::make_unique<Subscription>();
    if (!Connect(subscription->locator, subscription->services)) return false;
    if (FAILED(::CoCreateInstance(kClsidUnsecuredApartment, nullptr, CLSCTX_LOCAL_SERVER, kIidIUnsecuredApartment,
                                  subscription->unsecured.PutVoid())) ||
        !subscription->unsecured)
        return false;
    subscription->sink = new win32::WmiBrightnessSink(std::move(onBrightness));
    if (FAILED(subscription->unsecured->CreateObjectStub(subscription->sink, subscription->stub.Put())) ||
        !subscription->stub)
        return false;
    if (FAILED(subscription->stub->QueryInterface(kIidIWbemObjectSink, subscription->stubSink.PutVoid())) ||
        !subscription->stubSink)
        return false;
    const UniqueBstr language(L"WQL");
    const UniqueBstr query(L"SELECT * FROM WmiMonitorBrightnessEvent");
    if (!language || !query ||
        FAILED(subscription->services->ExecNotificationQueryAsync(language.Get(), query.Get(), WBEM_FLAG_SEND_STATUS,
                                                                  nullptr, subscription->stubSink.Get())))
        return false;
    subscription->running = true;
    subscription_ = std::move(subscription);
    return true;
}

void Win32WmiApi::CancelBrightnessEvents() { subscription_.reset(); }

}  // namespace lv
