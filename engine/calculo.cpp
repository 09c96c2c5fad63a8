#include "engine/calculo.h"

#include <cmath>

namespace zelk {

namespace {

Resultado Finito(double v) {
  return std::isfinite(v) ? Resultado(v) : std::nullopt;
}

// f applied to the values of its arguments, when all of them could be formed and so can the
// outcome.
template <class F, class... R>
Resultado Con(F&& f, const R&... a) {
  if ((!a || ...))
    return std::nullopt;
  return Finito(f(*a...));
}

Resultado Grados(const Resultado& radianes) {
  return Con(AGrados, radianes);
}

// One converter end: the angle (alpha or gamma) from its cosine, the overlap angle from
// cos(angle + overlap), the ratio Q/P from both.
struct Extremo {
  Resultado angulo, solape, razon;
};

Extremo CalcularExtremo(const Resultado& coseno, double Idc, double Xc, const Resultado& Eac) {
  Extremo e;
  if (coseno)
    e.angulo = PasoAngulo(*coseno, 0);
  const Resultado cosSuma = CosenoSuma(e.angulo, Idc, Xc, Eac);
  if (cosSuma && e.angulo)
    e.solape = PasoAngulo(*cosSuma, *e.angulo);
  if (e.angulo && e.solape)
    e.razon = PasoRazon(*e.angulo, *e.solape);
  return e;
}

}  // namespace

Resultado CosenoSuma(const Resultado& angulo, double Idc, double Xc, const Resultado& Eac) {
  return Con(
      [&](double ang, double E) { return std::cos(ang) - (((std::sqrt(2.0) * Idc) * Xc) / E); },
      angulo, Eac);
}

Resultado EacrVoltios(const DatosEnlace& d) {
  const Resultado relr = Finito(d.Eacr_nom / d.Uacr_nom);
  return Con([&](double rel) { return ((d.Uacr * 1000) * rel) / d.tapr; }, relr);
}

Resultado EaciVoltios(const DatosEnlace& d) {
  const Resultado reli = Finito(d.Eaci_nom / d.Uaci_nom);
  return Con([&](double rel) { return ((d.Uaci * 1000) * rel) / d.tapi; }, reli);
}

Resultado VdcrVoltios(const DatosEnlace& d) {
  return Finito((d.Vdci * 1000) + (d.Idc * d.Rdc));
}

double Puente() {
  return (std::sqrt(2.0) * 3) / kPi;
}

// Rectifier: DC voltage per bridge = (3 sqrt2/pi) Eacr cos(alpha) - (3/pi) Xcr Idc - 2 Rcr Idc.
Resultado CosenoAlpha(const DatosEnlace& d) {
  return Con(
      [&](double V, double E) {
        return ((V / d.Nr) + (((3 * d.Xcr) * d.Idc) / kPi) + ((2 * d.Rcr) * d.Idc)) /
               (Puente() * E);
      },
      VdcrVoltios(d), EacrVoltios(d));
}

// Inverter: DC voltage per bridge = (3 sqrt2/pi) Eaci cos(gamma) - (3/pi) Xci Idc + 2 Rci Idc.
Resultado CosenoGamma(const DatosEnlace& d) {
  return Con(
      [&](double E) {
        return (((d.Vdci * 1000) / d.Ni) + (((3 * d.Xci) * d.Idc) / kPi) - ((2 * d.Rci) * d.Idc)) /
               (Puente() * E);
      },
      EaciVoltios(d));
}

Resultado VdcrConCoseno(const DatosEnlace& d, double c) {
  return Con(
      [&](double E) {
        return (((c * (Puente() * E)) - (((3 * d.Xcr) * d.Idc) / kPi)) - ((2 * d.Rcr) * d.Idc)) *
               d.Nr;
      },
      EacrVoltios(d));
}

Resultado VdciConCoseno(const DatosEnlace& d, double c) {
  return Con(
      [&](double E) {
        return (((c * (Puente() * E)) - (((3 * d.Xci) * d.Idc) / kPi)) + ((2 * d.Rci) * d.Idc)) *
               d.Ni;
      },
      EaciVoltios(d));
}

double AGrados(double radianes) {
  return ((radianes * 360) / 2) / kPi;
}

Resultado PasoAngulo(double c, double b) {
  if (!(std::fabs(c) <= 1))
    return std::nullopt;  // NaN fails the test as well
  double angulo;
  if (c == 0) {
    angulo = kPi / 2;
  } else {
    angulo = std::atan(std::sqrt(1 - (c * c)) / c);
    if (c < 0)
      angulo = angulo + kPi;
  }
  return Finito(angulo - b);
}

Resultado PasoRazon(double a, double m) {
  const double d = std::cos(2 * a) - std::cos(2 * (m + a));
  if (d == 0)
    return std::nullopt;
  return Finito(((2 * m) + std::sin(2 * a) - std::sin(2 * (m + a))) / d);
}

ResultadosEnlace CalcularEnlace(const DatosEnlace& d) {
  const double raiz6 = std::sqrt(6.0);
  const Resultado relr = Finito(d.Eacr_nom / d.Uacr_nom);
  const Resultado reli = Finito(d.Eaci_nom / d.Uaci_nom);
  const Resultado Eacr = EacrVoltios(d);
  const Resultado Eaci = EaciVoltios(d);
  // Each bridge draws (sqrt6/pi) Idc; the transformer scales it by its ratio and its tap.
  const auto corriente = [&](double N, double tap, const Resultado& rel) {
    return Con([&](double k) { return ((((raiz6 * N) / kPi) * d.Idc) * k) / tap; }, rel);
  };
  const Resultado Iaci = corriente(d.Ni, d.tapi, reli);
  const Resultado Iacr = corriente(d.Nr, d.tapr, relr);
  const Resultado Vdcr_V = VdcrVoltios(d);

  const Resultado cosAlpha = CosenoAlpha(d);
  const Extremo rect = CalcularExtremo(cosAlpha, d.Idc, d.Xcr, Eacr);
  const Resultado Pr = Con([&](double V) { return (V * d.Idc) / 1'000'000; }, Vdcr_V);
  const Resultado Qr = Con([](double P, double t) { return P * t; }, Pr, rect.razon);

  const Resultado cosGamma = CosenoGamma(d);
  const Extremo inv = CalcularExtremo(cosGamma, d.Idc, d.Xci, Eaci);
  const Resultado Pi = Finito((((-d.Vdci) * 1000) * d.Idc) / 1'000'000);
  const Resultado Qi = Con([](double P, double t) { return (-P) * t; }, Pi, inv.razon);

  ResultadosEnlace r;
  r.alpha = Grados(rect.angulo);
  r.mur = Grados(rect.solape);
  r.tgphir = rect.razon;
  r.gamma = Grados(inv.angulo);
  r.mui = Grados(inv.solape);
  r.tgphii = inv.razon;
  r.Vdcr = Con([](double V) { return V / 1000; }, Vdcr_V);
  r.Iacr = Iacr;
  r.Pr = Pr;
  r.Qr = Qr;
  r.Iaci = Iaci;
  r.Pi = Pi;
  r.Qi = Qi;
  return r;
}

}  // namespace zelk
