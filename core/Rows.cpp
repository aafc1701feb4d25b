#include "core/Rows.h"

#include <algorithm>

#include "core/DbError.h"

namespace carvendo::core {

namespace {

QString fold(QAnyStringView name)
{
    return name.toString().toCaseFolded();
}

// DECIMAL columns arrive as exact text ("-12.3400"); it becomes Money without going through double.
std::optional<Money> moneyFromDecimalText(const QString& text)
{
    QString digits = text.trimmed();
    if (digits.isEmpty())
        return std::nullopt;
    const bool negative = digits.startsWith(u'-');
    if (negative || digits.startsWith(u'+'))
        digits.remove(0, 1);
    const qsizetype dot = digits.indexOf(u'.');
    QString whole = dot < 0 ? digits : digits.left(dot);
    QString fraction = dot < 0 ? QString() : digits.mid(dot + 1);
    if (whole.isEmpty())
        whole = QStringLiteral("0");
    for (QChar c : whole + fraction)
        if (!c.isDigit())
            return std::nullopt;
    if (fraction.size() > 4) {
        // Server decimals with more than four places: let Money round them half to even.
        return Money::parse(text.trimmed());
    }
    fraction = fraction.leftJustified(4, u'0');
    bool okWhole = false, okFraction = false;
    const qint64 units = whole.toLongLong(&okWhole) * Money::Scale + fraction.toLongLong(&okFraction);
    if (!okWhole || !okFraction)
        return std::nullopt;
    return Money::fromUnits(negative ? -units : units);
}

} // namespace

QString Field::toString() const
{
    if (isNull())
        return {};
    switch (m_value.typeId()) {
    case QMetaType::QByteArray:
        return QString::fromUtf8(m_value.toByteArray());
    case QMetaType::QDate:
        return m_value.toDate().toString(QStringLiteral("dd/MM/yyyy"));
    case QMetaType::QDateTime:
        return m_value.toDateTime().toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
    case QMetaType::Double:
        return QString::number(m_value.toDouble(), 'g', 15);
    default:
        return m_value.toString();
    }
}

qint64 Field::toInt64() const
{
    if (isNull())
        return 0;
    switch (m_value.typeId()) {
    case QMetaType::Double:
        return qRound64(m_value.toDouble());
    case QMetaType::QString: {
        bool ok = false;
        const QString text = m_value.toString().trimmed();
        const qint64 v = text.toLongLong(&ok);
        if (ok)
            return v;
        const double d = text.toDouble(&ok);
        if (ok)
            return qRound64(d);
        throw DbError(QStringLiteral("Il valore '%1' non è un numero intero").arg(text));
    }
    default:
        return m_value.toLongLong();
    }
}

int Field::toInt() const
{
    return int(toInt64());
}

double Field::toDouble() const
{
    if (isNull())
        return 0.0;
    if (m_value.typeId() == QMetaType::QString) {
        bool ok = false;
        const double d = m_value.toString().trimmed().toDouble(&ok);
        if (!ok)
            throw DbError(QStringLiteral("Il valore '%1' non è un numero").arg(m_value.toString()));
        return d;
    }
    return m_value.toDouble();
}

bool Field::toBool() const
{
    if (isNull())
        return false;
    if (m_value.typeId() == QMetaType::QString) {
        const QString text = m_value.toString().trimmed();
        return !(text.isEmpty() || text == u"0" || text.compare(u"false", Qt::CaseInsensitive) == 0);
    }
    return m_value.toLongLong() != 0 || m_value.toDouble() != 0.0;
}

Money Field::toMoney() const
{
    if (isNull())
        return {};
    switch (m_value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return Money::fromDouble(m_value.toDouble());
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::ULongLong:
    case QMetaType::UInt:
        return Money::fromInt(m_value.toLongLong());
    default: {
        if (m_value.metaType() == QMetaType::fromType<Money>())
            return m_value.value<Money>();
        const auto money = moneyFromDecimalText(m_value.toString());
        if (!money)
            throw DbError(QStringLiteral("Il valore '%1' non è un importo").arg(m_value.toString()));
        return *money;
    }
    }
}

QDate Field::toDate() const
{
    if (isNull())
        return {};
    if (m_value.typeId() == QMetaType::QDateTime)
        return m_value.toDateTime().date();
    if (m_value.typeId() == QMetaType::QString) {
        // Documents also keep dates as "dd/MM/yyyy" text.
        const QString text = m_value.toString().trimmed();
        QDate d = QDate::fromString(text, QStringLiteral("dd/MM/yyyy"));
        if (!d.isValid())
            d = QDate::fromString(text.left(10), Qt::ISODate);
        return d;
    }
    return m_value.toDate();
}

QDateTime Field::toDateTime() const
{
    if (isNull())
        return {};
    if (m_value.typeId() == QMetaType::QDate)
        return m_value.toDate().startOfDay();
    return m_value.toDateTime();
}

QTime Field::toTime() const
{
    if (isNull())
        return {};
    if (m_value.typeId() == QMetaType::QDateTime)
        return m_value.toDateTime().time();
    return m_value.toTime();
}

QByteArray Field::toBytes() const
{
    if (isNull())
        return {};
    if (m_value.typeId() == QMetaType::QString)
        return m_value.toString().toUtf8();
    return m_value.toByteArray();
}

Rows::Rows() : m_data(std::make_shared<ResultData>()) {}

Rows::Rows(QStringList columns, std::vector<std::vector<QVariant>> data)
{
    auto d = std::make_shared<ResultData>();
    d->columns = std::move(columns);
    d->data = std::move(data);
    d->foldedColumns.reserve(size_t(d->columns.size()));
    for (const QString& c : d->columns)
        d->foldedColumns.push_back(fold(c));
    m_data = std::move(d);
}

int ResultData::columnIndex(QAnyStringView column) const
{
    const QString folded = fold(column);
    for (size_t i = 0; i < foldedColumns.size(); ++i)
        if (foldedColumns[i] == folded)
            return int(i);
    return -1;
}

Field ResultData::at(int row, int column) const
{
    if (row < 0 || row >= int(data.size()) || column < 0 || column >= int(columns.size()))
        throw DbError(
            QStringLiteral("Posizione fuori dal risultato: riga %1, colonna %2").arg(row).arg(column));
    return Field(data[size_t(row)][size_t(column)]);
}

Row Rows::first() const
{
    if (isEmpty())
        throw DbError(QStringLiteral("Nessun record trovato"));
    return Row(m_data, 0);
}

Rows Rows::head(int count) const
{
    const size_t kept = std::min(m_data->data.size(), size_t(std::max(count, 0)));
    return Rows(m_data->columns, {m_data->data.begin(), m_data->data.begin() + std::ptrdiff_t(kept)});
}

Field Row::value(QAnyStringView column) const
{
    const int index = m_data->columnIndex(column);
    if (index < 0)
        throw DbError(QStringLiteral("Colonna sconosciuta: %1").arg(column.toString()));
    return m_data->at(m_index, index);
}

} // namespace carvendo::core
