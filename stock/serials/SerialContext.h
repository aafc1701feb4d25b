#pragma once

#include <QString>

namespace carvendo::stock {

// The item a serial belongs to, as it stood when the serial was loaded or sold: the serial keeps
// these texts even if the item card changes later.
struct SerialItem
{
    int itemId = 0;
    QString code, description, barcode;
};

// Who moves the serial and where: every serial row and every event of its life carries them.
struct SerialActor
{
    int operatorId = 0;
    QString operatorName;
    int warehouseId = 0;
    QString warehouseName;
};

} // namespace carvendo::stock
