#include "registry/RegistryCodes.h"

#include "core/Numbering.h"

#include <stdexcept>

namespace carvendo::registry {

namespace {

// Card codes drawn before giving up when every one of them is already held by a customer.
constexpr int kMaxCardAttempts = 1000;

} // namespace

int RegistryCodes::peekNextCustomerCode()
{
    return core::Numbering(m_db).peekNextNumber(core::Series::CodiceCliente);
}

QString RegistryCodes::peekNextSupplierCode()
{
    return QString::number(core::Numbering(m_db).peekNextNumber(core::Series::CodiceFornitore));
}

void RegistryCodes::requireNoOpenTransaction() const
{
    if (m_db.inTransaction())
        throw std::logic_error("a registry code must be taken outside an open transaction");
}

int RegistryCodes::insertCustomerWithNewCode(const std::function<void(int code)>& insertRow)
{
    requireNoOpenTransaction();
    core::NumberReservation reservation(m_db, core::Series::CodiceCliente);
    core::Transaction tx(m_db);
    insertRow(reservation.number());
    tx.commit();
    return reservation.number();
}

QString RegistryCodes::insertSupplierWithNewCode(const std::function<void(const QString& code)>& insertRow)
{
    requireNoOpenTransaction();
    core::NumberReservation reservation(m_db, core::Series::CodiceFornitore);
    const QString code = QString::number(reservation.number());
    core::Transaction tx(m_db);
    insertRow(code);
    tx.commit();
    return code;
}

bool RegistryCodes::customerCardTaken(const QString& barcode)
{
    return !m_db.query(QStringLiteral("SELECT barcode FROM clienti WHERE barcode = :BARCODE LIMIT 1"),
                       {{QStringLiteral("BARCODE"), barcode}})
                .isEmpty();
}

QString RegistryCodes::newCustomerCard()
{
    core::BarcodeIssuer issuer(m_db);
    for (int attempt = 0; attempt < kMaxCardAttempts; ++attempt) {
        const QString code = issuer.issue(core::BarcodeKind::Cliente);
        if (!customerCardTaken(code))
            return code;
    }
    throw core::DbError(QStringLiteral("Impossibile generare il codice della tessera: tutti i codici provati "
                                       "sono già assegnati a un cliente"));
}

} // namespace carvendo::registry
