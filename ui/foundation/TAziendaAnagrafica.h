#pragma once

#include "foundation/AziendaAnagrafica.h"
#include "ui/common/Window.h"
#include "ui/common/WindowEnvironment.h"

#include <QList>

class QCheckBox;
class QFormLayout;
class QLineEdit;
class QSpinBox;

namespace carvendo::ui {

// The company card, opened by the login window in "new" or "view" mode.
class TAziendaAnagrafica : public Window
{
    Q_OBJECT
public:
    TAziendaAnagrafica(WindowEnvironment& environment, int companyId,
                       foundation::AziendaAnagrafica::Mode mode, QWidget* parent = nullptr);

    foundation::AziendaAnagrafica& logic() { return m_logic; }
    void save();

private:
    struct TextField
    {
        QString core::CompanyRecord::*member;
        QLineEdit* edit;
    };
    void addText(QFormLayout* form, const QString& caption, QString core::CompanyRecord::*member,
                 bool secret = false);
    void showRecord();
    core::CompanyRecord editedRecord() const;

    foundation::AziendaAnagrafica m_logic;
    QList<TextField> m_fields;
    QSpinBox* m_port = nullptr;
    QCheckBox* m_createDatabase = nullptr;
};

void registerCompanyWindows(class WindowRegistry& registry);

} // namespace carvendo::ui
