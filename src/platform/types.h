// Platform-neutral value types shared by the core and the platform layers.
#pragma once

#include <cstdint>

namespace lv {

struct Point {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const Point&) const = default;
};

struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    bool operator==(const Rect&) const = default;
};

// A GUID, laid out as the system's own.
struct Guid {
    uint32_t data1 = 0;
    uint16_t data2 = 0;
    uint16_t data3 = 0;
    uint8_t data4[8] = {};
    bool operator==(const Guid&) const = default;
};

// Handles are opaque integers on this side of the seam (HMONITOR, physical monitor HANDLE).
using DisplayHandle = std::uintptr_t;
using PhysicalHandle = std::uintptr_t;
using WindowHandle = std::uintptr_t;

}  // namespace lv
