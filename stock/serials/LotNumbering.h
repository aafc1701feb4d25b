#pragma once

#include <QStringList>

namespace carvendo::stock {

// The serials of a lot: count serials from the first one, counting on in its trailing digits and
// keeping its letters and zero padding ("AB0098" and 3: AB0098, AB0099, AB0100). A first serial without
// trailing digits, a count below 1, or a range that would outgrow the digits' width is refused with a
// core::Error (Refusal) in Italian.
QStringList lotSerials(const QString& firstSerial, int count);

} // namespace carvendo::stock
