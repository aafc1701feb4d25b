#include "bench/StockCatalogue.h"

#include "core/Db.h"

#include <stdexcept>

namespace carvendo::bench {

namespace {

void fill(core::Db& db, const QString& sql, const QString& table, qint64 expected)
{
    db.execDirect(sql);
    const qint64 rows = db.scalar(QStringLiteral("SELECT COUNT(*) FROM ") + table).toInt64();
    if (rows < expected)
        throw std::runtime_error(
            QStringLiteral("%1: %2 rows instead of %3").arg(table).arg(rows).arg(expected).toStdString());
}

} // namespace

QString generatedBarcode(int item)
{
    return QStringLiteral("80") + QString::number(item).rightJustified(11, QLatin1Char('0'));
}

QString generatedDescriptionPrefix()
{
    return QStringLiteral("Cavo USB");
}

void generateCatalogue(core::Db& db, const CatalogueSize& size)
{
    const QString items = QString::number(size.items);
    db.execDirect(QStringLiteral("SET SESSION unique_checks = 0"));

    fill(db,
         QStringLiteral(
             "INSERT INTO magazzini (idMagazzino, Descrizione, Let) "
             "SELECT seq, ELT(seq, 'SEDE', 'NEGOZIO', 'DEPOSITO', 'ESTERNO', 'FIERA'), CHAR(64 + seq) "
             "FROM seq_1_to_%1")
             .arg(size.warehouses),
         QStringLiteral("magazzini"), size.warehouses);

    fill(db,
         QStringLiteral("INSERT INTO fornitori (RagSoc) "
                        "SELECT CONCAT('Fornitore ', seq, ' S.r.l.') FROM seq_1_to_40"),
         QStringLiteral("fornitori"), 40);

    // Descriptions are "<kind> <brand> <model> <n>": a prefix such as "Cavo USB" matches a tenth of
    // a tenth of the catalogue, as a real search for a kind and a brand would.
    fill(
        db,
        QStringLiteral(
            "INSERT INTO articoli (CodArticolo, BarcodeFull, Barcode, Descrizione, Categoria, Fornitore, "
            "codartforn, "
            "UM, UMVENDITA, Aliquota, Tipologia, PrezzoAcqnoiva, PrezzoAcquisto, Pubblico, Listino2, "
            "Listino3, "
            "PrezzoVendnoiva, giacenza, Disponibilita, Scorta, Seriale, TC, Promozione) "
            "SELECT CONCAT('ART', LPAD(seq, 7, '0')), CONCAT('80', LPAD(seq, 11, '0')), "
            "CONCAT('80', LPAD(seq, 11, '0')), "
            "CONCAT(ELT(seq % 10 + 1, 'Cavo', 'Cover', 'Telefono', 'Caricatore', 'Pellicola', 'Auricolari', "
            "'Batteria', 'Custodia', 'Adattatore', 'Supporto'), ' ', "
            "ELT(FLOOR(seq / 10) % 10 + 1, 'USB', 'Samsung', 'Apple', 'Xiaomi', 'Huawei', 'Oppo', 'Nokia', "
            "'Motorola', 'Sony', 'LG'), ' mod. ', seq % 997, ' n. ', seq), "
            "ELT(seq % 10 + 1, 'CAVI', 'COVER', 'TELEFONIA', 'CARICATORI', 'PELLICOLE', 'AUDIO', 'BATTERIE', "
            "'CUSTODIE', 'ADATTATORI', 'SUPPORTI'), "
            "CONCAT('Fornitore ', seq % 40 + 1, ' S.r.l.'), CONCAT('F', seq), 'PZ', 'PZ', 22, 'PRODOTTI', "
            "ROUND(1 + (seq % 500) / 2, 2), ROUND((1 + (seq % 500) / 2) * 1.22, 2), "
            "ROUND((1 + (seq % 500) / 2) * 1.22 * 1.4, 2), ROUND((1 + (seq % 500) / 2) * 1.22 * 1.3, 2), "
            "ROUND((1 + (seq % 500) / 2) * 1.22 * 1.2, 2), ROUND((1 + (seq % 500) / 2) * 1.4, 2), "
            "CAST(seq % 30 AS SIGNED) - 3, CAST(seq % 30 AS SIGNED) - 3, seq % 7, 0, 0, 0 "
            "FROM seq_1_to_%1")
            .arg(items),
        QStringLiteral("articoli"), size.items);

    fill(db,
         QStringLiteral("INSERT INTO giacenze (idarticolo, idmagazzino, magazzino, giacenza, disponibilita) "
                        "SELECT a.ID, m.idMagazzino, m.Descrizione, (a.ID + m.idMagazzino) % 20 - 2, "
                        "(a.ID + m.idMagazzino) % 20 - 2 FROM articoli a CROSS JOIN magazzini m"),
         QStringLiteral("giacenze"), qint64(size.items) * size.warehouses);

    fill(db,
         QStringLiteral(
             "INSERT INTO venduti (idArticolo, idMagazzino, Magazzino, idDoc, TipoDoc, Codice, Descrizione, "
             "PrezzoVendita, PrezzoAcquisto, Anno, Mese, data, quantita, Operatore) "
             "SELECT s.seq % %1 + 1, s.seq % %2 + 1, 'SEDE', FLOOR(s.seq / 3), "
             "ELT(s.seq % 5 + 1, 'Pos', 'Fattura', 'Ddt', 'Ordine Cliente', 'Cat'), "
             "CONCAT('ART', LPAD(s.seq % %1 + 1, 7, '0')), 'Articolo venduto', 10 + s.seq % 90, 5 + s.seq % "
             "40, "
             "'2026', 'Gennaio', DATE '2025-01-01' + INTERVAL (s.seq % 700) DAY, 1 + s.seq % 3, 'admin' "
             "FROM seq_1_to_%3 s")
             .arg(items)
             .arg(size.warehouses)
             .arg(size.sales),
         QStringLiteral("venduti"), size.sales);

    fill(
        db,
        QStringLiteral(
            "INSERT INTO acquisti (idarticolo, idMagazzino, Magazzino, Fornitore, idFornitore, Data, "
            "DataDoc, "
            "Documento, NumDoc, codice, descrizione, um, aliquota, prezzoacquisto, quantita, anno, mese) "
            "SELECT s.seq % %1 + 1, s.seq % %2 + 1, 'SEDE', CONCAT('Fornitore ', s.seq % 40 + 1, ' S.r.l.'), "
            "s.seq % 40 + 1, TIMESTAMP '2025-01-01 09:00:00' + INTERVAL (s.seq % 700) DAY, "
            "TIMESTAMP '2025-01-01 00:00:00' + INTERVAL (s.seq % 700) DAY, 'Fattura', CONCAT('F', "
            "FLOOR(s.seq / 10)), "
            "CONCAT('ART', LPAD(s.seq % %1 + 1, 7, '0')), 'Articolo acquistato', 'PZ', 22, "
            "ROUND(1 + (s.seq % 500) / 2, 2), 2 + s.seq % 4, '2025', 'Gennaio' "
            "FROM seq_1_to_%3 s")
            .arg(items)
            .arg(size.warehouses)
            .arg(size.purchases),
        QStringLiteral("acquisti"), size.purchases);

    db.execDirect(QStringLiteral("SET SESSION unique_checks = 1"));
    for (const char* table : {"articoli", "giacenze", "venduti", "acquisti"})
        db.execDirect(QStringLiteral("ANALYZE TABLE ") + QString::fromLatin1(table));
}

void warmSalesIndexes(core::Db& db)
{
    const QVariant oldBlocksTime =
        db.scalar(QStringLiteral("SELECT @@GLOBAL.innodb_old_blocks_time")).toInt();
    db.execDirect(QStringLiteral("SET GLOBAL innodb_old_blocks_time = 0"));
    for (const char* sql : {"SELECT COUNT(*) FROM venduti FORCE INDEX (ix_idArticolo)",
                            "SELECT COUNT(*) FROM venduti FORCE INDEX (ix_idArticolo_idMagazzino)",
                            "SELECT COUNT(*) FROM giacenze FORCE INDEX (PRIMARY)",
                            "SELECT COUNT(*) FROM giacenze FORCE INDEX (ux_idarticolo_idmagazzino)",
                            "SELECT COUNT(*) FROM articoli FORCE INDEX (ix_BarcodeFull)"})
        db.scalar(QLatin1String(sql));
    db.exec(QStringLiteral("SET GLOBAL innodb_old_blocks_time = :MS"),
            {{QStringLiteral("MS"), oldBlocksTime}});
}

} // namespace carvendo::bench
