#pragma once

#include <QString>
#include <QStringList>

namespace carvendo::registry {

// What the customer and supplier registries differ in: table, key, columns and texts. The lists,
// pickers and cards take one of the two and are otherwise the same.
struct RegistryKind
{
    enum class Which
    {
        Customers,
        Suppliers
    };

    Which which = Which::Customers;
    QString table{};               // `clienti` / `fornitori`
    QString key{};                 // `idCliente` / `id_fornitore`
    QString codeColumn{};          // `CodiceCliente` / `Codice`
    QString nameColumn{};          // `RagioneSociale` / `RagSoc`
    QString taxCodeColumn{};       // `CodFisc`
    QString vatColumn{};           // `pIva` / `PIva`
    QString cardWindow{};          // "TCliente" / "TFornitore"
    QString listWindow{};          // "TClienti" / "TFornitori"
    QString layoutWord{};          // the word of the saved grid layout file
    QString exportProgressLabel{}; // under the progress bar while the grid is exported
    QString deleteQuestion{};      // "Eliminare il cliente?" / "Eliminare il fornitore?"
    QString goneMessage{};         // told when the record to open is not there any more
    QString goneOnSaveMessage{};   // told when the record to save was deleted meanwhile
    QStringList emailColumns{};    // the card checks them as e-mail addresses
    QStringList addressColumns{};  // street, city and province, for the map search
    QStringList gridColumns{};     // what the list grid shows, key first
    QStringList gridCaptions{};    // their headings

    static const RegistryKind& customers();
    static const RegistryKind& suppliers();

    bool isCustomers() const { return which == Which::Customers; }
};

} // namespace carvendo::registry
