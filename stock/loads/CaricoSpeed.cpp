#include "stock/loads/CaricoSpeed.h"

#include "core/Db.h"
#include "core/Dialogs.h"
#include "core/Error.h"
#include "core/Session.h"
#include "stock/loads/LoadDocumentImage.h"

namespace carvendo::stock {

CaricoSpeed::CaricoSpeed(core::Db& db, const core::Session& session, const core::Paths& paths,
                         core::Dialogs& dialogs, core::Navigator& navigator, core::ReportOutput& reports,
                         QObject* parent)
    : QObject(parent), m_db(db), m_session(session), m_paths(paths), m_dialogs(dialogs),
      m_load(db, session, paths, dialogs, navigator, reports), m_items(db, dialogs, navigator, windowName())
{
    connect(&m_load, &Carico::changed, this, &CaricoSpeed::changed);
}

bool CaricoSpeed::open(int idCarico)
{
    return idCarico > 0 ? m_load.open(idCarico, Carico::Mode::New) : m_load.openNew(QStringLiteral("Carico"));
}

bool CaricoSpeed::scan(const QString& barcode)
{
    const QString code = barcode.trimmed();
    if (code.isEmpty())
        return false;
    if (m_load.header().idFornitore <= 0) {
        m_dialogs.warning(Carico::supplierFirstMessage());
        return false;
    }
    std::optional<int> item;
    if (const std::optional<core::Row> found = m_items.byBarcode(code, m_load.header().idFornitore)) {
        item = (*found)["ID"].toInt();
    } else {
        if (!m_dialogs.confirm(QStringLiteral("Articolo non trovato, vuoi crearlo adesso? ")))
            return false;
        const LoadHeader& header = m_load.header();
        item = m_items.create(core::Warehouse{header.idMagazzino, header.magazzino}, code, header.fornitore);
    }
    const core::Rows rows =
        m_db.query(QStringLiteral("SELECT Descrizione, PrezzoAcqnoiva FROM articoli WHERE ID = :ID"),
                   {{QStringLiteral("ID"), *item}});
    m_item = *item;
    m_description = rows.isEmpty() ? QString() : rows.value(0, "Descrizione").toString();
    const core::Money cost = rows.isEmpty() ? core::Money() : rows.value(0, "PrezzoAcqnoiva").toMoney();
    m_cost = cost.isZero() ? QString() : cost.toEditText();
    m_quantity = QStringLiteral("1");
    emit changed();
    return true;
}

bool CaricoSpeed::addRow()
{
    if (m_item <= 0)
        return false;
    if (m_cost.trimmed().isEmpty()) {
        m_dialogs.warning(QStringLiteral("Inserire il prezzo di acquisto"));
        return false;
    }
    const std::optional<core::Money> quantity = core::Money::parse(m_quantity.trimmed());
    if (!quantity || quantity->isZero()) {
        m_dialogs.warning(QStringLiteral("Inserire la quantità"));
        return false;
    }
    std::unique_ptr<CaricoDialogo> row = m_load.rowForItem(m_item);
    if (!row)
        return false;
    // The fast load has no discount fields.
    row->setPriceText(m_cost);
    row->setQuantityText(m_quantity);
    row->setDiscount1Text(QStringLiteral("0"));
    row->setDiscount2Text(QStringLiteral("0"));
    if (row->kind() != LoadRowKind::Plain) {
        m_trackedRow = std::move(row);
        return false;
    }
    if (!m_load.confirmRow(*row))
        return false;
    clearScan();
    return true;
}

std::unique_ptr<CaricoDialogo> CaricoSpeed::takeTrackedRow()
{
    return std::move(m_trackedRow);
}

void CaricoSpeed::clearScan()
{
    m_item = 0;
    m_description.clear();
    m_cost.clear();
    m_quantity = QStringLiteral("1");
    emit changed();
}

bool CaricoSpeed::attachImage()
{
    const std::optional<QString> file =
        m_dialogs.chooseFile(QStringLiteral("Acquisisci documento del fornitore"),
                             QStringLiteral("Immagini (*.png *.jpg *.jpeg *.bmp)"), core::FileMode::Open);
    if (!file)
        return false;
    LoadDocumentImage(m_db, m_paths).attach(m_load.id(), m_load.header().idMagazzino, *file);
    m_dialogs.information(QStringLiteral("Documento acquisito."));
    return true;
}

bool CaricoSpeed::save()
{
    if (m_load.fields().idFornitore > 0) {
        if (m_load.fields().tipoPagamento.trimmed().isEmpty()) {
            m_dialogs.warning(QStringLiteral("Attenzione! Scegliere Tipo di Pagamento"));
            return false;
        }
        if (m_load.rows().isEmpty()) {
            m_dialogs.warning(QStringLiteral("Inserire almeno un'articolo"));
            return false;
        }
    }
    m_saved = m_load.save();
    return m_saved;
}

bool CaricoSpeed::leave()
{
    // The old fast load deleted only the rows and left stock, history, serials and header: leaving
    // now undoes the whole load, as "Annulla" of the load window.
    return m_saved || m_load.leave();
}

} // namespace carvendo::stock
