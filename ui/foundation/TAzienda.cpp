#include "ui/foundation/TAzienda.h"

#include "core/Navigator.h"
#include "core/Session.h"
#include "ui/common/BackgroundTask.h"
#include "ui/common/GuardedCommand.h"
#include "ui/common/RowsTableModel.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace carvendo::ui {

TAzienda::TAzienda(WindowEnvironment& environment, QWidget* parent)
    : Window(parent), m_environment(environment),
      m_logic(environment.connections, environment.session, environment.paths, environment.dialogs,
              environment.navigator, backgroundJobRunner(this))
{
    buildWidgets();
}

void TAzienda::buildWidgets()
{
    setWindowTitle(QStringLiteral("Carvendo Pro - Selezione Azienda"));
    resize(900, 480);

    m_model = new RowsTableModel(this);
    m_model->setColumns({{QStringLiteral("ragionesociale"), QStringLiteral("Ragione Sociale")},
                         {QStringLiteral("citta"), QStringLiteral("Città")},
                         {QStringLiteral("databasename"), QStringLiteral("Database")},
                         {QStringLiteral("lastaccess"), QStringLiteral("Ultimo accesso")}});
    m_grid = new QTableView;
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->verticalHeader()->hide();

    auto* create = new QPushButton(QStringLiteral("Crea nuova azienda"));
    auto* view = new QPushButton(QStringLiteral("Visualizza azienda"));
    auto* remove = new QPushButton(QStringLiteral("Elimina azienda"));
    auto* quit = new QPushButton(QStringLiteral("Esci"));
    auto* companyButtons = new QHBoxLayout;
    for (QPushButton* b : {create, view, remove})
        companyButtons->addWidget(b);
    companyButtons->addStretch();
    companyButtons->addWidget(quit);

    m_warehouse = new QComboBox;
    m_operator = new QComboBox;
    m_password = new QLineEdit;
    m_password->setEchoMode(QLineEdit::Password);
    m_loginButton = new QPushButton(QStringLiteral("Login"));
    m_loginButton->setDefault(true);
    m_progress = new QProgressBar;
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    fillCombo(m_warehouse, QString::fromLatin1(foundation::Azienda::WarehousePlaceholder), {}, {});
    fillCombo(m_operator, QString::fromLatin1(foundation::Azienda::OperatorPlaceholder), {}, {});

    auto* loginBox = new QGroupBox(QStringLiteral("Accesso"));
    auto* form = new QFormLayout(loginBox);
    form->addRow(QStringLiteral("Magazzino"), m_warehouse);
    form->addRow(QStringLiteral("Utente"), m_operator);
    form->addRow(QStringLiteral("Password"), m_password);
    form->addRow(m_loginButton);
    form->addRow(m_progress);

    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("Aziende")));
    left->addWidget(m_grid);
    left->addLayout(companyButtons);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 3);
    layout->addWidget(loginBox, 2);

    // Choosing a company reads its database: a failure is told and the window stays.
    core::Dialogs& dialogs = m_environment.dialogs;
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this, &dialogs](const QModelIndex& current) {
                core::runGuarded(dialogs, [&] { selectRow(current.row()); });
            });
    const auto viewCurrent = [this] {
        m_logic.viewCompany(currentCompanyId());
        showCompanies();
    };
    connect(m_grid, &QTableView::doubleClicked, this,
            [&dialogs, viewCurrent] { core::runGuarded(dialogs, viewCurrent); });
    onClickGuarded(view, dialogs, viewCurrent);
    onClickGuarded(create, dialogs, [this] {
        m_logic.createCompany();
        showCompanies();
    });
    onClickGuarded(remove, dialogs, [this] {
        m_logic.deleteCompany(currentCompanyId());
        showCompanies();
    });
    connect(quit, &QPushButton::clicked, this, &QDialog::reject);
    onClickGuarded(m_loginButton, dialogs, [this] { login(); });
    connect(m_password, &QLineEdit::returnPressed, this,
            [this, &dialogs] { core::runGuarded(dialogs, [this] { login(); }); });
}

bool TAzienda::start()
{
    if (!m_logic.start())
        return false;
    showCompanies();
    return true;
}

void TAzienda::showCompanies()
{
    m_shownCompany = 0;
    m_model->setRows(m_logic.companies());
    m_grid->resizeColumnsToContents();
}

int TAzienda::currentCompanyId() const
{
    const int row = m_grid->currentIndex().row();
    if (row < 0 || row >= m_logic.companies().size())
        return 0;
    return m_logic.companies()[row][u"id"].toInt();
}

void TAzienda::fillCombo(QComboBox* combo, const QString& placeholder, const QStringList& items,
                         const QString& preselect)
{
    combo->clear();
    combo->addItem(placeholder);
    combo->addItems(items);
    const int index = combo->findText(preselect);
    combo->setCurrentIndex(index > 0 ? index : 0);
}

void TAzienda::selectRow(int row)
{
    if (row < 0 || row >= m_logic.companies().size())
        return;
    if (m_grid->currentIndex().row() != row)
        m_grid->selectRow(row);
    const int id = m_logic.companies()[row][u"id"].toInt();
    if (id == m_shownCompany)
        return;
    m_shownCompany = id;
    switch (m_logic.selectCompany(id)) {
    case foundation::Azienda::Selection::EndProgram:
        reject();
        return;
    case foundation::Azienda::Selection::Failed:
        m_shownCompany = 0;
        break;
    case foundation::Azienda::Selection::Ready:
        break;
    }
    fillCombo(m_warehouse, QString::fromLatin1(foundation::Azienda::WarehousePlaceholder),
              m_logic.warehouses(), m_logic.defaultWarehouse());
    fillCombo(m_operator, QString::fromLatin1(foundation::Azienda::OperatorPlaceholder), m_logic.operators(),
              {});
    m_password->setFocus();
}

void TAzienda::setLogin(const QString& warehouse, const QString& username, const QString& password)
{
    m_warehouse->setCurrentText(warehouse);
    m_operator->setCurrentText(username);
    m_password->setText(password);
}

void TAzienda::login()
{
    if (!m_logic.login(m_warehouse->currentText(), m_operator->currentText(), m_password->text()))
        return;
    for (int step = 0; step <= 100; step += 20)
        m_progress->setValue(step);
    m_password->clear();
    hide();
    // The main window runs until the operator closes the program through the closing dialog.
    m_environment.navigator.open(QStringLiteral("TPrincipale"), {}, QStringLiteral("TAzienda"),
                                 {{QStringLiteral("azienda"), m_logic.selectedCompanyName()}});
    m_environment.session.logOut();
    accept();
}

} // namespace carvendo::ui
