#include "pos/ReceiptLines.h"

#include "core/Db.h"
#include "core/Error.h"
#include "pos/PaymentType.h"
#include "pos/ReceiptFormat.h"

#include <QStringBuilder>

#include <algorithm>
#include <stdexcept>

namespace carvendo::pos {

namespace {

constexpr int DepartmentCount = 10;

QString itemLine(const ReceiptRow& row, int department)
{
    return QStringLiteral("PLUD,C[") % receiptText(row.codice) % QStringLiteral("],:") %
           receiptText(row.descrizione) % QStringLiteral(",N") % QString::number(department) %
           QStringLiteral(",P") % receiptAmount(row.pubblico) % QStringLiteral(",Q") %
           QString::number(receiptQuantity(row.quantita)) % u';';
}

QString percentLine(const ReceiptRow& row)
{
    return QStringLiteral("DISC,%") % QString::number(row.sconto) % u';';
}

// The value discount covers the whole row: the whole-number quantity times the amount per unit.
QString valueAmount(const ReceiptRow& row)
{
    return receiptAmount(row.scontoval.multipliedBy(receiptQuantity(row.quantita)));
}

void appendDiscounts(QStringList& lines, const ReceiptRow& row, VariantRules::Discounts discounts)
{
    const bool percent = row.sconto > 0;
    const bool value = row.scontoval > core::Money();
    switch (discounts) {
    case VariantRules::Discounts::None:
        break;
    case VariantRules::Discounts::Percent:
        if (percent)
            lines.append(percentLine(row));
        break;
    case VariantRules::Discounts::PercentOrValue:
        if (percent)
            lines.append(percentLine(row));
        else if (value)
            lines.append(QStringLiteral("COUP,V") % valueAmount(row) % u';');
        break;
    case VariantRules::Discounts::PercentAndValueText:
        if (percent)
            lines.append(percentLine(row));
        if (value)
            lines.append(QStringLiteral("COUP,V") % valueAmount(row) % QStringLiteral(",:") %
                         receiptText(row.promoDesc) % u';');
        break;
    }
}

// The cash desk tells the printer how the sale was paid; a credit card closes as a card payment,
// like the debit card.
QString closingLine(const VariantRules& rules, const QString& paymentType)
{
    const QString cash = QStringLiteral("CASH;");
    if (!rules.closingByPayment)
        return cash;
    const QString payment = PaymentType::orCash(paymentType);
    if (payment == PaymentType::Bancomat || payment == PaymentType::CartaDiCredito)
        return QStringLiteral("CARD;");
    if (payment == PaymentType::Assegno)
        return QStringLiteral("CHEQ;");
    if (payment == PaymentType::Coupon)
        return QStringLiteral("COUP;");
    return cash;
}

} // namespace

const VariantRules& rulesOf(ReceiptVariant variant)
{
    using D = VariantRules::Discounts;
    using F = VariantRules::FiscalCode;
    static const VariantRules keyboard{D::Percent, false, F::Optional, false};
    static const VariantRules touch{D::PercentOrValue, false, F::None, true};
    static const VariantRules talking{D::PercentOrValue, false, F::Required, true};
    static const VariantRules cashDesk{D::PercentAndValueText, true, F::None, true};
    static const VariantRules plain{D::None, false, F::None, true};
    switch (variant) {
    case ReceiptVariant::Keyboard:
        return keyboard;
    case ReceiptVariant::Touch:
        return touch;
    case ReceiptVariant::Talking:
        return talking;
    case ReceiptVariant::CashDesk:
        return cashDesk;
    case ReceiptVariant::SuspendedSale:
    case ReceiptVariant::RepairTicket:
        return plain;
    }
    throw std::invalid_argument("rulesOf: variante di scontrino sconosciuta");
}

QList<ReceiptRow> ReceiptRow::ofSale(core::Db& db, int idBanco)
{
    QList<ReceiptRow> rows;
    for (const core::Row row : db.query(
             QStringLiteral("SELECT Codice, Descrizione, reparto, Pubblico, quantita, Sconto, scontoval, "
                            "promo_desc FROM dettbanco WHERE idBanco = :IDBANCO AND descrizione IS NOT NULL "
                            "ORDER BY ID"),
             {{QStringLiteral("IDBANCO"), idBanco}})) {
        ReceiptRow receiptRow;
        receiptRow.codice = row.at(0).toString();
        receiptRow.descrizione = row.at(1).toString();
        receiptRow.reparto = row.at(2).toString();
        receiptRow.pubblico = row.at(3).toMoney();
        receiptRow.quantita = row.at(4).toDouble();
        receiptRow.sconto = row.at(5).toInt();
        receiptRow.scontoval = row.at(6).toMoney();
        receiptRow.promoDesc = row.at(7).toString();
        rows.append(receiptRow);
    }
    return rows;
}

ReceiptRow ReceiptRow::repairTicket(const QString& codice, const QString& descrizione, core::Money price)
{
    ReceiptRow row;
    row.codice = codice;
    row.descrizione = descrizione;
    row.reparto = QStringLiteral("REPARTO1");
    row.pubblico = price;
    row.quantita = 1;
    return row;
}

std::optional<int> fiscalDepartment(QStringView reparto)
{
    QStringView name = reparto;
    while (!name.isEmpty() && name.back() == u' ')
        name.chop(1);
    const QLatin1StringView prefix("REPARTO");
    if (!name.startsWith(prefix, Qt::CaseInsensitive))
        return std::nullopt;
    const QStringView digits = name.mid(prefix.size());
    if (digits.isEmpty() || digits.size() > 2 || digits.front() == u'0' ||
        !std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return std::nullopt;
    const int number = digits.toInt();
    if (number < 1 || number > DepartmentCount)
        return std::nullopt;
    return number;
}

QString unprintableRowRefusal(const QList<ReceiptRow>& rows)
{
    for (const ReceiptRow& row : rows) {
        if (!fiscalDepartment(row.reparto))
            return QStringLiteral("Lo scontrino non può essere emesso: la riga \"%1\" (codice %2) non ha un "
                                  "reparto fiscale valido (da REPARTO1 a REPARTO10).")
                .arg(row.descrizione, row.codice);
    }
    return {};
}

Receipt buildReceipt(ReceiptVariant variant, const QList<ReceiptRow>& rows, const QString& paymentType,
                     const QString& fiscalCode, const QString& cassaPassword)
{
    const VariantRules& rules = rulesOf(variant);
    if (const QString refusal = unprintableRowRefusal(rows); !refusal.isEmpty())
        throw core::Error(refusal, core::Error::Kind::Refusal);
    const QString code = fiscalCode.trimmed();
    if (code.isEmpty() && rules.fiscalCode == VariantRules::FiscalCode::Required)
        throw core::Error(
            QStringLiteral("Per lo scontrino parlante inserire il codice fiscale o la partita IVA."),
            core::Error::Kind::Refusal);
    if (!code.isEmpty() && rules.fiscalCode == VariantRules::FiscalCode::None)
        throw std::invalid_argument("buildReceipt: questo scontrino non riporta il codice fiscale");

    Receipt receipt;
    for (int department = 1; department <= DepartmentCount; ++department) {
        for (const ReceiptRow& row : rows) {
            if (fiscalDepartment(row.reparto) != department)
                continue;
            receipt.dataLines.append(itemLine(row, department));
            appendDiscounts(receipt.dataLines, row, rules.discounts);
        }
    }
    receipt.dataLines.append(closingLine(rules, paymentType));
    if (!code.isEmpty())
        receipt.dataLines.append(QStringLiteral("C.F./P.IVA: ") % receiptText(code) % u';');
    receipt.startLine = rules.startLineFromSettings ? cassaPassword : QString();
    return receipt;
}

} // namespace carvendo::pos
