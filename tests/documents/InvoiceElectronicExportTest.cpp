#include "tests/einvoice/EInvoiceFixture.h"

#include "documents/FatturaImmediata.h"
#include "documents/Fatture.h"
#include "documents/InvoiceElectronicExport.h"
#include "messaging/MailMessage.h"

#include "tests/support/RecordingReportOutput.h"
#include "tests/support/TestFiles.h"

namespace ct = carvendo::testing;
namespace documents = carvendo::documents;
namespace messaging = carvendo::messaging;

namespace {

const std::vector<ct::Line> OneRow{{"A1", "Cover", 22, "100"}};
const QString Pec = QStringLiteral("sdi01@pec.fatturapa.it");

class InvoiceElectronicExportTest : public ct::EInvoiceFixture<InvoiceElectronicExportTest>
{
protected:
    documents::InvoiceElectronicExport exporter()
    {
        return documents::InvoiceElectronicExport(db(), m_dialogs, *m_paths, m_navigator, m_company);
    }

    void setPec(const QString& address)
    {
        db().exec(QStringLiteral("UPDATE fatturapa_configurazione SET PecSdI = :PEC"),
                  {{QStringLiteral("PEC"), address}});
    }

    ct::RecordingReportOutput m_reports;
};

// The list's export: the second invoice refused, the first is not written either, and the operator is
// told which invoice and which field; once mended both go and the list shows their files.
TEST_F(InvoiceElectronicExportTest, TheListExportsTheSelectedInvoicesOrNoneWhenOneIsRefused)
{
    const int good = invoice(businessCustomer(), OneRow);
    const int refused = invoice(businessCustomer("ABCDEF"), OneRow);
    documents::Fatture list(db(), m_session, m_dialogs, m_navigator, m_reports);
    list.search({});
    auto command = exporter();

    EXPECT_EQ(ct::errorOf([&] {
                  list.exportElectronic(command, {good, refused});
              }),
              QStringLiteral("Fattura 2/2026: il codice destinatario \"ABCDEF\" deve avere 7 caratteri"));
    EXPECT_EQ(files(), QStringList());
    EXPECT_EQ(m_dialogs.messages(), QStringList());

    db().exec(QStringLiteral("UPDATE clienti SET CodiceDestinatario = 'ABCDEF1'"));
    list.exportElectronic(command, {good, refused});
    EXPECT_EQ(files(), (QStringList{QStringLiteral("IT01234567890_00001.xml"),
                                    QStringLiteral("IT01234567890_00002.xml")}));
    EXPECT_EQ(
        m_dialogs.messages(),
        QStringList{QStringLiteral("Esportate 2 fatture in %1").arg(QDir::toNativeSeparators(folder()))});
    QStringList shown;
    for (const auto& row : list.rows())
        shown << row[u"FilePA"].toString();
    EXPECT_EQ(shown, (QStringList{QStringLiteral("IT01234567890_00002.xml"),
                                  QStringLiteral("IT01234567890_00001.xml")}));
}

// A new invoice has no number yet, and typed header fields are not in what is stored.
TEST_F(InvoiceElectronicExportTest, TheWindowExportsOnlyASavedInvoice)
{
    const int customerId = businessCustomer();
    documents::FatturaImmediata window(db(), m_session, *m_paths, m_dialogs, m_navigator, m_reports);
    ASSERT_TRUE(window.open({}));
    window.setCustomer(customerId);
    auto command = exporter();
    EXPECT_FALSE(window.exportElectronic(command));
    EXPECT_FALSE(window.sendByPec(command));
    EXPECT_EQ(m_dialogs.messages(),
              QStringList(2, QStringLiteral("Salvare la fattura prima di esportarla.")));
    EXPECT_EQ(files(), QStringList());
    window.leave();

    const int saved = invoice(customerId, OneRow);
    documents::FatturaImmediata reopened(db(), m_session, *m_paths, m_dialogs, m_navigator, m_reports);
    ASSERT_TRUE(reopened.open({.key = saved}));
    m_dialogs.clear();
    EXPECT_TRUE(reopened.exportElectronic(command));
    EXPECT_EQ(files(), QStringList{QStringLiteral("IT01234567890_00001.xml")});

    // Numbered and committed but not written: not an export done, and the earlier file stays.
    QDir().mkpath(QDir(folder()).filePath(QStringLiteral("IT01234567890_00002.xml")));
    m_dialogs.answerConfirm(true);
    EXPECT_FALSE(reopened.exportElectronic(command));
    EXPECT_EQ(m_dialogs.messages().last(),
              QStringLiteral("1 fattura numerata con il file in attesa di "
                             "scrittura: sarà scritto alla prossima esportazione."));
    EXPECT_EQ(files(), QStringList{QStringLiteral("IT01234567890_00001.xml")});
}

// Many invoices, one of them exported before: the operator is asked first, here; then the whole
// export is the job, on a connection of its own, its bar moving with each invoice.
TEST_F(InvoiceElectronicExportTest, ManyInvoicesAreExportedBehindTheBarAfterTheQuestions)
{
    const int customerId = businessCustomer();
    QList<int> ids;
    for (int i = 0; i < documents::InvoiceElectronicExport::backgroundFrom(); ++i)
        ids << invoice(customerId, OneRow);
    auto command = exporter();
    command.exportInvoices({ids.first()});
    m_dialogs.clear();
    m_dialogs.answerConfirm(true);
    std::size_t eventsBeforeTheJob = 0;
    std::vector<int> bar;
    command.runJobsWith(
        [&](const QString&, const carvendo::core::LongJob& job) {
            eventsBeforeTheJob = m_dialogs.events().size();
            job([&](int percent) { bar.push_back(percent); });
        },
        company().settings());
    EXPECT_EQ(command.exportInvoices(ids).size(), ids.size());
    EXPECT_EQ(eventsBeforeTheJob, 1u);                  // the question about the earlier file
    ASSERT_EQ(bar.size(), std::size_t(2 * ids.size())); // each invoice prepared, then written
    EXPECT_EQ(bar.back(), 100);
    EXPECT_EQ(nextProgressive(), 2 + ids.size());
}

// The PEC goes to the exchange system's address of the settings, with the file attached; without the
// address nothing is exported and no mail window opens.
TEST_F(InvoiceElectronicExportTest, SendingByPecNeedsTheAddressAndAttachesTheFile)
{
    db().exec(QStringLiteral("DELETE FROM mail"));
    insert("mail", {{QStringLiteral("mittente"), QStringLiteral("negozio@pec.it")},
                    {QStringLiteral("hostname"), QStringLiteral("smtp.pec.it")}});
    const int id = invoice(businessCustomer(), OneRow);
    auto command = exporter();

    EXPECT_FALSE(command.sendByPec(id, QStringLiteral("TFatture")));
    EXPECT_EQ(m_dialogs.messages(), QStringList{documents::InvoiceElectronicExport::missingPecMessage()});
    EXPECT_EQ(files(), QStringList());
    EXPECT_EQ(m_navigator.openedWindows(), QStringList());

    setPec(Pec);
    for (int time = 0; time < 2; ++time) { // the second time the file already written goes
        EXPECT_TRUE(command.sendByPec(id, QStringLiteral("TFatture")));
        const auto mail =
            messaging::MailMessage::fromValues(m_navigator.lastRequest(QStringLiteral("TMailForm")).values);
        EXPECT_EQ(mail.to, Pec);
        EXPECT_EQ(mail.from, QStringLiteral("negozio@pec.it"));
        EXPECT_EQ(mail.subject, QStringLiteral("Fattura elettronica IT01234567890_00001.xml"));
        EXPECT_EQ(mail.attachment, QDir(folder()).filePath(QStringLiteral("IT01234567890_00001.xml")));
    }
    EXPECT_EQ(files(), QStringList{QStringLiteral("IT01234567890_00001.xml")});
    EXPECT_EQ(nextProgressive(), 2);

    // Exported before its file was recorded: the file in the folder goes, with no new number.
    const int earlier = invoice(businessCustomer(), OneRow);
    db().exec(QStringLiteral("UPDATE fatture SET FilePA = 'IT01234567890_00777.xml' WHERE idFattura = :ID"),
              {{QStringLiteral("ID"), earlier}});
    const QString earlierFile = QDir(folder()).filePath(QStringLiteral("IT01234567890_00777.xml"));
    ct::writeFile(earlierFile, "<FatturaElettronica/>");
    EXPECT_TRUE(command.sendByPec(earlier, QStringLiteral("TFatture")));
    EXPECT_EQ(messaging::MailMessage::fromValues(m_navigator.lastRequest(QStringLiteral("TMailForm")).values)
                  .attachment,
              earlierFile);
    EXPECT_EQ(nextProgressive(), 2);
}

} // namespace
