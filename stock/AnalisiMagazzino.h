#pragma once

#include "core/Db.h"
#include "core/LongJob.h"
#include "core/Rows.h"

#include <QObject>

namespace carvendo::core {
class Dialogs;
} // namespace carvendo::core

namespace carvendo::stock {

// The sell-out figures, each one set-based statement over the whole history (sales and loads are
// summed once per item in sub-queries, then joined), never a query per item.
namespace sellout {

// Per item with both sales and loads: idArticolo, CodArticolo, Descrizione, VENDUTO (sum of
// `venduti`.`quantita`), CARICATO (sum of `acquisti`.`quantita`), SELLOUT = VENDUTO * 100 / CARICATO.
// An item whose loads sum to 0 has no sell-out and is left out.
core::Rows byItem(core::Db& db);
// The same per item, colour and size: sales by `venduti`.`Colore`/`Taglia`, loads by the size and
// colour rows of the loads (`caricotcdoc`), since `acquisti` does not record them.
core::Rows bySizeAndColour(core::Db& db);
// The items without any sale row: idArticolo, CodArticolo, Descrizione.
core::Rows unsoldItems(core::Db& db);

} // namespace sellout

// The logic of TAnalisiMagazzino: the sell-out per item, its size and colour variant and the items
// never sold. The three lists are computed together as one long job on its own connection, so the
// window stays alive over millions of rows.
class AnalisiMagazzino : public QObject
{
    Q_OBJECT

public:
    AnalisiMagazzino(core::ConnectionSettings settings, core::Dialogs& dialogs, core::JobRunner runner,
                     QObject* parent = nullptr);

    // Computes the three lists. False, with the reason told, when the database failed.
    bool compute();

    const core::Rows& sellOut() const { return m_sellOut; }
    const core::Rows& sellOutBySizeAndColour() const { return m_bySizeAndColour; }
    const core::Rows& unsold() const { return m_unsold; }

signals:
    void rowsChanged();

private:
    core::ConnectionSettings m_settings;
    core::Dialogs& m_dialogs;
    core::JobRunner m_runner;
    core::Rows m_sellOut;
    core::Rows m_bySizeAndColour;
    core::Rows m_unsold;
};

} // namespace carvendo::stock
