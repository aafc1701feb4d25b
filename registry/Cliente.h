#pragma once

#include "core/ReportRequest.h"
#include "registry/RegistryCard.h"
#include "registry/WebAccounts.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

#include <functional>
#include <optional>
#include <utility>

namespace carvendo::core {
class Db;
class Dialogs;
class ReportOutput;
} // namespace carvendo::core

namespace carvendo::registry {

// The customer card: one `clienti` row, new or existing, with the commands of its window.
//
// The tax-code and e-mail checks run when the operator leaves those fields and only inform: the
// card saves whatever was typed. A new customer gets its `CodiceCliente` when saved.
class Cliente : public RegistryCard
{
    Q_OBJECT

public:
    Cliente(core::Db& db, core::Dialogs& dialogs, QObject* parent = nullptr);

    // The columns the card edits, as `clienti` spells them.
    static const QStringList& columns();

    // A new customer card code, stored at once for a saved customer.
    bool issueCard();

    // The municipalities to choose from, "comune" order, and the choice of one: it fills the city,
    // `Cap` and `ProvRes`.
    QStringList municipalities() const;
    void chooseMunicipality();
    // Adds the typed city as a new municipality, asking its postcode and province.
    bool newMunicipality();

    // The "+" buttons: a new category, sector or definition, chosen for this customer at once.
    bool addCategory();
    bool addSector();
    bool addDefinition();
    // The choice of an existing category, sector or definition.
    bool chooseCategory();
    bool chooseSector();
    bool chooseDefinition();
    QStringList categories() const;
    QStringList sectors() const;
    QStringList definitions() const;

    // Takes away the associated agent / fidelity card, after asking.
    bool removeAgent();
    bool removeFidelity();

    // The customer's web account: a `users` row of the exchange database with the customer's id,
    // mirrored in the card's `USERNAME`, `PASS` and `AccountAttivo`. Each needs a saved customer and
    // an exchange connection; each asks what it needs and tells how it went.
    void setWebAccounts(WebAccounts webAccounts) { m_webAccounts = std::move(webAccounts); }
    bool createWebAccount();
    bool updateWebAccount();
    bool deleteWebAccount();
    bool hasWebAccount() const;

    // The privacy consent form of the saved customer, shown in preview: the customer's data, the
    // shop's privacy notice and the day (template "Privacy").
    bool printPrivacy(core::ReportOutput& reports);
    core::ReportRequest privacyForm();

protected:
    // A new customer: price list "LISTINO1" and the code it will probably get.
    void fillNew() override;
    // A customer needs a ragione sociale or a surname.
    bool mayBeSaved() override;
    QVariant insertWithNewCode(const std::function<void(const QVariant& code)>& insertRow) override;

private:
    bool addDescription(const QString& title, const QString& table, const QString& column,
                        const QString& field);
    QStringList list(const QString& sql) const;
    bool chooseFrom(const QStringList& options, const QString& title, const QString& prompt,
                    const QString& field);
    bool webAccountsAvailable();
    std::optional<std::pair<QString, QString>> askCredentials(const QString& title);
    void storeWebAccount(const QVariant& username, const QVariant& password, bool active);
    void changeWebAccount(const std::function<void()>& onExchange, const QVariant& username,
                          const QVariant& password, bool active);

    WebAccounts m_webAccounts;
};

} // namespace carvendo::registry
