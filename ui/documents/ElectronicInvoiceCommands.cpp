#include "ui/documents/ElectronicInvoiceCommands.h"

#include "core/CompanyDirectory.h"
#include "core/Connections.h"
#include "ui/common/BackgroundTask.h"
#include "ui/common/PageWidgets.h"
#include "ui/common/WindowEnvironment.h"

#include <QMenu>
#include <QPushButton>

namespace carvendo::ui {

documents::InvoiceElectronicExport electronicInvoiceExport(WindowEnvironment& environment, QWidget* parent)
{
    documents::InvoiceElectronicExport exporter(environment.connections.company(), environment.dialogs,
                                                environment.paths, environment.navigator,
                                                core::CompanyDirectory(environment.connections.directory())
                                                    .recordOf(environment.connections.companySettings()));
    exporter.runJobsWith(backgroundJobRunner(parent), environment.connections.companySettings());
    return exporter;
}

QPushButton* electronicInvoiceButton(QWidget* parent, const std::function<void()>& exportXml,
                                     const std::function<void()>& sendByPec)
{
    QPushButton* button =
        pageButton(QStringLiteral("Fattura elettronica"), QStringLiteral("fatturaelettronica"));
    button->setParent(parent);
    auto* menu = new QMenu(button);
    menu->setObjectName(QStringLiteral("menufatturaelettronica"));
    menu->addAction(QStringLiteral("Esporta XML"), parent, exportXml);
    menu->addAction(QStringLiteral("Invia tramite PEC"), parent, sendByPec);
    button->setMenu(menu);
    return button;
}

} // namespace carvendo::ui
