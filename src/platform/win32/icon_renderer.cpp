#include "platform/win32/win32_platform.h"

namespace lv {

IconHandle Win32TrayApi::RenderIcon(const IconPicture&) { return 0; }

}  // namespace lv
