#pragma once
// Animation controllers. Only the class identity is declared so far: the controller queries of the
// key-frame export (keys, sub-controllers, ranges, values) are added with that export. Until then
// hosts hand out no controllers.

#include "host/HostClassId.h"

namespace vx {

class HostController {
public:
    virtual ~HostController() = default;
    virtual HostClassId GetClassId() const = 0;
};

} // namespace vx
