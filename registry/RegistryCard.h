#pragma once

#include "core/RecordValues.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

#include <functional>

namespace carvendo::core {
class Db;
class Dialogs;
} // namespace carvendo::core

namespace carvendo::registry {

struct RegistryKind;

// What the customer and supplier cards share: one row of the registry's table, new or existing,
// its values beside the ones last stored, the tax-code and e-mail checks when a field is left,
// "Salva" and leaving. Each card adds its own rules: what a new record starts from, what must be
// there before saving and how a new record gets its code.
class RegistryCard : public QObject
{
    Q_OBJECT

public:
    void openNew();
    // False, after telling the operator, when the record is not there any more.
    bool open(int id);

    bool isNew() const { return m_id == 0; }
    int id() const { return m_id; }

    // Values by column name, letter case ignored; an unknown column throws std::invalid_argument.
    QVariant value(const QString& column) const;
    void setValue(const QString& column, const QVariant& value);
    const QVariantMap& values() const { return m_record.values(); }
    bool isModified() const { return m_record.isModified(); }

    // The operator left a field: the codice fiscale, partita IVA and e-mail fields tell whether the
    // text is sound. They only inform (the card saves whatever was typed); empty fields are not
    // checked.
    void fieldLeft(const QString& column);

    // "Salva": a new record is inserted whole; an existing one gets only the columns the card
    // changed, so what another workstation wrote meanwhile in the others stays. Returns false, with
    // the reason told, when nothing was saved (a record deleted meanwhile among them).
    bool save();
    // Whether the card may close now: with unsaved changes the operator is asked first.
    bool mayLeave();
    // The exit command: "Annulla" discards a new record, "Esci" leaves an existing one.
    QString exitCaption() const;

    // A web map search of the record's address, city and province.
    QString mapSearchUrl() const;

signals:
    void changed();
    void saved(int id);

protected:
    // The card of one registry over the columns it edits, as the table spells them.
    RegistryCard(const RegistryKind& kind, QList<core::RecordColumn> columns, core::Db& db,
                 core::Dialogs& dialogs, QObject* parent);

    // The values of a new record, set in m_record over a card of nulls.
    virtual void fillNew() = 0;
    // False, after telling the operator why, when the record may not be saved as it is.
    virtual bool mayBeSaved() = 0;
    // Takes the next code and calls insertRow(code) under it; returns the code taken.
    virtual QVariant insertWithNewCode(const std::function<void(const QVariant& code)>& insertRow) = 0;

    core::Db& m_db;
    core::Dialogs& m_dialogs;
    core::RecordValues m_record;

private:
    int insertRow(const QVariant& code);

    const RegistryKind& m_kind;
    int m_id = 0;
};

// The map search of an address: the parts that are not empty, joined, on OpenStreetMap.
QString mapSearchUrl(const QStringList& addressParts);

} // namespace carvendo::registry
