#include "core/Numbering.h"

#include "core/Error.h"

#include <QStringList>

#include <stdexcept>

namespace carvendo::core {

namespace {

// Seconds a workstation waits for another one to finish numbering the same kind of document.
constexpr int kLockTimeoutSeconds = 15;

QString maxExpression(const NumberSeries& s)
{
    const QString column = QString::fromLatin1(s.column);
    return s.textColumn ? QStringLiteral("MAX(CAST(`%1` AS SIGNED))").arg(column)
                        : QStringLiteral("MAX(`%1`)").arg(column);
}

} // namespace

int Numbering::nextNumber(Db& db, const NumberSeries& series, const QString& suffix,
                          std::optional<NumberScope> scope)
{
    QString sql = QStringLiteral("SELECT %1 AS massimo FROM `%2`")
                      .arg(maxExpression(series), QString::fromLatin1(series.table));
    Params params;
    QStringList conditions;
    if (scope.value_or(series.scope) == NumberScope::CurrentYear && series.yearColumn)
        conditions << QStringLiteral("`%1` = (SELECT YEAR(CURRENT_DATE))")
                          .arg(QString::fromLatin1(series.yearColumn));
    if (series.hasSuffix && !suffix.isEmpty()) {
        conditions << QStringLiteral("Suffisso = :SFX");
        params.insert(QStringLiteral("SFX"), suffix);
    }
    if (!conditions.isEmpty())
        sql += QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
    // Inside a transaction a plain read sees the snapshot of its first read, which may predate a
    // number another workstation has committed since: a locking read sees the latest rows.
    if (db.inTransaction())
        sql += QStringLiteral(" LOCK IN SHARE MODE");
    return int(db.scalar(sql, params).toInt64()) + 1;
}

int Numbering::peekNextNumber(const NumberSeries& series, const QString& suffix,
                              std::optional<NumberScope> scope)
{
    return nextNumber(m_db, series, suffix, scope);
}

NumberReservation::NumberReservation(Db& db, const NumberSeries& series, const QString& suffix,
                                     std::optional<NumberScope> scope)
    : m_db(db), m_lockName(QStringLiteral("numero.") + QString::fromLatin1(series.table))
{
    if (!m_db.acquireLock(m_lockName, kLockTimeoutSeconds))
        throw DbError(QStringLiteral(
            "Un'altra postazione sta numerando lo stesso tipo di documento. Riprovare tra qualche istante."));
    try {
        m_number = Numbering::nextNumber(m_db, series, suffix, scope);
    } catch (...) {
        release();
        throw;
    }
}

NumberReservation::~NumberReservation()
{
    release();
}

void NumberReservation::release() noexcept
{
    try {
        m_db.releaseLock(m_lockName);
    } catch (const DbError&) {
        // A connection that is gone has released its locks with it.
    }
}

QString BarcodeIssuer::counterColumn(BarcodeKind kind)
{
    switch (kind) {
    case BarcodeKind::Articolo:
        return QStringLiteral("BarcodeArticolo");
    case BarcodeKind::Assistenza:
        return QStringLiteral("BarcodeAss");
    case BarcodeKind::Lavoro:
        return QStringLiteral("barcodelavori");
    case BarcodeKind::Taglia:
        return QStringLiteral("BarcodeTaglia");
    case BarcodeKind::Cliente:
        return QStringLiteral("barcodecliente");
    }
    throw std::invalid_argument("unknown barcode kind");
}

QString BarcodeIssuer::defaultBase(BarcodeKind kind, BarcodeStandard standard)
{
    switch (kind) {
    case BarcodeKind::Articolo:
        // EAN-8 items start in the in-store range (prefix 2), apart from manufacturers' codes.
        return standard == BarcodeStandard::Ean8 ? QStringLiteral("2000000") : QStringLiteral("800500100200");
    case BarcodeKind::Taglia:
        return QStringLiteral("640100200100");
    case BarcodeKind::Lavoro:
        return QStringLiteral("400009100020");
    case BarcodeKind::Cliente:
        return QStringLiteral("7000001000100");
    case BarcodeKind::Assistenza:
        // Repair tickets have no fixed start: the in-store range (prefix 2) keeps them apart from
        // manufacturers' codes.
        return QStringLiteral("200000100000");
    }
    throw std::invalid_argument("unknown barcode kind");
}

BarcodeStandard BarcodeIssuer::standardOf(BarcodeKind kind) const
{
    return kind == BarcodeKind::Articolo ? m_itemStandard : BarcodeStandard::Ean13;
}

QString BarcodeIssuer::barcodeOf(qint64 base, BarcodeStandard standard)
{
    if (standard == BarcodeStandard::Ean8) {
        if (base > 9999999)
            throw Error(QStringLiteral("Il contatore dei barcode è arrivato a %1: con lo standard EAN 8 il "
                                       "barcode di partenza può avere al massimo 7 cifre. Nessun barcode "
                                       "generato")
                            .arg(base),
                        Error::Kind::Refusal);
        const QString digits = QStringLiteral("%1").arg(base, 7, 10, QLatin1Char('0'));
        return digits + QString::number(ean8CheckDigit(digits));
    }
    const QString digits = QString::number(base);
    return digits + QString::number(ean13CheckDigit(digits));
}

QString BarcodeIssuer::issue(BarcodeKind kind)
{
    return *issueFree(kind, {}, 1);
}

std::optional<QString> BarcodeIssuer::issueFree(BarcodeKind kind, const Taken& taken, int maxTries)
{
    const QString column = counterColumn(kind);
    const BarcodeStandard standard = standardOf(kind);
    Transaction tx(m_db);
    const Rows rows = m_db.query(
        QStringLiteral("SELECT id, `%1` AS base FROM contatori ORDER BY id LIMIT 1 FOR UPDATE").arg(column));
    if (rows.isEmpty())
        throw DbError(QStringLiteral("La tabella dei contatori è vuota: impossibile generare il barcode"));
    const QString stored = rows.first()["base"].toString().trimmed();
    qint64 base = 0;
    if (stored.isEmpty()) {
        base = defaultBase(kind, standard).toLongLong();
    } else {
        bool ok = false;
        base = stored.toLongLong(&ok);
        if (!ok || base < 0)
            throw DbError(
                QStringLiteral(
                    "Il contatore %1 contiene \"%2\", che non è un numero intero: nessun barcode generato")
                    .arg(column, stored));
        ++base;
    }
    for (int attempt = 0; attempt < maxTries; ++attempt, ++base) {
        const QString barcode = barcodeOf(base, standard);
        if (taken && taken(barcode))
            continue;
        m_db.exec(QStringLiteral("UPDATE contatori SET `%1` = :BASE WHERE id = :ID").arg(column),
                  {{"BASE", QString::number(base)}, {"ID", rows.first()["id"].toInt()}});
        tx.commit();
        return barcode;
    }
    return std::nullopt;
}

QString BarcodeIssuer::repairTicketBarcode(const QString& current)
{
    if (!current.isEmpty()) {
        const Rows taken = m_db.query(
            QStringLiteral("SELECT barcodefull FROM riparazioni WHERE barcodefull = :CODICE LIMIT 1"),
            {{"CODICE", current}});
        if (taken.isEmpty())
            return current;
    }
    return issue(BarcodeKind::Assistenza);
}

namespace {

// Digits weigh firstWeight and 4 - firstWeight in turn from the left; the check digit brings the sum
// to a multiple of ten.
int checkDigit(QStringView digits, int firstWeight)
{
    if (digits.isEmpty())
        throw std::invalid_argument("empty barcode base");
    int sum = 0;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        const QChar c = digits[i];
        if (c < u'0' || c > u'9')
            throw std::invalid_argument("barcode base with a non-digit");
        sum += (c.unicode() - u'0') * (i % 2 == 0 ? firstWeight : 4 - firstWeight);
    }
    return (10 - sum % 10) % 10;
}

} // namespace

int ean13CheckDigit(QStringView digits)
{
    return checkDigit(digits, 1);
}

int ean8CheckDigit(QStringView digits)
{
    if (digits.size() != 7)
        throw std::invalid_argument("an EAN-8 base has seven digits");
    return checkDigit(digits, 3);
}

QString monthName(int month)
{
    static const char* const names[] = {"Gennaio",   "Febbraio", "Marzo",    "Aprile",
                                        "Maggio",    "Giugno",   "Luglio",   "Agosto",
                                        "Settembre", "Ottobre",  "Novembre", "Dicembre"};
    if (month < 1 || month > 12)
        throw std::out_of_range("month outside 1..12");
    return QString::fromLatin1(names[month - 1]);
}

} // namespace carvendo::core
