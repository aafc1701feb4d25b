#include "TMagazzinoAnagrafica.h"

#include "CardForm.h"
#include "Connections.h"
#include "Warehouses.h"

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace carvendo::ui {

namespace {

CardField field(const char* column, const char* caption, CardField::Kind kind = CardField::Kind::Text)
{
    CardField result{QString::fromUtf8(column), QString::fromUtf8(caption), kind};
    if (const stock::WarehouseColumn* known = stock::Warehouses::column(result.column))
        result.maxLength = known->maxLength;
    return result;
}

QList<CardField> warehouseFields()
{
    using K = CardField::Kind;
    return {field("Descrizione", "Descrizione"),
            field("Let", "Lettera"),
            field("Sede", "Sede"),
            field("Citta", "Città"),
            field("Cap", "Cap"),
            field("PR", "Provincia"),
            field("Telefono", "Telefono"),
            field("Fax", "Fax"),
            field("Email", "E-mail"),
            field("Referente", "Referente"),
            field("RecapitoReferente", "Recapito Referente"),
            field("Esterno", "Magazzino esterno", K::Check),
            field("Predefinito", "Predefinito", K::Check),
            field("Stampe_mag", "Stampe magazzino", K::Check)};
}

} // namespace

TMagazzinoAnagrafica::TMagazzinoAnagrafica(WindowEnvironment& environment, const core::NavigationRequest& request,
                                           QWidget* parent)
    : CardWindow(parent)
    , m_logic(environment.connections.company(), environment.session, environment.paths, environment.dialogs)
{
    setWindowTitle(QStringLiteral("Anagrafica Magazzino"));
    setMinimumWidth(680);

    m_form = new CardForm(warehouseFields(), 2);
    auto* buttons = new QDialogButtonBox;
    QPushButton* saveButton = buttons->addButton(QStringLiteral("Salva"), QDialogButtonBox::AcceptRole);
    m_exit = buttons->addButton(m_logic.exitCaption(), QDialogButtonBox::RejectRole);
    saveButton->setDefault(true);
    saveButton->setAutoDefault(true);
    m_exit->setAutoDefault(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_form);
    layout->addStretch();
    layout->addWidget(buttons);

    connect(m_form, &CardForm::valueEdited, &m_logic, &stock::MagazzinoAnagrafica::setValue);
    connect(saveButton, &QPushButton::clicked, this, &CardWindow::save);
    connect(m_exit, &QPushButton::clicked, this, &TMagazzinoAnagrafica::reject);
    connect(&m_logic, &stock::MagazzinoAnagrafica::changed, this, &TMagazzinoAnagrafica::showState);

    if (request.key.isValid() && !request.key.isNull()) {
        // A warehouse gone meanwhile: the logic has said so, the card closes once it is up.
        if (!m_logic.open(request.key.toInt()))
            QMetaObject::invokeMethod(this, &QDialog::reject, Qt::QueuedConnection);
    } else {
        m_logic.openNew(request.values.value(QStringLiteral("descrizione")).toString());
    }
    showState();
    m_form->focusFirst();
}

void TMagazzinoAnagrafica::showState()
{
    m_form->setValues(m_logic.values());
    m_exit->setText(m_logic.exitCaption());
}

} // namespace carvendo::ui
