#include "ui/stock/TMagazzinoAnagrafica.h"

#include "core/Connections.h"
#include "stock/Warehouses.h"
#include "ui/common/CardForm.h"

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

TMagazzinoAnagrafica::TMagazzinoAnagrafica(WindowEnvironment& environment,
                                           const core::NavigationRequest& request, QWidget* parent)
    : RecordCardWindow(environment.dialogs, parent, environment.connections.company(), environment.session,
                       environment.paths, environment.dialogs)
{
    setWindowTitle(QStringLiteral("Anagrafica Magazzino"));
    setMinimumWidth(680);

    m_form = new CardForm(warehouseFields(), 2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_form);
    layout->addStretch();
    layout->addWidget(cardButtons());

    connect(m_form, &CardForm::valueEdited, &m_logic, &stock::MagazzinoAnagrafica::setValue);
    openRequested(request,
                  [&] { m_logic.openNew(request.values.value(QStringLiteral("descrizione")).toString()); });
    m_form->focusFirst();
}

void TMagazzinoAnagrafica::showRecord()
{
    m_form->setValues(m_logic.values());
}

} // namespace carvendo::ui
