// How values print in a template, and how the request's parts reach the template's tags.
#include "report/DataBinder.h"
#include "report/TemplateFiller.h"

#include "core/Money.h"
#include "core/ReportOutput.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TestFiles.h"

#include <QDate>
#include <QDateTime>

#include <gtest/gtest.h>

using namespace carvendo;
using carvendo::report::DataBinder;
using carvendo::report::TemplateFiller;

TEST(DataBinderTest, ValuesPrintTheItalianWay)
{
    const struct
    {
        QVariant value;
        QString printed;
    } cases[] = {
        {1234.5, "1.234,50"},
        {2.675, "2,68"},
        {QVariant::fromValue(core::Money::fromUnits(12345678)), "1.234,57"},
        {QDate(2026, 12, 6), "06/12/2026"},
        {QDateTime(QDate(2026, 1, 2), QTime(9, 5, 30)), "02/01/2026 09:05"},

        {QStringLiteral("12.5000"), "12.5000"}, // DECIMAL columns arrive as text and stay text
        {QVariant(), ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DataBinder::text(c.value), c.printed) << c.value.toString().toStdString();
}

TEST(DataBinderTest, DatasetsValuesLogoAndHiddenMemosReachTheTemplate)
{
    core::ReportRequest request;
    request.templateName = QStringLiteral("Prova");
    request.datasets[QStringLiteral("righe")] =
        core::Rows({"Codice", "Prezzo"}, {{QStringLiteral("A1"), 10.0}, {QStringLiteral("B2"), QVariant()}});
    request.values[QStringLiteral("titolo")] = QStringLiteral("Riga uno\nRiga <due> & l'altra");
    request.values[QStringLiteral("mostra")] = true;
    request.values[QStringLiteral("vuoto")] = QString();
    request.hiddenMemos.insert(QStringLiteral("Note"));

    const QString html = TemplateFiller::fill(
        QStringLiteral("{{titolo}}|{{#righe}}[{{Codice}}={{Prezzo}}]{{/righe}}|{{#mostra}}M{{/mostra}}"
                       "|{{#logo}}L{{/logo}}{{^logo}}senza logo{{/logo}}|{{^hidden.Note}}nota{{/hidden.Note}}"
                       "{{^hidden.Altro}}altro{{/hidden.Altro}}|{{{titolo}}}|{{#vuoto}}pieno{{/"
                       "vuoto}}{{^vuoto}}vuoto{{/vuoto}}"
                       "{{#righe}}{{#Prezzo}}<{{Prezzo}}>{{/Prezzo}}{{codice}}{{/righe}}"),
        DataBinder::bind(request), QStringLiteral("Prova.html"));

    EXPECT_EQ(html, QStringLiteral(
                        "Riga uno<br/>Riga &lt;due&gt; &amp; l&#39;altra|[A1=10,00][B2=]|M|senza logo|altro"
                        "|Riga uno\nRiga <due> & l'altra|vuoto<10,00>A1B2"));
}

TEST(DataBinderTest, AMalformedTemplateIsRefusedWithItsName)
{
    const QString error = carvendo::testing::errorOf([] {
        TemplateFiller::fill(QStringLiteral("{{#righe}} senza chiusura"), {},
                             QStringLiteral("/r/Rotto.html"));
    });
    EXPECT_TRUE(error.startsWith(QStringLiteral("Modello di stampa non valido (/r/Rotto.html): ")))
        << error.toStdString();
}
