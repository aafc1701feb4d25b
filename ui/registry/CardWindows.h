#pragma once

#include <QString>
#include <QStringList>

#include <functional>

#include "registry/StoricoCliente.h"

class QWidget;

namespace carvendo::core {
class Db;
} // namespace carvendo::core

namespace carvendo::ui {

class CardForm;
class WindowRegistry;

// Adds the customer and supplier cards and the customer history ("TCliente", "TFornitore",
// "TStoricoCliente").
void registerRegistryCardWindows(WindowRegistry& registry);

// Pieces the registry cards share.
// Calls left(column) when the operator leaves the editor of one of the columns; the call comes
// once the focus has moved, so a message shown from it never fights the focus change.
void onFieldLeft(CardForm& form, const QStringList& columns,
                 const std::function<void(const QString& column)>& left);
// Opens the address in the desktop's browser.
void openInBrowser(const QString& url);
// One grid per history tab with the documents of the customer or supplier with that id.
QWidget* historyTabsWidget(core::Db& db, const QList<registry::HistoryTab>& tabs, int id);

} // namespace carvendo::ui
