#pragma once

#include "core/Db.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

#include <functional>
#include <optional>
#include <stdexcept>

namespace carvendo::foundation {

// The small tables the settings windows edit as lists. The enum is the allow-list: SQL is generated
// only from the fixed description of one of these, never from names given at run time.
enum class Lookup
{
    Umv, // sale units with their purchase unit
    Uma, // purchase units
    UnitaMisura,
    CausaliGeneriche, // stock movement reasons
    BusinessArea,     // business and geographic areas
    Iva,
    Reparti,
    ClassiMerce,
    Categorie,
    SubCategorie,
    Generi,
    Autori,
    Marchi,
    Editori,
    Collane,
    CatClienti,
    DefClienti,
    RitenuteAcconto,
    ModalitaPagamenti, // payment methods with their electronic invoice code
    SuffissiDoc,
    Banche,
    Utenti,
    Gruppi,
    Report,
    Taglie,   // single sizes
    Colori,   // colours of the size/colour grids
    TaglieTC, // size groups: a name and up to 30 size labels
};

enum class LookupKind
{
    Text,
    Integer,
    Decimal,
    Flag
};

// Values a column offers from another table's column (a list of sale units, groups, warehouses).
struct ChoiceSource
{
    QString table;
    QString column;
};

struct LookupColumn
{
    QString name;    // the column, as the table names it
    QString caption; // grid header and form label
    LookupKind kind = LookupKind::Text;
    int maxLength = 0; // characters the column holds; 0 for no limit
    bool required = false;
    bool unique = false;          // two rows may not hold the same value
    bool secret = false;          // shown masked (passwords)
    bool hashed = false;          // a password kept as its hash: never read back, the typed text is hashed
    QStringList choices{};        // fixed values; empty: free
    QStringList choiceCaptions{}; // what the lists show for each fixed value, when not the value itself
    bool inPlace = true;          // edited in the grid; false when a command of the window changes it
    std::optional<ChoiceSource> choicesFrom{};
};

// Another table that holds this table's values by copy: renaming follows them, and a value still in
// use there cannot be deleted.
struct LookupReference
{
    QString sourceColumn; // our column
    QString table;        // theirs
    QString column;
    QString inUseMessage; // why the row cannot be deleted
};

// Another table that lists this table's values for choosing (the item card's size groups): a new
// value is listed there too, a renamed one follows and a deleted one goes.
struct LookupListing
{
    QString sourceColumn; // our column
    QString table;        // theirs
    QString column;
};

struct LookupTable
{
    Lookup lookup;
    QString table;
    QString key;                 // the identifier the server numbers
    QList<LookupColumn> columns; // shown and edited, in order
    QString orderBy;             // a column of the table
    QList<LookupReference> references{};
    QString deleteQuestion{};                // asked before a row goes; a generic one when empty
    std::optional<LookupListing> listedIn{}; // kept in step with this table
    // A rule over the whole row as it will be stored (columns by their names); throws LookupError.
    std::function<void(const QVariantMap& row)> rowRule{};

    const LookupColumn* column(const QString& name) const; // by name ignoring case; nullptr if absent
};

// The description of each list.
const LookupTable& lookupTable(Lookup lookup);
QList<Lookup> allLookups();

// A value refused before reaching the database; message() is the text for the warning box.
class LookupError : public core::Error
{
public:
    explicit LookupError(const QString& message) : Error(message, Kind::Refusal) {}
};

// A VAT rate of 0% says why it carries no tax (its nature); a rate above 0 has none.
void requireVatNature(const QVariant& rate, const QVariant& nature);

// Refuses a text longer than its column holds, naming the field as the window shows it.
void requireFits(const QString& caption, const QString& value, int maxLength);

// Reads and writes the lists through one generic implementation: every value is bound, the table
// and column names come from the descriptions above.
class LookupStore
{
public:
    explicit LookupStore(core::Db& db) : m_db(db) {}

    // The key first, then the described columns, ordered as the description says.
    core::Rows load(Lookup lookup);
    // The distinct values a column may take from its source, sorted.
    QStringList choices(Lookup lookup, const QString& column);

    // Values by column name (any letter case); a column left out of add() stays empty. Values are
    // checked against the description first (LookupError), then written. add() returns the new key.
    qint64 add(Lookup lookup, const QVariantMap& values);
    void update(Lookup lookup, const QVariant& key, const QVariantMap& values);
    void remove(Lookup lookup, const QVariant& key);

    // The values as they will be stored, or LookupError naming the first field that is wrong.
    QVariantMap normalized(Lookup lookup, const QVariantMap& values, bool completeRow) const;

private:
    void checkUnique(const LookupTable& table, const QVariantMap& values, const QVariant& exceptKey);
    void checkStoredRow(const LookupTable& table, const QVariant& key, const QVariantMap& changes);

    core::Db& m_db;
};

} // namespace carvendo::foundation
