#include "ui/common/CompanyHeadingOf.h"

#include "core/Connections.h"
#include "ui/common/WindowEnvironment.h"

namespace carvendo::ui {

core::CompanyHeading companyHeading(WindowEnvironment& environment)
{
    try {
        return core::CompanyHeading::of(environment.connections.directory(),
                                        environment.connections.companySettings());
    } catch (const std::exception&) {
        return {};
    }
}

} // namespace carvendo::ui
