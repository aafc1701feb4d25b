#pragma once

#include "core/Money.h"

#include <QAnyStringView>
#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QTime>
#include <QVariant>

#include <memory>
#include <vector>

namespace carvendo::core {

// One value of a result row. Conversions never lose data silently: a double becomes Money by rounding
// half to even to four decimals, a DECIMAL column keeps its exact text until converted.
class Field
{
public:
    Field() = default;
    explicit Field(QVariant value) : m_value(std::move(value)) {}

    bool isNull() const { return m_value.isNull() || !m_value.isValid(); }
    const QVariant& variant() const { return m_value; }

    QString toString() const; // NULL -> ""
    int toInt() const;        // NULL -> 0
    qint64 toInt64() const;   // NULL -> 0
    double toDouble() const;  // NULL -> 0
    bool toBool() const;      // NULL -> false
    Money toMoney() const;    // NULL -> 0
    QDate toDate() const;     // NULL -> invalid date
    QDateTime toDateTime() const;
    QTime toTime() const;
    QByteArray toBytes() const;

private:
    QVariant m_value;
};

// The data of a result set, shared by the Rows and every Row taken from it.
struct ResultData
{
    QStringList columns;
    std::vector<QString> foldedColumns;
    std::vector<std::vector<QVariant>> data;

    int columnIndex(QAnyStringView column) const; // -1 when missing
    Field at(int row, int column) const;
};

// One row of a result; it keeps the result alive, so it may outlive the Rows it came from.
class Row
{
public:
    Row(std::shared_ptr<const ResultData> data, int index) : m_data(std::move(data)), m_index(index) {}

    Field operator[](QAnyStringView column) const { return value(column); }
    Field value(QAnyStringView column) const; // case-insensitive; an unknown column throws DbError
    Field at(int column) const { return m_data->at(m_index, column); }
    bool has(QAnyStringView column) const { return m_data->columnIndex(column) >= 0; }
    int index() const { return m_index; }

private:
    std::shared_ptr<const ResultData> m_data;
    int m_index;
};

// A fully fetched result set; copies share the data. Column lookup ignores letter case, as the
// server does.
class Rows
{
public:
    Rows();
    Rows(QStringList columns, std::vector<std::vector<QVariant>> data);

    int size() const { return int(m_data->data.size()); }
    bool isEmpty() const { return m_data->data.empty(); }
    int columnCount() const { return int(m_data->columns.size()); }
    const QStringList& columns() const { return m_data->columns; }
    int columnIndex(QAnyStringView column) const { return m_data->columnIndex(column); }

    Row operator[](int row) const { return Row(m_data, row); }
    Row first() const; // throws DbError when empty
    // The first count rows (all of them when there are fewer), sharing nothing with these.
    Rows head(int count) const;
    Field value(int row, QAnyStringView column) const { return Row(m_data, row).value(column); }
    Field at(int row, int column) const { return m_data->at(row, column); }

    class const_iterator
    {
    public:
        const_iterator(const Rows* rows, int index) : m_rows(rows), m_index(index) {}
        Row operator*() const { return (*m_rows)[m_index]; }
        const_iterator& operator++()
        {
            ++m_index;
            return *this;
        }
        bool operator!=(const const_iterator& other) const { return m_index != other.m_index; }
        bool operator==(const const_iterator& other) const { return m_index == other.m_index; }

    private:
        const Rows* m_rows;
        int m_index;
    };
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

private:
    std::shared_ptr<const ResultData> m_data;
};

} // namespace carvendo::core
