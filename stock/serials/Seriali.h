#pragma once

#include "core/Rows.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <utility>

namespace carvendo::core {
class Db;
class Dialogs;
class Navigator;
class Session;
} // namespace carvendo::core

namespace carvendo::stock {

// The logic of TSeriali, the serial finder: where a serial is (in stock, blocked, sold and in which
// document), its life from load to sale and return, bringing a sold serial back into stock, and the
// check of serials against stock.
class Seriali : public QObject
{
    Q_OBJECT
public:
    enum class Status
    {
        None, // nothing searched yet
        InStock,
        Blocked, // in `seriali`, but its load row was removed: not sellable
        Sold,
        NotFound
    };

    Seriali(core::Db& db, const core::Session& session, core::Dialogs& dialogs, core::Navigator& navigator,
            QObject* parent = nullptr);

    static QStringList returnReasons(); // "CAMBIO MERCE", "PRODOTTO DIFETTOSO"

    // Finds the serial; an empty text is refused ("Inserire un seriale da cercare").
    bool search(const QString& serial);
    Status status() const { return m_status; }
    QString serial() const { return m_serial; }
    QString headline() const; // "SERIALE TROVATO", "SERIALE NON TROVATO", or empty before a search
    QString detail() const;   // where the serial stands, in a sentence
    // What is known of the found serial, as caption and value: item, load, supplier, document...
    QList<std::pair<QString, QString>> facts() const;
    // The serial's events, oldest first (see SerialHistory::timeline).
    const core::Rows& timeline() const { return m_timeline; }

    bool canOpenItem() const { return m_status != Status::None && m_status != Status::NotFound; }
    bool canOpenLoad() const { return canOpenItem() && found("idCarico").toInt() > 0; }
    bool canOpenDocument() const { return m_status == Status::Sold; }
    bool canBringBack() const { return m_status == Status::Sold; }

    void openItem();     // TArticolo, caller "TSeriali"
    void openLoad();     // TCarico on the serial's load
    void openDocument(); // the selling document
    // "Rientro": asks the reason, then brings the sold serial back into stock with a counter return.
    // False when cancelled, or when the serial came back meanwhile (told).
    bool bringBack();

    // "Verifica seriali": serial-tracked items whose serials differ from their stock.
    void verify();
    const core::Rows& mismatches() const { return m_mismatches; }

signals:
    void changed();

private:
    void find();
    core::Field found(QAnyStringView column) const;

    core::Db& m_db;
    const core::Session& m_session;
    core::Dialogs& m_dialogs;
    core::Navigator& m_navigator;
    QString m_serial;
    Status m_status = Status::None;
    core::Rows m_found; // the serial's row or its sale link; empty when not found
    core::Rows m_timeline;
    core::Rows m_mismatches;
};

} // namespace carvendo::stock
