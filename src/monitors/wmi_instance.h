// WMI names a monitor's objects after its device instance; identification and the laptop
// panel compare that part with the instance the display topology gives.
#pragma once

#include <string>
#include <string_view>

namespace lv {

// The device-instance segment of a WMI instance name: "DISPLAY\DEL4220\5&1a2b&0&UID4352_0"
// gives "5&1a2b&0&UID4352"; false when the name holds no "DISPLAY\".
inline bool WmiInstanceSegment(std::string_view name, std::string& segment) {
    const std::size_t display = name.find("DISPLAY\\");
    if (display == std::string_view::npos) return false;
    const std::size_t slash = name.find('\\', display + 8);
    segment = slash == std::string_view::npos ? std::string() : std::string(name.substr(slash + 1));
    segment = segment.substr(0, segment.find('_'));
    return true;
}

}  // namespace lv
