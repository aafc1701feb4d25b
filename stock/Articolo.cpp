#include "stock/Articolo.h"

#include "stock/ItemCodeGuard.h"
#include "stock/ItemCodes.h"
#include "stock/ItemLifecycle.h"
#include "stock/ItemPricing.h"
#include "stock/NumberFields.h"

#include "core/Db.h"
#include "core/Dialogs.h"
#include "core/Money.h"
#include "core/NamedLock.h"
#include "core/Navigator.h"
#include "core/Session.h"

#include <QFile>

#include <stdexcept>
#include <type_traits>

namespace carvendo::stock {

namespace {

using K = ItemColumnKind;

const QString ID = QStringLiteral("ID");
const QString CodArticolo = QStringLiteral("CodArticolo");
const QString BarcodeFull = QStringLiteral("BarcodeFull");
const QString CodArtForn = QStringLiteral("codartforn");
const QString Pubblico = QStringLiteral("Pubblico");
const QString Aliquota = QStringLiteral("Aliquota");
const QString PrezzoAcqnoiva = QStringLiteral("PrezzoAcqnoiva");
const QString PrezzoAcquisto = QStringLiteral("PrezzoAcquisto");
const QString PrezzoVendnoiva = QStringLiteral("PrezzoVendnoiva");
const QString Acquistoscontato = QStringLiteral("acquistoscontato");
const QString Scontoacq1 = QStringLiteral("scontoacq1");
const QString Scontoacq2 = QStringLiteral("scontoacq2");
const QString RicaricoPercent = QStringLiteral("Ricarico%");
const QString Utile = QStringLiteral("Utile");
const QString Immagine = QStringLiteral("Immagine");
const QString Tipofile = QStringLiteral("tipofile");
const QString Giacenza = QStringLiteral("giacenza");

QString p(const char* name)
{
    return QString::fromLatin1(name);
}

// A number typed into a field, or why it is refused: discounts and the VAT rate are whole percents,
// other whole-number fields hold no fraction and nothing beyond what the column holds, costs are
// not negative.
struct TypedNumber
{
    QVariant value;
    QString refusal;
};

template <typename T> TypedNumber typed(const std::optional<T>& number, const QString& refusal)
{
    if (!number)
        return {QVariant(), refusal};
    if constexpr (std::is_same_v<T, core::Money>)
        return {QVariant::fromValue(*number), {}};
    else
        return {QVariant(*number), {}};
}

TypedNumber typedNumber(const ItemColumn& column, const QString& text)
{
    using namespace NumberFields;
    const QString name = column.name.toLower();
    if (column.kind == K::Integer) {
        if (name.startsWith(QLatin1String("scontoacq")) || name == QLatin1String("sconto"))
            return typed(percent(text), discountRefusal());
        if (name == QLatin1String("aliquota"))
            return typed(percent(text), vatRefusal());
        return typed(wholeNumber(text), wholeNumberRefusal());
    }
    if (column.name == PrezzoAcqnoiva || column.name == PrezzoAcquisto)
        return typed(cost(text), costRefusal());
    return typed(amount(text), amountRefusal());
}

core::Params idParams(int id, const QString& name = QStringLiteral("IDARTICOLO"))
{
    return {{name, id}};
}

} // namespace

const QList<ItemColumn>& Articolo::columns()
{
    static const QList<ItemColumn> list = [] {
        QList<ItemColumn> out;
        auto add = [&out](ItemColumnKind kind, std::initializer_list<const char*> names, int maxLength = 0) {
            for (const char* name : names)
                out.append({QString::fromLatin1(name), kind, maxLength});
        };
        // The key, and the stock figures that the stock operations own, are never written by the card.
        out.append({ID, K::Integer, 0, true});
        add(K::Text,
            {"CodArticolo", "Categoria", "SubCategoria", "UM", "Fornitore", "CodFornitore", "Tipologia",
             "Linea", "ClasseMerc", "Stagione", "AliquotaDesc", "Marchio", "BarcodeFull", "tipofile",
             "reparto", "repartodesc"},
            50);
        add(K::Text, {"Barcode"}, 13);
        add(K::Text, {"Descrizione"}, 120);
        add(K::Text, {"NameBt", "NOTE", "codartforn"}, 255);
        add(K::Text, {"ETICHETTE"}, 5);
        add(K::Text, {"DataCreazione"}, 10);
        add(K::Text, {"UMVENDITA"}, 4);
        add(K::Text, {"misura"}, 20);
        add(K::Text, {"GruppoTaglia"}, 120);
        add(K::Text, {"genere", "editore", "autore", "collana", "isbn", "codiceproduttore"}, 150);
        add(K::Memo, {"TestoEsteso", "descrestesa"});
        add(K::Integer,
            {"Ricarico%", "Utile%", "Aliquota", "Sconto", "Carico", "BarcodeInt", "perc1", "perc2", "perc3",
             "scontoacq1", "scontoacq2", "scontoacq3", "IdPromozione", "idreparto", "idgruppoTaglia"});
        add(K::Money, {"PrezzoAcquisto", "Ricarico", "Utile", "PrezzoVendita", "PrezzoAcqnoiva",
                       "PrezzoVendnoiva", "Pubblico", "Listino1", "Listino2", "Listino3", "acquistoscontato",
                       "LastAcquisto", "PrezzoVendnoiva2", "PrezzoVendnoiva3", "RICARICO1", "RICARICO2",
                       "RICARICO3", "PorzValore", "promo_importo"});
        out.append({Giacenza, K::Quantity, 0, true});
        out.append({QStringLiteral("Disponibilita"), K::Quantity, 0, true});
        add(K::Quantity, {"Scorta"});
        add(K::Flag,
            {"TC", "Promozione", "Seriale", "Porzioni", "sottosc", "Ordinato", "attivo", "pubblicato",
             "obsoleto", "esente_iva", "punti", "vincolo", "vodafone_pack", "selezione"});
        add(K::Date, {"pubblicazione"});
        add(K::Blob, {"Immagine"});
        return out;
    }();
    return list;
}

const ItemColumn* Articolo::column(const QString& name)
{
    for (const ItemColumn& known : columns())
        if (known.name.compare(name, Qt::CaseInsensitive) == 0)
            return &known;
    return nullptr;
}

QStringList Articolo::bookColumns()
{
    return {p("genere"), p("editore"),          p("autore"),       p("collana"),
            p("isbn"),   p("codiceproduttore"), p("pubblicazione")};
}

const QList<ClassificationTable>& Articolo::classifications()
{
    static const QList<ClassificationTable> list{
        {Classification::ClasseMerc, p("ClasseMerc"), p("classimerce"), p("Descrizione"), 50,
         p("Nuova Classe Merceologica")},
        {Classification::Categoria, p("Categoria"), p("categorie"), p("Descrizione"), 50,
         p("Nuova Categoria")},
        {Classification::SubCategoria, p("SubCategoria"), p("subcategorie"), p("Descrizione"), 50,
         p("Nuova Sub-Categoria")},
        {Classification::Tipologia, p("Tipologia"), p("tipologie"), p("Tipologia"), 50, p("Nuova Tipologia")},
        {Classification::Linea, p("Linea"), p("linea"), p("Descrizione"), 20, p("Nuova linea")},
        {Classification::Stagione, p("Stagione"), p("stagioni"), p("Stagione"), 50, p("Nuova stagione")},
        {Classification::GruppoTaglia, p("GruppoTaglia"), p("gruppi_taglie"), p("Descrizione"), 50,
         p("Nuovo gruppo-taglia")},
        {Classification::Marchio, p("Marchio"), p("marchi"), p("Descrizione"), 50, QString()},
    };
    return list;
}

const ClassificationTable& Articolo::classification(Classification kind)
{
    for (const ClassificationTable& table : classifications())
        if (table.kind == kind)
            return table;
    throw std::invalid_argument("unknown classification");
}

Articolo::Articolo(core::Db& db, const core::Session& session, core::Dialogs& dialogs,
                   core::Navigator& navigator, Variant variant, QObject* parent)
    : QObject(parent), m_db(db), m_session(session), m_dialogs(dialogs), m_navigator(navigator),
      m_variant(variant), m_record(columns()), m_supplierRows(db, session, dialogs, navigator),
      m_serials(db, session, dialogs)
{
    // A deleted serial is a piece less: the card shows the stock mirror the database now holds, and
    // does not count it as an unsaved change.
    connect(&m_serials, &ItemSerials::stockMirrorChanged, this, [this](const QVariant& giacenza) {
        m_record.setStored(Giacenza, giacenza);
        emit changed();
    });
}

bool Articolo::open(int idArticolo, Opening opening)
{
    QStringList selected;
    for (const ItemColumn& known : columns())
        selected << QLatin1Char('`') + known.name + QLatin1Char('`');
    const core::Rows rows =
        m_db.query(QStringLiteral("SELECT %1 FROM articoli WHERE ID = :IDARTICOLO").arg(selected.join(u',')),
                   idParams(idArticolo));
    if (rows.isEmpty()) {
        m_dialogs.information(QStringLiteral("L'articolo selezionato non esiste più"));
        return false;
    }
    m_id = idArticolo;
    m_isNew = opening != Opening::Existing;
    m_recheckCodes = opening == Opening::NewItemOfSerial;
    m_record.load(rows.first());
    m_failedField.clear();
    emit changed();
    m_supplierRows.setItem(m_id);
    m_serials.setItem(m_id);
    return true;
}

QString Articolo::exitCaption() const
{
    return m_isNew ? QStringLiteral("Annulla") : QStringLiteral("Esci");
}

QVariant Articolo::value(const QString& name) const
{
    return m_record.value(name);
}

QString Articolo::text(const QString& name) const
{
    const ItemColumn* known = column(name);
    if (!known)
        throw std::invalid_argument("not an item column: " + name.toStdString());
    const QVariant current = m_record.value(known->name);
    if (current.isNull() || !current.isValid())
        return {};
    switch (known->kind) {
    case K::Money:
        return core::Money::fromDouble(current.toDouble()).toEditText();
    case K::Quantity:
        return core::formatQuantity(current.toDouble());
    case K::Date:
        return current.toDate().toString(QStringLiteral("dd/MM/yyyy"));
    case K::Blob:
        return {};
    default:
        return current.toString();
    }
}

void Articolo::put(const QString& name, const QVariant& newValue)
{
    m_record.set(name, newValue);
}

void Articolo::setValue(const QString& name, const QVariant& newValue)
{
    const ItemColumn* known = column(name);
    if (!known)
        throw std::invalid_argument("not an item column: " + name.toStdString());
    if (known->readOnly || !m_record.set(known->name, newValue))
        return;
    emit changed();
}

core::Money Articolo::money(const QString& name) const
{
    return core::Money::fromDouble(value(name).toDouble());
}

int Articolo::integer(const QString& name) const
{
    return value(name).toInt();
}

void Articolo::putMoney(const QString& name, core::Money amount)
{
    put(name, amount.toDouble());
}

bool Articolo::enterField(const QString& name, const QString& typed)
{
    const ItemColumn* known = column(name);
    if (!known)
        throw std::invalid_argument("not an item column: " + name.toStdString());
    if (known->readOnly)
        return false;
    if (known->kind == K::Money || known->kind == K::Quantity || known->kind == K::Integer) {
        const TypedNumber number = typedNumber(*known, typed);
        if (!number.refusal.isEmpty()) {
            m_dialogs.warning(number.refusal);
            emit changed();
            return false;
        }
        put(known->name, number.value);
    } else {
        put(known->name, typed);
    }
    runRule(known->name);
    emit changed();
    return true;
}

void Articolo::runRule(const QString& name)
{
    using namespace ItemPricing;
    const int aliquota = integer(Aliquota);
    if (name == PrezzoAcqnoiva) {
        putMoney(PrezzoAcquisto, costWithVat(money(PrezzoAcqnoiva), aliquota));
        applyDiscounts();
    } else if (name == Scontoacq1 || name == Scontoacq2) {
        applyDiscounts();
    } else if (name == RicaricoPercent) {
        putMoney(PrezzoVendnoiva, salePrice(money(PrezzoAcqnoiva), integer(RicaricoPercent)));
        applySalePrice();
    } else if (name == PrezzoVendnoiva) {
        applySalePrice();
    }
}

void Articolo::applyDiscounts()
{
    // Worked out again from the cost and both discounts, so no discount is lost while its field
    // still shows it, and a new cost moves the discounted one with it.
    putMoney(Acquistoscontato, ItemPricing::discountedCostColumn(money(PrezzoAcqnoiva), integer(Scontoacq1),
                                                                 integer(Scontoacq2)));
}

void Articolo::applySalePrice()
{
    const ItemPricing::SaleFigures figures =
        ItemPricing::saleFigures(money(PrezzoVendnoiva), money(PrezzoAcqnoiva), integer(Aliquota));
    putMoney(Pubblico, figures.pubblico);
    putMoney(Utile, figures.utile);
}

QString Articolo::listMarkupColumn(int list)
{
    if (list < 1 || list > 3)
        throw std::out_of_range("price list outside 1..3");
    return QStringLiteral("RICARICO%1").arg(list);
}

QString Articolo::listPriceColumn(int list)
{
    if (list < 1 || list > 3)
        throw std::out_of_range("price list outside 1..3");
    return list == 1 ? Pubblico : QStringLiteral("Listino%1").arg(list);
}

void Articolo::listPriceFromMarkup(int list)
{
    const core::Money base =
        ItemPricing::listCostBase(money(Acquistoscontato), money(PrezzoAcquisto), integer(Aliquota));
    putMoney(listPriceColumn(list), ItemPricing::listPrice(base, money(listMarkupColumn(list))));
    emit changed();
}

bool Articolo::listMarkupFromPrice(int list)
{
    const core::Money base =
        ItemPricing::listCostBase(money(Acquistoscontato), money(PrezzoAcquisto), integer(Aliquota));
    const std::optional<core::Money> markup = ItemPricing::listMarkup(money(listPriceColumn(list)), base);
    if (!markup) {
        m_dialogs.warning(
            QStringLiteral("Inserire il costo d'acquisto: senza costo non si calcola il ricarico"));
        return false;
    }
    putMoney(listMarkupColumn(list), *markup);
    emit changed();
    return true;
}

core::Rows Articolo::departments() const
{
    return m_db.query(
        QStringLiteral("SELECT idreparto, descrizione, reparto, aliquota FROM reparti ORDER BY idreparto"));
}

void Articolo::applyDepartment(const core::Row& department)
{
    put(Aliquota, department["aliquota"].toInt());
    put(QStringLiteral("idreparto"), department["idreparto"].toInt());
    put(QStringLiteral("reparto"), department["reparto"].toString());
    put(QStringLiteral("repartodesc"), department["descrizione"].toString());
}

void Articolo::chooseDepartment(int idreparto)
{
    const core::Rows department = m_db.query(
        QStringLiteral("SELECT idreparto, descrizione, reparto, aliquota FROM reparti WHERE idreparto = :ID"),
        {{QStringLiteral("ID"), idreparto}});
    if (department.isEmpty())
        return;
    applyDepartment(department.first());
    emit changed();
}

QStringList Articolo::purchaseUnits() const
{
    QStringList units;
    for (const core::Row& row : m_db.query(QStringLiteral("SELECT Descrizione FROM uma ORDER BY id")))
        units << row["Descrizione"].toString();
    return units;
}

QStringList Articolo::saleUnits() const
{
    QStringList units;
    for (const core::Row& row :
         m_db.query(QStringLiteral("SELECT Descrizione FROM umv WHERE UMA = :UMA ORDER BY id"),
                    {{QStringLiteral("UMA"), value(QStringLiteral("UM")).toString()}}))
        units << row["Descrizione"].toString();
    return units;
}

void Articolo::choosePurchaseUnit(const QString& unit)
{
    put(QStringLiteral("UM"), unit);
    // The sale unit belongs to the purchase unit: one of another unit cannot stay.
    const QStringList allowed = saleUnits();
    if (!allowed.isEmpty() && !allowed.contains(value(QStringLiteral("UMVENDITA")).toString()))
        put(QStringLiteral("UMVENDITA"), allowed.first());
    emit changed();
}

QStringList Articolo::suppliers() const
{
    QStringList names;
    for (const core::Row& row : m_db.query(
             QStringLiteral("SELECT DISTINCT RagSoc FROM fornitori WHERE RagSoc <> '' ORDER BY RagSoc")))
        names << row["RagSoc"].toString();
    return names;
}

void Articolo::chooseSupplier(const QString& name)
{
    put(QStringLiteral("Fornitore"), name);
    // The cost is this supplier's for this item; another item's cost of the same supplier says
    // nothing about this one.
    const core::Rows catalogue =
        m_db.query(QStringLiteral("SELECT Acquisto FROM articoli_fornitori WHERE Fornitore = :FORNITORE "
                                  "AND idArticolo = :IDARTICOLO ORDER BY id LIMIT 1"),
                   {{QStringLiteral("FORNITORE"), name}, {QStringLiteral("IDARTICOLO"), m_id}});
    if (!catalogue.isEmpty()) {
        const int aliquota = integer(Aliquota);
        putMoney(PrezzoAcqnoiva, catalogue.first()["Acquisto"].toMoney());
        putMoney(PrezzoAcquisto, ItemPricing::costWithVat(money(PrezzoAcqnoiva), aliquota));
        applyDiscounts();
        const core::Money base =
            ItemPricing::listCostBase(money(Acquistoscontato), money(PrezzoAcquisto), aliquota);
        putMoney(Pubblico, ItemPricing::listPrice(base, money(listMarkupColumn(1))));
    }
    emit changed();
}

void Articolo::chooseSizeGroup(const QString& description)
{
    put(QStringLiteral("GruppoTaglia"), description);
    const core::Field id = m_db.scalar(
        QStringLiteral("SELECT id FROM gruppi_taglie WHERE Descrizione = :DESCRIZIONE ORDER BY id LIMIT 1"),
        {{QStringLiteral("DESCRIZIONE"), description}});
    put(QStringLiteral("idgruppoTaglia"), id.isNull() ? QVariant() : QVariant(id.toInt()));
    emit changed();
}

QStringList Articolo::classificationValues(Classification kind) const
{
    const ClassificationTable& table = classification(kind);
    QStringList out;
    const QString sql =
        QStringLiteral("SELECT DISTINCT `%2` AS valore FROM `%1` WHERE `%2` <> '' ORDER BY `%2`")
            .arg(table.table, table.column);
    for (const core::Row& row : m_db.query(sql))
        out << row["valore"].toString();
    return out;
}

std::optional<QString> Articolo::addClassificationValue(Classification kind)
{
    const ClassificationTable& table = classification(kind);
    if (table.newCaption.isEmpty())
        return std::nullopt;
    const std::optional<QString> answer =
        m_dialogs.askText(table.newCaption, QStringLiteral("Inserire la descrizione"));
    if (!answer || answer->trimmed().isEmpty())
        return std::nullopt;
    const QString description = answer->trimmed().toUpper();
    if (description.size() > table.maxLength) {
        m_dialogs.warning(
            QStringLiteral("La descrizione può contenere al massimo %1 caratteri").arg(table.maxLength));
        return std::nullopt;
    }
    core::addLookupValue(m_db, table.table, table.column, description);
    if (kind == Classification::GruppoTaglia)
        chooseSizeGroup(description);
    else
        put(table.itemColumn, description);
    emit changed();
    return description;
}

bool Articolo::generateCode()
{
    const std::optional<QString> code = ItemCodes(m_db).newCode();
    if (!code) {
        m_dialogs.error(ItemCodes::codesExhaustedMessage());
        return false;
    }
    put(CodArticolo, *code);
    emit changed();
    return true;
}

bool Articolo::generateBarcode()
{
    const std::optional<QString> barcode = ItemCodes(m_db, {}, m_barcodeStandard).newBarcode();
    if (!barcode) {
        m_dialogs.error(ItemCodes::barcodesExhaustedMessage());
        return false;
    }
    put(BarcodeFull, *barcode);
    emit changed();
    return true;
}

void Articolo::openStock()
{
    m_navigator.open(QStringLiteral("TDisponibilita"), m_id, QStringLiteral("TArticolo"));
}

void Articolo::openSizeColourGrid()
{
    m_navigator.open(QStringLiteral("TDisponibilitaTC"), m_id, QStringLiteral("TArticolo"));
}

void Articolo::leaveCodeField()
{
    if (!value(CodArticolo).toString().trimmed().isEmpty())
        return;
    if (m_dialogs.confirm(
            QStringLiteral("ATTENZIONE CAMPO OBBLIGATORIO! Non è stato assegnato nessun codice a questo "
                           "articolo, vuoi generalo automaticamente?")))
        generateCode();
}

void Articolo::leaveBarcodeField()
{
    if (!value(BarcodeFull).toString().trimmed().isEmpty())
        return;
    if (m_dialogs.confirm(QStringLiteral(
            "Non è stato assegnato nessun barcode a questo articolo, vuoi generalo automaticamente?")))
        generateBarcode();
}

bool Articolo::leaveSupplierCodeField()
{
    const QString code = value(CodArtForn).toString().trimmed();
    if (code.isEmpty())
        return true;
    const bool taken =
        !m_db.query(QStringLiteral(
                        "SELECT codartforn FROM articoli WHERE codartforn = :CODICE AND ID <> :IDARTICOLO "
                        "LIMIT 1"),
                    {{QStringLiteral("CODICE"), code}, {QStringLiteral("IDARTICOLO"), m_id}})
             .isEmpty();
    if (!taken)
        return true;
    m_dialogs.warning(QStringLiteral("Codice già assegnato ad altro Fornitore!"));
    put(CodArtForn, QString());
    m_failedField = CodArtForn;
    emit changed();
    return false;
}

bool Articolo::refuseTaken(const QString& name, const QString& message, bool evenUnchanged)
{
    const QString current = value(name).toString().trimmed();
    if (current.isEmpty() || (!evenUnchanged && current == m_record.savedValue(name).toString().trimmed()))
        return false;
    const auto column =
        name == CodArticolo ? ItemCodeGuard::Column::CodArticolo : ItemCodeGuard::Column::BarcodeFull;
    if (!ItemCodeGuard(m_db).taken(column, current, m_id))
        return false;
    m_dialogs.warning(message);
    m_failedField = name;
    return true;
}

bool Articolo::save()
{
    m_failedField.clear();
    // The codes are checked and written under one lock, so two workstations cannot both give the
    // same code or barcode to two items.
    core::NamedLock lock(m_db, ItemCodeGuard::lockName());
    core::Transaction transaction(m_db);
    using Column = ItemCodeGuard::Column;
    if (refuseTaken(BarcodeFull, ItemCodeGuard::takenMessage(Column::BarcodeFull), m_recheckCodes) ||
        refuseTaken(CodArticolo, ItemCodeGuard::takenMessage(Column::CodArticolo), m_recheckCodes))
        return false;
    const QVariant pubblico = value(Pubblico);
    if (pubblico.isNull() || money(Pubblico).isZero()) {
        m_dialogs.warning(QStringLiteral("Attenzione! Inserire il prezzo al pubblico"));
        m_failedField = Pubblico;
        return false;
    }
    // Only what the card changed is written: a stock figure or a cost written meanwhile by another
    // window stays as it is.
    if (!core::writeChangedColumns(m_db, QStringLiteral("articoli"), ID, m_id, m_record)) {
        m_dialogs.error(QStringLiteral("L'articolo non esiste più: le modifiche non sono state salvate"));
        return false;
    }
    transaction.commit();
    m_record.markSaved();
    m_isNew = false;
    m_recheckCodes = false;
    emit changed();
    return true;
}

bool Articolo::leave(bool unsavedTabEdits)
{
    if ((isModified() || unsavedTabEdits) &&
        !m_dialogs.confirm(QStringLiteral(
            "Eventuali modifiche effettuate non saranno salvate. Vuoi uscire senza salvare ?")))
        return false;
    if (m_isNew) {
        ItemLifecycle(m_db).discardNew(m_id);
        m_isNew = false;
        m_id = 0;
    }
    m_record.discardChanges();
    return true;
}

bool Articolo::loadImage()
{
    const std::optional<QString> path =
        m_dialogs.chooseFile(QStringLiteral("Carica immagine"),
                             QStringLiteral("Immagini (*.bmp *.jpg *.jpeg)"), core::FileMode::Open);
    if (!path)
        return false;
    QFile file(*path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_dialogs.error(QStringLiteral("Impossibile leggere il file %1").arg(*path));
        return false;
    }
    const QByteArray bytes = file.readAll();
    QString kind;
    if (bytes.startsWith("BM"))
        kind = QStringLiteral("TBitmap");
    else if (bytes.startsWith("\xFF\xD8"))
        kind = QStringLiteral("TJPEGImage");
    if (kind.isEmpty()) {
        m_dialogs.warning(QStringLiteral("Formato non supportato: scegliere un'immagine BMP o JPEG"));
        return false;
    }
    put(Immagine, bytes);
    put(Tipofile, kind);
    emit changed();
    return true;
}

bool Articolo::deleteImage()
{
    if (image().isEmpty())
        return false;
    if (!m_dialogs.confirm(QStringLiteral("Sei sicuro di voler eliminare l'immagine?")))
        return false;
    put(Immagine, QVariant());
    put(Tipofile, QString());
    emit changed();
    return true;
}

bool Articolo::addSupplierRow()
{
    return m_supplierRows.add(
        {value(QStringLiteral("Descrizione")).toString(), money(PrezzoAcqnoiva), integer(Aliquota)});
}

core::Rows Articolo::history(ItemHistory which) const
{
    QString sql;
    switch (which) {
    case ItemHistory::Vendite:
        sql = QStringLiteral(
            "SELECT * FROM venduti WHERE idarticolo = :IDARTICOLO AND idmagazzino = :IDMAGAZZINO");
        break;
    case ItemHistory::Acquisti:
        sql = QStringLiteral(
            "SELECT * FROM acquisti WHERE idarticolo = :IDARTICOLO AND idmagazzino = :IDMAGAZZINO");
        break;
    case ItemHistory::Resi:
        sql = QStringLiteral(
            "SELECT * FROM dettreso WHERE idarticolo = :IDARTICOLO AND idmagazzino = :IDMAGAZZINO");
        break;
    case ItemHistory::Seriali:
        sql = QStringLiteral(
            "SELECT * FROM seriali WHERE idarticolo = :IDARTICOLO AND idmagazzino = :IDMAGAZZINO");
        break;
    case ItemHistory::Giacenze:
        sql = QStringLiteral(
            "SELECT * FROM giacenze WHERE idarticolo = :IDARTICOLO AND idmagazzino = :IDMAGAZZINO");
        break;
    }
    return m_db.query(sql, {{QStringLiteral("IDARTICOLO"), m_id},
                            {QStringLiteral("IDMAGAZZINO"), m_session.warehouse().id}});
}

} // namespace carvendo::stock
