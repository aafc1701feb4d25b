#pragma once

#include "foundation/ImpostazioniNew.h"
#include "ui/common/Window.h"
#include "ui/common/WindowEnvironment.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QTabWidget;

namespace carvendo::ui {

class CardForm;

// "Impostazioni Generali": company data and logo, banks, backups, cash register, e-mail account,
// operators and groups, printing and the online store link. Opened on the page named by the
// request's value "page"; the request's key is the current company's `aziende` id.
class TImpostazioniNew : public Window
{
    Q_OBJECT
public:
    TImpostazioniNew(WindowEnvironment& environment, core::Db& company, core::Db& directory, int companyId,
                     const QString& page = {}, QWidget* parent = nullptr);

    foundation::ImpostazioniNew& logic() { return m_logic; }
    QTabWidget* pages() const { return m_pages; }

private:
    QWidget* buildAzienda();
    QWidget* buildLogo();
    QWidget* buildCashRegister();
    QWidget* buildMail();
    QWidget* buildUsers();
    QWidget* buildPrints();
    QWidget* buildStore();
    QWidget* listPage(foundation::Lookup lookup, const QString& objectName);

    void showCompany();
    void showLogo();
    void showCashRegister();
    void showModels(const QString& brand);
    void showMail();
    void showPrints();
    void showStore();
    foundation::StoreConnection typedStore() const;

    foundation::ImpostazioniNew m_logic;
    WindowEnvironment& m_environment;
    QTabWidget* m_pages = nullptr;

    CardForm* m_company = nullptr;
    QLabel* m_logoPicture = nullptr;
    QCheckBox* m_usesLogo = nullptr;
    QComboBox* m_brand = nullptr;
    QComboBox* m_model = nullptr;
    QLineEdit* m_workFolder = nullptr;
    QLineEdit* m_registerPassword = nullptr;
    CardForm* m_mail = nullptr;
    QList<QCheckBox*> m_logoUse;
    QLineEdit* m_dropbox = nullptr;
    CardForm* m_store = nullptr;
};

} // namespace carvendo::ui
