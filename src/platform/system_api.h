// Facts about the running system that the logic branches on.
#pragma once

#include <cstdint>

namespace lv {

class SystemApi {
public:
    virtual ~SystemApi() = default;
    virtual bool IsWindows8OrLater() = 0;
    virtual uint32_t CurrentThreadId() = 0;
};

}  // namespace lv
