#include "Articolo.h"

#include "ItemLifecycle.h"

#include "Db.h"
#include "Privileges.h"
#include "QtPrinters.h"
#include "RecordingNavigator.h"
#include "ScriptedDialogs.h"
#include "Session.h"
#include "TestDatabase.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace carvendo;
namespace ct = carvendo::testing;
using ct::DialogEvent;
using stock::Articolo;

namespace {

const QString LeaveQuestion =
    QStringLiteral("Eventuali modifiche effettuate non saranno salvate. Vuoi uscire senza salvare ?");

class ArticoloTest : public ct::CompanySuite<ArticoloTest>
{
protected:
    void SetUp() override
    {
        for (const char* table : {"articoli", "giacenze", "magazzini", "articoli_fornitori", "fornitori", "seriali",
                                  "carichi", "venduti", "categorie", "linea", "gruppi_taglie"})
            db().exec(QStringLiteral("DELETE FROM ") + QString::fromLatin1(table));
        db().exec(QStringLiteral("UPDATE contatori SET BarcodeArticolo = ''"));
        db().exec(QStringLiteral("INSERT INTO magazzini (Descrizione) VALUES ('MAGAZZINO CENTRALE')"));
        m_warehouse = {int(db().lastInsertId()), QStringLiteral("MAGAZZINO CENTRALE")};
        core::Privileges all;
        all.set(core::Privilege::FullAccess, true);
        core::Operator admin;
        admin.id = 1;
        admin.nome = QStringLiteral("Admin");
        m_session.logIn(admin, m_warehouse, all);
    }

    core::Db& db() { return company().db(); }
    int count(const QString& sql, const core::Params& params = {}) { return db().scalar(sql, params).toInt(); }

    int addItem(const QString& code, const QString& barcode, double pubblico = 10)
    {
        db().exec(QStringLiteral("INSERT INTO articoli (CodArticolo, BarcodeFull, Descrizione, Pubblico, Aliquota, "
                                 "giacenza) VALUES (:C, :B, :C, :P, 22, 3)"),
                  {{QStringLiteral("C"), code}, {QStringLiteral("B"), barcode}, {QStringLiteral("P"), pubblico}});
        return int(db().lastInsertId());
    }

    core::Field stored(int id, const QString& column)
    {
        return db().scalar(QStringLiteral("SELECT `%1` FROM articoli WHERE ID = :ID").arg(column),
                           {{QStringLiteral("ID"), id}});
    }

    core::Money money(const QString& column) { return core::Money::fromDouble(m_card.value(column).toDouble()); }
    static core::Money m(const char* text) { return *core::Money::parse(QString::fromLatin1(text)); }

    core::Warehouse m_warehouse;
    core::Session m_session;
    ct::ScriptedDialogs m_dialogs;
    ct::RecordingNavigator m_navigator;
    Articolo m_card{company().db(), m_session, m_dialogs, m_navigator};
};

TEST_F(ArticoloTest, ANewItemLeftWithAnnullaLeavesNothing)
{
    const int id = stock::ItemLifecycle(db()).createNew(m_warehouse);
    ASSERT_TRUE(m_card.open(id, true));
    EXPECT_EQ(m_card.exitCaption(), QStringLiteral("Annulla"));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM giacenze WHERE idarticolo = :ID"), {{QStringLiteral("ID"), id}}), 1);

    m_card.setValue(QStringLiteral("Descrizione"), QStringLiteral("CAVO USB"));
    m_dialogs.answerConfirm(false);
    EXPECT_FALSE(m_card.leave()) << "No: the card stays";
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM articoli")), 1);

    m_dialogs.answerConfirm(true);
    EXPECT_TRUE(m_card.leave());
    EXPECT_EQ(m_dialogs.texts(DialogEvent::Kind::Confirm), (QStringList{LeaveQuestion, LeaveQuestion}));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM articoli")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM giacenze")), 0);
}

TEST_F(ArticoloTest, ASavedNewItemStaysAndAnExistingItemIsNeverRemovedOnLeaving)
{
    const int id = stock::ItemLifecycle(db()).createNew(m_warehouse);
    ASSERT_TRUE(m_card.open(id, true));
    ASSERT_TRUE(m_card.enterField(QStringLiteral("Pubblico"), QStringLiteral("9,90")));
    ASSERT_TRUE(m_card.save()) << m_dialogs.lastText().toStdString();
    EXPECT_EQ(m_card.exitCaption(), QStringLiteral("Esci"));
    EXPECT_TRUE(m_card.leave());
    EXPECT_EQ(stored(id, QStringLiteral("Pubblico")).toMoney(), m("9.90"));

    ASSERT_TRUE(m_card.open(id));
    EXPECT_TRUE(m_card.leave());
    EXPECT_TRUE(m_dialogs.events().empty());
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM articoli")), 1);
}

TEST_F(ArticoloTest, TheDepartmentSetsTheVatRate)
{
    const int id = stock::ItemLifecycle(db()).createNew(m_warehouse);
    ASSERT_TRUE(m_card.open(id, true));
    EXPECT_EQ(m_card.value(QStringLiteral("Aliquota")).toInt(), 22) << "the first department's rate, not 21";
    EXPECT_EQ(m_card.value(QStringLiteral("repartodesc")).toString(), QStringLiteral("REPARTO1"));

    const struct
    {
        int idreparto;
        int aliquota;
        const char* reparto;
    } departments[] = {{3, 4, "REPARTO3"}, {2, 10, "REPARTO2"}, {5, 0, "REPARTO5"}};
    for (const auto& department : departments) {
        m_card.chooseDepartment(department.idreparto);
        EXPECT_EQ(m_card.value(QStringLiteral("Aliquota")).toInt(), department.aliquota);
        EXPECT_EQ(m_card.value(QStringLiteral("idreparto")).toInt(), department.idreparto);
        EXPECT_EQ(m_card.value(QStringLiteral("reparto")).toString(), QString::fromLatin1(department.reparto));
        EXPECT_EQ(m_card.value(QStringLiteral("repartodesc")).toString(), QString::fromLatin1(department.reparto));
    }
    m_card.setValue(QStringLiteral("Pubblico"), 5.0);
    ASSERT_TRUE(m_card.save());
    EXPECT_EQ(stored(id, QStringLiteral("Aliquota")).toInt(), 0);
    EXPECT_EQ(stored(id, QStringLiteral("idreparto")).toInt(), 5);
}

TEST_F(ArticoloTest, PriceFieldsRecomputeWhatFollowsFromThem)
{
    const int id = addItem(QStringLiteral("A1"), QStringLiteral("111"));
    ASSERT_TRUE(m_card.open(id));

    // Both separators are decimal points.
    ASSERT_TRUE(m_card.enterField(QStringLiteral("PrezzoAcqnoiva"), QStringLiteral("10.00")));
    EXPECT_EQ(money(QStringLiteral("PrezzoAcquisto")), m("12.20"));
    ASSERT_TRUE(m_card.enterField(QStringLiteral("Ricarico%"), QStringLiteral("30")));
    EXPECT_EQ(money(QStringLiteral("PrezzoVendnoiva")), m("13.00"));
    EXPECT_EQ(money(QStringLiteral("Pubblico")), m("15.86"));
    EXPECT_EQ(money(QStringLiteral("Utile")), m("3.00"));
    EXPECT_EQ(m_card.text(QStringLiteral("Pubblico")), QStringLiteral("15,86"));

    ASSERT_TRUE(m_card.enterField(QStringLiteral("PrezzoVendnoiva"), QStringLiteral("20,5")));
    EXPECT_EQ(money(QStringLiteral("Pubblico")), m("25.01"));
    EXPECT_EQ(money(QStringLiteral("Utile")), m("10.50"));

    // Lists: price from markup and markup from price over the cost with VAT.
    ASSERT_TRUE(m_card.enterField(QStringLiteral("RICARICO3"), QStringLiteral("30")));
    m_card.listPriceFromMarkup(3);
    EXPECT_EQ(money(QStringLiteral("Listino3")), m("15.86"));
    ASSERT_TRUE(m_card.enterField(QStringLiteral("Listino2"), QStringLiteral("15,86")));
    ASSERT_TRUE(m_card.listMarkupFromPrice(2));
    EXPECT_EQ(money(QStringLiteral("RICARICO2")), m("30.00"));
    m_card.enterField(QStringLiteral("RICARICO1"), QStringLiteral("12,5"));
    m_card.listPriceFromMarkup(1);
    EXPECT_EQ(money(QStringLiteral("Pubblico")), m("13.725"));
    EXPECT_EQ(m_card.text(QStringLiteral("Pubblico")), QStringLiteral("13,725"));

    // Supplier discounts: discount 2 compounds, discount 1 starts again; the lists then mark up
    // the discounted cost with VAT.
    ASSERT_TRUE(m_card.enterField(QStringLiteral("PrezzoAcqnoiva"), QStringLiteral("100")));
    ASSERT_TRUE(m_card.enterField(QStringLiteral("scontoacq1"), QStringLiteral("10")));
    EXPECT_EQ(money(QStringLiteral("acquistoscontato")), m("90.00"));
    ASSERT_TRUE(m_card.enterField(QStringLiteral("scontoacq2"), QStringLiteral("10")));
    EXPECT_EQ(money(QStringLiteral("acquistoscontato")), m("81.00"));
    m_card.enterField(QStringLiteral("RICARICO1"), QStringLiteral("0"));
    m_card.listPriceFromMarkup(1);
    EXPECT_EQ(money(QStringLiteral("Pubblico")), m("98.82"));
    ASSERT_TRUE(m_card.enterField(QStringLiteral("scontoacq1"), QStringLiteral("20")));
    EXPECT_EQ(money(QStringLiteral("acquistoscontato")), m("80.00"));

    ASSERT_TRUE(m_card.save()) << m_dialogs.lastText().toStdString();
    EXPECT_EQ(stored(id, QStringLiteral("acquistoscontato")).toMoney(), m("80.00"));
    EXPECT_EQ(stored(id, QStringLiteral("Ricarico%")).toInt(), 30);
    EXPECT_EQ(stored(id, QStringLiteral("PrezzoAcquisto")).toMoney(), m("122.00"));
    EXPECT_EQ(stored(id, QStringLiteral("RICARICO2")).toMoney(), m("30.00"));
    EXPECT_EQ(stored(id, QStringLiteral("Pubblico")).toMoney(), m("98.82"));
    EXPECT_EQ(stored(id, QStringLiteral("giacenza")).toInt(), 3);
    EXPECT_TRUE(m_dialogs.events().empty()) << m_dialogs.lastText().toStdString();
}

TEST_F(ArticoloTest, ADiscountTwoAloneStillDiscounts)
{
    ASSERT_TRUE(m_card.open(addItem(QStringLiteral("A1"), {})));
    m_card.enterField(QStringLiteral("PrezzoAcqnoiva"), QStringLiteral("100"));
    m_card.enterField(QStringLiteral("scontoacq2"), QStringLiteral("25"));
    EXPECT_EQ(money(QStringLiteral("acquistoscontato")), m("75.00"));
}

TEST_F(ArticoloTest, BadNumbersAreRefusedAndTheFieldKeepsItsValue)
{
    ASSERT_TRUE(m_card.open(addItem(QStringLiteral("A1"), {})));
    EXPECT_FALSE(m_card.listMarkupFromPrice(1)) << "no cost to mark up";
    EXPECT_EQ(m_dialogs.messages(),
              QStringList{QStringLiteral("Inserire il costo d'acquisto: senza costo non si calcola il ricarico")});
    m_card.enterField(QStringLiteral("PrezzoAcqnoiva"), QStringLiteral("4,5"));
    const struct
    {
        const char* column;
        const char* typed;
        const char* message;
    } cases[] = {
        {"PrezzoAcqnoiva", "abc", "Valore non valido: inserire un numero"},
        {"PrezzoAcqnoiva", "1,2,3", "Valore non valido: inserire un numero"},
        {"Ricarico%", "12,5", "Inserire un numero intero"},
        {"scontoacq1", "dieci", "Valore non valido: inserire un numero"},
    };
    for (const auto& c : cases) {
        m_dialogs.clear();
        EXPECT_FALSE(m_card.enterField(QString::fromLatin1(c.column), QString::fromLatin1(c.typed)));
        EXPECT_EQ(m_dialogs.messages(), QStringList{QString::fromUtf8(c.message)});
    }
    EXPECT_EQ(money(QStringLiteral("PrezzoAcqnoiva")), m("4.50"));
    EXPECT_EQ(money(QStringLiteral("PrezzoAcquisto")), m("5.49"));
}

TEST_F(ArticoloTest, SaveRefusesTakenCodesAndAMissingPublicPrice)
{
    addItem(QStringLiteral("TAKEN"), QStringLiteral("8001234567895"));
    const int id = addItem(QStringLiteral("MINE"), QStringLiteral("8000000000007"));
    const struct
    {
        const char* column;
        QVariant value;
        const char* message;
        const char* focus;
    } cases[] = {
        {"BarcodeFull", QStringLiteral("8001234567895"), "Barcode già assegnato ad altro articolo, riprovare", "BarcodeFull"},
        {"CodArticolo", QStringLiteral("TAKEN"), "Codice già assegnato ad altro articolo, riprovare", "CodArticolo"},
        {"Pubblico", 0.0, "Attenzione! Inserire il prezzo al pubblico", "Pubblico"},
        {"Pubblico", QVariant(), "Attenzione! Inserire il prezzo al pubblico", "Pubblico"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        m_dialogs.clear();
        ASSERT_TRUE(m_card.open(id));
        m_card.setValue(QStringLiteral("Descrizione"), QStringLiteral("CHANGED"));
        m_card.setValue(QString::fromLatin1(c.column), c.value);
        EXPECT_FALSE(m_card.save());
        EXPECT_EQ(m_dialogs.messages(), QStringList{QString::fromUtf8(c.message)});
        EXPECT_EQ(m_card.failedField(), QString::fromLatin1(c.focus));
        EXPECT_EQ(stored(id, QStringLiteral("Descrizione")).toString(), QStringLiteral("MINE"));
    }

    // The barcode is checked before the code: both taken, the barcode is told.
    m_dialogs.clear();
    m_card.setValue(QStringLiteral("Pubblico"), 1.0);
    m_card.setValue(QStringLiteral("BarcodeFull"), QStringLiteral("8001234567895"));
    m_card.setValue(QStringLiteral("CodArticolo"), QStringLiteral("TAKEN"));
    EXPECT_FALSE(m_card.save());
    EXPECT_EQ(m_dialogs.messages(), QStringList{QStringLiteral("Barcode già assegnato ad altro articolo, riprovare")});

    // An item deleted meanwhile is not reported as saved.
    m_dialogs.clear();
    const int gone = addItem(QStringLiteral("GONE"), {});
    ASSERT_TRUE(m_card.open(gone));
    m_card.setValue(QStringLiteral("Descrizione"), QStringLiteral("ALTRO"));
    db().exec(QStringLiteral("DELETE FROM articoli WHERE ID = :ID"), {{QStringLiteral("ID"), gone}});
    EXPECT_FALSE(m_card.save());
    EXPECT_EQ(m_dialogs.messages(),
              QStringList{QStringLiteral("L'articolo non esiste più: le modifiche non sono state salvate")});

    // Its own unchanged codes are no obstacle.
    m_dialogs.clear();
    ASSERT_TRUE(m_card.open(id));
    m_card.setValue(QStringLiteral("Descrizione"), QStringLiteral("CAVO HDMI"));
    EXPECT_TRUE(m_card.save());
    EXPECT_EQ(stored(id, QStringLiteral("Descrizione")).toString(), QStringLiteral("CAVO HDMI"));
    EXPECT_TRUE(m_dialogs.events().empty());
}

TEST_F(ArticoloTest, EmptyCodesOfferToGenerateAndTheSupplierCodeMustBeFree)
{
    const int other = addItem(QStringLiteral("OTHER"), {});
    db().exec(QStringLiteral("UPDATE articoli SET codartforn = 'F-100' WHERE ID = :ID"), {{QStringLiteral("ID"), other}});
    ASSERT_TRUE(m_card.open(addItem(QString(), QString())));

    m_dialogs.answerConfirm(false).answerConfirm(true);
    m_card.leaveCodeField();
    EXPECT_EQ(m_card.value(QStringLiteral("CodArticolo")).toString(), QString());
    m_card.leaveBarcodeField();
    EXPECT_EQ(m_card.value(QStringLiteral("BarcodeFull")).toString(), QStringLiteral("8005001002000"));
    EXPECT_EQ(m_dialogs.texts(DialogEvent::Kind::Confirm),
              (QStringList{QStringLiteral("ATTENZIONE CAMPO OBBLIGATORIO! Non è stato assegnato nessun codice a questo "
                                          "articolo, vuoi generalo automaticamente?"),
                           QStringLiteral("Non è stato assegnato nessun barcode a questo articolo, vuoi generalo "
                                          "automaticamente?")}));
    ASSERT_TRUE(m_card.generateBarcode());
    EXPECT_EQ(m_card.value(QStringLiteral("BarcodeFull")).toString(), QStringLiteral("8005001002017"));
    ASSERT_TRUE(m_card.generateCode());
    EXPECT_EQ(m_card.value(QStringLiteral("CodArticolo")).toString().size(), 8);

    m_dialogs.clear();
    m_card.setValue(QStringLiteral("codartforn"), QStringLiteral("F-100"));
    EXPECT_FALSE(m_card.leaveSupplierCodeField());
    EXPECT_EQ(m_dialogs.messages(), QStringList{QStringLiteral("Codice già assegnato ad altro Fornitore!")});
    EXPECT_EQ(m_card.value(QStringLiteral("codartforn")).toString(), QString());
    EXPECT_EQ(m_card.failedField(), QStringLiteral("codartforn"));
    m_card.setValue(QStringLiteral("codartforn"), QStringLiteral("F-101"));
    EXPECT_TRUE(m_card.leaveSupplierCodeField());
}

TEST_F(ArticoloTest, NewClassificationValuesAreStoredInUpperCaseAndTaken)
{
    ASSERT_TRUE(m_card.open(addItem(QStringLiteral("A1"), {})));
    m_dialogs.answerText(QStringLiteral("  accessori auto ")).answerText(QStringLiteral("ACCESSORI AUTO"));
    EXPECT_EQ(m_card.addClassificationValue(stock::Classification::Categoria), QStringLiteral("ACCESSORI AUTO"));
    EXPECT_EQ(m_card.addClassificationValue(stock::Classification::Categoria), QStringLiteral("ACCESSORI AUTO"));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM categorie WHERE Descrizione = 'ACCESSORI AUTO'")), 1)
        << "an existing value is taken, not doubled";
    EXPECT_EQ(m_card.value(QStringLiteral("Categoria")).toString(), QStringLiteral("ACCESSORI AUTO"));
    EXPECT_EQ(m_card.classificationValues(stock::Classification::Categoria), QStringList{QStringLiteral("ACCESSORI AUTO")});
    EXPECT_EQ(m_dialogs.texts(DialogEvent::Kind::AskText).first(), QStringLiteral("Inserire la descrizione"));
    EXPECT_EQ(m_dialogs.events().front().title, QStringLiteral("Nuova Categoria"));

    m_dialogs.clear();
    m_dialogs.answerText(QStringLiteral("taglie europee")).answerText(QStringLiteral("estate duemilaventisei ok")).answerCancel();
    EXPECT_EQ(m_card.addClassificationValue(stock::Classification::GruppoTaglia), QStringLiteral("TAGLIE EUROPEE"));
    EXPECT_EQ(m_card.value(QStringLiteral("idgruppoTaglia")).toInt(),
              count(QStringLiteral("SELECT id FROM gruppi_taglie WHERE Descrizione = 'TAGLIE EUROPEE'")));
    EXPECT_EQ(m_card.addClassificationValue(stock::Classification::Linea), std::nullopt);
    EXPECT_EQ(m_dialogs.messages(), QStringList{QStringLiteral("La descrizione può contenere al massimo 20 caratteri")});
    EXPECT_EQ(m_card.addClassificationValue(stock::Classification::Linea), std::nullopt);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM linea")), 0);
}

TEST_F(ArticoloTest, DeletingASerialLowersTheStockAndInfoTellsItsLoad)
{
    const int id = addItem(QStringLiteral("PHONE"), {});
    db().exec(QStringLiteral("INSERT INTO carichi (idCarico, NumDoc, NumeroCarico, TipoDoc, Fornitore, data, Datadoc) "
                             "VALUES (77, 'FT 12', 5, 'FATTURA', 'TELEFONIA SPA', '2026-03-02', '2026-03-01')"));
    db().exec(QStringLiteral("INSERT INTO seriali (idArticolo, Seriale, idCarico, idMagazzino) VALUES "
                             "(:ID, '350000000000001', 77, :M), (:ID, '350000000000002', 77, :M), "
                             "(:ID, '350000000000003', 77, :M + 1)"),
              {{QStringLiteral("ID"), id}, {QStringLiteral("M"), m_warehouse.id}});
    ASSERT_TRUE(m_card.open(id));
    const core::Rows serials = m_card.serialRows();
    ASSERT_EQ(serials.size(), 2) << "only the current warehouse";
    const int first = serials.value(0, "ID").toInt();

    m_card.showSerialInfo(first);
    EXPECT_EQ(m_dialogs.messages(), QStringList{QStringLiteral("Data Carico      02/03/2026\n"
                                                               "Numero Carico    5\n"
                                                               "Fornitore        TELEFONIA SPA\n"
                                                               "Documento        FATTURA\n"
                                                               "Nr. Documento    FT 12\n"
                                                               "Data Documento   01/03/2026")});

    m_dialogs.clear();
    m_dialogs.answerConfirm(false).answerConfirm(true);
    EXPECT_FALSE(m_card.deleteSerial(first));
    EXPECT_TRUE(m_card.deleteSerial(first));
    EXPECT_EQ(m_dialogs.texts(DialogEvent::Kind::Confirm),
              (QStringList{QStringLiteral("Eliminare il Seriale selezionato?"), QStringLiteral("Eliminare il Seriale selezionato?")}));
    EXPECT_EQ(m_card.serialRows().size(), 1);
    EXPECT_EQ(stored(id, QStringLiteral("giacenza")).toInt(), 2);
    EXPECT_EQ(m_card.value(QStringLiteral("giacenza")).toInt(), 2);
    EXPECT_FALSE(m_card.isModified());

    // Without the privilege to delete nothing goes.
    m_dialogs.clear();
    m_session.logIn(m_session.currentOperator(), m_warehouse, core::Privileges());
    EXPECT_FALSE(m_card.deleteSerial(m_card.serialRows().value(0, "ID").toInt()));
    EXPECT_EQ(m_dialogs.messages(), QStringList{QStringLiteral("Non possiedi i privilegi per eseguire questa operazione")});
    EXPECT_EQ(m_card.serialRows().size(), 1);
}

TEST_F(ArticoloTest, SupplierRowsAreAddedShownAndDeleted)
{
    db().exec(QStringLiteral("INSERT INTO fornitori (RagSoc) VALUES ('TELEFONIA SPA')"));
    const int idFornitore = int(db().lastInsertId());
    const int id = addItem(QStringLiteral("PHONE"), {});
    ASSERT_TRUE(m_card.open(id));
    m_card.enterField(QStringLiteral("PrezzoAcqnoiva"), QStringLiteral("150"));
    EXPECT_FALSE(m_card.deleteSupplierRow(0));
    m_card.showSerialInfo(0);
    EXPECT_EQ(m_dialogs.messages(),
              (QStringList{QStringLiteral("Selezionare prima una riga"), QStringLiteral("Selezionare prima una riga")}));
    m_dialogs.clear();

    core::NavigationResult picked{true, idFornitore, {{QStringLiteral("id_fornitore"), idFornitore},
                                                      {QStringLiteral("RagSoc"), QStringLiteral("TELEFONIA SPA")}}};
    m_navigator.returnFrom(QStringLiteral("TFornitoriPreleva"), picked).returnFrom(QStringLiteral("TFornitoriPreleva"), picked);
    EXPECT_TRUE(m_card.addSupplierRow());
    EXPECT_EQ(m_navigator.lastRequest(QStringLiteral("TFornitoriPreleva")).caller, QStringLiteral("Articolo_New"));
    EXPECT_FALSE(m_card.addSupplierRow());
    EXPECT_EQ(m_dialogs.messages(), QStringList{QStringLiteral("Il fornitore scelto è già tra i fornitori dell'articolo")});
    EXPECT_FALSE(m_card.addSupplierRow()) << "the picker closed without a choice";

    const core::Rows rows = m_card.supplierRows();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows.value(0, "Fornitore").toString(), QStringLiteral("TELEFONIA SPA"));
    EXPECT_EQ(rows.value(0, "idFornitore").toInt(), idFornitore);
    EXPECT_EQ(rows.value(0, "Acquisto").toMoney(), m("150"));
    const int row = rows.value(0, "id").toInt();

    m_card.showSupplier(row);
    EXPECT_EQ(m_navigator.lastRequest(QStringLiteral("TFornitore")).key.toInt(), idFornitore);

    // Choosing the supplier on the card takes its cost for this item and prices list 1.
    db().exec(QStringLiteral("UPDATE articoli_fornitori SET Acquisto = 10 WHERE id = :ID"), {{QStringLiteral("ID"), row}});
    m_card.enterField(QStringLiteral("RICARICO1"), QStringLiteral("30"));
    m_card.chooseSupplier(QStringLiteral("TELEFONIA SPA"));
    EXPECT_EQ(m_card.value(QStringLiteral("Fornitore")).toString(), QStringLiteral("TELEFONIA SPA"));
    EXPECT_EQ(money(QStringLiteral("PrezzoAcqnoiva")), m("10.00"));
    EXPECT_EQ(money(QStringLiteral("PrezzoAcquisto")), m("12.20"));
    EXPECT_EQ(money(QStringLiteral("Pubblico")), m("15.86"));

    m_dialogs.clear();
    m_dialogs.answerConfirm(false).answerConfirm(true);
    EXPECT_FALSE(m_card.deleteSupplierRow(row));
    EXPECT_TRUE(m_card.deleteSupplierRow(row));
    EXPECT_EQ(m_dialogs.texts(DialogEvent::Kind::Confirm).last(), QStringLiteral("Eliminare il Fornitore selezionato?"));
    EXPECT_TRUE(m_card.supplierRows().isEmpty());
}

TEST_F(ArticoloTest, AnImageIsLoadedAsBitmapOrJpegAndDeletedOnSave)
{
    QTemporaryDir dir;
    const struct
    {
        const char* name;
        QByteArray bytes;
        const char* kind;
    } files[] = {{"foto.bmp", QByteArray("BM\x10\x00\x00\x00", 6), "TBitmap"},
                 {"foto.jpg", QByteArray("\xFF\xD8\xFF\xE0\x00\x10JFIF", 10), "TJPEGImage"}};
    const int id = addItem(QStringLiteral("A1"), {});
    for (const auto& file : files) {
        const QString path = dir.filePath(QString::fromLatin1(file.name));
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(file.bytes);
        out.close();
        ASSERT_TRUE(m_card.open(id));
        m_dialogs.answerFile(path);
        ASSERT_TRUE(m_card.loadImage());
        ASSERT_TRUE(m_card.save());
        EXPECT_EQ(stored(id, QStringLiteral("Immagine")).toBytes(), file.bytes);
        EXPECT_EQ(stored(id, QStringLiteral("tipofile")).toString(), QString::fromLatin1(file.kind));
    }

    const QString text = dir.filePath(QStringLiteral("note.txt"));
    QFile out(text);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write("testo");
    out.close();
    m_dialogs.clear();
    m_dialogs.answerFile(text);
    EXPECT_FALSE(m_card.loadImage());
    EXPECT_EQ(m_dialogs.messages(), QStringList{QStringLiteral("Formato non supportato: scegliere un'immagine BMP o JPEG")});

    m_dialogs.clear();
    m_dialogs.answerConfirm(false).answerConfirm(true);
    EXPECT_FALSE(m_card.deleteImage());
    EXPECT_TRUE(m_card.deleteImage());
    EXPECT_EQ(m_dialogs.texts(DialogEvent::Kind::Confirm).first(), QStringLiteral("Sei sicuro di voler eliminare l'immagine?"));
    ASSERT_TRUE(m_card.save());
    EXPECT_TRUE(stored(id, QStringLiteral("Immagine")).isNull());
    EXPECT_EQ(stored(id, QStringLiteral("tipofile")).toString(), QString());
}

TEST_F(ArticoloTest, HistoryAndUnitsFollowTheItemAndTheCurrentWarehouse)
{
    const int id = addItem(QStringLiteral("A1"), {});
    const int other = addItem(QStringLiteral("A2"), {});
    db().exec(QStringLiteral("INSERT INTO venduti (idArticolo, idMagazzino) VALUES (:ID, :M), (:ID, :M), (:ID, :M + 1), "
                             "(:OTHER, :M)"),
              {{QStringLiteral("ID"), id}, {QStringLiteral("OTHER"), other}, {QStringLiteral("M"), m_warehouse.id}});
    ASSERT_TRUE(m_card.open(id));
    EXPECT_EQ(m_card.history(stock::ItemHistory::Vendite).size(), 2);
    EXPECT_EQ(m_card.history(stock::ItemHistory::Acquisti).size(), 0);
    EXPECT_EQ(m_card.history(stock::ItemHistory::Giacenze).size(), 0);

    m_card.choosePurchaseUnit(QStringLiteral("KG"));
    EXPECT_EQ(m_card.saleUnits(), QStringList{QStringLiteral("KG")});
    EXPECT_EQ(m_card.value(QStringLiteral("UMVENDITA")).toString(), QStringLiteral("KG"));
    EXPECT_TRUE(m_card.purchaseUnits().contains(QStringLiteral("GR")));

    EXPECT_FALSE(m_card.sizeColourEnabled());
    m_card.setValue(QStringLiteral("TC"), true);
    EXPECT_TRUE(m_card.sizeColourEnabled());
}

} // namespace
