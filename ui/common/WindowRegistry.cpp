#include "ui/common/WindowRegistry.h"

#include <algorithm>

namespace carvendo::ui {

void WindowRegistry::add(const QString& name, WindowFactory factory)
{
    m_factories.insert(name, std::move(factory));
}

QStringList WindowRegistry::names() const
{
    QStringList names = m_factories.keys();
    std::sort(names.begin(), names.end());
    return names;
}

Window* WindowRegistry::create(const QString& name, WindowEnvironment& environment,
                               const core::NavigationRequest& request, QWidget* parent) const
{
    const auto it = m_factories.find(name);
    if (it == m_factories.end())
        return nullptr;
    return (*it)(environment, request, parent);
}

} // namespace carvendo::ui
