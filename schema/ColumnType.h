#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace carvendo::schema {

// What information_schema.COLUMNS reports for a column. The optional parts are those that tell two types
// apart beyond DATA_TYPE: the length of text and binary columns, precision and scale of decimals.
struct InformationSchemaType
{
    QString dataType;                             // DATA_TYPE: "int", "varchar", "longtext", ...
    std::optional<qint64> characterMaximumLength; // CHARACTER_MAXIMUM_LENGTH
    std::optional<int> numericPrecision;          // NUMERIC_PRECISION
    std::optional<int> numericScale;              // NUMERIC_SCALE
    std::optional<QString> columnType;            // COLUMN_TYPE where the display width says what it is:
                                                  // "tinyint(1)" is what clients read as a flag

    bool operator==(const InformationSchemaType&) const = default;
};

// The type of a column as the table definitions name it ("integer", "string(50)", "decimal(11,2)", ...)
// and what it becomes on the server.
class ColumnType
{
public:
    enum class Kind
    {
        Integer,      // int(11)
        BigInteger,   // bigint(20)
        SmallInteger, // smallint(6)
        Float,        // double: money, quantities and percentages are kept in it
        Decimal,      // decimal(p,s)
        Boolean,      // tinyint(1) holding 0/1
        Date,
        DateTime,
        Time,
        String, // varchar(n)
        Memo,   // longtext
        Blob    // longblob: pictures, scanned receipts
    };

    // The written form; nullopt for anything else (unknown word, bad or missing length).
    static std::optional<ColumnType> parse(QStringView text);

    static ColumnType of(Kind kind) { return ColumnType(kind, 0, 0); }
    static ColumnType string(int length) { return ColumnType(Kind::String, length, 0); }
    static ColumnType decimal(int precision, int scale)
    {
        return ColumnType(Kind::Decimal, precision, scale);
    }

    Kind kind() const { return m_kind; }
    int length() const { return m_kind == Kind::String ? m_size : 0; }
    int precision() const { return m_kind == Kind::Decimal ? m_size : 0; }
    int scale() const { return m_scale; }
    bool isInteger() const;
    bool isNumeric() const; // integers, float, decimal and boolean: they default to 0

    QString name() const;    // as written in the definitions: "string(50)"
    QString sqlType() const; // as the server declares it: "varchar(50)"
    // The column's type and default: numbers "DEFAULT 0", everything else "DEFAULT NULL", so a row
    // inserted with only a few columns is accepted under strict mode. An identifier is
    // "NOT NULL AUTO_INCREMENT" instead.
    QString sqlDefinition(bool isKey = false) const;
    InformationSchemaType informationSchema() const;

    bool operator==(const ColumnType&) const = default;

private:
    ColumnType(Kind kind, int size, int scale) : m_kind(kind), m_size(size), m_scale(scale) {}

    Kind m_kind;
    int m_size;  // characters of a string, digits of a decimal
    int m_scale; // decimals of a decimal
};

} // namespace carvendo::schema
