#pragma once

#include "core/Navigator.h"
#include "ui/common/Window.h"
#include "ui/common/WindowEnvironment.h"

#include <QHash>
#include <QString>

#include <functional>

namespace carvendo::ui {

using WindowFactory =
    std::function<Window*(WindowEnvironment&, const core::NavigationRequest&, QWidget* parent)>;

// The factory of a window built from the environment and the request, as most windows are.
template <typename View> WindowFactory factory()
{
    return [](WindowEnvironment& environment, const core::NavigationRequest& request, QWidget* parent) {
        return new View(environment, request, parent);
    };
}

// The windows the program has, by name ("TImpostazioniServer"). A command whose window is not
// registered yet shows as unavailable instead of doing nothing.
class WindowRegistry
{
public:
    void add(const QString& name, WindowFactory factory);
    bool has(const QString& name) const { return m_factories.contains(name); }
    QStringList names() const;
    // A new window (owned by the caller), or nullptr when the name is unknown.
    Window* create(const QString& name, WindowEnvironment& environment,
                   const core::NavigationRequest& request, QWidget* parent) const;

private:
    QHash<QString, WindowFactory> m_factories;
};

} // namespace carvendo::ui
