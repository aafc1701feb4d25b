#include "stock/sizes/DisponibilitaTC.h"
#include "stock/sizes/TCEdit.h"

#include "tests/sizes/SizesFixture.h"
#include "tests/support/RecordingReportOutput.h"
#include "tests/support/ScriptedDialogs.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace carvendo;
namespace ct = carvendo::testing;

namespace {

class SizeGridWindowsTest : public ct::SizesSuite<SizeGridWindowsTest>
{
protected:
    void SetUp() override
    {
        SizesSuite::SetUp();
        emptyTables({"magazzini"});
        db().exec(QStringLiteral(
            "INSERT INTO magazzini (idMagazzino, Descrizione) VALUES (1, 'CENTRALE'), (2, 'NEGOZIO')"));
        db().exec(QStringLiteral("UPDATE articoli SET Pubblico = 24.5"));
        for (const auto& [colour, warehouse, first] :
             {std::tuple{"ROSSO", 1, 6401002001004LL}, std::tuple{"BLU", 2, 6401002001301LL}}) {
            db().exec(
                QStringLiteral(
                    "INSERT INTO disptc (idarticolo, Gruppo_taglia, Colore, idmagazzino, Magazzino, "
                    "TG3, BAR3, TG4, BAR4) VALUES (:ID, 'ADULTO', :COLORE, :MAG, :NOME, 3, :B3, 1, :B4)"),
                {{"ID", m_item},
                 {"COLORE", colour},
                 {"MAG", warehouse},
                 {"NOME", warehouse == 1 ? "CENTRALE" : "NEGOZIO"},
                 {"B3", QString::number(first)},
                 {"B4", QString::number(first + 10)}});
        }
    }

    ct::ScriptedDialogs m_dialogs;
    ct::RecordingReportOutput m_reports;
};

TEST_F(SizeGridWindowsTest, TheGridShowsEachCellsBarcodeAndPrintsOneWarehouse)
{
    stock::DisponibilitaTC window(db(), m_reports);
    window.open(m_item);
    ASSERT_EQ(window.rows().size(), 2);
    EXPECT_EQ(window.cellText(0, 3), QStringLiteral("Taglia L - Barcode 6401002001004 - Quantità 3"));
    EXPECT_FALSE(window.cell(0, 6)) << "no column past the group's sizes";

    window.filterByWarehouse(2);
    ASSERT_EQ(window.rows().size(), 1);
    EXPECT_EQ(window.cellText(0, 4), QStringLiteral("Taglia XL - Barcode 6401002001311 - Quantità 1"));
    ASSERT_TRUE(window.print());
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("griglia.pdf"));
    const core::ReportRequest printed = m_reports.last().request;
    m_reports.exportPdf(printed, pdf);
    const QString text = ct::pdfText(pdf).simplified();
    EXPECT_TRUE(text.contains(QStringLiteral("Magazzino Colore S M L XL XXL"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("NEGOZIO BLU 0 0 3 1 0"))) << text.toStdString();
}

TEST_F(SizeGridWindowsTest, TheCellWindowReadsTheRealBarcodeAndPrintsItsLabel)
{
    const int row = db().scalar(QStringLiteral("SELECT id FROM disptc WHERE Colore = 'ROSSO'")).toInt();
    stock::TCEdit cell(db(), m_dialogs, m_reports);
    ASSERT_TRUE(cell.open(row, 3));
    EXPECT_EQ(cell.cell().barcode, QStringLiteral("6401002001004")) << "the barcode, not the column's name";
    EXPECT_EQ(cell.cell().quantity, 3);
    EXPECT_FALSE(cell.open(row, 31));
    EXPECT_FALSE(cell.open(row + 100, 3));

    ASSERT_TRUE(cell.printLabel());
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("etichetta.pdf"));
    const core::ReportRequest printed = m_reports.last().request;
    m_reports.exportPdf(printed, pdf);
    const QString text = ct::pdfText(pdf).simplified();
    EXPECT_TRUE(text.contains(QStringLiteral("Maglia MAGLIA"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Colore: ROSSO Taglia: L"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("€ 24,50"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("6401002001004"))) << text.toStdString();
    EXPECT_EQ(ct::pdfImageCount(pdf), 1) << "the barcode is drawn";
    EXPECT_EQ(m_dialogs.messages(),
              (QStringList{QStringLiteral("Taglia non prevista dal gruppo taglie dell'articolo"),
                           QStringLiteral("La riga di disponibilità non esiste più")}));
}

} // namespace
