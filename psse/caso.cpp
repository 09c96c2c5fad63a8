// A two-terminal line of a case as the engine's link and control data, or why it cannot be solved.
#include "psse/caso.h"

#include <array>
#include <cmath>
#include <utility>

#include "engine/pasada.h"
#include "engine/texto_numero.h"

namespace zelk::psse {

namespace {

// Each control datum's name in the record, and which record holds it: the line's own ('L'), the
// rectifier's ('R') or the inverter's ('I').
struct NombreEnRegistro {
  std::string_view zelk, raw;
  char registro;
};
constexpr std::array<NombreEnRegistro, kNumControl> kNombresRaw{{
    {"orden", "MDC", 'L'},
    {"consigna", "SETVL", 'L'},
    {"Vprog", "VSCHD", 'L'},
    {"Rcomp", "RCOMP", 'L'},
    {"margen", "DELTI", 'L'},
    {"Vcmod", "VCMOD", 'L'},
    {"alpha_min", "ANMNR", 'R'},
    {"alpha_max", "ANMXR", 'R'},
    {"gamma_min", "ANMNI", 'I'},
    {"gamma_max", "ANMXI", 'I'},
    {"tapr_min", "TMNR", 'R'},
    {"tapr_max", "TMXR", 'R'},
    {"tapr_paso", "STPR", 'R'},
    {"tapi_min", "TMNI", 'I'},
    {"tapi_max", "TMXI", 'I'},
    {"tapi_paso", "STPI", 'I'},
}};

std::string Numero(double v) {
  return NumeroATexto(v, ConfiguracionRegional::EstadosUnidos());
}

std::string Dato(std::string_view nombre, double v) {
  return std::string(nombre) + " = " + Numero(v);
}

// The end's AC data, or why they cannot be used.
std::variant<const Barra*, Rechazo> BarraDe(const Caso& caso, const LineaDosTerminales& l,
                                            const Convertidor& c, char extremo) {
  const std::string ip = std::string("IP") + extremo;
  const auto b = caso.barras.find(c.ip);
  if (b == caso.barras.end())
    return Rechazo{c.linea, "la barra " + std::to_string(c.ip) + " (" + ip +
                                ") no está en los datos de barras"};
  const Barra& barra = b->second;
  const std::string de = " en la barra " + std::to_string(c.ip) + " (" + ip + ")";
  if (!(barra.baskv > 0))
    return Rechazo{barra.linea, Dato("BASKV", barra.baskv) + de + ": ha de ser mayor que 0"};
  if (!(barra.vm > 0))
    return Rechazo{barra.linea, Dato("VM", barra.vm) + de + ": ha de ser mayor que 0"};
  if (barra.ide == 4 && l.mdc != 0)
    return Rechazo{barra.linea, "IDE = 4" + de +
                                    ": la barra está aislada, y la línea en servicio (MDC = " +
                                    std::to_string(l.mdc) + ")"};
  for (const auto& [nombre, v] :
       {std::pair{"NB", static_cast<double>(c.nb)}, {"EBAS", c.ebas}, {"TR", c.tr}, {"TAP", c.tap}})
    if (!(v > 0))
      return Rechazo{c.linea, Dato(std::string(nombre) + extremo, v) + ": ha de ser mayor que 0"};
  if (c.xcap != 0)
    return Rechazo{c.linea, Dato(std::string("XCAP") + extremo, c.xcap) +
                                ": los convertidores con condensadores de conmutación no se "
                                "admiten"};
  return &barra;
}

// The line of the file of a control datum.
std::size_t LineaDe(const DescripcionControl& dato, const LineaDosTerminales& l) {
  for (const auto& n : kNombresRaw)
    if (n.zelk == dato.nombre)
      return n.registro == 'R'   ? l.rectificador.linea
             : n.registro == 'I' ? l.inversor.linea
                                 : l.linea;
  return l.linea;
}

}  // namespace

std::string_view NombreRaw(const DescripcionControl& dato) {
  for (const auto& n : kNombresRaw)
    if (n.zelk == dato.nombre)
      return n.raw;
  return dato.nombre;
}

std::variant<EnlaceDelCaso, Rechazo> EnlaceDeLinea(const Caso& caso, const LineaDosTerminales& l) {
  const auto br = BarraDe(caso, l, l.rectificador, 'R');
  if (const auto* rechazo = std::get_if<Rechazo>(&br))
    return *rechazo;
  const auto bi = BarraDe(caso, l, l.inversor, 'I');
  if (const auto* rechazo = std::get_if<Rechazo>(&bi))
    return *rechazo;
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
  d.Nr = static_cast<double>(cr.nb);
  d.Rcr = cr.rc;
  d.Xcr = cr.xc;
  d.Uaci = i.vm * i.baskv;
  d.Uaci_nom = i.baskv;
  d.Eaci_nom = ci.ebas * ci.tr;
  d.tapi = ci.tap;
  d.Ni = static_cast<double>(ci.nb);
  d.Rci = ci.rc;
  d.Xci = ci.xc;
  d.Rdc = l.rdc;
  d.Vdcnom = l.vschd;
  if (!DatosAceptables(d))
    return Rechazo{l.linea, "los datos de la línea no dan un enlace que se pueda calcular"};

  DatosControl& c = e.control;
  if (l.mdc == 0)
    c.orden = Orden::Bloqueado;
  else if (l.mdc == 1)
    c.orden = Orden::Potencia;
  else if (l.mdc == 2)
    c.orden = Orden::Corriente;
  else
    return Rechazo{l.linea, "MDC = " + std::to_string(l.mdc) +
                                ": ha de ser 0 (bloqueada), 1 (potencia) o 2 (corriente)"};
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
    return Rechazo{LineaDe(*rechazo->dato, l), std::move(motivo)};
  }
  return e;
}

std::string TextoRechazo(const Rechazo& r) {
  return "línea " + std::to_string(r.linea) + ": " + r.motivo;
}

bool SinResultado(const SolucionControl& s, const DescripcionResultado& d) {
  return s.modo == Modo::Bloqueado &&
         (d.miembro == &ResultadosEnlace::alpha || d.miembro == &ResultadosEnlace::mur ||
          d.miembro == &ResultadosEnlace::gamma || d.miembro == &ResultadosEnlace::mui);
}

}  // namespace zelk::psse
