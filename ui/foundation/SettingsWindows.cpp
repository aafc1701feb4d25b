#include "ui/foundation/SettingsWindows.h"

#include "core/Connections.h"
#include "core/Dialogs.h"
#include "ui/common/WindowRegistry.h"
#include "ui/foundation/TConfig.h"
#include "ui/foundation/TImpostazioniNew.h"

namespace carvendo::ui {

void registerSettingsWindows(WindowRegistry& registry)
{
    // Both windows work on the company database; when it cannot be reached the operator is told
    // and no window opens.
    registry.add(
        QStringLiteral("TImpostazioniNew"),
        [](WindowEnvironment& environment, const core::NavigationRequest& request,
           QWidget* parent) -> Window* {
            try {
                core::Db& company = environment.connections.company();
                core::Db& directory = environment.connections.directory();
                // The current company, when the opener does not name it.
                const int companyId = request.key.toInt() > 0
                                          ? request.key.toInt()
                                          : foundation::ImpostazioniNew::companyIdOf(
                                                directory, environment.connections.companySettings());
                return new TImpostazioniNew(environment, company, directory, companyId,
                                            request.values.value(QStringLiteral("page")).toString(), parent);
            } catch (const core::DbError& failure) {
                environment.dialogs.error(failure.message());
                return nullptr;
            }
        });
    registry.add(
        QStringLiteral("TConfig"),
        [](WindowEnvironment& environment, const core::NavigationRequest&, QWidget* parent) -> Window* {
            try {
                return new TConfig(environment, environment.connections.company(), parent);
            } catch (const core::DbError& failure) {
                environment.dialogs.error(failure.message());
                return nullptr;
            }
        });
}

} // namespace carvendo::ui
