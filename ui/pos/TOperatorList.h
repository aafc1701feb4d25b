#pragma once

#include "pos/OperatorList.h"
#include "ui/common/Window.h"
#include "ui/common/WindowEnvironment.h"

class QLineEdit;
class QListWidget;
class QPushButton;

namespace carvendo::ui {

// "Login Operatore": the operator at the till picks a name and types the password. Enter confirms,
// Escape cancels; the navigation result's value is the username logged in.
class TOperatorList : public Window
{
    Q_OBJECT
public:
    explicit TOperatorList(WindowEnvironment& environment, QWidget* parent = nullptr);

    QListWidget* operators() const { return m_operators; }
    QLineEdit* password() const { return m_password; }

    core::NavigationResult navigationResult() const override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildWidgets();
    void confirm();

    core::Dialogs& m_dialogs;
    pos::OperatorList m_logic;
    QListWidget* m_operators = nullptr;
    QLineEdit* m_password = nullptr;
    QPushButton* m_confirmButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
};

} // namespace carvendo::ui
