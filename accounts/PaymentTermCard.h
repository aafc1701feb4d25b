#pragma once

#include "accounts/PaymentTerm.h"

#include <QObject>

namespace carvendo::core {
class Db;
class Dialogs;
} // namespace carvendo::core

namespace carvendo::accounts {

// The logic of TPagamento, the payment-term card: the term and its instalment rows are edited on the
// card and written together by "Salva", so leaving without saving leaves the term as it was.
class PaymentTermCard : public QObject
{
    Q_OBJECT

public:
    PaymentTermCard(core::Db& db, core::Dialogs& dialogs, QObject* parent = nullptr);

    void openNew();
    // False, after telling the operator, when the term is not there any more.
    bool open(int id);
    int id() const { return m_term.id; }
    bool isNew() const { return m_term.id == 0; }
    const PaymentTerm& term() const { return m_term; }
    bool isModified() const { return m_term != m_saved; }
    QString exitCaption() const { return isNew() ? QStringLiteral("Annulla") : QStringLiteral("Esci"); }
    QStringList modes();

    void setDescrizione(const QString& text);
    void setCodice(const QString& text);
    void setModalita(const QString& text);
    void setNrRate(int n);
    // "Tipo Rate": "Normale", or "Iva sommata alla prima rata" stored as "Iva prima rata".
    void setIvaPrimaRata(bool ivaFirst);
    void setDecorrenza(const QString& decorrenza);

    // The instalment grid: "Nuova" appends a row, "Elimina" removes one.
    void addInstalment();
    void removeInstalment(int row);
    void setInstalment(int row, const TermInstalment& values);

    // "Salva": false, with the reason told, when the card's values are refused.
    bool save();
    bool mayLeave();

signals:
    void changed();

private:
    template <typename Edit> void edit(Edit&& change);

    core::Db& m_db;
    core::Dialogs& m_dialogs;
    PaymentTerm m_term;
    PaymentTerm m_saved;
};

} // namespace carvendo::accounts
