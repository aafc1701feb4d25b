#include "accounts/PaymentTerms.h"

#include "accounts/PaymentTerm.h"
#include "core/Dialogs.h"
#include "core/Navigator.h"
#include "core/Session.h"

namespace carvendo::accounts {

PaymentTerms::PaymentTerms(core::Db& db, const core::Session& session, core::Dialogs& dialogs,
                           core::Navigator& navigator, QObject* parent)
    : QObject(parent), m_db(db), m_session(session), m_dialogs(dialogs), m_navigator(navigator)
{
}

void PaymentTerms::search(const QString& text)
{
    m_search = text;
    refresh();
}

void PaymentTerms::refresh()
{
    m_rows = PaymentTermStore(m_db).list(m_search);
    emit rowsChanged();
}

int PaymentTerms::idAt(int row) const
{
    if (row < 0 || row >= m_rows.size())
        return 0;
    return m_rows.value(row, "id").toInt();
}

void PaymentTerms::newTerm()
{
    m_navigator.open(cardName(), QVariant(), windowName());
    refresh();
}

bool PaymentTerms::requireSelection(int id)
{
    if (id > 0)
        return true;
    m_dialogs.information(QStringLiteral("Selezionare un pagamento"));
    return false;
}

void PaymentTerms::modify(int id)
{
    if (!requireSelection(id))
        return;
    m_navigator.open(cardName(), id, windowName());
    refresh();
}

bool PaymentTerms::remove(int id)
{
    if (!requireSelection(id))
        return false;
    if (!core::requirePrivilege(m_session, core::Privilege::Cancellazione, m_dialogs))
        return false;
    if (!m_dialogs.confirm(QStringLiteral("Eliminare il pagamento selezionato?")))
        return false;
    const bool removed = PaymentTermStore(m_db).remove(id);
    if (!removed)
        m_dialogs.information(PaymentTermStore::goneMessage());
    refresh();
    return removed;
}

} // namespace carvendo::accounts
