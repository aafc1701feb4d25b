// Long lists printed as PDF files and read back page by page: every row once, whole and in order,
// under the column headings, on pages numbered "Pagina N di M".
#include "core/ReportOutput.h"
#include "report/HtmlListSplit.h"
#include "report/ReportEngine.h"
#include "tests/support/RecordingReportOutput.h"
#include "tests/support/TestDatabase.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace carvendo;
using carvendo::testing::pdfImageCount;
using carvendo::testing::pdfText;

namespace {

class LongListTest : public carvendo::testing::CompanySuite<LongListTest>
{
protected:
    // The text of each page of the request's PDF (pdftotext ends every page with a form feed).
    QStringList printPages(const report::ReportEngine& engine, const core::ReportRequest& request,
                           const QString& name)
    {
        const QString path = m_dir.path() + u'/' + name + QStringLiteral(".pdf");
        engine.writePdf(request, path);
        m_lastPdf = path;
        QStringList pages = pdfText(path).split(u'\f');
        pages.removeLast(); // after the last form feed
        return pages;
    }

    // Items ART0001..; every seventh has a description long enough to take several lines, from
    // "INIZIONNN" to "FINENNN".
    core::ReportRequest articoli(int count)
    {
        core::ReportRequest request;
        request.templateName = QStringLiteral("Articoli");
        request.datasets[QStringLiteral("articoli")] = db().query(
            QStringLiteral("SELECT CONCAT('ART', LPAD(seq, 4, '0')) AS CodArticolo, "
                           "CONCAT('8001234', LPAD(seq, 5, '0')) AS BarcodeFull, "
                           "IF(seq % 7 = 0, CONCAT('INIZIO', LPAD(seq, 3, '0'), ' ', "
                           "REPEAT('custodia in silicone morbido antiurto ', 5), 'FINE', LPAD(seq, 3, '0')), "
                           "CONCAT('Pellicola protettiva ', seq)) AS Descrizione, "
                           "CAST(seq + 0.5 AS DOUBLE) AS Pubblico, seq AS giacenza "
                           "FROM seq_1_to_1000 WHERE seq <= :N ORDER BY seq"),
            {{"N", count}});
        return request;
    }

    static QString code(int row) { return QStringLiteral("ART%1").arg(row, 4, 10, QLatin1Char('0')); }

    // Every row's code on exactly one page, in order through the pages; gives each row's page.
    static std::vector<int> pageOfEachRow(const QStringList& pages, int rows)
    {
        std::vector<int> pageOf;
        int page = 0;
        qsizetype from = 0;
        for (int row = 1; row <= rows; ++row) {
            const QString wanted = code(row);
            int found = 0;
            for (const QString& text : pages)
                found += int(text.count(wanted));
            EXPECT_EQ(found, 1) << wanted.toStdString();
            while (page < pages.size() && pages[page].indexOf(wanted, from) < 0) {
                ++page;
                from = 0;
            }
            if (page == pages.size()) {
                ADD_FAILURE() << wanted.toStdString() << " is missing or out of order";
                return pageOf;
            }
            from = pages[page].indexOf(wanted, from) + wanted.size();
            pageOf.push_back(page);
        }
        return pageOf;
    }

    static void expectNumberedPages(const QStringList& pages)
    {
        const auto count = pages.size();
        for (int page = 0; page < count; ++page)
            EXPECT_EQ(pages[page].count(QStringLiteral("Pagina %1 di %2").arg(page + 1).arg(count)), 1)
                << "page " << page + 1 << "\n"
                << pages[page].toStdString();
    }

    QTemporaryDir m_dir;
    QString m_lastPdf;
    report::ReportEngine m_engine{QStringLiteral(CARVENDO_REPORT_DIR)};
};

TEST_F(LongListTest, AnItemListHasEveryRowOnceWholeAndInOrderUnderTheHeadingsOfEachPage)
{
    constexpr int Rows = 150;
    const QStringList pages = printPages(m_engine, articoli(Rows), QStringLiteral("articoli"));

    ASSERT_GT(pages.size(), 5);
    expectNumberedPages(pages);
    for (int page = 0; page < pages.size(); ++page)
        EXPECT_EQ(pages[page].count(QStringLiteral("Codice a barre")), 1) << "page " << page + 1;
    const std::vector<int> pageOf = pageOfEachRow(pages, Rows);
    ASSERT_EQ(pageOf.size(), std::size_t(Rows));
    for (int row = 1; row <= Rows; ++row) {
        const QString& text = pages[pageOf[std::size_t(row - 1)]];
        // The barcode's digits and the end of a long description stay with the row's code.
        EXPECT_TRUE(text.contains(QStringLiteral("8001234%1").arg(row, 5, 10, QLatin1Char('0')))) << row;
        if (row % 7 == 0) {
            EXPECT_TRUE(text.contains(QStringLiteral("FINE%1").arg(row, 3, 10, QLatin1Char('0')))) << row;
        }
    }
    EXPECT_EQ(pdfImageCount(m_lastPdf), Rows) << "one barcode a row";
}

TEST_F(LongListTest, TheInventoryEndsWithItsTotalsOnceOnTheLastLandscapePage)
{
    emptyTables({"inventario"});
    db().exec(
        QStringLiteral("INSERT INTO inventario (CODART, DESCRIZIONE, MAGAZZINO, GIACENZA, DISPONIBILITA, "
                       "ACQUISTO, ACQUISTOMEDIO, LISTINO1, LISTINO2, LISTINO3) "
                       "SELECT CONCAT('ART', LPAD(seq, 4, '0')), CONCAT('Articolo numero ', seq), 'NEGOZIO', "
                       "seq, seq, 1.25, 1.25, 2, 3, 4 FROM seq_1_to_400"));
    core::ReportRequest request;
    request.templateName = QStringLiteral("Inventario");
    request.datasets[QStringLiteral("inventario")] = db().query(QStringLiteral(
        "SELECT CODART, DESCRIZIONE, MAGAZZINO, GIACENZA, DISPONIBILITA, ACQUISTO, ACQUISTOMEDIO, "
        "LISTINO1, LISTINO2, LISTINO3 FROM inventario ORDER BY CODART"));
    request.values = {{"TOTGIAC", "80.200,00"}, {"TOTDISP", "80.200,00"}, {"VALOREACQ", "500,00"}};

    const QStringList pages = printPages(m_engine, request, QStringLiteral("inventario"));

    ASSERT_GT(pages.size(), 5);
    expectNumberedPages(pages);
    // the totals follow the last row, on its page or alone on the next one
    for (int page = 0; page < pages.size(); ++page)
        EXPECT_EQ(pages[page].count(QStringLiteral("Acq. medio")),
                  pages[page].contains(QStringLiteral("ART")) ? 1 : 0)
            << "page " << page + 1;
    const std::vector<int> pageOf = pageOfEachRow(pages, 400);
    ASSERT_EQ(pageOf.size(), 400u);
    EXPECT_GE(pageOf.back(), int(pages.size()) - 2);
    EXPECT_TRUE(pages.constLast().contains(QStringLiteral("€ 500,00")));
    EXPECT_EQ(pages.join(QString()).count(QStringLiteral("Totale disponibilità")), 1);
}

TEST_F(LongListTest, WhatFollowsTheListGoesOnPagesOfItsOwnWhenItDoesNotFitUnderTheLastRows)
{
    QTemporaryDir templates;
    QFile file(templates.path() + QStringLiteral("/Nota.html"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<html><head><style>td { color: #202020; }</style></head>"
               "<body style=\"font-family: 'DejaVu Sans'; font-size: 9pt;\"><div>"
               "<p><b>Elenco con nota</b></p>"
               "<table width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\">"
               "<thead><tr><th align=\"left\">Codice</th><th align=\"left\">Nota riga</th></tr></thead>"
               "{{#righe}}<tr><td>{{CodArticolo}}</td><td>{{Nota}}</td></tr>{{/righe}}</table>"
               "<p>{{nota}}</p><p>Fine della nota</p></div></body></html>");
    file.close();
    const report::ReportEngine engine(templates.path());
    core::ReportRequest request;
    request.templateName = QStringLiteral("Nota");
    request.datasets[QStringLiteral("righe")] = db().query(
        QStringLiteral("SELECT CONCAT('ART', LPAD(seq, 4, '0')) AS CodArticolo, CONCAT('riga ', seq) AS Nota "
                       "FROM seq_1_to_90"));
    QStringList lines;
    for (int line = 1; line <= 80; ++line)
        lines << QStringLiteral("Riga della nota numero %1").arg(line);
    request.values = {{"nota", lines.join(u'\n')}};

    const QStringList pages = printPages(engine, request, QStringLiteral("nota"));

    ASSERT_GT(pages.size(), 2);
    expectNumberedPages(pages);
    EXPECT_EQ(pageOfEachRow(pages, 90).size(), 90u);
    const QString all = pages.join(QString());
    for (const char* once : {"Riga della nota numero 1\n", "Riga della nota numero 80", "Fine della nota"})
        EXPECT_EQ(all.count(QString::fromUtf8(once)), 1) << once;
    EXPECT_TRUE(pages.constLast().contains(QStringLiteral("Fine della nota")));
    EXPECT_FALSE(pages.constLast().contains(QStringLiteral("ART0090")))
        << "the note's end is on a page of its own";
}

TEST(HtmlListSplitTest, TheListIsTheTableWithTheMostRowsOfItsOwn)
{
    const struct
    {
        const char* html;
        int rows; // -1: no list
    } cases[] = {
        {"<html><body><p>Solo testo</p></body></html>", -1},
        {"<table><tr><td>una riga</td></tr></table>", -1},
        {"<table><thead><tr><th>T</th></tr></thead><tbody><tr><td>a</td></tr><tr><td>b</td></tr>"
         "<tr><td>c</td></tr></tbody></table>",
         3},
        // rows of a table inside a cell belong to that cell
        {"<table><tr><td><table><tr><td>1</td></tr><tr><td>2</td></tr><tr><td>3</td></tr></table></td></tr>"
         "<tr><td>b</td></tr></table>",
         2},
        {"<table><tr><td>x</td></tr><tr><td>y</td></tr></table><table><tr><td>1</td></tr><tr><td>2</td></tr>"
         "<tr><td>3</td></tr></table>",
         3},
        {"<!-- <table><tr><td>1</td></tr><tr><td>2</td></tr></table> --><p>nessun elenco</p>", -1},
        {"<table><tr><td rowspan=\"2\">a</td><td>b</td></tr><tr><td>c</td></tr></table>", -1},
    };
    for (const auto& c : cases) {
        const auto split = report::HtmlListSplit::split(QString::fromUtf8(c.html));
        EXPECT_EQ(split ? split->rowCount() : -1, c.rows) << c.html;
    }
}

TEST(HtmlListSplitTest, AFollowingPageRepeatsTheStylesTheSurroundingsAndTheHeading)
{
    const QString html = QStringLiteral(
        "<html><head><style>td { color: red; }</style></head><body style=\"font-size: 9pt;\"><div>"
        "<p>Intestazione</p><table border=\"1\"><thead><tr><th>Codice</th></tr></thead>"
        "<tr><td>A1</td></tr>\n<tr><td>A2</td></tr>\n<tr><td>A3</td></tr></table><p>Totali</p></div></body></"
        "html>");
    const auto split = report::HtmlListSplit::split(html);
    ASSERT_TRUE(split);
    using Split = report::HtmlListSplit;

    EXPECT_EQ(split->pageHtml(Split::Head::Continuation, -1, 1, 2, Split::Tail::Document),
              QStringLiteral(
                  "<html><head><style>td { color: red; }</style></head><body style=\"font-size: 9pt;\"><div>"
                  "<table border=\"1\"><thead><tr><th>Codice</th></tr></thead>"
                  "<tr><td>A2</td></tr>\n<tr><td>A3</td></tr>\n</table><p>Totali</p></div></body></html>"));
}

} // namespace
