// Runs against the system's own WMI. Wine 8 connects to ROOT\WMI and answers queries
// for the monitor classes, which it does not implement, with empty result sets; it has
// no unsecured apartment, so the event subscription fails there. Answers are compared
// exactly only under Wine; on Windows they are checked for their shape, and the only
// brightness set is the level the panel already has.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "platform/win32/win32_wmi.h"
#include "win32/win32_test_support.h"

namespace {

using lv::win32::UniqueVariant;

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

void SetScalar(UniqueVariant& variant, VARTYPE type, LONG value) {
    VARIANT* raw = variant.Put();
    raw->vt = VT_I4;
    raw->lVal = value;
    ASSERT_EQ(::VariantChangeType(raw, raw, 0, type), S_OK);
}

void SetArray(UniqueVariant& variant, VARTYPE type, const std::vector<LONG>& values, LONG lowerBound = 0) {
    SAFEARRAYBOUND bound{static_cast<ULONG>(values.size()), lowerBound};
    VARIANT* raw = variant.Put();
    raw->parray = ::SafeArrayCreate(type, 1, &bound);
    raw->vt = VT_ARRAY | type;
    for (std::size_t i = 0; i < values.size(); ++i) {
        LONG index = lowerBound + static_cast<LONG>(i);
        UniqueVariant element;
        SetScalar(element, type, values[i]);
        VARIANT* e = element.Get();
        EXPECT_EQ(::SafeArrayPutElement(raw->parray, &index, type == VT_BSTR ? static_cast<void*>(e->bstrVal) : &e->lVal), S_OK);
    }
}

// The variant's type and value, then what each reader makes of it.
TEST(WmiVariantReaders, ScalarsKeepToTheirTypes) {
    const std::tuple<VARTYPE, LONG, std::optional<uint32_t>, std::optional<uint8_t>, std::optional<std::u16string>>
        cases[] = {
            {VT_I4, 2019, 2019u, std::nullopt, std::nullopt},  // how WMI delivers uint16 and uint32
            {VT_UI2, 2020, 2020u, std::nullopt, std::nullopt},
            {VT_I2, -1, 0xFFFFFFFFu, std::nullopt, std::nullopt},
            {VT_UI1, 40, 40u, uint8_t{40}, std::nullopt},  // CurrentBrightness, event Brightness
            {VT_BSTR, 2019, std::nullopt, std::nullopt, u"2019"},  // InstanceName
            {VT_R8, 2019, std::nullopt, std::nullopt, std::nullopt},
            {VT_BOOL, -1, std::nullopt, std::nullopt, std::nullopt},
            {VT_EMPTY, 0, std::nullopt, std::nullopt, std::nullopt},
        };
    for (const auto& [type, number, integer, byte, text] : cases) {
        SCOPED_TRACE(testing::Message() << "vt " << type);
        UniqueVariant value;
        SetScalar(value, type, number);
        EXPECT_EQ(lv::win32::VariantText(*value), text);
        EXPECT_EQ(lv::win32::VariantInteger(*value), integer);
        EXPECT_EQ(lv::win32::VariantByte(*value), byte);
        EXPECT_FALSE(lv::win32::VariantIntegerArray(*value));
        EXPECT_FALSE(lv::win32::VariantByteArray(*value));
    }
    UniqueVariant nullText;
    nullText.Get()->bstrVal = nullptr;  // a null BSTR is an empty string
    nullText.Get()->vt = VT_BSTR;
    EXPECT_EQ(lv::win32::VariantText(*nullText), u"");
}

// The elements' type, their values and lower bound, then what each reader makes of them.
TEST(WmiVariantReaders, ArraysKeepToTheirElementTypes) {
    using Integers = std::optional<std::vector<uint32_t>>;
    using Bytes = std::optional<std::vector<uint8_t>>;
    const std::tuple<VARTYPE, std::vector<LONG>, LONG, Integers, Bytes> cases[] = {
        // SerialNumberID as WMI delivers it: uint16[] in VT_ARRAY|VT_I4, zero-padded.
        {VT_I4, {'7', 'M', 'T', 0, 0}, 0, std::vector<uint32_t>{'7', 'M', 'T', 0, 0}, std::nullopt},
        {VT_I2, {-1}, 0, std::vector<uint32_t>{0xFFFFFFFFu}, std::nullopt},
        // Level and BlockContent: uint8[].
        {VT_UI1, {0, 50, 100}, 0, std::vector<uint32_t>{0, 50, 100}, std::vector<uint8_t>{0, 50, 100}},
        {VT_UI1, {7, 8}, 1, std::vector<uint32_t>{7, 8}, std::vector<uint8_t>{7, 8}},
        {VT_I1, {1, 2}, 0, std::vector<uint32_t>{1, 2}, std::nullopt},
        {VT_BSTR, {1, 2}, 0, std::nullopt, std::nullopt},
    };
    for (const auto& [type, values, lowerBound, integers, bytes] : cases) {
        SCOPED_TRACE(testing::Message() << "vt " << type);
        UniqueVariant value;
        SetArray(value, type, values, lowerBound);
        EXPECT_EQ(lv::win32::VariantIntegerArray(*value), integers);
        EXPECT_EQ(lv::win32::VariantByteArray(*value), bytes);
        EXPECT_FALSE(lv::win32::VariantInteger(*value));
        EXPECT_FALSE(lv::win32::VariantByte(*value));
    }

    UniqueVariant twoDimensions;
    SAFEARRAYBOUND bounds[2] = {{2, 0}, {2, 0}};
    twoDimensions.Get()->parray = ::SafeArrayCreate(VT_UI1, 2, bounds);
    twoDimensions.Get()->vt = VT_ARRAY | VT_UI1;
    EXPECT_FALSE(lv::win32::VariantByteArray(*twoDimensions));
    EXPECT_FALSE(lv::win32::VariantIntegerArray(*twoDimensions));
}

TEST(WmiWin32, RequestsAnswerAfterTheirOwnFashionAndLeaveNoComBehind) {
    const bool wine = lv::test::RunningUnderWine();
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
                std::vector<uint8_t> block{1, 2};
                if (!wmi.GetRawEdidBlock([](std::u16string_view) { return true; }, block)) {
                    EXPECT_TRUE(block.empty());
                }

                std::vector<lv::WmiBrightnessRecord> panels(2);
                const bool panelsOk = wmi.QueryBrightness(panels);
                EXPECT_TRUE(panelsOk || panels.empty());
                EXPECT_TRUE(!wine || (panelsOk && panels.empty()));
                // Only the level the panel already has, so nothing visible changes.
                const std::optional<uint8_t> current = panels.empty() ? std::nullopt : panels[0].currentBrightness;
                EXPECT_EQ(wmi.SetBrightness(current.value_or(50)), current.has_value());
                const bool subscribed = wmi.SubscribeBrightnessEvents([](uint8_t) {});
                EXPECT_TRUE(!wine || !subscribed);  // no unsecured apartment there
                if (subscribed) wmi.CancelBrightnessEvents();
            },
            model));
    }
}

}  // namespace
