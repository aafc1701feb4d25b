#include "foundation/DemoCompany.h"

#include "core/CompanyDatabase.h"
#include "core/CompanyDirectory.h"
#include "core/Paths.h"
#include "core/StoredProcedures.h"

namespace carvendo::foundation {

namespace {

void fillDemoData(core::Db& db)
{
    core::Transaction tx(db);
    db.exec(QStringLiteral("INSERT INTO magazzini (Descrizione, Sede, Citta, Predefinito) "
                           "VALUES ('MAGAZZINO CENTRALE', 'Via Roma 1', 'Milano', 1)"));
    const int warehouse = int(db.lastInsertId());
    struct Item
    {
        const char* code;
        const char* description;
        double cost;
        double price;
        int stock;
    };
    const Item items[] = {{"CAV-USBC", "Cavo USB-C 1 m", 2.10, 9.90, 25},
                          {"CUF-BT01", "Auricolari Bluetooth", 11.50, 29.90, 8},
                          {"PEL-6.1", "Pellicola vetro temperato 6,1\"", 0.80, 12.00, 40},
                          {"CAR-20W", "Caricatore rapido 20 W", 6.40, 19.90, 12}};
    for (const Item& item : items) {
        db.exec(
            QStringLiteral("INSERT INTO articoli (CodArticolo, Descrizione, UM, Aliquota, PrezzoAcqnoiva, "
                           "PrezzoVendita, Pubblico, giacenza, Disponibilita) "
                           "VALUES (:COD, :DESC, 'PZ', 22, :COSTO, :PREZZO, :PREZZO, :QTA, :QTA)"),
            {{"COD", QString::fromUtf8(item.code)},
             {"DESC", QString::fromUtf8(item.description)},
             {"COSTO", item.cost},
             {"PREZZO", item.price},
             {"QTA", item.stock}});
        core::StoredProcedures(db).caricoMagazzinoInsert(int(db.lastInsertId()), warehouse,
                                                         QStringLiteral("MAGAZZINO CENTRALE"), item.stock);
    }
    tx.commit();
}

} // namespace

int DemoCompany::prepare(const core::Paths& paths, const core::DirectorySettings& directory)
{
    core::Db server(directory.connection(false));
    server.open();
    core::CompanyDirectory::ensureDirectoryDatabase(server, directory.database);
    server.useDatabase(directory.database);

    core::CompanyDirectory companies(server);
    for (const core::Row row : companies.list())
        if (row[u"databasename"].toString() == QLatin1String(DatabaseName))
            return row[u"id"].toInt();

    core::Db maker(directory.connection(false));
    maker.open();
    core::createCompanyDatabase(maker, QString::fromLatin1(DatabaseName), paths.dbTemplate());
    fillDemoData(maker);

    core::CompanyRecord record;
    record.ragionesociale = QString::fromLatin1(Name);
    record.indirizzo = QStringLiteral("Via Roma 1");
    record.citta = QStringLiteral("Milano");
    record.cap = QStringLiteral("20121");
    record.host = directory.server;
    record.porta = directory.port;
    record.username = directory.username;
    record.password = directory.password;
    record.databasename = QString::fromLatin1(DatabaseName);
    return companies.save(record);
}

} // namespace carvendo::foundation
