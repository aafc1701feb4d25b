#pragma once

#include "stock/sizes/SizeGroup.h"

#include <QString>
#include <QStringList>

#include <array>
#include <vector>

namespace carvendo::core {
class Db;
class Dialogs;
} // namespace carvendo::core

namespace carvendo::stock {

// One colour of a load row's size/colour page: the quantities loaded per size.
struct SizeColourRow
{
    QString colour;
    int colourValue = 0; // `colori`.`Colore`
    std::array<int, kSizeCount> quantities{};
};

// The size/colour page of one load row dialog. The rows are kept in memory while the dialog is open;
// the row's transaction writes them as the load window's work rows (`caricotc`), and saving the load
// posts them (LoadGrids).
class LoadSizeGrid
{
public:
    // Reads the item's size group; throws a refusal when the item has none.
    LoadSizeGrid(core::Db& db, core::Dialogs& dialogs, int itemId);

    int itemId() const { return m_item.itemId; }
    const SizeGroup& group() const { return m_item.group; }
    QStringList sizeLabels() const; // TG1..TGn of the group, empty labels at the end not shown
    QStringList colourChoices() const;

    // Adds one colour of `colori`; a colour already in the grid (or unknown) is refused: false.
    bool addColour(const QString& colour);
    // Every colour of `colori` not yet in the grid.
    void addAllColours();
    void removeRow(int row);
    // size 1..n of the group; a negative quantity, or a size the group does not have, is refused.
    void setQuantity(int row, int size, int quantity);

    const std::vector<SizeColourRow>& rows() const { return m_rows; }
    int totalQuantity() const; // the load row's quantity

    // Inside the caller's transaction: the colours with something loaded become work rows of the
    // owner (one load window) for this load. Colours left at zero are not written: they would only
    // use up thirty cell barcodes.
    void writeWorkRows(core::Db& db, const QString& owner, int loadId) const;

private:
    struct Colour
    {
        QString name;
        int value = 0;
    };
    bool holds(const QString& colour) const;
    void append(const Colour& colour);

    core::Dialogs& m_dialogs;
    ItemSizeGroup m_item;
    std::vector<Colour> m_colours; // `colori`, by description
    std::vector<SizeColourRow> m_rows;
};

} // namespace carvendo::stock
