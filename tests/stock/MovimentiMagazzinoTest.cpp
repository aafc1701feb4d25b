#include "stock/MovimentiMagazzino.h"

#include "core/Db.h"
#include "tests/stock/StockSuite.h"
#include "tests/support/FixedClock.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/RecordingReportOutput.h"
#include "tests/support/ScriptedDialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <set>

using namespace carvendo;
namespace ct = carvendo::testing;
using Filter = stock::MovementFilter;
using Period = stock::MovementFilter::Period;

namespace {

class MovimentiMagazzinoTest : public ct::StockSuite<MovimentiMagazzinoTest>
{
protected:
    void SetUp() override { emptyTables({"venduti", "articoli", "serialidocumenti", "magazzini"}); }

    static int addItem(const QString& code, bool serials = false, const QString& barcode = {})
    {
        return StockSuite::addItem(code, {{"Descrizione", QStringLiteral("Articolo ") + code},
                                          {"Seriale", serials},
                                          {"BarcodeFull", barcode}});
    }

    // One sale row; returns its id.
    static qint64 sell(int item, const char* kind, QDate date, int warehouse, double quantity = 1,
                       int idDoc = 1)
    {
        addMovement("venduti", item, warehouse, quantity,
                    {{"TipoDoc", kind},
                     {"data", date},
                     {"Magazzino", QStringLiteral("MAG%1").arg(warehouse)},
                     {"idDoc", idDoc}});
        return db().lastInsertId();
    }

    static std::set<qint64> ids(const core::Rows& rows)
    {
        std::set<qint64> result;
        for (const core::Row& row : rows)
            result.insert(row.value("id").toInt64());
        return result;
    }

    ct::ScriptedDialogs m_dialogs;
    ct::RecordingReportOutput m_reports;
    ct::FixedClock m_clock{QDateTime(QDate(2024, 3, 5), QTime(9, 7))};
    stock::MovimentiMagazzino m_list{company().db(), m_dialogs, m_reports, m_clock};
};

const QDate March1(2024, 3, 1);
const QDate March2(2024, 3, 2);
const QDate March3(2024, 3, 3);

TEST_F(MovimentiMagazzinoTest, FiltersCombineOverPeriodKindItemAndWarehouse)
{
    const int phone = addItem(QStringLiteral("TEL"));
    const int cover = addItem(QStringLiteral("COV"));
    const qint64 a = sell(phone, "Pos", March1, 1);
    const qint64 b = sell(phone, "Fattura", March2, 1);
    const qint64 c = sell(phone, "Pos", March2, 2);
    const qint64 d = sell(cover, "Pos", March2, 1);
    const qint64 e = sell(cover, "Ordine Cliente", March3, 2);
    sell(phone, "Cat", March3, 1); // matched by none of the filters below

    const struct
    {
        const char* label;
        Filter filter;
        std::set<qint64> expected;
    } cases[] = {
        {"one day", {.period = Period::Day, .day = March2}, {b, c, d}},
        {"kind with a blank", {.tipoDoc = QStringLiteral("Ordine Cliente")}, {e}},
        {"day, kind, item and warehouse",
         {.period = Period::Day,
          .day = March2,
          .tipoDoc = QStringLiteral("Pos"),
          .idArticolo = phone,
          .idMagazzino = 1},
         {}},
        {"period, kind and warehouse",
         {.period = Period::Range,
          .from = March1,
          .to = March2,
          .tipoDoc = QStringLiteral("Pos"),
          .idMagazzino = 1},
         {a, d}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.label);
        ASSERT_TRUE(m_list.search(test.filter));
        EXPECT_EQ(ids(m_list.allRows()), test.expected);
    }
}

TEST_F(MovimentiMagazzinoTest, ItemIsFoundByCodeOrBarcodeAndValuesAreBoundNotPasted)
{
    const int item = addItem(QStringLiteral("TEL-1"), false, QStringLiteral("8001234567890"));
    for (const char* text : {"TEL-1", " 8001234567890 "})
        EXPECT_EQ(m_list.findItem(QString::fromUtf8(text)).value_or(stock::MovementItem{}).id, item) << text;
    EXPECT_FALSE(m_list.findItem(QStringLiteral("  ")).has_value());
    sell(item, "Pos", March1, 1);
    ASSERT_TRUE(m_list.search({}));
    // A kind that is not one of the five is refused before any SQL; a quote in an item code is just text.
    EXPECT_FALSE(m_list.search({.tipoDoc = QStringLiteral("Pos' OR '1'='1")}));
    EXPECT_EQ(m_list.filter(), Filter{}) << "the refused filter is not taken";
    EXPECT_FALSE(m_list.findItem(QStringLiteral("X' OR '1'='1")).has_value());
    EXPECT_EQ(m_dialogs.messages(),
              (QStringList{QStringLiteral("Inserire il codice o il barcode dell'articolo"),
                           QStringLiteral("Tipo di documento non valido: Pos' OR '1'='1"),
                           QStringLiteral("Nessun articolo trovato con il codice o barcode X' OR '1'='1")}));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM venduti")).toInt(), 1);
}

TEST_F(MovimentiMagazzinoTest, IncompletePeriodsAreRefusedWithTheReason)
{
    const struct
    {
        Filter filter;
        const char* message;
    } cases[] = {
        {{.period = Period::Day}, "Inserire la data dei movimenti"},
        {{.period = Period::Range, .from = March1}, "Inserire le date di inizio e fine del periodo"},
        {{.period = Period::Range, .from = March3, .to = March1},
         "La data di inizio del periodo è successiva alla data di fine"},
    };
    for (const auto& test : cases) {
        m_dialogs.clear();
        EXPECT_FALSE(m_list.search(test.filter));
        EXPECT_EQ(m_dialogs.texts(ct::DialogEvent::Kind::Warning),
                  QStringList{QString::fromUtf8(test.message)});
    }
}

TEST_F(MovimentiMagazzinoTest, PagesComeNewestFirstUntilTheEnd)
{
    const int item = addItem(QStringLiteral("P"));
    // Recorded out of date order, two on one day, one without a date.
    const qint64 undated = sell(item, "Pos", QDate(), 1);
    const qint64 day3 = sell(item, "Pos", March3, 1);
    const qint64 day1 = sell(item, "Ddt", March1, 1);
    const qint64 day2a = sell(item, "Pos", March2, 1);
    const qint64 day2b = sell(item, "Pos", March2, 1);
    const qint64 day3late = sell(item, "Cat", March3, 1);
    const qint64 day1late = sell(item, "Pos", March1, 1);
    sell(addItem(QStringLiteral("Q")), "Pos", March1, 1); // another item, filtered out

    m_list.setPageSize(3);
    ASSERT_TRUE(m_list.search({.idArticolo = item}));
    EXPECT_TRUE(m_list.loadMore());
    EXPECT_TRUE(m_list.loadMore());
    EXPECT_FALSE(m_list.loadMore());
    std::vector<qint64> shown;
    for (const core::Row& row : m_list.rows())
        shown.push_back(row.value("id").toInt64());
    const std::vector<qint64> expected{day3late, day3, day2b, day2a, day1late, day1, undated};
    EXPECT_EQ(shown, expected);
}

TEST_F(MovimentiMagazzinoTest, SerialsOfTheChosenMovementOnlyForSerialItems)
{
    const int phone = addItem(QStringLiteral("IMEI"), true);
    const int cover = addItem(QStringLiteral("COV"));
    sell(phone, "Fattura", March1, 1, 2, 40);
    sell(cover, "Fattura", March1, 1, 1, 40);
    // Two serials of the phone on invoice 40, one on a note with the same id, one on another invoice;
    // a "serial" of the cover, which has none and shows none.
    db().exec(
        QStringLiteral("INSERT INTO serialidocumenti (idArticolo, Documento, idDocumento, Seriale) VALUES "
                       "(:P, 'Fattura', 40, '350000000000001'), (:P, 'Fattura', 40, '350000000000002'), "
                       "(:P, 'Ddt', 40, '350000000000003'), (:P, 'Fattura', 41, '350000000000004'), "
                       "(:C, 'Fattura', 40, 'NOSERIAL')"),
        {{QStringLiteral("P"), phone}, {QStringLiteral("C"), cover}});

    ASSERT_TRUE(m_list.search({.tipoDoc = QStringLiteral("Fattura")}));
    ASSERT_EQ(m_list.rows().size(), 2);
    for (int row = 0; row < 2; ++row) {
        QStringList serials;
        for (const core::Row& serial : m_list.serialsOf(row))
            serials << serial.value("Seriale").toString();
        serials.sort();
        if (m_list.rows().value(row, "idArticolo").toInt() == phone)
            EXPECT_EQ(serials,
                      (QStringList{QStringLiteral("350000000000001"), QStringLiteral("350000000000002")}));
        else
            EXPECT_TRUE(serials.isEmpty());
    }
}

TEST_F(MovimentiMagazzinoTest, PrintAndPdfShowTheFilteredRowsWithTheTitle)
{
    const int item = addItem(QStringLiteral("STAMPA"));
    sell(item, "Pos", March1, 1, 3);
    sell(item, "Ddt", March2, 1, 2);
    sell(item, "Pos", March2, 2, 1);
    m_list.setPageSize(1); // the print holds every row of the filter, not the loaded page
    ASSERT_TRUE(m_list.search({.tipoDoc = QStringLiteral("Pos")}));

    ASSERT_TRUE(m_list.print()) << m_dialogs.lastText().toStdString();
    const core::Rows& rows = m_reports.last().request.datasets.at(QStringLiteral("venduti"));
    EXPECT_EQ(rows.size(), 2);

    // The same list as a PDF.
    sell(item, "Cat", March3, 1, 4);
    ASSERT_TRUE(m_list.search({.tipoDoc = QStringLiteral("Cat")}));
    const QString path =
        QDir::temp().filePath(QStringLiteral("movimenti-%1.pdf").arg(QCoreApplication::applicationPid()));
    m_reports.exportPdf(m_list.reportRequest(), path);
    const QString text = ct::pdfText(path);
    QFile::remove(path);
    // The title as the engine lays it out: a long line may wrap, so its parts are looked for.
    for (const char* part : {"Elenco movimenti di magazzino", "05/03/2024", "09:07"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(part))) << part << "\n" << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Cat"))) << text.toStdString();
}

TEST_F(MovimentiMagazzinoTest, EmptyOrVeryLongPrintsAreToldOrAskedFirst)
{
    ASSERT_TRUE(m_list.search({}));
    EXPECT_FALSE(m_list.print());
    EXPECT_EQ(m_dialogs.messages(), QStringList{QStringLiteral("Nessun movimento da stampare")});

    const int item = addItem(QStringLiteral("MOLTI"));
    db().exec(QStringLiteral("INSERT INTO venduti (idArticolo, TipoDoc, data, quantita) "
                             "SELECT :A, 'Pos', '2024-03-01', 1 FROM seq_1_to_5001"),
              {{QStringLiteral("A"), item}});
    m_dialogs.clear();
    m_dialogs.answerConfirm(false);
    EXPECT_FALSE(m_list.print());
    EXPECT_EQ(m_dialogs.texts(ct::DialogEvent::Kind::Confirm),
              QStringList{QStringLiteral("L'elenco da stampare contiene 5.001 movimenti. Vuoi continuare?")});
    EXPECT_TRUE(m_reports.requests().empty());
}

} // namespace
