// Regional settings of the countries the tests run under.
#pragma once

#include "engine/texto_numero.h"

namespace zelk::prueba {

inline const ConfiguracionRegional kEstadosUnidos{".", ","};
inline const ConfiguracionRegional kEspana{",", "."};
inline const ConfiguracionRegional kFrancia{",", "\u202F"};
inline const ConfiguracionRegional kSuiza{".", "\u2019"};

}  // namespace zelk::prueba
