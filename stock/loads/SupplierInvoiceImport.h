#pragma once

#include "core/Db.h"
#include "core/LongJob.h"
#include "einvoice/SupplierInvoice.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace carvendo::core {
class Dialogs;
class Navigator;
class Session;
} // namespace carvendo::core

namespace carvendo::stock {

// What the operator decided for an invoice line that no item matched.
struct LineResolution
{
    enum class Kind
    {
        Pick,   // an existing item (idArticolo)
        Create, // a new item made from the line
        Skip    // not loaded (a transport cost, a line of text)
    };
    Kind kind = Kind::Skip;
    int idArticolo = 0;

    static LineResolution pick(int id) { return {Kind::Pick, id}; }
    static LineResolution create() { return {Kind::Create, 0}; }
    static LineResolution skip() { return {Kind::Skip, 0}; }
};

// The window's part: shows the lines no item matched and returns one decision per line, in their
// order, or nullopt when the operator gives the import up.
class UnmatchedLineResolver
{
public:
    virtual ~UnmatchedLineResolver() = default;
    virtual std::optional<QList<LineResolution>>
    resolve(const QList<einvoice::SupplierInvoiceLine>& lines) = 0;
};

// A supplier's electronic invoice received into goods-in. Reading it (schema and rules checked), finding
// the supplier (VAT number, then fiscal code) and each line's item (the supplier's code, then barcode,
// then item code: one query per step for all the lines) is one long job; the operator then agrees to a
// new supplier and settles the lines no item matched; the writing is a second long job, in one
// transaction: a load per invoice of the file with the supplier document's number, date and key, its
// rows posted as rows typed by hand (stock, purchase history, totals), saved, and the file's instalments
// written as its deadlines. A document already received is refused; two workstations importing one
// file take turns, so the second is refused. New items get codes no other item has, under the item
// card's lock.
class SupplierInvoiceImport
{
public:
    SupplierInvoiceImport(core::Db& db, const core::Session& session, core::Dialogs& dialogs);
    ~SupplierInvoiceImport();

    // The view's runner puts both jobs behind the progress bar, each on a connection of its own made
    // from ownConnection (the window's connection never leaves the window's thread). Without a runner
    // they run on the window's connection, right away.
    void runJobsWith(core::JobRunner runner, core::ConnectionSettings ownConnection);

    // The loads made (their keys); empty when the operator gave up.
    QList<int> importFile(const QString& path, UnmatchedLineResolver& resolver);
    // "Importa fattura elettronica": the file chosen by the operator, imported. The loads made.
    QList<int> chooseAndImport(UnmatchedLineResolver& resolver);

    static QString alreadyImportedMessage() { return QStringLiteral("Fattura del fornitore già importata"); }
    static QString creditNoteMessage(const QString& document)
    {
        return QStringLiteral("%1: è una nota di credito, non si importa come carico").arg(document);
    }
    static QString foreignCurrencyMessage(const QString& document, const QString& currency)
    {
        return QStringLiteral("%1: è in %2, si importano come carico solo fatture in euro")
            .arg(document, currency);
    }
    static QString newSupplierQuestion(const QString& name)
    {
        return QStringLiteral("Il fornitore %1 non è in anagrafica. Crearlo dai dati della fattura?")
            .arg(name);
    }
    // The document type of an imported load.
    static QString documentKind() { return QStringLiteral("Fattura"); }

private:
    struct Plan;
    void inJob(const QString& label,
               const std::function<void(core::Db&, const std::function<void(int)>&)>& work);

    core::Db& m_db;
    const core::Session& m_session;
    core::Dialogs& m_dialogs;
    core::JobRunner m_runner;
    std::optional<core::ConnectionSettings> m_ownConnection; // set with m_runner
};

// The logic of the dialog of the lines no item matched: one decision per line, "Salta" until the
// operator says otherwise.
class UnmatchedLinesChoice
{
public:
    UnmatchedLinesChoice(core::Db& db, core::Navigator& navigator,
                         QList<einvoice::SupplierInvoiceLine> lines);

    const QList<einvoice::SupplierInvoiceLine>& lines() const { return m_lines; }
    const QList<LineResolution>& decisions() const { return m_decisions; }

    // "Scegli articolo": the item picker; false when the operator closed it without a choice.
    bool pickItem(int index);
    void createItem(int index);
    void skip(int index);
    // What the line will become, for the list: the item's code and description, "Nuovo articolo",
    // "Non caricata".
    QString decisionText(int index) const { return m_texts.value(index); }

private:
    void decide(int index, LineResolution decision, QString text);

    core::Db& m_db;
    core::Navigator& m_navigator;
    QList<einvoice::SupplierInvoiceLine> m_lines;
    QList<LineResolution> m_decisions;
    QStringList m_texts;
};

} // namespace carvendo::stock
