#include "platform/win32/win32_platform.h"

namespace lv {

IconHandle Win32TrayApi::RenderIcon(const IconPicture&) {
    return reinterpret_cast<IconHandle>(::CopyIcon(::LoadIconW(nullptr, IDI_APPLICATION)));
}

}  // namespace lv
