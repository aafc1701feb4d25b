#include "pos/TillSettings.h"

#include "foundation/ImpostazioniIni.h"

namespace carvendo::pos {

TillSettings TillSettings::read(const QString& impostazioniIni)
{
    TillSettings settings;
    settings.operatorRules = TillOperatorSettings::read(impostazioniIni);
    settings.cassaPassword =
        foundation::ImpostazioniIni(impostazioniIni).text(foundation::ImpostazioniKeys::cassaPassword());
    return settings;
}

} // namespace carvendo::pos
