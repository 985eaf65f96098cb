// The program's entry: the Windows objects around the portable start-up, the message
// loop and the end of the run.
#include <windows.h>

#include <commctrl.h>
#include <dbt.h>
#include <objbase.h>
#include <wtsapi32.h>

#include <memory>

#include "app/startup.h"
#include "core/core.h"
#include "platform/win32/overflow_area.h"
#include "platform/win32/popup_window.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_wmi.h"
#include "platform/windows_codes.h"
#include "popup/program_actions.h"
#include "resources/resource.h"

namespace {

using namespace lv;

constexpr int kWindowExtraBytes = 60;  // room for a dialog-based window
constexpr UINT kClassMaskAll = 0xFF;

// Every later standard dialog of the process shows the program icon through the dialog
// class; this dialog exists only to set it, and closes at once.
INT_PTR CALLBACK IconHolderProc(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_INITDIALOG) return FALSE;
    ::SetClassLongPtrA(dialog, GCLP_HICONSM, static_cast<LONG_PTR>(lParam));
    ::EndDialog(dialog, 0);
    return TRUE;
}

HICON LoadProgramIcon(HINSTANCE instance, int widthMetric, int heightMetric) {
    return static_cast<HICON>(::LoadImageA(instance, MAKEINTRESOURCEA(res::kProgramIcon), IMAGE_ICON,
                                           ::GetSystemMetrics(widthMetric), ::GetSystemMetrics(heightMetric),
                                           LR_SHARED));
}

// Session, power-setting, device-interface and suspend/resume notifications. Each one
// that cannot be had leaves its feature inactive.
void RegisterSystemNotifications(HWND popup) {
    (void)::WTSRegisterSessionNotification(popup, NOTIFY_FOR_THIS_SESSION);
    for (const Guid& setting : {win::kGuidAcDcPowerSource, win::kGuidPowerSavingStatus}) {
        const GUID system = ToSystemGuid(setting);
        (void)::RegisterPowerSettingNotification(popup, &system, DEVICE_NOTIFY_WINDOW_HANDLE);
    }
    DEV_BROADCAST_DEVICEINTERFACE_A filter{};
    filter.dbcc_size = sizeof(filter);
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    (void)::RegisterDeviceNotificationA(popup, &filter,
                                        DEVICE_NOTIFY_WINDOW_HANDLE | DEVICE_NOTIFY_ALL_INTERFACE_CLASSES);
    // Windows 8 and later only: looked up at run time.
    using RegisterSuspendResume = HPOWERNOTIFY(WINAPI*)(HANDLE, DWORD);
    if (const HMODULE user32 = ::GetModuleHandleA("User32.dll")) {
        const auto proc = reinterpret_cast<RegisterSuspendResume>(
            reinterpret_cast<void*>(::GetProcAddress(user32, "RegisterSuspendResumeNotification")));
        if (proc) (void)proc(popup, DEVICE_NOTIFY_WINDOW_HANDLE);
    }
}

int RunMessageLoop(Win32WindowApi& window, HACCEL accelerators) {
    MSG message{};
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
        const HWND popup = window.Window();
        if (popup && accelerators && ::TranslateAcceleratorA(popup, accelerators, &message)) continue;
        if (popup && ::IsDialogMessageA(popup, &message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand) {
    Win32MonitorApi monitors;
    Win32Clock clock;
    Win32TextCodec codec;
    Win32WindowApi window;
    Win32AudioApi audio;
    Win32SystemApi system;
    Win32PopupView view;
    Win32WmiApi wmi;
    Win32DisplayConfigApi displayConfig;
    Win32FileApi files;
    const std::unique_ptr<XmlReader> xmlReader = MakeXmlReader();
    const std::unique_ptr<XmlWriter> xmlWriter = MakeXmlWriter();
    Win32ProcessApi process;
    Win32TrayApi tray(window);
    Core core(Platform{monitors, clock, codec, window, audio, system, view, wmi, displayConfig, files, *xmlReader,
                       *xmlWriter, process, tray});

    if (const std::optional<int> exitCode = StartBeforeWindow(core, commandLine ? commandLine : "", showCommand))
        return *exitCode;

    // Only the one instance gets here: a start that hands its line on never loads COM's
    // libraries or the common controls (they are delay-loaded).
    // Failures here are borne: the features that need COM stay inactive.
    (void)::CoInitialize(nullptr);
    (void)::CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT, RPC_C_IMP_LEVEL_IMPERSONATE,
                                 nullptr, EOAC_NONE, nullptr);
    INITCOMMONCONTROLSEX controls{sizeof(controls), kClassMaskAll};
    if (!::InitCommonControlsEx(&controls)) return 0;

    const HICON smallIcon = LoadProgramIcon(instance, SM_CXSMICON, SM_CYSMICON);
    const HICON largeIcon = LoadProgramIcon(instance, SM_CXICON, SM_CYICON);
    PopupWindowContext context{&core, &window, &view, 0};
    SetPopupWindowContext(context);
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = PopupProc;
    windowClass.cbWndExtra = kWindowExtraBytes;
    windowClass.hInstance = instance;
    windowClass.hIcon = largeIcon;
    windowClass.hIconSm = smallIcon;
    windowClass.hCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kWindowClassName.data();
    if (!::RegisterClassExA(&windowClass)) return 0;
    const HWND popup = ::CreateDialogParamA(instance, MAKEINTRESOURCEA(res::kPopupDialog), nullptr, nullptr, 0);
    if (!popup) return 0;
    window.SetWindow(popup);
    view.SetWindow(popup);

    RegisterSystemNotifications(popup);
    ::CheckDlgButton(popup, res::kShowRgb, core.settings.showRGB ? BST_CHECKED : BST_UNCHECKED);
    ::CheckDlgButton(popup, res::kShowVolume, core.settings.showvolume ? BST_CHECKED : BST_UNCHECKED);
    (void)::DialogBoxParamA(instance, MAKEINTRESOURCEA(res::kIconHolderDialog), nullptr, IconHolderProc,
                            reinterpret_cast<LPARAM>(smallIcon));
    const HACCEL accelerators = ::LoadAcceleratorsA(instance, MAKEINTRESOURCEA(res::kAccelerators));
    context.taskbarCreatedMessage = ::RegisterWindowMessageA("TaskbarCreated");
    SetPopupWindowContext(context);
    SetHiddenWarningCore(&core);

    tray.SetBalloonIcon(LoadProgramIcon(instance, SM_CXICON, SM_CYICON));
    // Bound once the window exists: every action works on it.
    BindProgramActions(core);
    StartAfterWindow(core, showCommand);

    (void)RunMessageLoop(window, accelerators);
    const int exitCode = FinishRun(core);
    SetPopupWindowContext({});
    SetHiddenWarningCore(nullptr);
    return exitCode;
}
