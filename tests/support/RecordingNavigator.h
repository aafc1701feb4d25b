#pragma once

#include "core/Navigator.h"

#include <QHash>
#include <QString>

#include <deque>
#include <functional>
#include <vector>

namespace carvendo::testing {

// The Navigator port for tests: records every window the logic opens and gives back what the test
// scripted. A window with nothing scripted closes unconfirmed, as when the operator just closes it.
//
//   navigator.returnFrom("TClientiPreleva", {.accepted = true, .value = 7});
//   navigator.whenOpened("TArticoloScheda", [&](const core::NavigationRequest& r) { ...; return result; });
class RecordingNavigator final : public core::Navigator
{
public:
    using Handler = std::function<core::NavigationResult(const core::NavigationRequest&)>;

    // Results for the given window, used in order, one per opening.
    RecordingNavigator& returnFrom(const QString& window, const core::NavigationResult& result);
    // Runs for every opening of the window that has no queued result: stands in for what the window
    // would do (write a row, pick a record).
    RecordingNavigator& whenOpened(const QString& window, Handler handler);

    const std::vector<core::NavigationRequest>& requests() const { return m_requests; }
    QStringList openedWindows() const;
    // The last request for the window; a test failure and an empty request when it was never opened.
    core::NavigationRequest lastRequest(const QString& window) const;

protected:
    core::NavigationResult openWindow(const core::NavigationRequest& request) override;

private:
    std::vector<core::NavigationRequest> m_requests;
    QHash<QString, std::deque<core::NavigationResult>> m_results;
    QHash<QString, Handler> m_handlers;
};

} // namespace carvendo::testing
