#include "ui/registry/ListWindows.h"

#include "ui/common/WindowRegistry.h"
#include "ui/registry/RegistryPickerWindow.h"
#include "ui/registry/TClienti.h"
#include "ui/registry/TFornitori.h"

namespace carvendo::ui {

void registerRegistryListWindows(WindowRegistry& registry)
{
    registry.add(QStringLiteral("TClienti"),
                 [](WindowEnvironment& environment, const core::NavigationRequest&, QWidget* parent) {
                     return new TClienti(environment, parent);
                 });
    registry.add(QStringLiteral("TFornitori"),
                 [](WindowEnvironment& environment, const core::NavigationRequest&, QWidget* parent) {
                     return new TFornitori(environment, parent);
                 });
    for (const registry::PickerWindow& picker : registry::PickerWindow::all()) {
        const registry::PickerWindow* chosen = &picker;
        registry.add(picker.name, [chosen](WindowEnvironment& environment,
                                           const core::NavigationRequest& request, QWidget* parent) {
            return new RegistryPickerWindow(*chosen, environment, request, parent);
        });
    }
}

} // namespace carvendo::ui
