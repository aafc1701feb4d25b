#pragma once

#include "core/ConnectionIni.h"

#include <QString>

namespace carvendo::core {
class Paths;
} // namespace carvendo::core

namespace carvendo::foundation {

// A demo company ready to log in to: the directory (created when missing, as a first start would),
// the company "Azienda Demo" with its database, its warehouse and a few items in stock.
// Needs the directory server to answer. Returns the company's id in the directory.
class DemoCompany
{
public:
    static constexpr const char* DatabaseName = "gestionale_demo";
    static constexpr const char* Name = "Azienda Demo";

    static int prepare(const core::Paths& paths, const core::DirectorySettings& directory);
};

} // namespace carvendo::foundation
