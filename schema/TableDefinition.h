#pragma once

#include "schema/ColumnType.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace carvendo::schema {

// Which database a table belongs to.
enum class Placement
{
    Company,   // every company database
    Directory, // the company directory database
    Store      // the online store's own database: only read by the store link
};

struct ColumnDefinition
{
    QString name;
    ColumnType type = ColumnType::of(ColumnType::Kind::Integer);
    bool isKey = false; // the identifier the server numbers
    // A default of its own ("'RF01'", "2.00") where the type's default (0 or NULL) would not do:
    // rows inserted with few columns, and rows an upgrade adds the column to, start with it.
    QString defaultLiteral;

    // The type and default as CREATE TABLE and the upgrade declare them.
    QString sqlDefinition() const;
};

struct IndexDefinition
{
    QStringList columns;
    bool unique = false;

    // "ix_Anno_NumDoc", "ux_idarticolo_idmagazzino": derived from the columns, so that a database made from
    // the template and one brought up to date by the upgrade can be compared.
    QString name() const;
};

struct TableDefinition
{
    QString name;
    Placement placement = Placement::Company;
    QList<ColumnDefinition> columns;
    QList<IndexDefinition> indexes;

    // Column names ignore letter case, as the server does; nullptr when there is none.
    const ColumnDefinition* column(QStringView columnName) const;
    const ColumnDefinition* key() const;
    QStringList columnNames() const;

    // Bytes a row takes inside an InnoDB page when every column is full (long text and binary columns go
    // off-page). Above maxStrictInnoDbRowBytes a strict server refuses to create the table, though the
    // rows the program writes fit easily.
    int fullRowInlineBytes() const;
    bool fitsStrictInnoDbRowSize() const { return fullRowInlineBytes() <= maxStrictInnoDbRowBytes; }
    static constexpr int maxStrictInnoDbRowBytes = 8126; // half a 16 KiB page, less its bookkeeping
};

} // namespace carvendo::schema
