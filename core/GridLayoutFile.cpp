#include "core/GridLayoutFile.h"

#include "core/Dialogs.h"
#include "core/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <stdexcept>

namespace carvendo::core {

GridLayoutFile::GridLayoutFile(const Paths& paths, const QString& windowWord)
    : m_path(paths.layoutFile(windowWord))
{
}

QByteArray GridLayoutFile::load() const
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

bool GridLayoutFile::save(const QByteArray& state, Dialogs& dialogs) const
{
    try {
        Paths::ensureDir(QFileInfo(m_path).absolutePath());
    } catch (const std::runtime_error& failure) {
        dialogs.error(QString::fromStdString(failure.what()));
        return false;
    }
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly) || file.write(state) != state.size() || !file.commit()) {
        dialogs.error(QStringLiteral("Impossibile salvare la disposizione della griglia in %1: %2")
                          .arg(QDir::toNativeSeparators(m_path), file.errorString()));
        return false;
    }
    return true;
}

} // namespace carvendo::core
