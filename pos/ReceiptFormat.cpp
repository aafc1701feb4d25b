#include "pos/ReceiptFormat.h"

#include "core/Error.h"

#include <QSet>

#include <iconv.h>

namespace carvendo::pos {

namespace {

// The text in Windows-1252; ok is false when a character has no byte there.
QByteArray convert(const QString& text, bool& ok)
{
    ok = true;
    const QByteArray utf8 = text.toUtf8();
    if (utf8.isEmpty())
        return {};
    iconv_t cd = iconv_open("WINDOWS-1252", "UTF-8");
    if (cd == iconv_t(-1)) {
        ok = false;
        return {};
    }
    QByteArray out(utf8.size(), Qt::Uninitialized); // never longer than the UTF-8 text
    char* in = const_cast<char*>(utf8.constData());
    size_t inLeft = size_t(utf8.size());
    char* outPtr = out.data();
    size_t outLeft = size_t(out.size());
    if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) == size_t(-1))
        ok = false;
    iconv_close(cd);
    out.resize(out.size() - qsizetype(outLeft));
    return out;
}

bool inWindows1252(char32_t codePoint)
{
    if (codePoint < 0x80)
        return true;
    // The characters of the 128 upper bytes, read once from iconv (the five bytes that
    // Windows-1252 leaves undefined give none).
    static const QSet<char32_t> upper = [] {
        QSet<char32_t> points;
        iconv_t cd = iconv_open("UTF-32LE", "WINDOWS-1252");
        if (cd == iconv_t(-1))
            return points;
        for (int b = 0x80; b <= 0xFF; ++b) {
            char in = char(b);
            char32_t out = 0;
            char* inPtr = &in;
            char* outPtr = reinterpret_cast<char*>(&out);
            size_t inLeft = 1;
            size_t outLeft = sizeof out;
            if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != size_t(-1))
                points.insert(out);
        }
        iconv_close(cd);
        return points;
    }();
    return upper.contains(codePoint);
}

} // namespace

QString receiptAmount(core::Money amount)
{
    QString text = amount.roundedTo(2, core::Rounding::HalfAwayFromZero).toItalian();
    text.remove(u',');
    text.remove(u'€');
    text.remove(u' ');
    return text;
}

qint64 receiptQuantity(double quantity)
{
    return core::Money::fromDouble(quantity).roundedTo(0, core::Rounding::HalfEven).units() /
           core::Money::Scale;
}

QString receiptText(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (char32_t c : text.toUcs4()) {
        if (c == U';' || c == U'\r' || c == U'\n')
            out.append(u' ');
        else if (inWindows1252(c))
            out.append(QString::fromUcs4(&c, 1));
        else
            out.append(u'?');
    }
    return out;
}

QByteArray toWindows1252(const QString& text)
{
    bool ok = false;
    QByteArray bytes = convert(text, ok);
    if (!ok)
        throw core::Error(
            QStringLiteral("Lo scontrino contiene caratteri che la stampante fiscale non può stampare."));
    return bytes;
}

} // namespace carvendo::pos
