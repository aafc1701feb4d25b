#pragma once

#include <QObject>
#include <QString>
#include <QVariant>
#include <QVariantMap>

namespace carvendo::core {
class Db;
class Dialogs;
class Paths;
class Session;
} // namespace carvendo::core

namespace carvendo::stock {

// The warehouse card: one `magazzini` row, new or existing.
//
// Saving writes the warehouse, gives a new warehouse a stock row for every item and carries a new
// name into the rows that copy it, all in one transaction, and then records the warehouse as this
// workstation's own in connessione.ini.
class MagazzinoAnagrafica : public QObject
{
    Q_OBJECT

public:
    MagazzinoAnagrafica(core::Db& db, core::Session& session, const core::Paths& paths,
                        core::Dialogs& dialogs, QObject* parent = nullptr);

    // A new warehouse, its name proposed ("MAGAZZINO CENTRALE" at the first start).
    void openNew(const QString& descrizione = {});
    // An existing warehouse; false, after telling the operator, when it is not there any more.
    bool open(int idMagazzino);

    bool isNew() const { return m_id == 0; }
    int id() const { return m_id; }

    // Values by `magazzini` column name, letter case ignored; an unknown column throws
    // std::invalid_argument.
    QVariant value(const QString& column) const;
    void setValue(const QString& column, const QVariant& value);
    const QVariantMap& values() const { return m_values; }
    bool isModified() const { return m_values != m_saved; }

    // The exit command: "Annulla" discards a new warehouse, "Esci" leaves an existing one.
    QString exitCaption() const;

    // "Salva". False, with the reason told, when the card's values are refused; a failure of the
    // server or of the settings file is thrown for the window to show. The first warehouse of a
    // company becomes the warehouse of the operators whose warehouse does not exist.
    bool save();
    // Whether the card may close now: with unsaved changes the operator is asked first.
    bool mayLeave();

signals:
    void changed();
    void saved(int idMagazzino);

private:
    bool validate(const QString& name);
    void writeWorkstationWarehouse();
    void followRenameInSession(const QString& oldName);

    core::Db& m_db;
    core::Session& m_session;
    const core::Paths& m_paths;
    core::Dialogs& m_dialogs;
    int m_id = 0;
    QVariantMap m_values;
    QVariantMap m_saved; // as last read or written
};

} // namespace carvendo::stock
