#pragma once

#include "registry/RegistryCard.h"

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
class Fornitore : public RegistryCard
{
    Q_OBJECT

public:
    Fornitore(core::Db& db, core::Dialogs& dialogs, core::Navigator& navigator, QObject* parent = nullptr);

    // The columns the card edits, as `fornitori` spells them.
    static const QStringList& columns();

    // Makes a customer from the saved supplier and opens its card ("TCliente"). Returns the new
    // customer's id, 0 when none was made.
    int makeCustomer();

protected:
    // A new supplier shows the code it will probably get.
    void fillNew() override;
    // A supplier needs a ragione sociale.
    bool mayBeSaved() override;
    QVariant insertWithNewCode(const std::function<void(const QVariant& code)>& insertRow) override;

private:
    core::Navigator& m_navigator;
};

} // namespace carvendo::registry
