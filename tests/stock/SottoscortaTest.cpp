#include "stock/Sottoscorta.h"

#include "core/Db.h"
#include "core/StoredProcedures.h"
#include "tests/stock/StockSuite.h"
#include "tests/support/FixedClock.h"
#include "tests/support/RecordingReportOutput.h"
#include "tests/support/ScriptedDialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace carvendo;
namespace ct = carvendo::testing;

namespace {

class SottoscortaTest : public ct::StockSuite<SottoscortaTest>
{
protected:
    void SetUp() override { emptyTables({"articoli", "sottoscorta", "fornitori"}); }

    static int addItem(const QString& code, const QVariant& giacenza, const QVariant& scorta,
                       const QString& fornitore = {}, const QString& descrizione = {})
    {
        return StockSuite::addItem(
            code, {{"Descrizione", descrizione.isEmpty() ? QStringLiteral("Articolo ") + code : descrizione},
                   {"BarcodeFull", code},
                   {"giacenza", giacenza},
                   {"Scorta", scorta},
                   {"Fornitore", fornitore},
                   {"PrezzoAcquisto", 12.5},
                   {"UM", "PZ"},
                   {"Aliquota", 22}});
    }

    static int addSupplier(const QString& name) { return insert("fornitori", {{"RagSoc", name}}); }

    // The work list without its keys, item by item, every column as text.
    QStringList workList()
    {
        QStringList lines;
        for (const core::Row row : db().query(QStringLiteral(
                 "SELECT codart, descrizione, barcode, idarticolo, data, qtaordine, idfornitore, fornitore, "
                 "idordine, "
                 "giacenza, scorta, prezzoacquisto, um, aliquota FROM sottoscorta ORDER BY idarticolo"))) {
            QStringList cells;
            for (int c = 0; c < 14; ++c)
                cells.append(row.at(c).isNull() ? QStringLiteral("NULL") : row.at(c).toString());
            lines.append(cells.join(QLatin1Char('|')));
        }
        return lines;
    }

    QStringList codes(const core::Rows& rows)
    {
        QStringList list;
        for (const core::Row row : rows)
            list.append(row["codart"].toString());
        return list;
    }

    ct::FixedClock m_clock{QDateTime(QDate(2026, 12, 6), QTime(10, 0))};
    ct::ScriptedDialogs m_dialogs;
    ct::RecordingReportOutput m_reports;
    stock::Sottoscorta m_list{company().db(), m_clock, m_dialogs, m_reports};
};

TEST_F(SottoscortaTest, RebuiltListIsWhatTheProceduresWriteItemByItem)
{
    const int first = addSupplier(QStringLiteral("TIM SPA"));
    addSupplier(QStringLiteral("tim spa")); // same name for the server: the lowest key is taken
    addSupplier(QStringLiteral("WIND"));
    addItem(QStringLiteral("EQ"), 5, 5, QStringLiteral("TIM SPA"));
    addItem(QStringLiteral("BELOW"), 1.4, 6.2, QStringLiteral("WIND"));
    addItem(QStringLiteral("NEG"), -3, 0, QStringLiteral("SCONOSCIUTO"));
    addItem(QStringLiteral("ABOVE"), 9, 2, QStringLiteral("WIND"));
    addItem(QStringLiteral("NOSTOCK"), QVariant(), 4);
    addItem(QStringLiteral("NOMIN"), 0, QVariant());
    addItem(QStringLiteral("LONG"), 0, 1, QString(), QString(120, QLatin1Char('x')));
    addItem(QStringLiteral("HALF"), 2.5, 2.5);

    // Item by item, as the list was once filled: VERIFICASOTTOSC and SOTTOSCORTA for every item of
    // "giacenza = scorta or giacenza < scorta".
    core::StoredProcedures procedures(db());
    for (const core::Row row :
         db().query(QStringLiteral("SELECT * FROM articoli WHERE articoli.giacenza = articoli.scorta or "
                                   "articoli.giacenza < articoli.scorta"))) {
        const int id = row["ID"].toInt();
        EXPECT_TRUE(procedures.verificaSottoscorta(id).sottoscorta);
        procedures.sottoscorta(id);
    }
    const QStringList itemByItem = workList();
    ASSERT_EQ(itemByItem.size(), 5);
    EXPECT_TRUE(itemByItem.first().startsWith(QStringLiteral("EQ|Articolo EQ|EQ|")));
    EXPECT_TRUE(itemByItem.first().endsWith(QStringLiteral("|0|%1|TIM SPA|0|5|5|12.5|PZ|22").arg(first)))
        << itemByItem.first().toStdString();

    db().exec(QStringLiteral("DELETE FROM sottoscorta"));
    EXPECT_EQ(stock::UnderStockList(db(), QStringLiteral("finestra")).rebuild(), 5);
    EXPECT_EQ(workList(), itemByItem);
}

TEST_F(SottoscortaTest, OpeningListsItemsAtOrBelowTheirMinimumAndDropsRestockedOnes)
{
    addItem(QStringLiteral("EQ"), 3, 3, QStringLiteral("TIM SPA"));
    addItem(QStringLiteral("LOW"), 1, 3, QStringLiteral("WIND"));
    const int restocked = addItem(QStringLiteral("OK"), 1, 3);
    m_list.open();
    EXPECT_EQ(codes(m_list.rows()),
              (QStringList{QStringLiteral("EQ"), QStringLiteral("LOW"), QStringLiteral("OK")}));

    db().exec(QStringLiteral("UPDATE articoli SET giacenza = 10 WHERE ID = :ID"),
              {{QStringLiteral("ID"), restocked}});
    m_list.open();
    EXPECT_EQ(codes(m_list.rows()), (QStringList{QStringLiteral("EQ"), QStringLiteral("LOW")}));
    EXPECT_EQ(m_list.rows().value(1, "qtaordine").toInt(), 2);
}

TEST_F(SottoscortaTest, SupplierFilterQuantityToOrderAndPrintOfTheFilteredList)
{
    addItem(QStringLiteral("A"), 0, 3, QStringLiteral("TIM SPA"), QStringLiteral("Alimentatore USB-C"));
    addItem(QStringLiteral("B"), 0, 2, QStringLiteral("WIND"), QStringLiteral("Batteria ricambio"));
    addItem(QStringLiteral("C"), 0, 1, QStringLiteral("WIND"), QStringLiteral("Cover"));
    m_list.open();

    m_list.filterBySupplier(QStringLiteral("x' OR '1'='1"));
    EXPECT_TRUE(m_list.rows().isEmpty());
    m_list.filterBySupplier(QStringLiteral("WIND"));
    EXPECT_EQ(codes(m_list.rows()), (QStringList{QStringLiteral("B"), QStringLiteral("C")}));
    const int id = m_list.rows().value(0, "id").toInt();
    EXPECT_TRUE(m_list.setQuantityToOrder(id, 12));
    EXPECT_EQ(m_list.rows().size(), 2) << "the filter stays after the edit";

    EXPECT_FALSE(m_list.setQuantityToOrder(id, -1));
    EXPECT_EQ(m_dialogs.messages(),
              QStringList{QStringLiteral("La quantità da ordinare non può essere negativa")});
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT qtaordine FROM sottoscorta WHERE id = :ID"),
                          {{QStringLiteral("ID"), id}})
                  .toInt(),
              12);

    ASSERT_TRUE(m_list.print());
    const ct::RecordedReport& preview = m_reports.last();
    EXPECT_EQ(preview.request.datasets.at(QStringLiteral("sottoscorta")).size(), 2);
    // The same request as a PDF shows the rows.
    const QString path =
        QDir::temp().filePath(QStringLiteral("sottoscorta-%1.pdf").arg(QCoreApplication::applicationPid()));
    const core::ReportRequest request = preview.request; // recording the export moves the earlier entries
    m_reports.exportPdf(request, path);
    EXPECT_TRUE(ct::pdfText(path).contains(QStringLiteral("Batteria ricambio")));
    QFile::remove(path);
}

TEST_F(SottoscortaTest, TwoWorkstationsKeepTheirOwnListAndQuantities)
{
    addItem(QStringLiteral("A"), 0, 3, QStringLiteral("TIM SPA"));
    addItem(QStringLiteral("B"), 0, 2, QStringLiteral("WIND"));
    m_list.open();
    const int mine = m_list.rows().value(0, "id").toInt();
    ASSERT_TRUE(m_list.setQuantityToOrder(mine, 12));

    // The other workstation opens the list and narrows it; this one's rows and edit stay.
    std::unique_ptr<core::Db> other = company().newConnection();
    ct::ScriptedDialogs otherDialogs;
    auto otherList = std::make_unique<stock::Sottoscorta>(*other, m_clock, otherDialogs, m_reports);
    otherList->open();
    otherList->filterBySupplier(QStringLiteral("WIND"));
    m_list.filterBySupplier(QString());
    ASSERT_EQ(m_list.rows().size(), 2);
    EXPECT_EQ(m_list.rows().value(0, "qtaordine").toInt(), 12);

    // A row that is not in this window's list is not edited, and the operator is told.
    const int theirs = otherList->rows().value(0, "id").toInt();
    EXPECT_FALSE(m_list.setQuantityToOrder(theirs, 99));
    EXPECT_EQ(m_dialogs.messages(),
              QStringList{QStringLiteral("L'articolo modificato non è più nell'elenco: "
                                         "la quantità da ordinare non è stata salvata")});
    EXPECT_EQ(other
                  ->scalar(QStringLiteral("SELECT qtaordine FROM sottoscorta WHERE id = :ID"),
                           {{QStringLiteral("ID"), theirs}})
                  .toInt(),
              2);

    // Closing the other window takes only its rows away.
    otherList.reset();
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM sottoscorta")).toInt(), 2);
}

} // namespace
