#include "foundation/LookupTables.h"

#include "core/OperatorPassword.h"
#include "foundation/EInvoiceCodes.h"

#include <QHash>

#include <stdexcept>

namespace carvendo::foundation {

namespace {

LookupColumn text(const QString& name, const QString& caption, int maxLength, bool required = false)
{
    LookupColumn column;
    column.name = name;
    column.caption = caption;
    column.maxLength = maxLength;
    column.required = required;
    return column;
}

LookupColumn integer(const QString& name, const QString& caption, bool required = false)
{
    LookupColumn column;
    column.name = name;
    column.caption = caption;
    column.kind = LookupKind::Integer;
    column.required = required;
    return column;
}

LookupColumn decimal(const QString& name, const QString& caption)
{
    LookupColumn column;
    column.name = name;
    column.caption = caption;
    column.kind = LookupKind::Decimal;
    return column;
}

LookupColumn flag(const QString& name, const QString& caption)
{
    LookupColumn column;
    column.name = name;
    column.caption = caption;
    column.kind = LookupKind::Flag;
    return column;
}

LookupColumn unique(LookupColumn column)
{
    column.unique = true;
    return column;
}

LookupColumn secret(LookupColumn column)
{
    column.secret = true;
    return column;
}

LookupColumn hashedPassword(LookupColumn column)
{
    column = secret(std::move(column));
    column.hashed = true;
    return column;
}

LookupColumn withChoices(LookupColumn column, const QStringList& choices)
{
    column.choices = choices;
    return column;
}

LookupColumn withCodes(LookupColumn column, const QList<CodeChoice>& codes)
{
    column.choices = codesOf(codes);
    column.choiceCaptions = captionsOf(codes);
    return column;
}

LookupColumn byCommand(LookupColumn column)
{
    column.inPlace = false;
    return column;
}

LookupColumn from(LookupColumn column, const QString& table, const QString& sourceColumn)
{
    column.choicesFrom = ChoiceSource{table, sourceColumn};
    return column;
}

QStringList numbered(const QString& prefix, int count)
{
    QStringList values;
    for (int i = 1; i <= count; ++i)
        values << prefix + QString::number(i);
    return values;
}

QList<LookupTable> buildDescriptions()
{
    const QString descrizione = QStringLiteral("Descrizione");
    const QString codice = QStringLiteral("Codice");
    QList<LookupTable> tables;

    tables << LookupTable{Lookup::Umv,
                          QStringLiteral("umv"),
                          QStringLiteral("id"),
                          {unique(text(descrizione, QStringLiteral("Unità di vendita"), 2, true)),
                           from(text(QStringLiteral("UMA"), QStringLiteral("Unità di acquisto"), 2),
                                QStringLiteral("uma"), descrizione)},
                          descrizione};
    tables << LookupTable{Lookup::Uma,
                          QStringLiteral("uma"),
                          QStringLiteral("id"),
                          {unique(text(descrizione, QStringLiteral("Unità di acquisto"), 2, true))},
                          descrizione,
                          {LookupReference{descrizione, QStringLiteral("umv"), QStringLiteral("UMA"),
                                           QStringLiteral("Impossibile eliminare: l'unità di acquisto è "
                                                          "associata a un'unità di vendita")}}};
    tables << LookupTable{
        Lookup::UnitaMisura,
        QStringLiteral("unitamisura"),
        QStringLiteral("idUnitaMisura"),
        {unique(text(QStringLiteral("Unita di misura"), QStringLiteral("Unità di misura"), 50, true))},
        QStringLiteral("Unita di misura")};
    tables << LookupTable{Lookup::CausaliGeneriche,
                          QStringLiteral("causaligeneriche"),
                          QStringLiteral("id"),
                          {text(codice, codice, 50),
                           text(QStringLiteral("Causale"), QStringLiteral("Causale"), 50, true),
                           text(QStringLiteral("Segno"), QStringLiteral("Segno"), 255),
                           text(QStringLiteral("tipomovimento"), QStringLiteral("Tipo movimento"), 255),
                           text(QStringLiteral("quantita"), QStringLiteral("Quantità"), 255),
                           text(QStringLiteral("tipoanagrafica"), QStringLiteral("Tipo anagrafica"), 255),
                           text(QStringLiteral("valore"), QStringLiteral("Valore"), 255)},
                          QStringLiteral("Causale")};
    tables << LookupTable{Lookup::BusinessArea,
                          QStringLiteral("businessarea"),
                          QStringLiteral("idBusiness"),
                          {text(descrizione, descrizione, 50, true), integer(codice, codice)},
                          descrizione};
    tables << LookupTable{
        Lookup::Iva,
        QStringLiteral("iva"),
        QStringLiteral("idIva"),
        {byCommand(integer(QStringLiteral("Iva"), QStringLiteral("Aliquota"), true)),
         byCommand(text(codice, codice, 50)), byCommand(text(QStringLiteral("Desc"), descrizione, 50, true)),
         withCodes(text(QStringLiteral("Natura"), QStringLiteral("Natura IVA"), 4), natureIva()),
         text(QStringLiteral("RiferimentoNormativo"), QStringLiteral("Riferimento normativo"), 100)},
        QStringLiteral("Iva"),
        {},
        {},
        {},
        [](const QVariantMap& row) {
            requireVatNature(row.value(QStringLiteral("Iva")), row.value(QStringLiteral("Natura")));
        }};
    tables << LookupTable{Lookup::Reparti,
                          QStringLiteral("reparti"),
                          QStringLiteral("idreparto"),
                          {text(QStringLiteral("descrizione"), descrizione, 50, true),
                           withChoices(text(QStringLiteral("reparto"), QStringLiteral("Reparto"), 20, true),
                                       numbered(QStringLiteral("REPARTO"), 10)),
                           from(integer(QStringLiteral("aliquota"), QStringLiteral("Aliquota"), true),
                                QStringLiteral("iva"), QStringLiteral("Iva"))},
                          QStringLiteral("idreparto")};
    tables << LookupTable{Lookup::ClassiMerce,
                          QStringLiteral("classimerce"),
                          QStringLiteral("idClasse"),
                          {text(codice, codice, 50), text(descrizione, descrizione, 50, true)},
                          descrizione};
    tables << LookupTable{
        Lookup::Categorie,
        QStringLiteral("categorie"),
        QStringLiteral("idCategoria"),
        {unique(text(QStringLiteral("CodCat"), codice, 50, true)), text(descrizione, descrizione, 50, true)},
        descrizione,
        {LookupReference{QStringLiteral("CodCat"), QStringLiteral("subcategorie"), QStringLiteral("CodCat"),
                         QStringLiteral("Impossibile eliminare la categoria: ha delle "
                                        "sotto-categorie")}}};
    tables << LookupTable{Lookup::SubCategorie,
                          QStringLiteral("subcategorie"),
                          QStringLiteral("idSubCat"),
                          {from(text(QStringLiteral("CodCat"), QStringLiteral("Categoria"), 50, true),
                                QStringLiteral("categorie"), QStringLiteral("CodCat")),
                           text(descrizione, descrizione, 50, true)},
                          descrizione};
    tables << LookupTable{Lookup::Generi,
                          QStringLiteral("generi"),
                          QStringLiteral("id"),
                          {text(QStringLiteral("Genere"), QStringLiteral("Genere"), 50, true)},
                          QStringLiteral("Genere")};
    tables << LookupTable{Lookup::Autori,
                          QStringLiteral("autori"),
                          QStringLiteral("id"),
                          {text(QStringLiteral("nome"), QStringLiteral("Nome"), 150, true),
                           text(QStringLiteral("nazionalita"), QStringLiteral("Nazionalità"), 150)},
                          QStringLiteral("nome")};
    tables << LookupTable{Lookup::Marchi,
                          QStringLiteral("marchi"),
                          QStringLiteral("IdMarche"),
                          {text(codice, codice, 50), text(descrizione, descrizione, 50, true)},
                          descrizione};
    tables << LookupTable{Lookup::Editori,
                          QStringLiteral("editori"),
                          QStringLiteral("id"),
                          {text(QStringLiteral("nome"), QStringLiteral("Nome"), 150, true),
                           text(QStringLiteral("nazionalita"), QStringLiteral("Nazionalità"), 150)},
                          QStringLiteral("nome")};
    tables << LookupTable{Lookup::Collane,
                          QStringLiteral("collane"),
                          QStringLiteral("id"),
                          {text(QStringLiteral("descrizione"), descrizione, 150, true)},
                          QStringLiteral("descrizione")};
    tables << LookupTable{Lookup::CatClienti,
                          QStringLiteral("catclienti"),
                          QStringLiteral("idCatCL"),
                          {text(QStringLiteral("Categoria"), QStringLiteral("Categoria"), 50, true),
                           withChoices(text(QStringLiteral("Listino"), QStringLiteral("Listino"), 50),
                                       numbered(QStringLiteral("LISTINO"), 3)),
                           integer(QStringLiteral("ScontoPerc"), QStringLiteral("Sconto %"))},
                          QStringLiteral("Categoria")};
    tables << LookupTable{Lookup::DefClienti,
                          QStringLiteral("defclienti"),
                          QStringLiteral("idDefCL"),
                          {text(QStringLiteral("Definizione"), QStringLiteral("Definizione"), 50, true)},
                          QStringLiteral("Definizione")};
    tables << LookupTable{
        Lookup::RitenuteAcconto,
        QStringLiteral("ritenute_acconto"),
        QStringLiteral("id"),
        {text(QStringLiteral("codice"), codice, 2, true),
         text(QStringLiteral("descrizione"), descrizione, 50),
         text(QStringLiteral("conto"), QStringLiteral("Conto"), 50),
         withCodes(text(QStringLiteral("causale"), QStringLiteral("Causale pagamento"), 5),
                   causaliPagamento()),
         decimal(QStringLiteral("percentuale"), QStringLiteral("Percentuale")),
         withCodes(text(QStringLiteral("TipoRitenuta"), QStringLiteral("Tipo ritenuta"), 4, true),
                   tipiRitenuta())},
        QStringLiteral("codice")};
    // Invoices and payment terms name a method by its description.
    tables << LookupTable{
        Lookup::ModalitaPagamenti,
        QStringLiteral("modalita_pagamenti"),
        QStringLiteral("id"),
        {unique(text(QStringLiteral("descrizione"), descrizione, 50, true)),
         withCodes(text(QStringLiteral("CodiceMP"), QStringLiteral("Codice fattura elettronica"), 4, true),
                   modalitaPagamento())},
        QStringLiteral("descrizione"),
        {LookupReference{QStringLiteral("descrizione"), QStringLiteral("pagamenti"),
                         QStringLiteral("modalita"),
                         QStringLiteral("Impossibile eliminare la modalità di pagamento: è "
                                        "usata da un termine di pagamento")}}};
    tables << LookupTable{Lookup::SuffissiDoc,
                          QStringLiteral("suffissi_doc"),
                          QStringLiteral("id"),
                          {unique(text(QStringLiteral("suffisso"), QStringLiteral("Suffisso"), 3))},
                          QStringLiteral("id")};
    tables << LookupTable{Lookup::Banche,
                          QStringLiteral("banche"),
                          QStringLiteral("idBanca"),
                          {text(descrizione, QStringLiteral("Banca"), 50, true),
                           text(codice, QStringLiteral("Iban"), 50),
                           text(QStringLiteral("Sede"), QStringLiteral("Filiale"), 50),
                           text(QStringLiteral("Indirizzo"), QStringLiteral("Indirizzo"), 50),
                           text(QStringLiteral("Cap"), QStringLiteral("Cap"), 50),
                           text(QStringLiteral("Citta"), QStringLiteral("Città"), 50),
                           text(QStringLiteral("Telefono"), QStringLiteral("Telefono"), 50),
                           text(QStringLiteral("email"), QStringLiteral("E-mail"), 50),
                           text(QStringLiteral("Fax"), QStringLiteral("Fax"), 50)},
                          descrizione};
    tables << LookupTable{Lookup::Utenti,
                          QStringLiteral("utenti"),
                          QStringLiteral("id"),
                          {text(QStringLiteral("nome"), QStringLiteral("Nome"), 50, true),
                           unique(text(QStringLiteral("username"), QStringLiteral("Username"), 50, true)),
                           hashedPassword(text(QStringLiteral("password"), QStringLiteral("Password"), 50)),
                           from(text(QStringLiteral("nomepermesso"), QStringLiteral("Gruppo"), 50, true),
                                QStringLiteral("gruppi"), QStringLiteral("descrizione")),
                           flag(QStringLiteral("Attivo"), QStringLiteral("Attivo")),
                           from(text(QStringLiteral("magazzino"), QStringLiteral("Magazzino"), 120, true),
                                QStringLiteral("magazzini"), descrizione)},
                          QStringLiteral("username")};
    tables << LookupTable{Lookup::Gruppi,
                          QStringLiteral("gruppi"),
                          QStringLiteral("id"),
                          {unique(text(QStringLiteral("descrizione"), descrizione, 50, true)),
                           flag(QStringLiteral("fatturazione"), QStringLiteral("Fatturazione")),
                           flag(QStringLiteral("ddt"), QStringLiteral("Ddt")),
                           flag(QStringLiteral("pos"), QStringLiteral("Pos")),
                           flag(QStringLiteral("scadenzario"), QStringLiteral("Scadenzario")),
                           flag(QStringLiteral("magazzino"), QStringLiteral("Magazzino")),
                           flag(QStringLiteral("carico"), QStringLiteral("Carico")),
                           flag(QStringLiteral("statistiche"), QStringLiteral("Statistiche")),
                           flag(QStringLiteral("cat"), QStringLiteral("Cat")),
                           flag(QStringLiteral("impostazioni"), QStringLiteral("Impostazioni")),
                           flag(QStringLiteral("ordini_clienti"), QStringLiteral("Ordini CL")),
                           flag(QStringLiteral("ordini_fornitori"), QStringLiteral("Ordini F")),
                           flag(QStringLiteral("planner"), QStringLiteral("Planner")),
                           flag(QStringLiteral("cancellazione"), QStringLiteral("Eliminazione")),
                           flag(QStringLiteral("fullaccess"), QStringLiteral("Admin"))},
                          QStringLiteral("descrizione"),
                          // Operators name their group: a renamed group keeps its operators, and a
                          // group still given to someone cannot go (they would lose every privilege).
                          {LookupReference{QStringLiteral("descrizione"), QStringLiteral("utenti"),
                                           QStringLiteral("nomepermesso"),
                                           QStringLiteral("Impossibile eliminare il gruppo: è assegnato ad "
                                                          "almeno un utente")}}};
    tables << LookupTable{Lookup::Report,
                          QStringLiteral("report"),
                          QStringLiteral("id"),
                          {text(QStringLiteral("NameMaster"), QStringLiteral("Report"), 50, true),
                           text(QStringLiteral("Name"), QStringLiteral("Nome"), 50),
                           text(QStringLiteral("Path"), QStringLiteral("Percorso"), 250)},
                          QStringLiteral("NameMaster")};

    // Sizes and colours. A size group is read by its name, which the items and the grid rows copy.
    tables << LookupTable{Lookup::Taglie,
                          QStringLiteral("taglie"),
                          QStringLiteral("id"),
                          {from(text(QStringLiteral("Gruppo_Taglia"), QStringLiteral("Gruppo taglie"), 50),
                                QStringLiteral("taglie_tc"), QStringLiteral("DESCRIZIONE")),
                           text(codice, codice, 50), text(descrizione, descrizione, 120, true)},
                          QStringLiteral("Gruppo_Taglia"),
                          {},
                          QStringLiteral("Eliminare la Taglia selezionata?")};
    tables << LookupTable{Lookup::Colori,
                          QStringLiteral("colori"),
                          QStringLiteral("id"),
                          {unique(text(descrizione, QStringLiteral("Colore"), 50, true)),
                           text(codice, codice, 50),
                           integer(QStringLiteral("Colore"), QStringLiteral("Valore colore"))},
                          descrizione,
                          {LookupReference{descrizione, QStringLiteral("disptc"), QStringLiteral("Colore"),
                                           QStringLiteral("Impossibile eliminare il colore: è presente nelle "
                                                          "disponibilità per taglia e colore")}},
                          QStringLiteral("Eliminare il Colore selezionato?")};
    QList<LookupColumn> sizeGroup{
        unique(text(QStringLiteral("DESCRIZIONE"), QStringLiteral("Gruppo taglie"), 50, true))};
    for (const QString& size : numbered(QStringLiteral("TG"), 30))
        sizeGroup << text(size, size, 4);
    tables << LookupTable{
        Lookup::TaglieTC,
        QStringLiteral("taglie_tc"),
        QStringLiteral("IDTAGLIA"),
        sizeGroup,
        QStringLiteral("DESCRIZIONE"),
        {LookupReference{
             QStringLiteral("DESCRIZIONE"), QStringLiteral("articoli"), QStringLiteral("GruppoTaglia"),
             QStringLiteral("Impossibile eliminare il gruppo taglie: è assegnato ad almeno un articolo")},
         LookupReference{
             QStringLiteral("DESCRIZIONE"), QStringLiteral("disptc"), QStringLiteral("Gruppo_taglia"),
             QStringLiteral("Impossibile eliminare il gruppo taglie: è presente nelle disponibilità per "
                            "taglia e colore")}},
        QStringLiteral("Eliminare il gruppo taglie selezionato?"),
        LookupListing{QStringLiteral("DESCRIZIONE"), QStringLiteral("gruppi_taglie"), descrizione}};
    return tables;
}

const QHash<int, LookupTable>& descriptions()
{
    static const QHash<int, LookupTable> byLookup = [] {
        QHash<int, LookupTable> map;
        for (const LookupTable& table : buildDescriptions())
            map.insert(int(table.lookup), table);
        return map;
    }();
    return byLookup;
}

// Names come from the descriptions only; the back-quotes allow the ones with blanks.
QString quoted(const QString& identifier)
{
    if (identifier.isEmpty() || identifier.contains(u'`'))
        throw std::logic_error("identificatore non valido");
    return u'`' + identifier + u'`';
}

QString fieldMessage(const char* pattern, const LookupColumn& column)
{
    return QString::fromUtf8(pattern).arg(column.caption);
}

bool isBlank(const QVariant& value)
{
    return value.isNull() || !value.isValid() || value.toString().trimmed().isEmpty();
}

QVariant normalizedValue(const LookupColumn& column, const QVariant& value)
{
    switch (column.kind) {
    case LookupKind::Flag:
        if (value.typeId() == QMetaType::QString) {
            const QString text = value.toString().trimmed().toLower();
            return (text == u"1" || text == u"true" || text == u"si" || text == u"sì") ? 1 : 0;
        }
        return value.toBool() ? 1 : 0;
    case LookupKind::Integer: {
        if (isBlank(value))
            return QVariant();
        bool ok = false;
        const int number = value.toString().trimmed().toInt(&ok);
        if (!ok)
            throw LookupError(fieldMessage("Il campo \"%1\" deve essere un numero intero", column));
        return number;
    }
    case LookupKind::Decimal: {
        if (isBlank(value))
            return QVariant();
        bool ok = false;
        const double number = value.toString().trimmed().replace(u',', u'.').toDouble(&ok);
        if (!ok)
            throw LookupError(fieldMessage("Il campo \"%1\" deve essere un numero", column));
        return number;
    }
    case LookupKind::Text:
        break;
    }
    const QString text = column.secret ? value.toString() : value.toString().trimmed();
    requireFits(column.caption, text, column.maxLength);
    if (!column.choices.isEmpty() && !text.isEmpty() && !column.choices.contains(text))
        throw LookupError(fieldMessage("Valore non valido per il campo \"%1\"", column));
    if (column.hashed)
        return core::OperatorPassword::hash(text);
    return text;
}

} // namespace

void requireVatNature(const QVariant& rate, const QVariant& nature)
{
    const bool zero = !isBlank(rate) && rate.toInt() == 0;
    const bool hasNature = !isBlank(nature);
    if (zero && !hasNature)
        throw LookupError(QStringLiteral("Per un'aliquota 0% indicare la natura IVA."));
    if (!zero && hasNature)
        throw LookupError(QStringLiteral("La natura IVA si indica solo per un'aliquota 0%."));
}

void requireFits(const QString& caption, const QString& value, int maxLength)
{
    if (maxLength > 0 && value.size() > maxLength)
        throw LookupError(QStringLiteral("Il campo \"%1\" può contenere al massimo %2 caratteri")
                              .arg(caption)
                              .arg(maxLength));
}

const LookupColumn* LookupTable::column(const QString& name) const
{
    for (const LookupColumn& candidate : columns)
        if (candidate.name.compare(name, Qt::CaseInsensitive) == 0)
            return &candidate;
    return nullptr;
}

const LookupTable& lookupTable(Lookup lookup)
{
    const auto found = descriptions().constFind(int(lookup));
    if (found == descriptions().constEnd())
        throw std::logic_error("elenco senza descrizione");
    return *found;
}

QList<Lookup> allLookups()
{
    QList<Lookup> lookups;
    for (const LookupTable& table : buildDescriptions())
        lookups << table.lookup;
    return lookups;
}

core::Rows LookupStore::load(Lookup lookup)
{
    const LookupTable& table = lookupTable(lookup);
    QStringList columns{quoted(table.key)};
    for (const LookupColumn& column : table.columns)
        // A hash is of no use to the window: the list shows the password empty until one is typed.
        columns << (column.hashed ? QStringLiteral("'' AS %1").arg(quoted(column.name))
                                  : quoted(column.name));
    return m_db.query(QStringLiteral("SELECT %1 FROM %2 ORDER BY %3, %4")
                          .arg(columns.join(QStringLiteral(", ")), quoted(table.table), quoted(table.orderBy),
                               quoted(table.key)));
}

QStringList LookupStore::choices(Lookup lookup, const QString& columnName)
{
    const LookupColumn* column = lookupTable(lookup).column(columnName);
    if (!column)
        throw std::invalid_argument("colonna sconosciuta");
    if (!column->choices.isEmpty())
        return column->choices;
    if (!column->choicesFrom)
        return {};
    const QString source = quoted(column->choicesFrom->column);
    const core::Rows rows =
        m_db.query(QStringLiteral("SELECT DISTINCT %1 FROM %2 WHERE %1 IS NOT NULL ORDER BY %1")
                       .arg(source, quoted(column->choicesFrom->table)));
    QStringList values;
    for (const core::Row& row : rows)
        values << row.at(0).toString();
    return values;
}

QVariantMap LookupStore::normalized(Lookup lookup, const QVariantMap& values, bool completeRow) const
{
    const LookupTable& table = lookupTable(lookup);
    QVariantMap result;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const LookupColumn* column = table.column(it.key());
        if (!column)
            throw std::invalid_argument("colonna sconosciuta: " + it.key().toStdString());
        result.insert(column->name, normalizedValue(*column, it.value()));
    }
    // Fields are checked in the order the form shows them: the first missing one is named.
    for (const LookupColumn& column : table.columns) {
        const bool given = result.contains(column.name);
        if (column.kind == LookupKind::Flag) {
            if (!given && completeRow)
                result.insert(column.name, 0);
            continue;
        }
        if (column.required && (given || completeRow) && isBlank(result.value(column.name)))
            throw LookupError(fieldMessage("Il campo \"%1\" è obbligatorio", column));
    }
    return result;
}

void LookupStore::checkUnique(const LookupTable& table, const QVariantMap& values, const QVariant& exceptKey)
{
    for (const LookupColumn& column : table.columns) {
        if (!column.unique || !values.contains(column.name))
            continue;
        QString sql = QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2 = :VALUE")
                          .arg(quoted(table.table), quoted(column.name));
        core::Params params{{QStringLiteral("VALUE"), values.value(column.name)}};
        if (exceptKey.isValid()) {
            sql += QStringLiteral(" AND %1 <> :KEY").arg(quoted(table.key));
            params.insert(QStringLiteral("KEY"), exceptKey);
        }
        if (m_db.scalar(sql, params).toInt() > 0)
            throw LookupError(QStringLiteral("Il valore \"%1\" del campo \"%2\" è già presente")
                                  .arg(values.value(column.name).toString(), column.caption));
    }
}

// The rule of the row is checked on the row as it will be: the stored one, locked so that another
// workstation's change of its other columns waits, with the changes over it.
void LookupStore::checkStoredRow(const LookupTable& table, const QVariant& key, const QVariantMap& changes)
{
    if (!table.rowRule)
        return;
    QStringList columns;
    for (const LookupColumn& column : table.columns)
        columns << quoted(column.name);
    const core::Rows stored =
        m_db.query(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = :KEY FOR UPDATE")
                       .arg(columns.join(QStringLiteral(", ")), quoted(table.table), quoted(table.key)),
                   {{QStringLiteral("KEY"), key}});
    if (stored.isEmpty())
        return;
    QVariantMap row;
    for (const LookupColumn& column : table.columns)
        row.insert(column.name, changes.contains(column.name) ? changes.value(column.name)
                                                              : stored.value(0, column.name).variant());
    table.rowRule(row);
}

qint64 LookupStore::add(Lookup lookup, const QVariantMap& values)
{
    const LookupTable& table = lookupTable(lookup);
    const QVariantMap row = normalized(lookup, values, true);
    checkUnique(table, row, QVariant());
    if (table.rowRule)
        table.rowRule(row);
    QStringList columns;
    QStringList placeholders;
    core::Params params;
    int index = 0;
    for (const LookupColumn& column : table.columns) {
        if (!row.contains(column.name))
            continue;
        const QString placeholder = QStringLiteral("V%1").arg(index++);
        columns << quoted(column.name);
        placeholders << u':' + placeholder;
        params.insert(placeholder, row.value(column.name));
    }
    core::Transaction transaction(m_db);
    m_db.exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                  .arg(quoted(table.table), columns.join(QStringLiteral(", ")),
                       placeholders.join(QStringLiteral(", "))),
              params);
    const qint64 key = m_db.lastInsertId();
    if (table.listedIn && row.contains(table.listedIn->sourceColumn))
        m_db.exec(QStringLiteral("INSERT INTO %1 (%2) SELECT :VALUE FROM DUAL WHERE NOT EXISTS "
                                 "(SELECT 1 FROM %1 WHERE %2 = :VALUE)")
                      .arg(quoted(table.listedIn->table), quoted(table.listedIn->column)),
                  {{QStringLiteral("VALUE"), row.value(table.listedIn->sourceColumn)}});
    transaction.commit();
    return key;
}

void LookupStore::update(Lookup lookup, const QVariant& key, const QVariantMap& values)
{
    const LookupTable& table = lookupTable(lookup);
    const QVariantMap row = normalized(lookup, values, false);
    if (row.isEmpty())
        return;
    checkUnique(table, row, key);

    QStringList assignments;
    core::Params params{{QStringLiteral("KEY"), key}};
    int index = 0;
    for (const LookupColumn& column : table.columns) {
        if (!row.contains(column.name))
            continue;
        const QString placeholder = QStringLiteral("V%1").arg(index++);
        assignments << QStringLiteral("%1 = :%2").arg(quoted(column.name), placeholder);
        params.insert(placeholder, row.value(column.name));
    }

    core::Transaction transaction(m_db);
    checkStoredRow(table, key, row);
    // The copies elsewhere follow a renamed value: read the old one before it goes.
    QList<LookupReference> followers = table.references;
    if (table.listedIn)
        followers << LookupReference{
            table.listedIn->sourceColumn, table.listedIn->table, table.listedIn->column, {}};
    QVariantMap oldValues;
    for (const LookupReference& reference : followers)
        if (row.contains(reference.sourceColumn))
            oldValues.insert(
                reference.sourceColumn,
                m_db.scalar(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = :KEY")
                                .arg(quoted(reference.sourceColumn), quoted(table.table), quoted(table.key)),
                            {{QStringLiteral("KEY"), key}})
                    .variant());
    m_db.exec(QStringLiteral("UPDATE %1 SET %2 WHERE %3 = :KEY")
                  .arg(quoted(table.table), assignments.join(QStringLiteral(", ")), quoted(table.key)),
              params);
    for (const LookupReference& reference : followers) {
        if (!oldValues.contains(reference.sourceColumn))
            continue;
        const QVariant oldValue = oldValues.value(reference.sourceColumn);
        const QVariant newValue = row.value(reference.sourceColumn);
        if (oldValue.isNull() || oldValue.toString() == newValue.toString())
            continue;
        m_db.exec(QStringLiteral("UPDATE %1 SET %2 = :NEWVALUE WHERE %2 = :OLDVALUE")
                      .arg(quoted(reference.table), quoted(reference.column)),
                  {{QStringLiteral("NEWVALUE"), newValue}, {QStringLiteral("OLDVALUE"), oldValue}});
    }
    transaction.commit();
}

void LookupStore::remove(Lookup lookup, const QVariant& key)
{
    const LookupTable& table = lookupTable(lookup);
    core::Transaction transaction(m_db);
    for (const LookupReference& reference : table.references) {
        const core::Field value =
            m_db.scalar(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = :KEY")
                            .arg(quoted(reference.sourceColumn), quoted(table.table), quoted(table.key)),
                        {{QStringLiteral("KEY"), key}});
        if (value.isNull())
            continue;
        const int uses = m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2 = :VALUE")
                                         .arg(quoted(reference.table), quoted(reference.column)),
                                     {{QStringLiteral("VALUE"), value.variant()}})
                             .toInt();
        if (uses > 0)
            throw LookupError(reference.inUseMessage);
    }
    if (table.listedIn) {
        const core::Field value = m_db.scalar(
            QStringLiteral("SELECT %1 FROM %2 WHERE %3 = :KEY")
                .arg(quoted(table.listedIn->sourceColumn), quoted(table.table), quoted(table.key)),
            {{QStringLiteral("KEY"), key}});
        m_db.exec(QStringLiteral("DELETE FROM %1 WHERE %2 = :VALUE")
                      .arg(quoted(table.listedIn->table), quoted(table.listedIn->column)),
                  {{QStringLiteral("VALUE"), value.variant()}});
    }
    m_db.exec(QStringLiteral("DELETE FROM %1 WHERE %2 = :KEY").arg(quoted(table.table), quoted(table.key)),
              {{QStringLiteral("KEY"), key}});
    transaction.commit();
}

} // namespace carvendo::foundation
