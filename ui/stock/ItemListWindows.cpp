#include "ui/stock/ItemListWindows.h"

#include "ui/common/WindowRegistry.h"
#include "ui/stock/TArticoli.h"
#include "ui/stock/TArticoliPreleva.h"
#include "ui/stock/TRicercaAvanzata.h"

namespace carvendo::ui {

void registerItemListWindows(WindowRegistry& registry)
{
    registry.add(QStringLiteral("TArticoli"),
                 [](WindowEnvironment& environment, const core::NavigationRequest& request, QWidget* parent) {
                     return new TArticoli(environment, request, parent);
                 });
    registry.add(QStringLiteral("TArticoliPreleva"),
                 [](WindowEnvironment& environment, const core::NavigationRequest& request, QWidget* parent) {
                     return new TArticoliPreleva(environment, request, parent);
                 });
    registry.add(QStringLiteral("TRicercaAvanzata"),
                 [](WindowEnvironment& environment, const core::NavigationRequest& request, QWidget* parent) {
                     return new TRicercaAvanzata(environment, request, parent);
                 });
}

} // namespace carvendo::ui
