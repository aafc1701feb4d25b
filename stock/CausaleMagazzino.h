#pragma once

#include "foundation/LookupEditor.h"

namespace carvendo::stock {

// The logic of TCausaleMagazzino: the stock movement reasons (`causaligeneriche`) as an editable
// list: code, description and the further columns kept as plain values, with new, change in place
// and delete (which needs the right to delete and the operator's confirmation).
class CausaleMagazzino : public foundation::LookupEditor
{
    Q_OBJECT

public:
    CausaleMagazzino(core::Db& db, const core::Session& session, core::Dialogs& dialogs,
                     QObject* parent = nullptr)
        : foundation::LookupEditor(db, foundation::Lookup::CausaliGeneriche, session, dialogs, parent)
    {
    }
};

} // namespace carvendo::stock
