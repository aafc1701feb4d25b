#include "stock/serials/LotNumbering.h"

#include "core/Error.h"

namespace carvendo::stock {

namespace {

// Digits that fit a 64-bit counter with room to add any int count.
constexpr int kCountedDigits = 18;
// A lot is written in one transaction: a mistyped count must not tie the server up for minutes.
constexpr int kMaxLotSize = 100000;

core::Error refusal(const QString& text)
{
    return core::Error(text, core::Error::Kind::Refusal);
}

} // namespace

QStringList lotSerials(const QString& firstSerial, int count)
{
    const QString first = firstSerial.trimmed();
    if (count < 1)
        throw refusal(QStringLiteral("Attenzione! Il numero di seriali del lotto deve essere almeno 1."));
    if (count > kMaxLotSize)
        throw refusal(
            QStringLiteral("Attenzione! Un lotto può contenere al massimo %1 seriali.").arg(kMaxLotSize));
    qsizetype digitsFrom = first.size();
    while (digitsFrom > 0 && first.at(digitsFrom - 1).isDigit() && first.at(digitsFrom - 1).unicode() < 128)
        --digitsFrom;
    if (digitsFrom == first.size())
        throw refusal(QStringLiteral("Attenzione! Il primo seriale del lotto deve terminare con delle cifre "
                                     "da cui numerare i seriali successivi."));
    // Longer digit runs keep their leading digits as part of the fixed text.
    digitsFrom = std::max(digitsFrom, first.size() - kCountedDigits);
    const QString prefix = first.left(digitsFrom);
    const QString digits = first.mid(digitsFrom);
    const int width = int(digits.size());
    const qint64 start = digits.toLongLong();
    const qint64 last = start + count - 1;
    if (QString::number(last).size() > width)
        throw refusal(QStringLiteral("Attenzione! Il lotto supera le %1 cifre del primo seriale: l'ultimo "
                                     "seriale sarebbe %2%3.")
                          .arg(width)
                          .arg(prefix)
                          .arg(last));
    QStringList serials;
    serials.reserve(count);
    for (qint64 n = start; n <= last; ++n)
        serials.append(prefix + QStringLiteral("%1").arg(n, width, 10, QLatin1Char('0')));
    return serials;
}

} // namespace carvendo::stock
