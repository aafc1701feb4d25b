#include "stock/ItemSearch.h"

#include <initializer_list>
#include <stdexcept>

namespace carvendo::stock {

namespace {

QString fieldColumn(ItemField field)
{
    switch (field) {
    case ItemField::Descrizione:
        return QStringLiteral("a.Descrizione");
    case ItemField::Barcode:
        return QStringLiteral("a.BarcodeFull");
    case ItemField::Codice:
        return QStringLiteral("a.CodArticolo");
    case ItemField::CodiceFornitore:
        return QStringLiteral("a.CODARTFORN");
    }
    return QStringLiteral("a.Descrizione");
}

const QStringList& gridColumns()
{
    static const QStringList columns{
        QStringLiteral("ID"),          QStringLiteral("CodArticolo"), QStringLiteral("BarcodeFull"),
        QStringLiteral("Descrizione"), QStringLiteral("Categoria"),   QStringLiteral("Fornitore"),
        QStringLiteral("CODARTFORN"),  QStringLiteral("UM"),          QStringLiteral("PrezzoAcqnoiva"),
        QStringLiteral("Pubblico"),    QStringLiteral("Listino2"),    QStringLiteral("Listino3"),
        QStringLiteral("Aliquota"),    QStringLiteral("Giacenza"),    QStringLiteral("Disponibilita")};
    return columns;
}

// The select list of the grid: the item's columns and its stock row in the list's warehouse.
QString selectList()
{
    return QStringLiteral(
        "a.ID, a.CodArticolo, a.BarcodeFull, a.Descrizione, a.Categoria, a.Fornitore, "
        "a.CODARTFORN, a.UM, a.PrezzoAcqnoiva, a.Pubblico, a.Listino2, a.Listino3, a.Aliquota, "
        "g.giacenza AS Giacenza, g.disponibilita AS Disponibilita");
}

} // namespace

QString likePattern(const QString& text, bool anythingBefore, bool anythingAfter)
{
    QString escaped;
    escaped.reserve(text.size() + 4);
    if (anythingBefore)
        escaped += u'%';
    for (QChar c : text) {
        if (c == u'!' || c == u'%' || c == u'_')
            escaped += u'!';
        escaped += c;
    }
    if (anythingAfter)
        escaped += u'%';
    return escaped;
}

QStringList ItemSearch::modeCaptions()
{
    return {QStringLiteral("Inizia per..."), QStringLiteral("Esatta"), QStringLiteral("Parziale")};
}

QStringList ItemSearch::attributes()
{
    return {QStringLiteral("categoria"),       QStringLiteral("genere"),  QStringLiteral("editore"),
            QStringLiteral("autore"),          QStringLiteral("collana"), QStringLiteral("isbn"),
            QStringLiteral("codiceproduttore")};
}

const QStringList& ItemSearch::columns()
{
    return gridColumns();
}

const QStringList& ItemSearch::captions()
{
    static const QStringList captions{QStringLiteral("ID"),
                                      QStringLiteral("Codice"),
                                      QStringLiteral("Barcode"),
                                      QStringLiteral("Descrizione"),
                                      QStringLiteral("Categoria"),
                                      QStringLiteral("Fornitore"),
                                      QStringLiteral("Cod. Fornitore"),
                                      QStringLiteral("UM"),
                                      QStringLiteral("Acquisto"),
                                      QStringLiteral("Pubblico"),
                                      QStringLiteral("Listino 2"),
                                      QStringLiteral("Listino 3"),
                                      QStringLiteral("IVA"),
                                      QStringLiteral("Giacenza"),
                                      QStringLiteral("Disponibilità")};
    return captions;
}

void ItemSearch::setWarehouse(int idMagazzino)
{
    m_idMagazzino = idMagazzino;
    if (m_searched)
        refresh();
}

void ItemSearch::run(const QString& where, const core::Params& params)
{
    m_nothing = false;
    m_where = where;
    m_params = params;
    load(m_pageSize);
}

void ItemSearch::showAll()
{
    run({}, {});
}

void ItemSearch::byField(ItemField field, MatchMode mode, const QString& text)
{
    const QString value = text.trimmed();
    if (value.isEmpty()) {
        showAll();
        return;
    }
    const QString column = fieldColumn(field);
    switch (mode) {
    case MatchMode::Exact:
        run(QStringLiteral("WHERE %1 = :TESTO").arg(column), {{QStringLiteral("TESTO"), value}});
        return;
    case MatchMode::StartsWith:
    case MatchMode::Contains:
        run(QStringLiteral("WHERE %1 LIKE :TESTO ESCAPE '!'").arg(column),
            {{QStringLiteral("TESTO"), likePattern(value, mode == MatchMode::Contains, true)}});
        return;
    }
}

void ItemSearch::bySupplier(const QString& name)
{
    run(QStringLiteral("WHERE a.Fornitore = :FORNITORE"), {{QStringLiteral("FORNITORE"), name}});
}

void ItemSearch::byAttribute(const QString& attribute, const QString& value)
{
    const QString column = attribute.toLower();
    if (!attributes().contains(column))
        throw std::invalid_argument("not an attribute of the advanced item search");
    run(QStringLiteral("WHERE a.%1 = :VALORE").arg(column), {{QStringLiteral("VALORE"), value}});
}

void ItemSearch::byItem(int idArticolo)
{
    run(QStringLiteral("WHERE a.ID = :IDARTICOLO"), {{QStringLiteral("IDARTICOLO"), idArticolo}});
}

bool ItemSearch::bySerial(const QString& serial)
{
    const core::Field item = m_db.scalar(
        QStringLiteral(
            "SELECT idArticolo FROM seriali WHERE Seriale = :SERIALE AND idMagazzino = :IDMAGAZZINO "
            "ORDER BY ID DESC LIMIT 1"),
        {{QStringLiteral("SERIALE"), serial.trimmed()}, {QStringLiteral("IDMAGAZZINO"), m_idMagazzino}});
    if (item.isNull()) {
        showNothing();
        return false;
    }
    byItem(item.toInt());
    return true;
}

void ItemSearch::showNothing()
{
    m_nothing = true;
    m_where.clear();
    m_params.clear();
    m_rows = core::Rows(gridColumns(), {});
    m_hasMore = false;
}

core::Rows ItemSearch::fetch(core::Db& db, const Criteria& criteria, int limit, int offset)
{
    core::Params params = criteria.params;
    params.insert(QStringLiteral("IDMAGAZZINO"), criteria.idMagazzino);
    QString sql = QStringLiteral("SELECT %1 FROM articoli a LEFT JOIN giacenze g ON g.idarticolo = a.ID "
                                 "AND g.idmagazzino = :IDMAGAZZINO %2 ORDER BY a.Descrizione, a.ID")
                      .arg(selectList(), criteria.where);
    if (limit > 0) {
        sql += QStringLiteral(" LIMIT :QUANTI OFFSET :DA");
        params.insert(QStringLiteral("QUANTI"), limit);
        params.insert(QStringLiteral("DA"), offset);
    }
    return db.query(sql, params);
}

void ItemSearch::load(int limit)
{
    m_searched = true;
    if (m_nothing) {
        showNothing();
        return;
    }
    // One row more than asked tells whether another page follows.
    const core::Rows fetched = fetch(limit + 1, 0);
    m_hasMore = fetched.size() > limit;
    m_rows = m_hasMore ? fetched.head(limit) : fetched;
}

bool ItemSearch::loadMore()
{
    if (!m_hasMore)
        return false;
    const int loaded = m_rows.size();
    const core::Rows page = fetch(m_pageSize + 1, loaded);
    m_hasMore = page.size() > m_pageSize;
    const int taken = qMin(page.size(), m_pageSize);
    std::vector<std::vector<QVariant>> data;
    data.reserve(size_t(loaded + taken));
    for (const core::Rows* part : std::initializer_list<const core::Rows*>{&m_rows, &page}) {
        const int count = part == &m_rows ? loaded : taken;
        for (int r = 0; r < count; ++r) {
            std::vector<QVariant> row;
            row.reserve(size_t(part->columnCount()));
            for (int c = 0; c < part->columnCount(); ++c)
                row.push_back(part->at(r, c).variant());
            data.push_back(std::move(row));
        }
    }
    m_rows = core::Rows(page.columns(), std::move(data));
    return taken > 0;
}

void ItemSearch::refresh()
{
    load(qMax(m_rows.size(), m_pageSize));
}

int ItemSearch::rowOf(int idArticolo) const
{
    for (int r = 0; r < m_rows.size(); ++r)
        if (m_rows.at(r, 0).toInt() == idArticolo)
            return r;
    return -1;
}

int ItemSearch::setStock(int idArticolo, const QVariant& giacenza, const QVariant& disponibilita)
{
    const int target = rowOf(idArticolo);
    if (target < 0)
        return -1;
    const int giacenzaColumn = m_rows.columnIndex("Giacenza");
    const int disponibilitaColumn = m_rows.columnIndex("Disponibilita");
    std::vector<std::vector<QVariant>> data;
    data.reserve(size_t(m_rows.size()));
    for (int r = 0; r < m_rows.size(); ++r) {
        std::vector<QVariant> row;
        row.reserve(size_t(m_rows.columnCount()));
        for (int c = 0; c < m_rows.columnCount(); ++c)
            row.push_back(m_rows.at(r, c).variant());
        if (r == target) {
            row[size_t(giacenzaColumn)] = giacenza;
            row[size_t(disponibilitaColumn)] = disponibilita;
        }
        data.push_back(std::move(row));
    }
    m_rows = core::Rows(m_rows.columns(), std::move(data));
    return target;
}

core::Rows ItemSearch::allRows(core::Db& db, const Criteria& criteria)
{
    if (criteria.nothing)
        return core::Rows(gridColumns(), {});
    return fetch(db, criteria, 0, 0);
}

} // namespace carvendo::stock
