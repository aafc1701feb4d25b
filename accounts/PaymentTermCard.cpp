#include "accounts/PaymentTermCard.h"

#include "core/Dialogs.h"

namespace carvendo::accounts {

PaymentTermCard::PaymentTermCard(core::Db& db, core::Dialogs& dialogs, QObject* parent)
    : QObject(parent), m_db(db), m_dialogs(dialogs)
{
    openNew();
}

void PaymentTermCard::openNew()
{
    m_term = PaymentTerm{};
    m_term.rate = {TermInstalment{0, 100}};
    m_saved = m_term;
    emit changed();
}

bool PaymentTermCard::open(int id)
{
    const std::optional<PaymentTerm> found = PaymentTermStore(m_db).find(id);
    if (!found) {
        m_dialogs.information(PaymentTermStore::goneMessage());
        return false;
    }
    m_term = *found;
    m_saved = m_term;
    emit changed();
    return true;
}

QStringList PaymentTermCard::modes()
{
    return PaymentTermStore(m_db).modes();
}

template <typename Edit> void PaymentTermCard::edit(Edit&& change)
{
    const PaymentTerm before = m_term;
    change(m_term);
    if (m_term != before)
        emit changed();
}

void PaymentTermCard::setDescrizione(const QString& text)
{
    edit([&](PaymentTerm& term) { term.descrizione = text; });
}

void PaymentTermCard::setCodice(const QString& text)
{
    edit([&](PaymentTerm& term) { term.codice = text; });
}

void PaymentTermCard::setModalita(const QString& text)
{
    edit([&](PaymentTerm& term) { term.modalita = text; });
}

void PaymentTermCard::setNrRate(int n)
{
    edit([&](PaymentTerm& term) { term.nrRate = n; });
}

void PaymentTermCard::setIvaPrimaRata(bool ivaFirst)
{
    edit([&](PaymentTerm& term) {
        term.tipoRate = ivaFirst ? PaymentTerm::ivaPrimaRata() : PaymentTerm::normale();
    });
}

void PaymentTermCard::setDecorrenza(const QString& decorrenza)
{
    if (PaymentTerm::decorrenze().contains(decorrenza))
        edit([&](PaymentTerm& term) { term.tipoDecorrenza = decorrenza; });
}

void PaymentTermCard::addInstalment()
{
    edit([](PaymentTerm& term) { term.rate.append(TermInstalment{}); });
}

void PaymentTermCard::removeInstalment(int row)
{
    if (row >= 0 && row < m_term.rate.size())
        edit([row](PaymentTerm& term) { term.rate.removeAt(row); });
}

void PaymentTermCard::setInstalment(int row, const TermInstalment& values)
{
    if (row >= 0 && row < m_term.rate.size())
        edit([&](PaymentTerm& term) { term.rate[row] = values; });
}

bool PaymentTermCard::save()
{
    if (m_term.descrizione.trimmed().isEmpty()) {
        m_dialogs.warning(QStringLiteral("Inserire la descrizione del pagamento"));
        return false;
    }
    // Documents keep four instalments: a longer term would be stored and then assign none.
    if (m_term.nrRate < 1 || m_term.nrRate > PaymentTerm::MaxRate) {
        m_dialogs.warning(PaymentTerm::tooManyInstalmentsMessage());
        return false;
    }
    PaymentTerm term = m_term;
    term.descrizione = term.descrizione.trimmed();
    term.id = PaymentTermStore(m_db).save(term);
    m_term = term;
    m_saved = term;
    emit changed();
    return true;
}

bool PaymentTermCard::mayLeave()
{
    if (!isModified())
        return true;
    return m_dialogs.confirm(
        QStringLiteral("Eventuali modifiche effettuate non saranno salvate. Vuoi uscire senza salvare ?"));
}

} // namespace carvendo::accounts
