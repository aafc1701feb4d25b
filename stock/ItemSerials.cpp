#include "stock/ItemSerials.h"

#include "stock/SelectedRow.h"
#include "stock/SerialHistory.h"

#include "core/Db.h"
#include "core/Dialogs.h"
#include "core/Privileges.h"
#include "core/Session.h"

#include <QDate>
#include <QSet>

#include <stdexcept>

namespace carvendo::stock {

namespace {

const QString Seriale = QStringLiteral("Seriale");

QString infoLine(const char* label, const QString& value)
{
    return QString::fromUtf8(label).leftJustified(17) + value;
}

QString dateText(const core::Field& field)
{
    const QDate date = field.toDate();
    return date.isValid() ? date.toString(QStringLiteral("dd/MM/yyyy")) : field.toString();
}

} // namespace

ItemSerials::ItemSerials(core::Db& db, const core::Session& session, core::Dialogs& dialogs, QObject* parent)
    : QObject(parent), m_db(db), m_session(session), m_dialogs(dialogs)
{
}

void ItemSerials::setItem(int idArticolo)
{
    m_idArticolo = idArticolo;
    emit rowsChanged();
}

const QStringList& ItemSerials::editableColumns()
{
    static const QStringList names{Seriale};
    return names;
}

core::Rows ItemSerials::rows() const
{
    return m_db.query(
        QStringLiteral("SELECT * FROM seriali WHERE idArticolo = :IDARTICOLO AND idMagazzino = :IDMAGAZZINO "
                       "ORDER BY ID"),
        {{QStringLiteral("IDARTICOLO"), m_idArticolo},
         {QStringLiteral("IDMAGAZZINO"), m_session.warehouse().id}});
}

bool ItemSerials::remove(int idSeriale)
{
    if (!requireSelection(idSeriale, m_dialogs))
        return false;
    if (!core::requirePrivilege(m_session, core::Privilege::Cancellazione, m_dialogs))
        return false;
    if (!m_dialogs.confirm(QStringLiteral("Eliminare il Seriale selezionato?")))
        return false;
    const core::Params item{{QStringLiteral("IDARTICOLO"), m_idArticolo}};
    core::Params serial = item;
    serial.insert(QStringLiteral("ID"), idSeriale);
    core::Transaction transaction(m_db);
    // The serial's life ends here: its history says who deleted it.
    SerialHistory(m_db).recordFromStock(
        SerialEvent::Eliminato, QStringLiteral("s.ID = :ID AND s.idArticolo = :IDARTICOLO"), serial,
        SerialActor{m_session.currentOperator().id, m_session.currentOperator().nome,
                    m_session.warehouse().id, m_session.warehouse().name});
    if (m_db.exec(QStringLiteral("DELETE FROM seriali WHERE ID = :ID AND idArticolo = :IDARTICOLO"),
                  serial) == 0) {
        // Sold or deleted on another workstation meanwhile: the grid shows what is left.
        m_dialogs.information(QStringLiteral("Il seriale selezionato non esiste più"));
        emit rowsChanged();
        return false;
    }
    m_db.exec(
        QStringLiteral("UPDATE articoli SET giacenza = COALESCE(giacenza, 0) - 1 WHERE ID = :IDARTICOLO"),
        item);
    const QVariant giacenza =
        m_db.scalar(QStringLiteral("SELECT giacenza FROM articoli WHERE ID = :IDARTICOLO"), item).variant();
    transaction.commit();
    emit rowsChanged();
    emit stockMirrorChanged(giacenza);
    return true;
}

void ItemSerials::showInfo(int idSeriale)
{
    if (!requireSelection(idSeriale, m_dialogs))
        return;
    const core::Rows load = m_db.query(
        QStringLiteral("SELECT c.data, c.NumeroCarico, c.Fornitore, c.TipoDoc, c.NumDoc, c.Datadoc "
                       "FROM seriali s JOIN carichi c ON c.idCarico = s.idCarico WHERE s.ID = :ID"),
        {{QStringLiteral("ID"), idSeriale}});
    if (load.isEmpty()) {
        m_dialogs.information(QStringLiteral("Il seriale selezionato non proviene da un carico"));
        return;
    }
    const core::Row row = load.first();
    const QStringList lines{infoLine("Data Carico", dateText(row["data"])),
                            infoLine("Numero Carico", row["NumeroCarico"].toString()),
                            infoLine("Fornitore", row["Fornitore"].toString()),
                            infoLine("Documento", row["TipoDoc"].toString()),
                            infoLine("Nr. Documento", row["NumDoc"].toString()),
                            infoLine("Data Documento", dateText(row["Datadoc"]))};
    m_dialogs.information(lines.join(u'\n'));
}

bool ItemSerials::save(const core::RowEdits& edits)
{
    m_failedCell = {};
    QList<std::pair<qint64, QString>> renames;
    QSet<QString> typed;
    for (const qint64 key : edits.keys()) {
        const QVariantMap row = edits.row(key);
        for (auto cell = row.constBegin(); cell != row.constEnd(); ++cell)
            if (cell.key().compare(Seriale, Qt::CaseInsensitive) != 0)
                throw std::invalid_argument("not an editable serial column: " + cell.key().toStdString());
        const QString serial = row.constBegin().value().toString().trimmed();
        m_failedCell = {key, Seriale};
        if (serial.isEmpty()) {
            m_dialogs.warning(
                QStringLiteral("Attenzione! Inserire nella casella di testo un seriale da caricare."));
            return false;
        }
        if (typed.contains(serial.toUpper())) {
            m_dialogs.warning(
                QStringLiteral("Attenzione! Il Seriale inserito risulta già presente nell'archivio"));
            return false;
        }
        typed.insert(serial.toUpper()); // the server compares serials ignoring case
        renames.append({key, serial});
    }

    // Checked inside the transaction that writes, and against rows that keep their number: two
    // serials swapped in one save are refused rather than briefly duplicated.
    core::Transaction transaction(m_db);
    for (const auto& [key, serial] : renames) {
        const core::Params params{{QStringLiteral("ID"), key},
                                  {QStringLiteral("IDARTICOLO"), m_idArticolo},
                                  {QStringLiteral("SERIALE"), serial}};
        m_failedCell = {key, Seriale};
        if (!m_db.query(
                     QStringLiteral("SELECT ID FROM seriali WHERE Seriale = :SERIALE AND ID <> :ID LIMIT 1 "
                                    "FOR UPDATE"),
                     {{QStringLiteral("ID"), key}, {QStringLiteral("SERIALE"), serial}})
                 .isEmpty()) {
            m_dialogs.warning(
                QStringLiteral("Attenzione! Il Seriale inserito risulta già presente nell'archivio"));
            return false;
        }
        if (m_db.exec(
                QStringLiteral(
                    "UPDATE seriali SET Seriale = :SERIALE WHERE ID = :ID AND idArticolo = :IDARTICOLO"),
                params) == 0) {
            m_dialogs.error(
                QStringLiteral("Il seriale modificato non esiste più: le modifiche non sono state salvate"));
            return false;
        }
    }
    transaction.commit();
    m_failedCell = {};
    emit rowsChanged();
    return true;
}

} // namespace carvendo::stock
