#pragma once

#include "RecordValues.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

namespace carvendo::core {
class Db;
class Dialogs;
class Navigator;
} // namespace carvendo::core

namespace carvendo::registry {

// The supplier card: one `fornitori` row, new or existing, with the commands of its window.
// The tax-code and e-mail checks only inform, as on the customer card.
class Fornitore : public QObject
{
    Q_OBJECT

public:
    Fornitore(core::Db& db, core::Dialogs& dialogs, core::Navigator& navigator, QObject* parent = nullptr);

    // The columns the card edits, as `fornitori` spells them.
    static const QStringList& columns();

    void openNew();
    // False, after telling the operator, when the supplier is not there any more.
    bool open(int idFornitore);

    bool isNew() const { return m_id == 0; }
    int id() const { return m_id; }

    // Values by column name, letter case ignored; an unknown column throws std::invalid_argument.
    QVariant value(const QString& column) const;
    void setValue(const QString& column, const QVariant& value);
    const QVariantMap& values() const { return m_record.values; }
    bool isModified() const { return m_record.isModified(); }

    void fieldLeft(const QString& column);

    // "Salva". False, with the reason told, when nothing was saved.
    bool save();
    bool mayLeave();
    QString exitCaption() const;

    // Makes a customer from the saved supplier and opens its card ("TCliente"). Returns the new
    // customer's id, 0 when none was made.
    int makeCustomer();

    // A web map search of the legal address.
    QString mapSearchUrl() const;

signals:
    void changed();
    void saved(int idFornitore);

private:
    QString text(const char* column) const;
    void insertRow(const QString& code);
    void updateRow();

    core::Db& m_db;
    core::Dialogs& m_dialogs;
    core::Navigator& m_navigator;
    int m_id = 0;
    core::RecordValues m_record{columns()};
};

} // namespace carvendo::registry
