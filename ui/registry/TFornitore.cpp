#include "ui/registry/TFornitore.h"

#include "core/Connections.h"
#include "ui/common/CardForm.h"
#include "ui/common/GuardedCommand.h"
#include "ui/common/PageWidgets.h"
#include "ui/registry/CardWindows.h"

#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace carvendo::ui {

namespace {

CardField field(const char* column, const char* caption, CardField::Kind kind = CardField::Kind::Text)
{
    return CardField{QString::fromUtf8(column), QString::fromUtf8(caption), kind,
                     kind == CardField::Kind::Text ? 50 : 0};
}

QList<CardField> supplierFields()
{
    return {field("Codice", "Codice"),
            field("RagSoc", "Ragione Sociale"),
            field("PIva", "Partita IVA"),
            field("CodFisc", "Codice Fiscale"),
            field("IndirizzoLeg", "Indirizzo sede legale"),
            field("CittaLeg", "Città sede legale"),
            field("CapLeg", "Cap sede legale"),
            field("ProvLeg", "Provincia sede legale"),
            field("Stato", "Stato"),
            field("IndirizzoMerce", "Indirizzo merce"),
            field("CittaMerce", "Città merce"),
            field("CapMerce", "Cap merce"),
            field("ProvMerce", "Provincia merce"),
            field("Telefono", "Telefono"),
            field("Cellulare", "Cellulare"),
            field("Fax", "Fax"),
            field("Email", "E-mail"),
            field("WebFornitore", "Sito web"),
            field("Categoria", "Categoria"),
            field("Note", "Note", CardField::Kind::Memo)};
}

QList<CardField> bankAndAgentFields()
{
    return {field("Banca", "Banca"),
            field("Abi", "Abi"),
            field("Cab", "Cab"),
            field("ContoCorrente", "Conto corrente"),
            field("Pagamento", "Pagamento"),
            field("Iva", "Iva"),
            field("Agente", "Agente"),
            field("TelAgente", "Telefono agente"),
            field("CellAgente", "Cellulare agente"),
            field("emailAgente", "E-mail agente"),
            field("WebAgente", "Sito web agente"),
            field("NoteForn", "Note fornitore", CardField::Kind::Memo),
            field("NoteAgente", "Note agente", CardField::Kind::Memo)};
}

} // namespace

TFornitore::TFornitore(WindowEnvironment& environment, const core::NavigationRequest& request,
                       QWidget* parent)
    : RecordCardWindow(environment.dialogs, parent, environment.connections.company(), environment.dialogs,
                       environment.navigator)
{
    setWindowTitle(QStringLiteral("Anagrafica Fornitore"));
    setMinimumWidth(760);

    m_form = new CardForm(supplierFields(), 2);
    m_bank = new CardForm(bankAndAgentFields(), 2);
    m_form->editor(QStringLiteral("Codice"))->setEnabled(false);

    auto* tabs = new QTabWidget;
    tabs->addTab(m_form, QStringLiteral("Anagrafica"));
    tabs->addTab(m_bank, QStringLiteral("Banca e agente"));

    QPushButton* map = pageButton(QStringLiteral("Mappa"), QStringLiteral("mappa"));
    m_makeCustomer = pageButton(QStringLiteral("Crea cliente"), QStringLiteral("creaCliente"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addLayout(buttonRow({map, m_makeCustomer}));
    layout->addWidget(cardButtons());

    for (CardForm* form : {m_form, m_bank})
        connect(form, &CardForm::valueEdited, &m_logic, &registry::Fornitore::setValue);
    onFieldLeft(*m_form, {QStringLiteral("CodFisc"), QStringLiteral("PIva"), QStringLiteral("Email")},
                [this](const QString& column) { m_logic.fieldLeft(column); });
    onFieldLeft(*m_bank, {QStringLiteral("emailAgente")},
                [this](const QString& column) { m_logic.fieldLeft(column); });
    connect(map, &QPushButton::clicked, this, [this] { openInBrowser(m_logic.mapSearchUrl()); });
    onClickGuarded(m_makeCustomer, environment.dialogs, [this] { m_logic.makeCustomer(); });

    openRequested(request);
    tabs->addTab(
        historyTabsWidget(environment.connections.company(), registry::supplierHistoryTabs(), m_logic.id()),
        QStringLiteral("Documenti"));
    m_form->focusFirst();
}

void TFornitore::showRecord()
{
    m_form->setValues(m_logic.values());
    m_bank->setValues(m_logic.values());
    m_makeCustomer->setEnabled(!m_logic.isNew());
}

} // namespace carvendo::ui
