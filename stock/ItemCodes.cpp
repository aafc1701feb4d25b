#include "stock/ItemCodes.h"

#include "core/Db.h"
#include "core/Numbering.h"
#include "stock/ItemCodeGuard.h"

#include <QRandomGenerator>

namespace carvendo::stock {

const QString& ItemCodes::alphabet()
{
    static const QString letters = QStringLiteral("1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    return letters;
}

ItemCodes::ItemCodes(core::Db& db, RandomSource random, core::BarcodeStandard standard)
    : m_db(db), m_random(std::move(random)), m_standard(standard)
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

std::optional<QString> ItemCodes::newCode()
{
    const QString& letters = alphabet();
    for (int attempt = 0; attempt < MaxTries; ++attempt) {
        QString code;
        code.reserve(CodeLength);
        for (int i = 0; i < CodeLength; ++i)
            code += letters.at(m_random(int(letters.size())));
        if (!ItemCodeGuard(m_db).taken(ItemCodeGuard::Column::CodArticolo, code))
            return code;
    }
    return std::nullopt;
}

std::optional<QString> ItemCodes::newBarcode()
{
    return core::BarcodeIssuer(m_db, m_standard)
        .issueFree(
            core::BarcodeKind::Articolo,
            [this](const QString& barcode) {
                return ItemCodeGuard(m_db).taken(ItemCodeGuard::Column::BarcodeFull, barcode);
            },
            MaxTries);
}

} // namespace carvendo::stock
