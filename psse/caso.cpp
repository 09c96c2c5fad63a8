#include "psse/caso.h"

#include <array>
#include <cmath>
#include <utility>

#include "engine/pasada.h"
#include "engine/texto_numero.h"

namespace zelk::psse {

namespace {

constexpr std::array<std::pair<std::string_view, std::string_view>, kNumControl> kNombresRaw{{
    {"orden", "MDC"},
    {"consigna", "SETVL"},
    {"Vprog", "VSCHD"},
    {"Rcomp", "RCOMP"},
    {"margen", "DELTI"},
    {"Vcmod", "VCMOD"},
    {"alpha_min", "ANMNR"},
    {"alpha_max", "ANMXR"},
    {"gamma_min", "ANMNI"},
    {"gamma_max", "ANMXI"},
    {"tapr_min", "TMNR"},
    {"tapr_max", "TMXR"},
    {"tapr_paso", "STPR"},
    {"tapi_min", "TMNI"},
    {"tapi_max", "TMXI"},
    {"tapi_paso", "STPI"},
}};

std::string Numero(double v) {
  return NumeroATexto(v, ConfiguracionRegional::EstadosUnidos());
}

std::string Dato(std::string_view nombre, double v) {
  return std::string(nombre) + " = " + Numero(v);
}

// The end's AC data, or why they cannot be used.
std::variant<const Barra*, std::string> BarraDe(const Caso& caso, const Convertidor& c,
                                                char extremo) {
  const std::string ip = std::string("IP") + extremo;
  const auto b = caso.barras.find(c.ip);
  if (b == caso.barras.end())
    return "la barra " + std::to_string(c.ip) + " (" + ip + ") no está en los datos de barras";
  const std::string de = " en la barra " + std::to_string(c.ip) + " (" + ip + ")";
  if (!(b->second.baskv > 0))
    return Dato("BASKV", b->second.baskv) + de + ": ha de ser mayor que 0";
  if (!(b->second.vm > 0))
    return Dato("VM", b->second.vm) + de + ": ha de ser mayor que 0";
  for (const auto& [nombre, v] :
       {std::pair{"NB", c.nb}, {"EBAS", c.ebas}, {"TR", c.tr}, {"TAP", c.tap}})
    if (!(v > 0))
      return Dato(std::string(nombre) + extremo, v) + ": ha de ser mayor que 0";
  if (c.xcap != 0)
    return Dato(std::string("XCAP") + extremo, c.xcap) +
           ": los convertidores con condensadores de conmutación no se admiten";
  return &b->second;
}

}  // namespace

std::string_view NombreRaw(const DescripcionControl& dato) {
  for (const auto& [zelk, raw] : kNombresRaw)
    if (zelk == dato.nombre)
      return raw;
  return dato.nombre;
}

std::variant<EnlaceDelCaso, std::string> EnlaceDeLinea(const Caso& caso,
                                                       const LineaDosTerminales& l) {
  const auto br = BarraDe(caso, l.rectificador, 'R');
  if (const auto* motivo = std::get_if<std::string>(&br))
    return *motivo;
  const auto bi = BarraDe(caso, l.inversor, 'I');
  if (const auto* motivo = std::get_if<std::string>(&bi))
    return *motivo;
  const Barra& r = *std::get<const Barra*>(br);
  const Barra& i = *std::get<const Barra*>(bi);

  EnlaceDelCaso e;
  DatosEnlace& d = e.datos;
  const Convertidor& cr = l.rectificador;
  const Convertidor& ci = l.inversor;
  d.Uacr = r.vm * r.baskv;
  d.Uacr_nom = r.baskv;
  d.Eacr_nom = cr.ebas * cr.tr;
  d.tapr = cr.tap;
  d.Nr = cr.nb;
  d.Rcr = cr.rc;
  d.Xcr = cr.xc;
  d.Uaci = i.vm * i.baskv;
  d.Uaci_nom = i.baskv;
  d.Eaci_nom = ci.ebas * ci.tr;
  d.tapi = ci.tap;
  d.Ni = ci.nb;
  d.Rci = ci.rc;
  d.Xci = ci.xc;
  d.Rdc = l.rdc;
  d.Vdcnom = l.vschd;
  if (!DatosAceptables(d))
    return std::string("los datos de la línea no dan un enlace que se pueda calcular");

  DatosControl& c = e.control;
  if (l.mdc == 0)
    c.orden = Orden::Bloqueado;
  else if (l.mdc == 1)
    c.orden = Orden::Potencia;
  else if (l.mdc == 2)
    c.orden = Orden::Corriente;
  else
    return Dato("MDC", l.mdc) + ": ha de ser 0 (bloqueada), 1 (potencia) o 2 (corriente)";
  c.consigna = l.setvl;
  c.Vprog = l.vschd;
  c.Rcomp = l.rcomp;
  c.margen = l.delti;
  c.Vcmod = l.vcmod;
  c.alpha_min = cr.anmn;
  c.alpha_max = cr.anmx;
  c.gamma_min = ci.anmn;
  c.gamma_max = ci.anmx;
  c.tapr_min = cr.tmn;
  c.tapr_max = cr.tmx;
  c.tapr_paso = cr.stp;
  c.tapi_min = ci.tmn;
  c.tapi_max = ci.tmx;
  c.tapi_paso = ci.stp;
  if (const auto rechazo = ComprobarControl(c, d.Rdc)) {
    const auto dato = [&](const DescripcionControl& x) {
      return x.miembro != nullptr ? Dato(NombreRaw(x), c.*x.miembro) : std::string(NombreRaw(x));
    };
    std::string motivo = dato(*rechazo->dato) + ": " + std::string(rechazo->motivo);
    if (rechazo->otro != nullptr)
      motivo += " " + dato(*rechazo->otro);
    return motivo;
  }
  return e;
}

std::variant<SolucionControl, std::string> ResolverLinea(const EnlaceDelCaso& enlace) {
  SolucionControl s = ResolverControl(enlace.datos, enlace.control);
  if (s.sinPunto == SinPunto::Ninguno)
    return s;
  // MDC's numbers are those of Orden: 0 blocked, 1 power, 2 current.
  return Dato("MDC", static_cast<double>(enlace.control.orden)) + ", " +
         Dato("SETVL", enlace.control.consigna) + ": " + TextoSinPunto(s.sinPunto);
}

}  // namespace zelk::psse
