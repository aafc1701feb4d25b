#include "ui/foundation/SettingsWindows.h"

#include "core/Connections.h"
#include "ui/common/WindowRegistry.h"
#include "ui/foundation/TConfig.h"
#include "ui/foundation/TImpostazioniNew.h"

namespace carvendo::ui {

void registerSettingsWindows(WindowRegistry& registry)
{
    // Both windows work on the company database; when it cannot be reached the window is not made
    // and the navigator tells the operator why.
    registry.add(QStringLiteral("TImpostazioniNew"),
                 [](WindowEnvironment& environment, const core::NavigationRequest& request, QWidget* parent) {
                     core::Db& company = environment.connections.company();
                     core::Db& directory = environment.connections.directory();
                     // The current company, when the opener does not name it.
                     const int companyId = request.key.toInt() > 0
                                               ? request.key.toInt()
                                               : foundation::ImpostazioniNew::companyIdOf(
                                                     directory, environment.connections.companySettings());
                     return new TImpostazioniNew(environment, company, directory, companyId,
                                                 request.values.value(QStringLiteral("page")).toString(),
                                                 parent);
                 });
    registry.add(QStringLiteral("TConfig"),
                 [](WindowEnvironment& environment, const core::NavigationRequest&, QWidget* parent) {
                     return new TConfig(environment, environment.connections.company(), parent);
                 });
}

} // namespace carvendo::ui
