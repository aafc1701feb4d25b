#include "einvoice/FileText.h"

#include <QList>

namespace carvendo::einvoice {

namespace {

// The plain form of a character the field's set lacks; empty when there is none.
QString plainForm(uint c)
{
    switch (c) {
    case 0x2018:
    case 0x2019:
    case 0x201A:
    case 0x2032:
        return QStringLiteral("'");
    case 0x201C:
    case 0x201D:
    case 0x201E:
        return QStringLiteral("\"");
    case 0x2010:
    case 0x2011:
    case 0x2012:
    case 0x2013:
    case 0x2014:
        return QStringLiteral("-");
    case 0x2026:
        return QStringLiteral("...");
    case 0x20AC:
        return QStringLiteral("EUR");
    case 0x0152:
        return QStringLiteral("OE");
    case 0x0153:
        return QStringLiteral("oe");
    default:
        break;
    }
    const char32_t code = c;
    const QString decomposed = QString::fromUcs4(&code, 1).normalized(QString::NormalizationForm_KD);
    QString base;
    for (const QChar part : decomposed) {
        if (part.unicode() < 0x80)
            base += part;
    }
    return base;
}

QString reduced(const QString& text, int maxLength, uint highest)
{
    QString out;
    out.reserve(text.size());
    for (const uint c : text.toUcs4()) {
        if (c == u'\n' || c == u'\r' || c == u'\t')
            out += QLatin1Char(' ');
        else if (c < 0x20 || (c >= 0x7F && c < 0xA0))
            continue; // control characters carry nothing the reader sees
        else if (c <= highest)
            out += QChar(char16_t(c));
        else if (const QString plain = plainForm(c); !plain.isEmpty())
            out += plain;
        else
            out += QLatin1Char('?');
    }
    return out.simplified().left(maxLength).trimmed();
}

} // namespace

QString latinText(const QString& text, int maxLength)
{
    return reduced(text, maxLength, 0xFF);
}

QString asciiText(const QString& text, int maxLength)
{
    return reduced(text, maxLength, 0x7E);
}

QString fileAmount(core::Money amount, int minDecimals, int maxDecimals)
{
    const core::Money rounded = amount.roundedTo(std::min(maxDecimals, 4));
    QString text = rounded.toDecimalString(); // "1234.5000"
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    qsizetype keep = point + 1 + std::min(maxDecimals, 4);
    while (keep > point + 1 + minDecimals && text.at(keep - 1) == QLatin1Char('0'))
        --keep;
    text.truncate(keep);
    return text;
}

QString fileQuantity(double quantity)
{
    QString text = QString::number(quantity, 'f', 8);
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    qsizetype keep = text.size();
    while (keep > point + 3 && text.at(keep - 1) == QLatin1Char('0'))
        --keep;
    text.truncate(keep);
    return text;
}

QString fileRate(core::Money rate)
{
    return fileAmount(rate, 2, 2);
}

} // namespace carvendo::einvoice
