#pragma once

#include <QString>

namespace carvendo::stock {

// A size group has at most this many sizes; a grid row has a quantity and a barcode per size.
inline constexpr int kSizeCount = 30;

// The only column names of the grid tables that reach SQL text: TG1..TG30 and BAR1..BAR30. A size
// outside 1..30 throws std::out_of_range: no other text can become a column name.
QString quantityColumn(int size);
QString barcodeColumn(int size);
// "a.TG1, a.TG2, ..." over every size, for statements that read or write the whole row.
QString quantityColumnList(const QString& prefix = {});
QString barcodeColumnList(const QString& prefix = {});

} // namespace carvendo::stock
