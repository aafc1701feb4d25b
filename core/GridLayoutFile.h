#pragma once

#include <QByteArray>
#include <QString>

namespace carvendo::core {

class Dialogs;
class Paths;

// The saved layout of a list window's grid (column order and widths), one file per window under the
// data folder ("layoutArticoli", "layoutClienti"). A missing or unreadable file means the default
// layout; a file that cannot be written is told to the operator and the grid keeps working.
class GridLayoutFile
{
public:
    GridLayoutFile(const Paths& paths, const QString& windowWord);

    const QString& path() const { return m_path; }
    QByteArray load() const; // empty when there is none
    bool save(const QByteArray& state, Dialogs& dialogs) const;

private:
    QString m_path;
};

} // namespace carvendo::core
