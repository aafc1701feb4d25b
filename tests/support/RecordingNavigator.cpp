#include "tests/support/RecordingNavigator.h"

#include <gtest/gtest.h>

namespace carvendo::testing {

RecordingNavigator& RecordingNavigator::returnFrom(const QString& window,
                                                   const core::NavigationResult& result)
{
    m_results[window].push_back(result);
    return *this;
}

RecordingNavigator& RecordingNavigator::whenOpened(const QString& window, Handler handler)
{
    m_handlers.insert(window, std::move(handler));
    return *this;
}

QStringList RecordingNavigator::openedWindows() const
{
    QStringList windows;
    for (const core::NavigationRequest& request : m_requests)
        windows.append(request.window);
    return windows;
}

core::NavigationRequest RecordingNavigator::lastRequest(const QString& window) const
{
    for (auto it = m_requests.rbegin(); it != m_requests.rend(); ++it)
        if (it->window == window)
            return *it;
    ADD_FAILURE() << "Window " << window.toStdString() << " was never opened";
    return {};
}

core::NavigationResult RecordingNavigator::openWindow(const core::NavigationRequest& request)
{
    m_requests.push_back(request);
    if (auto queued = m_results.find(request.window); queued != m_results.end() && !queued->empty()) {
        core::NavigationResult result = queued->front();
        queued->pop_front();
        return result;
    }
    if (auto handler = m_handlers.constFind(request.window); handler != m_handlers.constEnd())
        return (*handler)(request);
    return {};
}

} // namespace carvendo::testing
