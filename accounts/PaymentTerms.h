#pragma once

#include "core/Rows.h"

#include <QObject>
#include <QString>

namespace carvendo::core {
class Db;
class Dialogs;
class Navigator;
class Session;
} // namespace carvendo::core

namespace carvendo::accounts {

// The logic of TPagamenti: the payment terms found by description or code, a new one or a change
// through the card ("TPagamento"), and deleting one with its instalment rows.
class PaymentTerms : public QObject
{
    Q_OBJECT

public:
    PaymentTerms(core::Db& db, const core::Session& session, core::Dialogs& dialogs,
                 core::Navigator& navigator, QObject* parent = nullptr);

    static QString windowName() { return QStringLiteral("TPagamenti"); }
    static QString cardName() { return QStringLiteral("TPagamento"); }

    void search(const QString& text);
    void refresh();
    const core::Rows& rows() const { return m_rows; }
    int idAt(int row) const; // 0 when there is no such row

    void newTerm();
    void modify(int id);
    // Needs the privilege to delete and the operator's confirmation. True when deleted.
    bool remove(int id);

signals:
    void rowsChanged();

private:
    bool requireSelection(int id);

    core::Db& m_db;
    const core::Session& m_session;
    core::Dialogs& m_dialogs;
    core::Navigator& m_navigator;
    QString m_search;
    core::Rows m_rows;
};

} // namespace carvendo::accounts
