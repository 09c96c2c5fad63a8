// Numbers written for the explanations of the results: with as many decimals as it takes to tell
// two of them apart, rounded towards a side, or in full, under the user's settings.
#pragma once

#include <string>

#include "engine/texto_numero.h"

namespace zelk {

// The most decimals a number is written with here; beyond, CifraCompleta.
inline constexpr int kDecimalesMaximos = 15;

// `valor` with `decimales` decimals (0 to kDecimalesMaximos), rounded half away from zero.
std::string CifraConDecimales(double valor, int decimales, const ConfiguracionRegional& r);

// The same, rounded down (`arriba` false) or up: a bound written so that it still holds.
std::string CifraHacia(double valor, int decimales, bool arriba, const ConfiguracionRegional& r);

// The shortest text that reads back as `valor` exactly, with the user's decimal separator.
std::string CifraCompleta(double valor, const ConfiguracionRegional& r);

// `valor` with the fewest decimals, from `decimales` on, whose text differs from that of `otro`
// at the same decimals; in full when none does. `otro`'s text at those decimals goes to
// `textoOtro` when it is not null.
std::string CifraDistinta(double valor, double otro, int decimales, const ConfiguracionRegional& r,
                          std::string* textoOtro = nullptr);

}  // namespace zelk
