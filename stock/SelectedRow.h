#pragma once

#include "core/Dialogs.h"

namespace carvendo::stock {

// A command on "the selected row" of a card's grid: a key of 0 means none is selected, and the
// operator is asked to select one.
inline bool requireSelection(qint64 key, core::Dialogs& dialogs)
{
    if (key > 0)
        return true;
    dialogs.information(QStringLiteral("Selezionare prima una riga"));
    return false;
}

} // namespace carvendo::stock
