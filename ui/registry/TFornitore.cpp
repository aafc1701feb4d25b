#include "TFornitore.h"

#include "CardForm.h"
#include "CardWindows.h"
#include "Connections.h"
#include "PageWidgets.h"

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace carvendo::ui {

namespace {

CardField field(const char* column, const char* caption, CardField::Kind kind = CardField::Kind::Text)
{
    return CardField{QString::fromUtf8(column), QString::fromUtf8(caption), kind, kind == CardField::Kind::Text ? 50 : 0};
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

TFornitore::TFornitore(WindowEnvironment& environment, const core::NavigationRequest& request, QWidget* parent)
    : CardWindow(parent), m_logic(environment.connections.company(), environment.dialogs, environment.navigator)
{
    setWindowTitle(QStringLiteral("Anagrafica Fornitore"));
    setMinimumWidth(760);

    m_form = new CardForm(supplierFields(), 2);
    m_bank = new CardForm(bankAndAgentFields(), 2);
    m_form->editor(QStringLiteral("Codice"))->setEnabled(false);

    auto* tabs = new QTabWidget;
    tabs->addTab(m_form, QStringLiteral("Anagrafica"));
    tabs->addTab(m_bank, QStringLiteral("Banca e agente"));

    auto* buttons = new QDialogButtonBox;
    QPushButton* saveButton = buttons->addButton(QStringLiteral("Salva"), QDialogButtonBox::AcceptRole);
    m_exit = buttons->addButton(m_logic.exitCaption(), QDialogButtonBox::RejectRole);
    saveButton->setDefault(true);
    saveButton->setAutoDefault(true);
    m_exit->setAutoDefault(false);

    QPushButton* map = pageButton(QStringLiteral("Mappa"), QStringLiteral("mappa"));
    m_makeCustomer = pageButton(QStringLiteral("Crea cliente"), QStringLiteral("creaCliente"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addLayout(buttonRow({map, m_makeCustomer}));
    layout->addWidget(buttons);

    for (CardForm* form : {m_form, m_bank})
        connect(form, &CardForm::valueEdited, &m_logic, &registry::Fornitore::setValue);
    onFieldLeft(*m_form, {QStringLiteral("CodFisc"), QStringLiteral("PIva"), QStringLiteral("Email")},
                [this](const QString& column) { m_logic.fieldLeft(column); });
    onFieldLeft(*m_bank, {QStringLiteral("emailAgente")}, [this](const QString& column) { m_logic.fieldLeft(column); });
    connect(map, &QPushButton::clicked, this, [this] { openInBrowser(m_logic.mapSearchUrl()); });
    connect(m_makeCustomer, &QPushButton::clicked, &m_logic, &registry::Fornitore::makeCustomer);
    connect(saveButton, &QPushButton::clicked, this, &CardWindow::save);
    connect(m_exit, &QPushButton::clicked, this, &TFornitore::reject);
    connect(&m_logic, &registry::Fornitore::changed, this, &TFornitore::showState);

    if (request.key.isValid() && !request.key.isNull()) {
        // A supplier gone meanwhile: the logic has said so, the card closes once it is up.
        if (!m_logic.open(request.key.toInt()))
            QMetaObject::invokeMethod(this, &QDialog::reject, Qt::QueuedConnection);
    } else {
        m_logic.openNew();
    }
    tabs->addTab(historyTabsWidget(environment.connections.company(), registry::supplierHistoryTabs(), m_logic.id()),
                 QStringLiteral("Documenti"));
    showState();
    m_form->focusFirst();
}

void TFornitore::showState()
{
    m_form->setValues(m_logic.values());
    m_bank->setValues(m_logic.values());
    m_exit->setText(m_logic.exitCaption());
    m_makeCustomer->setEnabled(!m_logic.isNew());
}

} // namespace carvendo::ui
