#pragma once

#include "core/Money.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace carvendo::core {
class Db;
class Dialogs;
class Session;
} // namespace carvendo::core

namespace carvendo::demo {

// How an item of the demo is stocked: by quantity, one serial number (IMEI) per piece, or by size
// and colour.
enum class Tracking
{
    Quantity,
    Serial,
    SizeColour
};

struct DemoItem
{
    QString code;
    QString description;
    QString supplier;
    core::Money cost;     // excluding VAT
    core::Money pubblico; // the public price the shop wants, VAT included
    Tracking tracking = Tracking::Quantity;
};

// The demo shop's suppliers, size group and colours, and its items made through the item card's
// own rules: cost with VAT, sale price, public price and margin worked out by the card, a barcode
// from the shop's barcode counter, the first department. Returns the items' keys in order.
class DemoCatalogue
{
public:
    static constexpr const char* SizeGroup = "TAGLIE ABBIGLIAMENTO";

    static const std::vector<DemoItem>& items();
    static QStringList suppliers();
    static QStringList sizes();   // of the size group, in order
    static QStringList colours(); // with the colour value the grid shows them in

    DemoCatalogue(core::Db& db, const core::Session& session, core::Dialogs& dialogs);
    std::vector<int> create();

private:
    void createSuppliers();
    void createSizesAndColours();
    int createItem(const DemoItem& item);

    core::Db& m_db;
    const core::Session& m_session;
    core::Dialogs& m_dialogs;
};

} // namespace carvendo::demo
