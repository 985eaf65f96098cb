#include "platform/win32/win32_platform.h"

namespace lv {

OverflowScan Win32TrayApi::ScanOverflowArea(std::string_view, bool& found) {
    found = false;
    return OverflowScan::NoToolbar;
}

bool Win32TrayApi::HiddenIconWarningOpen() { return false; }

void Win32TrayApi::RunHiddenIconWarning(bool) {}

void Win32TrayApi::CloseHiddenIconWarning() {}

}  // namespace lv
