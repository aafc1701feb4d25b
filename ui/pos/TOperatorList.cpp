#include "ui/pos/TOperatorList.h"

#include "core/CommandGuard.h"
#include "core/Connections.h"
#include "ui/common/GuardedCommand.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace carvendo::ui {

TOperatorList::TOperatorList(WindowEnvironment& environment, QWidget* parent)
    : Window(parent), m_dialogs(environment.dialogs),
      m_logic(environment.connections.company(), environment.dialogs)
{
    buildWidgets();
    onClickGuarded(m_confirmButton, m_dialogs, [this] { confirm(); });
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void TOperatorList::buildWidgets()
{
    setWindowTitle(QStringLiteral("Login Operatore"));

    m_operators = new QListWidget;
    m_operators->setObjectName(QStringLiteral("operatori"));
    for (const pos::TillOperatorChoice& choice : m_logic.operators())
        m_operators->addItem(choice.username);
    m_operators->setCurrentRow(-1);
    QFont large = m_operators->font();
    large.setPointSizeF(large.pointSizeF() * 1.3);
    m_operators->setFont(large);

    m_password = new QLineEdit;
    m_password->setObjectName(QStringLiteral("password"));
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setFont(large);

    m_confirmButton = new QPushButton(QStringLiteral("Conferma (Invio)"));
    m_confirmButton->setObjectName(QStringLiteral("conferma"));
    m_cancelButton = new QPushButton(QStringLiteral("Annulla (Esc)"));
    m_cancelButton->setObjectName(QStringLiteral("annulla"));
    for (QPushButton* button : {m_confirmButton, m_cancelButton}) {
        button->setMinimumHeight(36);
        button->setAutoDefault(false);
    }

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_confirmButton);
    buttons->addWidget(m_cancelButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Operatore")));
    layout->addWidget(m_operators, 1);
    layout->addWidget(new QLabel(QStringLiteral("Password")));
    layout->addWidget(m_password);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    resize(360, 420);

    setTabOrder(m_operators, m_password);
    setTabOrder(m_password, m_confirmButton);
    setTabOrder(m_confirmButton, m_cancelButton);
    m_operators->setFocus();
}

void TOperatorList::keyPressEvent(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        Window::keyPressEvent(event); // Escape cancels
        return;
    }
    // Enter on the chosen name goes on to the password; anywhere else it confirms.
    if (m_operators->hasFocus() && m_operators->currentRow() >= 0 && m_password->text().isEmpty())
        m_password->setFocus();
    else
        core::runGuarded(m_dialogs, [this] { confirm(); });
}

void TOperatorList::confirm()
{
    switch (m_logic.logIn(m_operators->currentRow(), m_password->text())) {
    case pos::OperatorList::Outcome::Accepted:
        accept();
        break;
    case pos::OperatorList::Outcome::NoOperator:
        m_operators->setFocus();
        break;
    case pos::OperatorList::Outcome::WrongPassword:
        m_password->clear();
        m_password->setFocus();
        break;
    case pos::OperatorList::Outcome::EmptyPassword:
        m_password->setFocus();
        break;
    }
}

core::NavigationResult TOperatorList::navigationResult() const
{
    if (!m_logic.loggedIn() || result() != QDialog::Accepted)
        return {};
    return {.accepted = true, .value = m_logic.loggedIn()->username};
}

} // namespace carvendo::ui
