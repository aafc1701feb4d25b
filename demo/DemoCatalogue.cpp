#include "demo/DemoCatalogue.h"

#include "core/Db.h"
#include "core/Navigator.h"
#include "core/Numbering.h"
#include "core/Session.h"
#include "stock/Articolo.h"
#include "stock/ItemLifecycle.h"

namespace carvendo::demo {

namespace {

// Nothing opens from a card the demo fills.
class NoWindows final : public core::Navigator
{
protected:
    core::NavigationResult openWindow(const core::NavigationRequest&) override { return {}; }
};

core::Money euros(const char* text)
{
    return *core::Money::parse(QString::fromLatin1(text));
}

} // namespace

const std::vector<DemoItem>& DemoCatalogue::items()
{
    static const std::vector<DemoItem> all{
        {"CAV-USBC", "Cavo USB-C 1 m", "Accessori Mobile Spa", euros("2,10"), euros("9,90")},
        {"CUF-BT01", "Auricolari Bluetooth", "Accessori Mobile Spa", euros("11,50"), euros("29,90")},
        {"PEL-6.1", "Pellicola vetro temperato 6,1\"", "Accessori Mobile Spa", euros("0,80"), euros("12,00")},
        {"CAR-20W", "Caricatore rapido 20 W", "Accessori Mobile Spa", euros("6,40"), euros("19,90")},
        {"COV-SIL", "Cover in silicone", "Accessori Mobile Spa", euros("1,90"), euros("14,90")},
        {"SMP-65128", "Smartphone 6,5\" 128 GB", "Distribuzione Telefonia Srl", euros("189,00"),
         euros("299,00"), Tracking::Serial},
        {"SMP-61256", "Smartphone 6,1\" 256 GB", "Distribuzione Telefonia Srl", euros("520,00"),
         euros("799,00"), Tracking::Serial},
        {"FEL-CAP", "Felpa con cappuccio", "Moda Italia Srl", euros("12,00"), euros("39,90"),
         Tracking::SizeColour},
    };
    return all;
}

QStringList DemoCatalogue::suppliers()
{
    return {QStringLiteral("Accessori Mobile Spa"), QStringLiteral("Distribuzione Telefonia Srl"),
            QStringLiteral("Moda Italia Srl")};
}

QStringList DemoCatalogue::sizes()
{
    return {QStringLiteral("XS"), QStringLiteral("S"), QStringLiteral("M"), QStringLiteral("L"),
            QStringLiteral("XL")};
}

QStringList DemoCatalogue::colours()
{
    return {QStringLiteral("NERO"), QStringLiteral("BLU"), QStringLiteral("ROSSO")};
}

DemoCatalogue::DemoCatalogue(core::Db& db, const core::Session& session, core::Dialogs& dialogs)
    : m_db(db), m_session(session), m_dialogs(dialogs)
{
}

std::vector<int> DemoCatalogue::create()
{
    createSuppliers();
    createSizesAndColours();
    std::vector<int> keys;
    for (const DemoItem& item : items())
        keys.push_back(createItem(item));
    return keys;
}

void DemoCatalogue::createSuppliers()
{
    core::Transaction transaction(m_db);
    const QStringList cities{QStringLiteral("Milano"), QStringLiteral("Napoli"), QStringLiteral("Prato")};
    const QStringList vatNumbers{QStringLiteral("04812370155"), QStringLiteral("07128460933"),
                                 QStringLiteral("03256910781")};
    int city = 0;
    for (const QString& name : suppliers()) {
        const core::NumberReservation code(m_db, core::Series::CodiceFornitore);
        m_db.exec(
            QStringLiteral("INSERT INTO fornitori (Codice, RagSoc, CittaLeg, PIva) VALUES (:CODICE, :NOME, "
                           ":CITTA, :PIVA)"),
            {{QStringLiteral("CODICE"), QString::number(code.number())},
             {QStringLiteral("NOME"), name},
             {QStringLiteral("CITTA"), cities.value(city)},
             {QStringLiteral("PIVA"), vatNumbers.value(city)}});
        ++city;
    }
    transaction.commit();
}

void DemoCatalogue::createSizesAndColours()
{
    core::Transaction transaction(m_db);
    const QString group = QString::fromLatin1(SizeGroup);
    m_db.exec(QStringLiteral("INSERT INTO gruppi_taglie (Codice, Descrizione) VALUES ('ABB', :GRUPPO)"),
              {{QStringLiteral("GRUPPO"), group}});
    const QStringList labels = sizes();
    m_db.exec(QStringLiteral("INSERT INTO taglie_tc (DESCRIZIONE, TG1, TG2, TG3, TG4, TG5) "
                             "VALUES (:GRUPPO, :TG1, :TG2, :TG3, :TG4, :TG5)"),
              {{QStringLiteral("GRUPPO"), group},
               {QStringLiteral("TG1"), labels[0]},
               {QStringLiteral("TG2"), labels[1]},
               {QStringLiteral("TG3"), labels[2]},
               {QStringLiteral("TG4"), labels[3]},
               {QStringLiteral("TG5"), labels[4]}});
    for (const QString& size : labels)
        m_db.exec(QStringLiteral("INSERT INTO taglie (Gruppo_Taglia, Codice, Descrizione) VALUES (:GRUPPO, "
                                 ":TAGLIA, :TAGLIA)"),
                  {{QStringLiteral("GRUPPO"), group}, {QStringLiteral("TAGLIA"), size}});
    const int values[] = {0x000000, 0x1F3A93, 0xC0392B};
    const QStringList names = colours();
    for (int i = 0; i < names.size(); ++i)
        m_db.exec(QStringLiteral("INSERT INTO colori (Descrizione, Colore, Codice) VALUES (:NOME, :VALORE, "
                                 ":CODICE)"),
                  {{QStringLiteral("NOME"), names[i]},
                   {QStringLiteral("VALORE"), values[i]},
                   {QStringLiteral("CODICE"), names[i].left(3)}});
    transaction.commit();
}

int DemoCatalogue::createItem(const DemoItem& item)
{
    const int id = stock::ItemLifecycle(m_db).createNew(m_session.warehouse());
    NoWindows navigator;
    stock::Articolo card(m_db, m_session, m_dialogs, navigator);
    card.open(id, stock::Articolo::Opening::NewItem);
    card.setValue(QStringLiteral("CodArticolo"), item.code);
    card.setValue(QStringLiteral("Descrizione"), item.description);
    card.chooseSupplier(item.supplier);
    card.enterField(QStringLiteral("PrezzoAcqnoiva"), item.cost.toEditText());
    // The sale price excluding VAT that gives the public price the shop wants: the card works out
    // the public price and the margin from it, as when it is typed.
    const core::Money withVat = core::Money::fromInt(100 + card.value(QStringLiteral("Aliquota")).toInt());
    card.enterField(QStringLiteral("PrezzoVendnoiva"),
                    item.pubblico.multipliedBy(100).dividedBy(withVat).toEditText());
    card.generateBarcode();
    if (item.tracking == Tracking::Serial)
        card.setValue(QStringLiteral("Seriale"), true);
    if (item.tracking == Tracking::SizeColour) {
        card.setValue(QStringLiteral("TC"), true);
        card.chooseSizeGroup(QString::fromLatin1(SizeGroup));
    }
    card.save();
    return id;
}

} // namespace carvendo::demo
