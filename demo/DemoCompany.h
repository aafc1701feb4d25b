#pragma once

#include "core/ConnectionIni.h"

#include <QString>

namespace carvendo::core {
class Paths;
} // namespace carvendo::core

namespace carvendo::demo {

// A demo company ready to log in to: the directory (created when missing, as a first start would),
// the company "Azienda Demo" with its database and a shop that holds together (see DemoShop).
// Needs the directory server to answer. Returns the company's id in the directory.
class DemoCompany
{
public:
    static constexpr const char* DatabaseName = "gestionale_demo";
    static constexpr const char* Name = "Azienda Demo";

    static int prepare(const core::Paths& paths, const core::DirectorySettings& directory);
};

} // namespace carvendo::demo
