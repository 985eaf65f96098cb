// The main window's procedure decodes the system's records into the core's calls.
#include "platform/win32/popup_window.h"

#include <dbt.h>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "platform/sim/fleet.h"
#include "platform/win32/win32_handles.h"
#include "popup/popup_proc.h"
#include "tools/simulator.h"
#include "win32/win32_test_support.h"

namespace lv {
namespace {

class PopupProcTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim::FleetParseResult parsed = sim::ParseFleet("[display]\n[monitor]\nbrightness = 0 64 100\n");
        sim_ = std::make_unique<sim::Simulator>(std::move(parsed.fleet));
        sim_->Seed();
        SetPopupWindowContext({&sim_->core, &window_, &view_, taskbarCreated_});
        popup_.Reset(test::MessageWindow("LumivaneTestPopupProc", PopupProc, 60));
        ASSERT_TRUE(popup_);
    }
    void TearDown() override {
        popup_.Reset();
        SetPopupWindowContext({});
        // Drop what the procedure posted to this thread's queue.
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
    }

    LRESULT Send(UINT message, WPARAM wParam, const void* record) {
        return ::SendMessageW(popup_.Get(), message, wParam, reinterpret_cast<LPARAM>(record));
    }
    LRESULT SendCopyData(ULONG_PTR source, const void* data, DWORD size) {
        COPYDATASTRUCT copy{source, size, const_cast<void*>(data)};
        return Send(WM_COPYDATA, 0, &copy);
    }
    std::vector<std::string> Queued() {
        std::vector<std::string> lines;
        while (auto line = sim_->core.commandQueue.Pop()) lines.push_back(line->text);
        return lines;
    }

    const UINT taskbarCreated_ = ::RegisterWindowMessageW(L"TaskbarCreated");
    std::unique_ptr<sim::Simulator> sim_;
    Win32WindowApi window_;
    Win32PopupView view_;
    win32::UniqueWindow popup_;
};

// What a record may hold is OnCopyData's (the submission tests); the procedure decodes the
// record and tells a forwarding start whether its line will run.
TEST_F(PopupProcTest, CopyDataIsTakenAsFarAsItsRecordReachesAndAnswered) {
    EXPECT_EQ(SendCopyData(777, "b 50 and more", 4), TRUE);  // a short size ends the text
    EXPECT_EQ(SendCopyData(777, nullptr, 2048), FALSE);
    EXPECT_EQ(SendCopyData(ULONG_PTR{1} << 40, "d", 2), FALSE);  // no source of ours
    sim_->core.restartflag = true;  // the exit is on its way
    EXPECT_EQ(SendCopyData(777, "b 30", 4), FALSE);
    EXPECT_EQ(Queued(), std::vector<std::string>{"b 50"});
}

TEST_F(PopupProcTest, DisplayDevicesAndPowerSettingsAreDecoded) {
    std::vector<char> record(sizeof(DEV_BROADCAST_DEVICEINTERFACE_A) + 64, '\0');
    auto* device = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_A*>(record.data());
    device->dbcc_size = static_cast<DWORD>(record.size());
    device->dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    std::strcpy(device->dbcc_name, "\\\\?\\USB#VID_046D");
    EXPECT_EQ(Send(WM_DEVICECHANGE, DBT_DEVICEARRIVAL, record.data()), TRUE);
    EXPECT_FALSE(sim_->window.HasTimer(timer::kDisplayChange));
    std::strcpy(device->dbcc_name, "\\\\?\\DISPLAY#DEL4220#5&1a2b");
    Send(WM_DEVICECHANGE, DBT_DEVICEARRIVAL, record.data());
    EXPECT_TRUE(sim_->window.HasTimer(timer::kDisplayChange));

    POWERBROADCAST_SETTING setting{GUID_ACDC_POWER_SOURCE, sizeof(DWORD), {0}};
    EXPECT_EQ(Send(WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, &setting), TRUE);
    setting.PowerSetting = GUID_MAX_POWER_SAVINGS;
    Send(WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, &setting);
    EXPECT_EQ(sim_->core.powerChangeCount, 1);
}

// WM_COMMAND, WM_NOTIFY and WM_VSCROLL are driven on the real dialog (popup controls).
TEST_F(PopupProcTest, TimersAndTheTaskBarReachTheCore) {
    Send(taskbarCreated_, 0, nullptr);
    EXPECT_TRUE(sim_->window.HasTimer(timer::kTaskbarBusy) || sim_->window.HasTimer(timer::kTaskbarIdle));
    Send(WM_TIMER, timer::kResume, nullptr);
    EXPECT_TRUE(sim_->core.restartflag);
    EXPECT_EQ(window_.Window(), popup_.Get());  // the procedure keeps its window
}

TEST_F(PopupProcTest, ARightClickOnAFreeSpotOpensTheMenuWithTheUserEntries) {
    sim_->core.settings.menuEntries[1].commandLine = "b 20";
    // Answered here: Wine's dialog procedure would track the button and swallow the button-up
    // waiting in the queue.
    ::PostMessageW(popup_.Get(), WM_RBUTTONUP, 0, MAKELPARAM(30, 40));
    EXPECT_EQ(::SendMessageW(popup_.Get(), WM_NCRBUTTONDOWN, HTCAPTION, MAKELPARAM(30, 40)), 0);
    MSG waiting;
    EXPECT_TRUE(::PeekMessageW(&waiting, popup_.Get(), WM_RBUTTONUP, WM_RBUTTONUP, PM_REMOVE));
    EXPECT_TRUE(sim_->window.TrayMenus().empty());
    ::SendMessageW(popup_.Get(), WM_NCRBUTTONUP, HTCAPTION, MAKELPARAM(30, 40));
    ASSERT_EQ(sim_->window.TrayMenus().size(), 1u);
    EXPECT_EQ(sim_->window.TrayMenus()[0].point, (Point{30, 40}));
    EXPECT_EQ(sim_->window.TrayMenus()[0].extra, (std::vector<MenuItem>{{15, "b 20"}}));
}

}  // namespace
}  // namespace lv
