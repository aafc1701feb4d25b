#pragma once

#include "foundation/ImpostazioniServer.h"
#include "ui/common/Window.h"
#include "ui/common/WindowEnvironment.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace carvendo::core {
class EmbeddedServer;
} // namespace carvendo::core

namespace carvendo::ui {

// "Parametri di Connessione al Server Mysql": where this workstation finds the company directory.
class TImpostazioniServer : public Window
{
    Q_OBJECT
public:
    TImpostazioniServer(WindowEnvironment& environment, core::EmbeddedServer& embedded,
                        QWidget* parent = nullptr);

    foundation::ImpostazioniServer& logic() { return m_logic; }

    void save(); // "Salva": closes the window once everything is saved

private:
    void buildWidgets();
    void showFields();

    core::Dialogs& m_dialogs;
    foundation::ImpostazioniServer m_logic;
    QLineEdit* m_server = nullptr;
    QLineEdit* m_port = nullptr;
    QLineEdit* m_database = nullptr;
    QLineEdit* m_username = nullptr;
    QLineEdit* m_password = nullptr;
    QComboBox* m_machineType = nullptr;
    QCheckBox* m_shareOnNetwork = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_exit = nullptr;
};

} // namespace carvendo::ui
