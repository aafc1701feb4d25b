#include "core/DocumentTemplates.h"

#include "tests/support/QtPrinters.h"
#include "tests/support/TestDatabase.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace carvendo;

namespace {

class DocumentTemplatesTest : public carvendo::testing::CompanySuite<DocumentTemplatesTest>
{
protected:
    void SetUp() override { emptyTables({"report"}); }

    void name(const char* document, const QString& path)
    {
        db().exec(QStringLiteral("INSERT INTO report (NameMaster, Name, Path) VALUES (:D, :D, :P)"),
                  {{QStringLiteral("D"), QString::fromLatin1(document)}, {QStringLiteral("P"), path}});
    }
};

TEST_F(DocumentTemplatesTest, ADocumentTakesTheTemplateItsReportRowNamesOrItsOwnName)
{
    name("Fattura", QStringLiteral("\\Report\\FatturaNegozio.fr3"));
    name("Preventivo", QString());
    name("OrdineCliente", QStringLiteral("\\Report\\OrdineA.fr3"));
    name("OrdineCliente", QStringLiteral("\\Report\\OrdineB.fr3"));
    const core::DocumentTemplates templates(db());
    EXPECT_EQ(templates.templateFor(QStringLiteral("Fattura")), QStringLiteral("FatturaNegozio"));
    EXPECT_EQ(templates.templateFor(QStringLiteral("Preventivo")), QStringLiteral("Preventivo"))
        << "empty path";
    EXPECT_EQ(templates.templateFor(QStringLiteral("NotaCredito")), QStringLiteral("NotaCredito"))
        << "no row";
    EXPECT_EQ(templates.templateFor(QStringLiteral("OrdineCliente")), QStringLiteral("OrdineA"))
        << "the first row";
    EXPECT_THROW(templates.templateFor(QStringLiteral("Inventario")), std::invalid_argument);
}

// Workstations on Windows stored the shipped templates' paths in lower case; the files here are
// found by their exact name.
TEST_F(DocumentTemplatesTest, AStoredPathInAnotherLetterCaseNamesTheProgramsOwnTemplate)
{
    name("Fattura", QStringLiteral("\\Report\\fattura.fr3"));
    name("FatturaSeriali", QStringLiteral("\\Report\\fatturaseriali.fr3"));
    const core::DocumentTemplates templates(db());
    EXPECT_EQ(templates.templateFor(QStringLiteral("Fattura")), QStringLiteral("Fattura"));
    EXPECT_EQ(templates.templateFor(QStringLiteral("FatturaSeriali")), QStringLiteral("FatturaSeriali"));
    EXPECT_EQ(templates.templateFor(QStringLiteral("FatturaTC")), QStringLiteral("FatturaTC"));
}

} // namespace
