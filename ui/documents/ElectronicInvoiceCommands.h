#pragma once

#include "documents/InvoiceElectronicExport.h"

#include <functional>

class QPushButton;
class QWidget;

namespace carvendo::ui {

struct WindowEnvironment;

// The electronic invoice commands of a window: the shop's company card from the directory, and many
// invoices exported behind the progress bar on a connection of the job's own.
documents::InvoiceElectronicExport electronicInvoiceExport(WindowEnvironment& environment, QWidget* parent);

// "Fattura elettronica" with its menu: "Esporta XML" and "Invia tramite PEC".
QPushButton* electronicInvoiceButton(QWidget* parent, const std::function<void()>& exportXml,
                                     const std::function<void()>& sendByPec);

} // namespace carvendo::ui
