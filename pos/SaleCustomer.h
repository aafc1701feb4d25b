#pragma once

#include <QString>

namespace carvendo::core {
class Db;
} // namespace carvendo::core

namespace carvendo::pos {

// The customer of the open sale (`banco`.`RagioneSociale`, `idCliente`, `Cliente`): posting, the
// receipt row and an invoice read them, so the till sets all three together.
class SaleCustomer
{
public:
    explicit SaleCustomer(core::Db& db) : m_db(db) {}

    // The customer with that key on the open sale; throws a refusal when the sale is no longer
    // open, or the customer is gone.
    void set(int saleId, int idCliente);
    // Back to the counter customer.
    void clear(int saleId);
    // The name on the sale's header, empty for the counter customer.
    QString nameOf(int saleId) const;
    // The customer's key on the sale's header, 0 for the counter customer.
    int idOf(int saleId) const;

private:
    void write(int saleId, int idCliente, const QString& name);

    core::Db& m_db;
};

} // namespace carvendo::pos
