#pragma once

#include "stock/loads/Carico.h"

#include <QObject>
#include <QString>

namespace carvendo::stock {

// The logic of TCaricoSpeed, the fast load: scan a barcode (an unknown one may become a new item),
// type cost and quantity, add. Header, rows, save and leave are the load window's own (Carico), with
// the fast load's checks: a payment type is required, and leaving without saving undoes everything.
class CaricoSpeed : public QObject
{
    Q_OBJECT

public:
    CaricoSpeed(core::Db& db, const core::Session& session, const core::Paths& paths, core::Dialogs& dialogs,
                core::Navigator& navigator, core::ReportOutput& reports, QObject* parent = nullptr);

    static QString windowName() { return QStringLiteral("TCaricoSpeed"); }

    // A new load of kind "Carico" (or the given one, still unsaved).
    bool open(int idCarico = 0);
    Carico& load() { return m_load; }

    // The scanned item becomes current, with its cost. False when there is none (not created).
    bool scan(const QString& barcode);
    int currentItem() const { return m_item; }
    const QString& currentDescription() const { return m_description; }
    const QString& costText() const { return m_cost; }
    const QString& quantityText() const { return m_quantity; }
    void setCostText(const QString& text) { m_cost = text; }
    void setQuantityText(const QString& text) { m_quantity = text; }
    // The current item as a row of the load. A serial-tracked or size/colour item is not posted
    // here: its row dialog (serials, lot or grid), prefilled with the typed cost, waits in
    // takeTrackedRow() for the window to show.
    bool addRow();
    std::unique_ptr<CaricoDialogo> takeTrackedRow();
    // The scanned item forgotten: its row was posted (or given up) on its dialog.
    void clearScan();

    bool attachImage();
    bool save();
    bool leave();
    bool isSaved() const { return m_saved; }

signals:
    void changed();

private:
    core::Db& m_db;
    const core::Session& m_session;
    const core::Paths& m_paths;
    core::Dialogs& m_dialogs;
    Carico m_load;
    LoadItems m_items;
    int m_item = 0;
    QString m_description;
    QString m_cost;
    QString m_quantity = QStringLiteral("1");
    std::unique_ptr<CaricoDialogo> m_trackedRow;
    bool m_saved = false;
};

} // namespace carvendo::stock
