#include "stock/ItemCodes.h"

#include "core/Db.h"
#include "core/Numbering.h"

#include <QRandomGenerator>

namespace carvendo::stock {

const QString& ItemCodes::alphabet()
{
    static const QString letters = QStringLiteral("1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    return letters;
}

const QString& ItemCodes::firstBarcodeBase()
{
    static const QString base = QStringLiteral("800500100200");
    return base;
}

ItemCodes::ItemCodes(core::Db& db, RandomSource random) : m_db(db), m_random(std::move(random))
{
    if (!m_random)
        m_random = [](int bound) { return int(QRandomGenerator::global()->bounded(bound)); };
}

QString ItemCodes::codesExhaustedMessage()
{
    return QStringLiteral("Impossibile generare un codice articolo libero: inserire il codice a mano");
}

QString ItemCodes::barcodesExhaustedMessage()
{
    return QStringLiteral("Impossibile generare un barcode libero: inserire il barcode a mano");
}

bool ItemCodes::codeTaken(const QString& code)
{
    return !m_db.query(QStringLiteral("SELECT CodArticolo FROM articoli WHERE CodArticolo = :CODICE LIMIT 1"),
                       {{QStringLiteral("CODICE"), code}})
                .isEmpty();
}

bool ItemCodes::barcodeTaken(const QString& barcode)
{
    return !m_db.query(
                    QStringLiteral("SELECT BarcodeFull FROM articoli WHERE BarcodeFull = :BARCODE LIMIT 1"),
                    {{QStringLiteral("BARCODE"), barcode}})
                .isEmpty();
}

std::optional<QString> ItemCodes::newCode()
{
    const QString& letters = alphabet();
    for (int attempt = 0; attempt < MaxTries; ++attempt) {
        QString code;
        code.reserve(CodeLength);
        for (int i = 0; i < CodeLength; ++i)
            code += letters.at(m_random(int(letters.size())));
        if (!codeTaken(code))
            return code;
    }
    return std::nullopt;
}

std::optional<QString> ItemCodes::newBarcode()
{
    core::Transaction transaction(m_db);
    const core::Rows counter = m_db.query(
        QStringLiteral("SELECT id, BarcodeArticolo FROM contatori ORDER BY id LIMIT 1 FOR UPDATE"));
    if (counter.isEmpty())
        throw core::DbError(
            QStringLiteral("La tabella dei contatori è vuota: impossibile generare il barcode"));
    const QString stored = counter.first()["BarcodeArticolo"].toString().trimmed();

    qint64 base = 0;
    if (stored.isEmpty()) {
        base = firstBarcodeBase().toLongLong();
    } else {
        bool ok = false;
        base = stored.toLongLong(&ok);
        if (!ok || base < 0)
            throw core::DbError(
                QStringLiteral("Il contatore BarcodeArticolo contiene \"%1\", che non è un numero intero: "
                               "nessun barcode generato")
                    .arg(stored));
        ++base;
    }

    for (int attempt = 0; attempt < MaxTries; ++attempt, ++base) {
        const QString digits = QString::number(base);
        const QString barcode = digits + QString::number(core::ean13CheckDigit(digits));
        if (barcodeTaken(barcode))
            continue;
        m_db.exec(QStringLiteral("UPDATE contatori SET BarcodeArticolo = :BASE WHERE id = :ID"),
                  {{QStringLiteral("BASE"), digits}, {QStringLiteral("ID"), counter.first()["id"].toInt()}});
        transaction.commit();
        return barcode;
    }
    return std::nullopt;
}

} // namespace carvendo::stock
