#pragma once

#include "foundation/Azienda.h"
#include "ui/common/Window.h"
#include "ui/common/WindowEnvironment.h"

class QComboBox;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableView;

namespace carvendo::ui {

class RowsTableModel;

// The first window: the company list and the login. Closing it ends the program.
class TAzienda : public Window
{
    Q_OBJECT
public:
    TAzienda(WindowEnvironment& environment, QWidget* parent = nullptr);

    // Reaches the directory and lists the companies; false when there is nothing to work with.
    bool start();
    foundation::Azienda& logic() { return m_logic; }

    // Selects a company by its row in the list and fills the login lists (as a click does).
    void selectRow(int row);
    void setLogin(const QString& warehouse, const QString& username, const QString& password);
    void login();

private:
    void buildWidgets();
    void showCompanies();
    int currentCompanyId() const;
    void fillCombo(QComboBox* combo, const QString& placeholder, const QStringList& items,
                   const QString& preselect);

    WindowEnvironment& m_environment;
    foundation::Azienda m_logic;
    RowsTableModel* m_model = nullptr;
    QTableView* m_grid = nullptr;
    QComboBox* m_warehouse = nullptr;
    QComboBox* m_operator = nullptr;
    QLineEdit* m_password = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_loginButton = nullptr;
    int m_shownCompany = 0;
};

} // namespace carvendo::ui
