#pragma once

#include "core/Rows.h"
#include "stock/loads/CaricoDialogo.h"
#include "stock/loads/LoadHeader.h"
#include "stock/loads/LoadItems.h"
#include "stock/loads/LoadPosting.h"
#include "stock/loads/LoadPrint.h"
#include "stock/loads/LoadTracking.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace carvendo::core {
class Db;
class Dialogs;
class Navigator;
class Paths;
class ReportOutput;
class Session;
} // namespace carvendo::core

namespace carvendo::stock {

// The logic of TCarico, the load window. The load exists from "Nuovo" and its rows post stock as
// they are added; "Salva" completes the header and its side effects, "Annulla" on a new load undoes
// everything. The mode it was opened in is kept for the save.
class Carico : public QObject
{
    Q_OBJECT

public:
    enum class Mode
    {
        New,
        Modify,
        FromOrderCheck // made from the check of a supplier order: the save offers the labels
    };

    Carico(core::Db& db, const core::Session& session, const core::Paths& paths, core::Dialogs& dialogs,
           core::Navigator& navigator, core::ReportOutput& reports, QObject* parent = nullptr);
    ~Carico() override;

    static QString windowName() { return QStringLiteral("TCarico"); }
    static QString modifyTitle() { return QStringLiteral("             Modifica Carico di Magazzino"); }
    static QString newTitle() { return QStringLiteral("Carico di Magazzino"); }

    // Opens the load; false, after telling the operator, when it is gone.
    bool open(int idCarico, Mode mode);
    // A new numbered load of the current warehouse, opened as new.
    bool openNew(const QString& tipoDoc = {});
    int id() const { return m_header.id; }
    Mode mode() const { return m_mode; }
    QString title() const { return m_mode == Mode::Modify ? modifyTitle() : newTitle(); }
    QString exitCaption() const
    {
        return m_mode == Mode::Modify ? QStringLiteral("Esci") : QStringLiteral("Annulla");
    }
    const LoadHeader& header() const { return m_header; }
    const LoadHeaderFields& fields() const { return m_fields; }
    const core::Rows& rows() const { return m_rows; }

    // Header.
    bool chooseSupplier(); // the supplier picker
    void setSupplier(int idFornitore);
    QString supplierName() const { return m_header.fornitore; }
    QStringList warehouses();
    // Refused with a message once the load has rows.
    bool chooseWarehouse(const QString& name);
    void setDocumentNumber(const QString& text) { m_fields.numDoc = text; }
    void setDocumentKind(const QString& text) { m_fields.tipoDoc = text; }
    void setDocumentDate(const QDate& date) { m_fields.dataDoc = date; }
    void setReason(const QString& text) { m_fields.causale = text; }
    void setPayment(const QString& text) { m_fields.tipoPagamento = text; }
    void setNote(const QString& text) { m_fields.note = text; }
    QStringList reasons();
    std::optional<QString> addReason(); // "Nuova Causale"
    QStringList payments();

    // Rows. Each way of choosing an item gives the row dialog, or nullptr (after telling why) when
    // no row can be entered: no supplier yet, no such item.
    std::unique_ptr<CaricoDialogo> rowForBarcode(const QString& barcode);
    std::unique_ptr<CaricoDialogo> rowForItem(int idArticolo);
    std::unique_ptr<CaricoDialogo> rowFromPicker();
    std::unique_ptr<CaricoDialogo> rowForNewItem();
    core::Rows searchItems(LoadItemSearch column, const QString& text);
    // The dialog confirmed: the row posted (one transaction), then the cost question. False, with
    // the dialog still open, when a field was refused; a failed write gives the dialog's serials back
    // and throws.
    bool confirmRow(CaricoDialogo& row);
    void cancelRow(CaricoDialogo& row);
    // True when the supplier field should take the focus (a row was refused for want of one).
    bool supplierWanted() const { return m_supplierWanted; }

    bool removeRow(int rowId);
    bool varyQuantity(int rowId); // "Aggiuni/Rimuovi Quantità"
    bool addShipping();           // "Aggiungi spese di spedizione"

    // "Salva": true when saved (the window closes).
    bool save();
    // Leaving: a new load asks and is undone completely; false when the operator stays.
    bool leave();

    void setCompanyHeading(CompanyHeading heading) { m_heading = std::move(heading); }
    // Print preview of the load, and its PDF under documenti/Acquisti (the path, empty on failure).
    bool print();
    QString savePdf();

    // "Scadenze": the instalments of the chosen payment term over the load's total, written as the
    // supplier's deadlines together with the header fields typed so far. True when written.
    bool scadenze();
    // Supplier orders are not built yet.
    static QString unavailableReason() { return QStringLiteral("Non ancora disponibile"); }

    static QString supplierFirstMessage()
    {
        return QStringLiteral(
            "Attenzione! Prima di caricare un'articolo è necessario scegliere un Fornitore");
    }

signals:
    void changed();

private:
    std::unique_ptr<CaricoDialogo> rowFor(std::optional<int> idArticolo);
    // False, after telling the operator and asking for the supplier field, when no supplier is chosen.
    bool supplierChosen();
    void reload();

    core::Db& m_db;
    const core::Session& m_session;
    const core::Paths& m_paths;
    core::Dialogs& m_dialogs;
    core::Navigator& m_navigator;
    core::ReportOutput& m_reports;
    LoadTracking m_tracking;
    LoadPosting m_posting;
    LoadItems m_items;
    Mode m_mode = Mode::New;
    LoadHeader m_header;
    LoadHeaderFields m_fields;
    LoadHeaderFields m_openedFields; // as the load was opened
    core::Rows m_rows;
    bool m_supplierWanted = false;
    CompanyHeading m_heading;
};

} // namespace carvendo::stock
