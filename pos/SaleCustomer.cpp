#include "pos/SaleCustomer.h"

#include "pos/Sale.h"

#include "core/Db.h"
#include "core/Error.h"

namespace carvendo::pos {

void SaleCustomer::set(int saleId, int idCliente)
{
    const core::Rows customers =
        m_db.query(QStringLiteral("SELECT RagioneSociale FROM clienti WHERE idCliente = :IDCLIENTE"),
                   {{QStringLiteral("IDCLIENTE"), idCliente}});
    if (customers.isEmpty())
        throw core::Error(QStringLiteral("Il cliente scelto non esiste più: aggiornare l'elenco."),
                          core::Error::Kind::Refusal);
    write(saleId, idCliente, customers.value(0, u"RagioneSociale").toString());
}

void SaleCustomer::clear(int saleId)
{
    write(saleId, 0, {});
}

void SaleCustomer::write(int saleId, int idCliente, const QString& name)
{
    core::Transaction transaction(m_db);
    // Only a sale still open takes a customer: one closed or suspended meanwhile keeps its own.
    if (m_db.exec(
            QStringLiteral("UPDATE banco SET RagioneSociale = NULLIF(:NOME, ''), Cliente = NULLIF(:CLIENTE, "
                           "''), idCliente = NULLIF(:IDCLIENTE, 0) WHERE id = :IDBANCO AND ") +
                Sale::openCondition(),
            {{QStringLiteral("NOME"), name.left(120)},
             {QStringLiteral("CLIENTE"), name.left(50)},
             {QStringLiteral("IDCLIENTE"), idCliente},
             {QStringLiteral("IDBANCO"), saleId}}) == 0)
        throw core::Error(Sale::notOpenMessage(), core::Error::Kind::Refusal);
    transaction.commit();
}

QString SaleCustomer::nameOf(int saleId) const
{
    return m_db
        .scalar(QStringLiteral("SELECT RagioneSociale FROM banco WHERE id = :IDBANCO"),
                {{QStringLiteral("IDBANCO"), saleId}})
        .toString();
}

int SaleCustomer::idOf(int saleId) const
{
    return m_db
        .scalar(QStringLiteral("SELECT IFNULL(idCliente, 0) FROM banco WHERE id = :IDBANCO"),
                {{QStringLiteral("IDBANCO"), saleId}})
        .toInt();
}

} // namespace carvendo::pos
