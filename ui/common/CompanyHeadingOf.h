#pragma once

#include "core/CompanyHeading.h"

namespace carvendo::ui {

struct WindowEnvironment;

// The shop's heading for printed documents, from the company directory (nothing when it cannot be
// read: the print then goes out without it).
core::CompanyHeading companyHeading(WindowEnvironment& environment);

} // namespace carvendo::ui
