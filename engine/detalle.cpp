#include "engine/detalle.h"

#include <cmath>

#include "engine/calculo.h"

namespace zelk {

namespace {

Resultado Kilovoltios(double voltios) {
  const double kv = voltios / 1000;
  return std::isfinite(kv) ? Resultado(kv) : std::nullopt;
}

DetalleExtremo Extremo(const Resultado& Eac, double N, double Idc, double Xc, double Rc,
                       const Resultado& coseno, const Resultado& solape) {
  DetalleExtremo e;
  if (Eac) {
    e.E = Kilovoltios(*Eac);
    e.Vd0 = Kilovoltios(N * (Puente() * *Eac));
  }
  e.caidaX = Kilovoltios(N * (((3 * Xc) * Idc) / kPi));
  e.caidaR = Kilovoltios(N * ((2 * Rc) * Idc));
  e.coseno = coseno && std::isfinite(*coseno) ? coseno : std::nullopt;
  e.solape = solape;
  return e;
}

}  // namespace

const std::array<DescripcionDetalle, 12> kDetalle{{
    {"Er", "kV", false, &DetalleExtremo::E, &kPatronDosDec},
    {"Vd0r", "kV", false, &DetalleExtremo::Vd0, &kPatronDosDec},
    {"caidaXr", "kV", false, &DetalleExtremo::caidaX, &kPatronDosDec},
    {"caidaRr", "kV", false, &DetalleExtremo::caidaR, &kPatronDosDec},
    {"cos_alpha", "", false, &DetalleExtremo::coseno, &kPatronCoseno},
    {"mur", "º", false, &DetalleExtremo::solape, &kPatronAngulo},
    {"Ei", "kV", true, &DetalleExtremo::E, &kPatronDosDec},
    {"Vd0i", "kV", true, &DetalleExtremo::Vd0, &kPatronDosDec},
    {"caidaXi", "kV", true, &DetalleExtremo::caidaX, &kPatronDosDec},
    {"caidaRi", "kV", true, &DetalleExtremo::caidaR, &kPatronDosDec},
    {"cos_gamma", "", true, &DetalleExtremo::coseno, &kPatronCoseno},
    {"mui", "º", true, &DetalleExtremo::solape, &kPatronAnguloInv},
}};

DetalleEnlace CalcularDetalle(const DatosEnlace& d) {
  const ResultadosEnlace r = CalcularEnlace(d);
  return {Extremo(EacrVoltios(d), d.Nr, d.Idc, d.Xcr, d.Rcr, CosenoAlpha(d), r.mur),
          Extremo(EaciVoltios(d), d.Ni, d.Idc, d.Xci, d.Rci, CosenoGamma(d), r.mui)};
}

}  // namespace zelk
