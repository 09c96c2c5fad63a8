// Why a result of the pass is "ERROR", and where the data leave the model the pass assumes: texts
// in the user's terms, computed beside the pass from the same data, with numbers under the user's
// settings. The pass itself is not touched.
#pragma once

#include <string>
#include <vector>

#include "engine/enlace.h"
#include "engine/texto_numero.h"

namespace zelk {

// One text per result shown as "ERROR", in the order of the results, each opening with the
// result's name: which equation failed and by how much, and what would make it formable ("alpha:
// cos α = 1,00000006 > 1: el rectificador no da Vdcr = 115,48 kV con este tap; su máximo, a α = 0,
// es 115,47 kV; se forma con tapr ≤ 0,9999, ..."), or that it follows from an earlier one ("mur:
// ERROR porque alpha lo es"). `d` must pass DatosAceptables; `res` is CalcularEnlace(d).
std::vector<std::string> MotivosDeError(const DatosEnlace& d, const ResultadosEnlace& res,
                                        const ConfiguracionRegional& r);

// Where the data or the results leave the model, which is not wrong but means little: an overlap
// of 60° or more (more than three valves conducting) or below 0, a number of bridges that is not a
// positive whole number, an angle below 5°, a tap outside 0.7 to 1.3. One text per warning,
// without the "aviso: " that the channels put before it.
std::vector<std::string> AvisosDelModelo(const DatosEnlace& d, const ResultadosEnlace& res,
                                         const ConfiguracionRegional& r);

// What the channels of explanations carry for one point: its reasons, then its warnings after
// kPrefijoAviso.
inline constexpr std::string_view kPrefijoAviso = "aviso: ";
std::vector<std::string> Motivos(const DatosEnlace& d, const ResultadosEnlace& res,
                                 const ConfiguracionRegional& r);

// The model's limits, for the texts and the help.
inline constexpr double kSolapeMaximo = 60;     // degrees
inline constexpr double kAnguloHabitual = 5;    // degrees
inline constexpr double kTapHabitualMin = 0.7;  // per unit
inline constexpr double kTapHabitualMax = 1.3;

}  // namespace zelk
