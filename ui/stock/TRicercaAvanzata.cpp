#include "ui/stock/TRicercaAvanzata.h"

#include "core/CommandGuard.h"
#include "core/Connections.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace carvendo::ui {

TRicercaAvanzata::TRicercaAvanzata(WindowEnvironment& environment, const core::NavigationRequest&,
                                   QWidget* parent)
    : Window(parent), m_dialogs(environment.dialogs),
      m_logic(environment.connections.company(), environment.dialogs)
{
    setWindowTitle(QStringLiteral("Ricerca avanzata"));
    setMinimumWidth(420);

    m_attribute = new QComboBox(this);
    const QStringList attributes = stock::RicercaAvanzata::attributes();
    const QStringList captions = stock::RicercaAvanzata::captions();
    for (int i = 0; i < attributes.size(); ++i)
        m_attribute->addItem(captions.at(i), attributes.at(i));
    m_attribute->setCurrentIndex(m_attribute->findData(m_logic.attribute()));
    m_value = new QLineEdit(this);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Cerca per"), m_attribute);
    form->addRow(QStringLiteral("Valore"), m_value);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* searchButton = buttons->addButton(QStringLiteral("Cerca"), QDialogButtonBox::AcceptRole);
    QPushButton* cancelButton = buttons->addButton(QStringLiteral("Annulla"), QDialogButtonBox::RejectRole);
    searchButton->setDefault(true);
    cancelButton->setAutoDefault(false);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    connect(m_attribute, &QComboBox::currentIndexChanged, this,
            [this] { m_logic.setAttribute(m_attribute->currentData().toString()); });
    connect(buttons, &QDialogButtonBox::accepted, this, &TRicercaAvanzata::search);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    m_value->setFocus();
}

void TRicercaAvanzata::search()
{
    bool found = false;
    core::runGuarded(m_dialogs, [&] { found = m_logic.search(m_value->text()); });
    if (found)
        accept();
    else
        m_value->setFocus();
}

} // namespace carvendo::ui
