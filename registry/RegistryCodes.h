#pragma once

#include "core/Db.h"

#include <QString>

#include <functional>

namespace carvendo::registry {

// A registry row inserted with a new code: its identifier and the code it got.
// The codes the registries hand out: customer `CodiceCliente` and supplier `Codice` (the largest
// plus one, taken under the same server lock as document numbers so that two workstations never
// give out the same code) and the customer card barcode.
class RegistryCodes
{
public:
    explicit RegistryCodes(core::Db& db) : m_db(db) {}

    // The next codes, for showing only: the insert takes its own.
    int peekNextCustomerCode();
    QString peekNextSupplierCode();

    // Takes the next customer code and runs insertRow(code), which inserts the `clienti` row, in
    // one transaction; inside an enclosing one, the code stays locked until that one ends.
    // Returns the code.
    int insertCustomerWithNewCode(const std::function<void(int code)>& insertRow);

    // The same for a supplier: `Codice` is text, compared as a number.
    QString insertSupplierWithNewCode(const std::function<void(const QString& code)>& insertRow);

    // A new customer card code (counter base + check digit) that no customer holds yet: a code
    // already held is skipped and the next one drawn.
    QString newCustomerCard();

private:
    void requireNoOpenTransaction() const;
    bool customerCardTaken(const QString& barcode);

    core::Db& m_db;
};

} // namespace carvendo::registry
