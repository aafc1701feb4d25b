#include "foundation/LookupEditor.h"

#include "core/CommandGuard.h"

#include "core/Dialogs.h"
#include "core/Session.h"

namespace carvendo::foundation {

LookupEditor::LookupEditor(core::Db& db, Lookup lookup, const core::Session& session, core::Dialogs& dialogs,
                           QObject* parent)
    : QObject(parent), m_lookup(lookup), m_store(db), m_session(session), m_dialogs(dialogs)
{
}

template <typename Command> bool LookupEditor::attempt(Command&& command)
{
    return core::runGuarded(m_dialogs, std::forward<Command>(command));
}

bool LookupEditor::reload()
{
    const bool loaded = attempt([this] { m_rows = m_store.load(m_lookup); });
    emit rowsChanged();
    return loaded;
}

QVariant LookupEditor::value(int row, const QString& column) const
{
    if (row < 0 || row >= m_rows.size())
        return {};
    return m_rows.value(row, column).variant();
}

QVariant LookupEditor::keyAt(int row) const
{
    return value(row, table().key);
}

int LookupEditor::rowOfKey(const QVariant& key) const
{
    for (int row = 0; row < m_rows.size(); ++row)
        if (keyAt(row).toLongLong() == key.toLongLong())
            return row;
    return -1;
}

QStringList LookupEditor::choices(const QString& column)
{
    QStringList values;
    attempt([&] { values = m_store.choices(m_lookup, column); });
    return values;
}

std::optional<qint64> LookupEditor::add(const QVariantMap& values)
{
    qint64 key = 0;
    if (!attempt([&] { key = m_store.add(m_lookup, values); }))
        return std::nullopt;
    reload();
    return key;
}

bool LookupEditor::setValue(int row, const QString& column, const QVariant& value)
{
    if (row < 0 || row >= m_rows.size())
        return false;
    const bool done = attempt([&] { m_store.update(m_lookup, keyAt(row), {{column, value}}); });
    reload(); // a refused value goes back to what is stored
    return done;
}

bool LookupEditor::remove(int row)
{
    if (row < 0 || row >= m_rows.size()) {
        m_dialogs.information(QStringLiteral("Selezionare una riga"));
        return false;
    }
    if (!m_session.canDelete()) {
        m_dialogs.information(QStringLiteral("Non possiedi i privilegi per eseguire questa operazione"));
        return false;
    }
    const QString question = table().deleteQuestion.isEmpty()
                                 ? QStringLiteral("Eliminare il record selezionato?")
                                 : table().deleteQuestion;
    if (!m_dialogs.confirm(question))
        return false;
    const bool done = attempt([&] { m_store.remove(m_lookup, keyAt(row)); });
    reload();
    return done;
}

} // namespace carvendo::foundation
