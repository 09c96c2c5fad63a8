// The operating point of both converter ends from the link's parameters: the computation half of
// a calculation pass. A function of `DatosEnlace` alone; it keeps nothing between passes.
#pragma once

#include "engine/enlace.h"

namespace zelk {

// Every result the link's data allows; a value that cannot be formed, and every value formed from
// it, is left empty (shown as "ERROR"). No result is ever infinite or NaN.
ResultadosEnlace CalcularEnlace(const DatosEnlace& d);

// The angle step: the principal value of arccos c in [0, pi], less b; empty unless |c| <= 1.
// For 0 < c <= 1 it is formed as arctan(sqrt(1 - c^2) / c) - b, which the displayed figures rely
// on to the last digit.
Resultado PasoAngulo(double c, double b);

// The ratio step: Q/P of a bridge with firing angle a and overlap angle m; empty when the
// denominator cos(2a) - cos(2(m + a)) is exactly zero.
Resultado PasoRazon(double a, double m);

// The cosines of the rectifier's firing angle and of the inverter's margin angle, before the
// angle step. Both are proportional to their end's tap, which lets the tap be solved for.
Resultado CosenoAlpha(const DatosEnlace& d);
Resultado CosenoGamma(const DatosEnlace& d);

// Their inverses: the DC voltage in V at which the rectifier fires at cos(alpha) = c (`Vdcr_V`),
// and the inverter's DC voltage in V at cos(gamma) = c, everything else as in `d`.
Resultado VdcrConCoseno(const DatosEnlace& d, double c);
Resultado VdciConCoseno(const DatosEnlace& d, double c);

// The pieces of the pass that the explanations of its results show. The converter-side voltages
// in V (line to line, rms; the tap regulates the primary side), the rectifier's DC voltage in V,
// and cos(angle + overlap) = cos(angle) - sqrt2 Idc Xc / Eac of one end, from its angle in radians.
Resultado EacrVoltios(const DatosEnlace& d);
Resultado EaciVoltios(const DatosEnlace& d);
Resultado VdcrVoltios(const DatosEnlace& d);
Resultado CosenoSuma(const Resultado& angulo, double Idc, double Xc, const Resultado& Eac);
// 3 sqrt(2) / pi of a six-pulse bridge: its no-load DC voltage per volt of Eac.
double Puente();

// Radians to degrees with the calculation's pi: ((v x 360) / 2) / pi.
double AGrados(double radianes);

}  // namespace zelk
