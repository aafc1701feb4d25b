#include "stock/loads/Carichi.h"

#include "core/Db.h"
#include "core/Dialogs.h"
#include "core/Navigator.h"
#include "core/ReportOutput.h"
#include "core/Session.h"
#include "stock/loads/Carico.h"
#include "stock/loads/LoadHeader.h"
#include "stock/loads/LoadPosting.h"
#include "stock/loads/LoadTracking.h"

namespace carvendo::stock {

Carichi::Carichi(core::Db& db, const core::Session& session, const core::Paths& paths, core::Dialogs& dialogs,
                 core::Navigator& navigator, core::ReportOutput& reports, QObject* parent)
    : QObject(parent), m_db(db), m_session(session), m_paths(paths), m_dialogs(dialogs),
      m_navigator(navigator), m_reports(reports)
{
}

void Carichi::search(SearchBy by, const QString& text, std::optional<int> year)
{
    m_by = by;
    m_text = text.trimmed();
    m_year = year;
    refresh();
}

void Carichi::refresh()
{
    // The searched column comes from this fixed choice; the text and the year are bound.
    QString sql = m_by == SearchBy::DocumentNumber
                      ? QStringLiteral("select * from carichi where numdoc like :TEXT")
                      : QStringLiteral("select * from carichi where NumeroCarico like :TEXT");
    core::Params params{{QStringLiteral("TEXT"), m_text + QLatin1Char('%')}};
    if (m_year) {
        sql += QStringLiteral(" AND anno = :ANNO");
        params.insert(QStringLiteral("ANNO"), QString::number(*m_year));
    }
    m_rows = m_db.query(sql + QStringLiteral(" ORDER BY idCarico DESC"), params);
}

int Carichi::newLoad()
{
    const int id = LoadStore(m_db).create(m_session);
    m_navigator.open(Carico::windowName(), id, windowName(), {{QStringLiteral("nuovo"), true}});
    refresh();
    return id;
}

void Carichi::modify(int idCarico)
{
    if (idCarico <= 0)
        return;
    m_navigator.open(Carico::windowName(), idCarico, windowName());
    refresh();
}

bool Carichi::deleteLoad(int idCarico)
{
    if (idCarico <= 0)
        return false;
    if (!core::requirePrivilege(m_session, core::Privilege::Cancellazione, m_dialogs))
        return false;
    if (!m_dialogs.confirm(QStringLiteral("Eliminare il carico selezionato?")))
        return false;
    // A saved load has no work rows left: no owner's rows to discard.
    const LoadTracking tracking(m_session, QString());
    LoadPosting(m_db, m_session, tracking).discard(idCarico);
    refresh();
    return true;
}

bool Carichi::print(int idCarico)
{
    if (idCarico <= 0)
        return false;
    LoadPrint(m_db, m_paths, m_reports, m_heading).preview(idCarico);
    return true;
}

} // namespace carvendo::stock
