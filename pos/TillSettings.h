#pragma once

#include "pos/TillOperator.h"

#include <QString>

namespace carvendo::pos {

// What a till reads from impostazioni.ini when it opens.
struct TillSettings
{
    TillOperatorSettings operatorRules;
    QString cassaPassword; // CASSA/PASSWORD: the start file's line

    static TillSettings read(const QString& impostazioniIni); // throws IniFileError
};

} // namespace carvendo::pos
