#include "StockMovementWindows.h"

#include "TAnalisiMagazzino.h"
#include "TCausaleMagazzino.h"
#include "TMagazziniLista.h"
#include "TMovimentiMagazzino.h"
#include "WindowRegistry.h"

namespace carvendo::ui {

namespace {

template <typename View> void addWindow(WindowRegistry& registry, const QString& name)
{
    registry.add(name, [](WindowEnvironment& environment, const core::NavigationRequest& request, QWidget* parent) {
        return new View(environment, request, parent);
    });
}

} // namespace

void registerStockMovementWindows(WindowRegistry& registry)
{
    addWindow<TMovimentiMagazzino>(registry, QStringLiteral("TMovimentiMagazzino"));
    addWindow<TAnalisiMagazzino>(registry, QStringLiteral("TAnalisiMagazzino"));
    addWindow<TMagazziniLista>(registry, QStringLiteral("TMagazziniLista"));
    addWindow<TCausaleMagazzino>(registry, QStringLiteral("TCausaleMagazzino"));
}

} // namespace carvendo::ui
