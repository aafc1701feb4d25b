#pragma once

#include "foundation/EInvoiceSettings.h"

#include <QWidget>

namespace carvendo::ui {

class CardForm;

// "Fatturazione elettronica": the company's data for the electronic invoice, saved with its own
// button.
class EInvoicePage : public QWidget
{
    Q_OBJECT
public:
    EInvoicePage(core::Db& company, core::Dialogs& dialogs, QWidget* parent = nullptr);

    foundation::EInvoiceSettings& logic() { return m_logic; }
    CardForm* form() const { return m_form; }

private:
    void showValues();

    foundation::EInvoiceSettings m_logic;
    CardForm* m_form = nullptr;
};

} // namespace carvendo::ui
