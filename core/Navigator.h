#pragma once

#include <QString>
#include <QVariant>
#include <QVariantMap>

namespace carvendo::core {

// Which window to open and on what: the window's name ("TClientiPreleva"), the key of the record
// to show (null for a new one), the name of the window that asked (pickers and documents act on
// their caller when confirmed) and any further values the window needs.
struct NavigationRequest
{
    QString window{};
    QVariant key{};
    QString caller{};
    QVariantMap values{};
};

// What the window left when it closed: whether it was confirmed, and what a picker chose.
struct NavigationResult
{
    bool accepted = false;
    QVariant value{};
    QVariantMap values{};
};

// Opens another window modally and returns when it closes. Logic opens windows only through this
// port, so it never depends on the widgets.
class Navigator
{
public:
    virtual ~Navigator() = default;

    NavigationResult open(const QString& window, const QVariant& key = {}, const QString& caller = {},
                          const QVariantMap& values = {})
    {
        return openWindow(NavigationRequest{window, key, caller, values});
    }
    NavigationResult open(const NavigationRequest& request) { return openWindow(request); }

protected:
    virtual NavigationResult openWindow(const NavigationRequest& request) = 0;
};

} // namespace carvendo::core
