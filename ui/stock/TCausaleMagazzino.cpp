#include "ui/stock/TCausaleMagazzino.h"

#include "core/Connections.h"
#include "ui/common/EditableList.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace carvendo::ui {

TCausaleMagazzino::TCausaleMagazzino(WindowEnvironment& environment, const core::NavigationRequest&,
                                     QWidget* parent)
    : Window(parent), m_logic(environment.connections.company(), environment.session, environment.dialogs)
{
    setWindowTitle(QStringLiteral("Causali di Magazzino"));
    resize(820, 460);

    m_list = new EditableList(m_logic, this);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* exitButton = buttons->addButton(QStringLiteral("Esci"), QDialogButtonBox::RejectRole);
    exitButton->setAutoDefault(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addWidget(buttons);

    connect(exitButton, &QPushButton::clicked, this, &QDialog::reject);
    m_logic.reload();
    m_list->grid()->setFocus();
}

} // namespace carvendo::ui
