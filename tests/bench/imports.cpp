// Benchmark fixture: a Windows program that imports the libraries Lumivane.exe imports
// (the dxva2.dll beside it included) and calls nothing costly, so its start is what the
// loader alone costs for them.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>
#include <oleauto.h>
#include <shellapi.h>
#include <wtsapi32.h>

extern "C" __declspec(dllimport) BOOL WINAPI GetNumberOfPhysicalMonitorsFromHMONITOR(HMONITOR, DWORD*);

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // Referenced, not called: the imports alone are what is measured.
    const void* const volatile imports[] = {
        reinterpret_cast<const void*>(&::InitCommonControlsEx),
        reinterpret_cast<const void*>(&::GetStockObject),
        reinterpret_cast<const void*>(&::CoInitialize),
        reinterpret_cast<const void*>(&::VariantClear),
        reinterpret_cast<const void*>(&::ShellExecuteW),
        reinterpret_cast<const void*>(&::FindWindowA),
        reinterpret_cast<const void*>(&::WTSRegisterSessionNotification),
        reinterpret_cast<const void*>(&::GetNumberOfPhysicalMonitorsFromHMONITOR),
    };
    int missing = 0;
    for (const void* import : imports) missing += import == nullptr;
    return missing;
}
