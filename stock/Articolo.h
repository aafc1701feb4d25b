#pragma once

#include "core/Numbering.h"
#include "core/RecordValues.h"
#include "core/Rows.h"
#include "stock/ItemSerials.h"
#include "stock/ItemSupplierRows.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

#include <optional>

namespace carvendo::core {
class Db;
class Dialogs;
class Navigator;
class Session;
} // namespace carvendo::core

namespace carvendo::stock {

// How the card shows and edits a column of `articoli`: whole numbers (VAT rate, discounts, the
// cost markup), four-decimal amounts and decimal percents, stock figures, texts...
using ItemColumnKind = core::ColumnKind;
using ItemColumn = core::RecordColumn;

// A classification the operator may extend from the card ("Nuova Categoria"): the lookup table,
// its description column, and the item column that copies the description.
enum class Classification
{
    ClasseMerc,
    Categoria,
    SubCategoria,
    Tipologia,
    Linea,
    Stagione,
    GruppoTaglia,
    Marchio // offered, not extended from the card
};

struct ClassificationTable
{
    Classification kind;
    QString itemColumn;
    QString table;
    QString column;
    int maxLength;
    QString newCaption; // the command that adds a value; empty when the card cannot add one
};

// The history tabs: the item's rows in the current warehouse.
enum class ItemHistory
{
    Vendite,
    Acquisti,
    Resi,
    Seriali,
    Giacenze
};

// The item card, shared by "TArticolo", "TAnagraficaArticolo" and "TAnagraficaArticoloLibr" (the
// latter with the book fields). It edits one `articoli` row: the row exists from the moment a new
// item is made, so a new card left with "Annulla" removes it again.
//
// Field edits are kept in memory until "Salva"; a price field's rule runs when the operator leaves
// it (enterField) and recomputes the fields that follow from it. Supplier rows, serials and the
// image's deletion questions act on the database at once, as the tabs of the card do.
class Articolo : public QObject
{
    Q_OBJECT

public:
    enum class Variant
    {
        Standard,
        Book
    };

    // How the card was opened: on an existing item, on one just made by ItemLifecycle (which leaving
    // removes again), or on one made from the serial window for a new serial, whose code and barcode
    // are looked up again on saving even when unchanged.
    enum class Opening
    {
        Existing,
        NewItem,
        NewItemOfSerial
    };
    // The caller name the serial window opens the card with.
    static QString serialWindowCaller() { return QStringLiteral("TSeriali"); }

    Articolo(core::Db& db, const core::Session& session, core::Dialogs& dialogs, core::Navigator& navigator,
             Variant variant = Variant::Standard, QObject* parent = nullptr);

    static const QList<ItemColumn>& columns();
    static const ItemColumn* column(const QString& name); // letter case ignored; nullptr when unknown
    static const QList<ClassificationTable>& classifications();
    static const ClassificationTable& classification(Classification kind);
    static QStringList bookColumns();

    // Opens the item. False, after telling the operator, when the item is gone.
    bool open(int idArticolo, Opening opening = Opening::Existing);

    int id() const { return m_id; }
    bool isNew() const { return m_isNew; }
    Variant variant() const { return m_variant; }
    QString exitCaption() const; // "Annulla" for a new item, else "Esci"

    // Values by column name (letter case ignored); an unknown column throws std::invalid_argument.
    QVariant value(const QString& column) const;
    const QVariantMap& values() const { return m_record.values(); }
    bool isModified() const { return m_record.isModified(); }
    // The field as the card shows it: amounts with a decimal comma ("15,86", "1,2345").
    QString text(const QString& column) const;

    // A plain edit: kept without running any rule. Stock figures and the key are not editable.
    void setValue(const QString& column, const QVariant& value);
    // The operator typed text into a field and left it (or pressed Enter): the text is taken ("," and
    // "." both decimal separators) and the field's price rule runs. False, with a message, when the
    // text is not a number; the field keeps its value.
    bool enterField(const QString& column, const QString& text);

    // The three price lists (1 writes `Pubblico`, 2 `Listino2`, 3 `Listino3`).
    void listPriceFromMarkup(int list);
    bool listMarkupFromPrice(int list);
    static QString listMarkupColumn(int list);
    static QString listPriceColumn(int list);

    // Choices that carry other fields with them.
    void chooseDepartment(int idreparto);
    void choosePurchaseUnit(const QString& unit);
    void chooseSupplier(const QString& name);
    void chooseSizeGroup(const QString& description);

    // What the choice lists offer.
    core::Rows departments() const;
    QStringList purchaseUnits() const;
    QStringList saleUnits() const; // of the current purchase unit
    QStringList suppliers() const;
    QStringList classificationValues(Classification kind) const;
    // "Nuova Categoria" and the like: asks the description and adds it in upper case. The new value,
    // now also the item's, or nullopt when nothing was added.
    std::optional<QString> addClassificationValue(Classification kind);

    // The size/colour grid applies: line, season and size group are enabled.
    bool sizeColourEnabled() const { return value(QStringLiteral("TC")).toBool(); }

    // Codes: "Genera" beside the code and the barcode, and the questions on leaving them empty.
    bool generateCode();
    bool generateBarcode();

    // The item's stock in every warehouse, and its size/colour grid (for an item by size and colour).
    void openStock();
    void openSizeColourGrid();
    // How generated barcodes are made (the shop's setting); EAN-13 unless set.
    void setBarcodeStandard(core::BarcodeStandard standard) { m_barcodeStandard = standard; }
    void leaveCodeField();
    void leaveBarcodeField();
    // The supplier's code must not be another item's: false (field cleared, message shown) if it is.
    bool leaveSupplierCodeField();

    // "Salva": the checks in order, then the changed columns written. False, with the reason shown,
    // when nothing was saved; failedField() tells where the focus goes.
    bool save();
    QString failedField() const { return m_failedField; }
    // Leaving the card: with unsaved changes (of the card, or edits in its tabs' grids) the operator
    // is asked first; a new item is removed. False when the operator chose to stay.
    bool leave(bool unsavedTabEdits = false);

    // Image.
    bool loadImage();
    bool deleteImage();
    QByteArray image() const { return value(QStringLiteral("Immagine")).toByteArray(); }

    // The supplier and serials tabs. A new supplier row starts from the card's description, cost and
    // VAT rate.
    ItemSupplierRows& supplierRows() { return m_supplierRows; }
    bool addSupplierRow();
    ItemSerials& serials() { return m_serials; }

    core::Rows history(ItemHistory which) const;

signals:
    void changed();

private:
    void put(const QString& column, const QVariant& value);
    core::Money money(const QString& column) const;
    int integer(const QString& column) const;
    void putMoney(const QString& column, core::Money value);
    void runRule(const QString& column);
    void applyDiscounts();
    void applySalePrice();
    void applyDepartment(const core::Row& department);
    bool refuseTaken(const QString& column, const QString& message, bool evenUnchanged);

    core::Db& m_db;
    const core::Session& m_session;
    core::Dialogs& m_dialogs;
    core::Navigator& m_navigator;
    Variant m_variant;
    core::BarcodeStandard m_barcodeStandard = core::BarcodeStandard::Ean13;
    int m_id = 0;
    bool m_isNew = false;
    bool m_recheckCodes = false; // made for a new serial
    core::RecordValues m_record;
    QString m_failedField;
    ItemSupplierRows m_supplierRows;
    ItemSerials m_serials;
};

} // namespace carvendo::stock
