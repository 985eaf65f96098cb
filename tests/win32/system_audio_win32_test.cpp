#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "platform/win32/win32_platform.h"

namespace {

TEST(Win32AudioApi, EventContextSpellsTheProgramsMarkInMemoryOrder) {
    static_assert(sizeof(lv::kVolumeEventContext) == 16);
    EXPECT_EQ(std::memcmp(&lv::kVolumeEventContext, "Lumivanevol.\0\0\0\0", 16), 0);
}

bool RunningUnderWine() {
    return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// Under Wine the endpoint exists only with an audio driver (an ALSA null device will
// do). Wine 8 keeps mute and level in each endpoint-volume object rather than in the
// device, so with short-lived objects nothing carries from one call to the next there,
// and it answers E_NOTIMPL for setting the level and for the step information. Values
// are therefore compared only on Windows, and only where the calls succeed.
TEST(Win32AudioApi, CallsActOnTheDefaultEndpoint) {
    lv::Win32AudioApi audio;
    bool originalMute = false;
    if (!audio.GetMute(originalMute)) {
        float level = -1.0f;
        uint32_t step = 0, count = 0;
        EXPECT_FALSE(audio.GetMasterVolumeLevelScalar(level));
        EXPECT_FALSE(audio.GetVolumeStepInfo(step, count));
        EXPECT_FALSE(audio.SetMasterVolumeLevelScalar(0.5f));
        EXPECT_FALSE(audio.SetMute(true));
        EXPECT_EQ(level, -1.0f);
        GTEST_SKIP() << "no default render endpoint";
    }
    const bool compareValues = !RunningUnderWine();

    for (const bool muted : {true, false, originalMute}) {
        ASSERT_TRUE(audio.SetMute(muted));
        bool now = !muted;
        ASSERT_TRUE(audio.GetMute(now));
        if (compareValues) {
            EXPECT_EQ(now, muted);
        }
    }

    float original = -1.0f;
    ASSERT_TRUE(audio.GetMasterVolumeLevelScalar(original));
    EXPECT_GE(original, 0.0f);
    EXPECT_LE(original, 1.0f);
    if (audio.SetMasterVolumeLevelScalar(0.35f) && compareValues) {
        float level = -1.0f;
        ASSERT_TRUE(audio.GetMasterVolumeLevelScalar(level));
        EXPECT_NEAR(level, 0.35f, 1e-4f);
        // Levels outside 0..1 are refused and change nothing.
        EXPECT_FALSE(audio.SetMasterVolumeLevelScalar(1.5f));
        ASSERT_TRUE(audio.GetMasterVolumeLevelScalar(level));
        EXPECT_NEAR(level, 0.35f, 1e-4f);
    }
    audio.SetMasterVolumeLevelScalar(original);
    uint32_t step = 99, count = 0;
    if (audio.GetVolumeStepInfo(step, count)) {
        EXPECT_LT(step, count);
    }
}

TEST(Win32SystemApi, WindowsVersionAgreesWithTheKernelsOwnReport) {
    // RtlGetVersion is not subject to the compatibility manifest.
    using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);
    const auto rtlGetVersion = reinterpret_cast<RtlGetVersionFunction>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
    ASSERT_NE(rtlGetVersion, nullptr);
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof(version);
    ASSERT_EQ(rtlGetVersion(&version), 0);
    const bool atLeast62 =
        version.dwMajorVersion > 6 || (version.dwMajorVersion == 6 && version.dwMinorVersion >= 2);
    lv::Win32SystemApi system;
    EXPECT_EQ(system.IsWindows8OrLater(), atLeast62) << version.dwMajorVersion << "." << version.dwMinorVersion;
}

TEST(Win32SystemApi, ThreadIdTellsThreadsApart) {
    lv::Win32SystemApi system;
    const uint32_t mine = system.CurrentThreadId();
    uint32_t other = mine;
    const HANDLE thread = ::CreateThread(
        nullptr, 0,
        [](void* result) -> DWORD {
            lv::Win32SystemApi inner;
            *static_cast<uint32_t*>(result) = inner.CurrentThreadId();
            return 0;
        },
        &other, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    ::WaitForSingleObject(thread, INFINITE);
    ::CloseHandle(thread);
    EXPECT_NE(mine, 0u);
    EXPECT_NE(other, mine);
}

}  // namespace
