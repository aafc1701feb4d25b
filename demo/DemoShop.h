#pragma once

namespace carvendo::core {
class Db;
class Paths;
} // namespace carvendo::core

namespace carvendo::demo {

// A small phone and accessories shop in a new company database: one warehouse, three suppliers,
// accessories, phones with their IMEIs and a clothing item by size and colour, all brought into
// stock by real loads, so every list, card and realignment shows the same figures.
class DemoShop
{
public:
    static constexpr const char* Warehouse = "MAGAZZINO CENTRALE";

    static void fill(core::Db& db, const core::Paths& paths);
};

} // namespace carvendo::demo
