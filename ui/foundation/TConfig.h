#pragma once

#include "foundation/Config.h"
#include "ui/common/Window.h"
#include "ui/common/WindowEnvironment.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class QTabWidget;

namespace carvendo::ui {

class EditableList;

// "Configurazione Generale": the shop's lookup lists, VAT rates and departments, labels, privacy
// notice, the workstation preferences and the numbering series. The preferences are written when
// the window closes.
class TConfig : public Window
{
    Q_OBJECT
public:
    TConfig(WindowEnvironment& environment, core::Db& company, QWidget* parent = nullptr);

    foundation::Config& logic() { return m_logic; }
    QTabWidget* pages() const { return m_pages; }

    void done(int result) override;

private:
    QWidget* buildGenerale();
    QWidget* buildArticoli();
    QWidget* buildClienti();
    QWidget* buildPreferenze();
    QWidget* buildContabilita();
    QWidget* buildEtichette();
    QWidget* buildPrivacy();
    EditableList* list(foundation::Lookup lookup, const QString& objectName);
    QWidget* titled(const QString& title, QWidget* content);

    void showPreferences();
    void takePreferences();
    void showLabels();

    foundation::Config m_logic;
    QTabWidget* m_pages = nullptr;
    bool m_closed = false;

    // "Etichette"
    QRadioButton* m_ean8 = nullptr;
    QRadioButton* m_ean13 = nullptr;
    QLineEdit* m_startBarcode = nullptr;
    QComboBox* m_labelPrinter = nullptr;

    QPlainTextEdit* m_privacy = nullptr;

    // "Preferenze"
    QComboBox* m_skin = nullptr;
    QCheckBox* m_prezziDdt = nullptr;
    QCheckBox* m_promemoria = nullptr;
    QCheckBox* m_splash = nullptr;
    QCheckBox* m_treDecimali = nullptr;
    QCheckBox* m_ivaInclusa = nullptr;
    QRadioButton* m_classicInterface = nullptr;
    QRadioButton* m_touchInterface = nullptr;
    QCheckBox* m_fullScreen = nullptr;
    QCheckBox* m_operatoreObbligatorio = nullptr;
    QCheckBox* m_disconnetti = nullptr;
    QComboBox* m_disconnessioneDopo = nullptr;
};

} // namespace carvendo::ui
