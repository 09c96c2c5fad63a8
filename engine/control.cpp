#include "engine/control.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "engine/calculo.h"

namespace zelk {

// clang-format off
// The defaults reproduce the start-up point: 1098 MW at the rectifier over 525 kV and 12 ohm is
// 2000 A, and the start-up angles lie within the bands at the present taps.
const std::array<DescripcionControl, kNumControl> kControl{{
    {"orden", nullptr, "orden",
     "Tipo de orden: bloqueado, potencia o corriente", "potencia"},
    {"consigna", &DatosControl::consigna, "consigna [MW o A]",
     "Potencia pedida (MW; positiva en el rectificador, negativa en el inversor) o corriente "
     "pedida (A)", "1098"},
    {"Vprog", &DatosControl::Vprog, "Vprog [kV]", "Tensión continua programada", "525"},
    {"Rcomp", &DatosControl::Rcomp, "Rcomp [ohm]",
     "Resistencia de compensación: 0 programa la tensión del inversor; Rdc, la del rectificador",
     "0"},
    {"margen", &DatosControl::margen, "margen [p.u.]",
     "Margen de corriente: con él, el inversor controla (1 - margen) veces la corriente", "0.1"},
    {"Vcmod", &DatosControl::Vcmod, "Vcmod [kV]",
     "Tensión del inversor bajo la cual una orden de potencia pasa a ser de corriente", "0"},
    {"alpha_min", &DatosControl::alpha_min, "alpha_min [º]",
     "Ángulo de disparo mínimo del rectificador", "5"},
    {"alpha_max", &DatosControl::alpha_max, "alpha_max [º]",
     "Por encima de este ángulo de disparo sube el tap del rectificador", "20"},
    {"gamma_min", &DatosControl::gamma_min, "gamma_min [º]",
     "Margen de ángulo mínimo del inversor", "15"},
    {"gamma_max", &DatosControl::gamma_max, "gamma_max [º]",
     "Por encima de este margen de ángulo sube el tap del inversor", "25"},
    {"tapr_min", &DatosControl::tapr_min, "tapr_min [p.u.]", "Tap mínimo del rectificador", "0.8"},
    {"tapr_max", &DatosControl::tapr_max, "tapr_max [p.u.]", "Tap máximo del rectificador", "1.2"},
    {"tapr_paso", &DatosControl::tapr_paso, "tapr_paso [p.u.]",
     "Paso entre posiciones del tap del rectificador", "0.00625"},
    {"tapi_min", &DatosControl::tapi_min, "tapi_min [p.u.]", "Tap mínimo del inversor", "0.8"},
    {"tapi_max", &DatosControl::tapi_max, "tapi_max [p.u.]", "Tap máximo del inversor", "1.2"},
    {"tapi_paso", &DatosControl::tapi_paso, "tapi_paso [p.u.]",
     "Paso entre posiciones del tap del inversor", "0.00625"},
}};
// clang-format on

const std::array<DescripcionElegido, 4> kElegidos{{
    {"tapr", &DatosEnlace::tapr, nullptr},
    {"tapi", &DatosEnlace::tapi, nullptr},
    {"Idc", &DatosEnlace::Idc, &kPatronDosDec},
    {"Vdci", &DatosEnlace::Vdci, nullptr},
}};

namespace {

constexpr std::array<std::string_view, 3> kModos{"corriente en el rectificador",
                                                 "corriente en el inversor (margen)", "bloqueado"};

constexpr std::array<std::string_view, kNumAvisos> kAvisos{
    "Vdci por debajo de Vcmod: la orden de potencia pasa a ser de corriente, P/Vprog",
    "gamma no llega a gamma_min ni con tapi en su límite: gamma_min allí, y se pierde la tensión "
    "programada",
    "gamma no llega a gamma_min ni con tapi en su límite: no hay punto de trabajo con el margen",
    "alpha por encima de alpha_max con tapr en el extremo de su margen",
    "ninguna posición de tapr deja alpha entre alpha_min y alpha_max",
    "gamma por encima de gamma_max con tapi en el extremo de su margen",
    "ninguna posición de tapi deja gamma entre gamma_min y gamma_max",
};

// After SinPunto's values but Ninguno.
constexpr std::array<std::string_view, 6> kSinPunto{
    "la corriente a la que se llega no es un número finito",
    "la tensión del inversor a la que se llega no es un número finito",
    "el rectificador no puede dar esa tensión con esa corriente (alpha no se puede formar)",
    "el rectificador no puede conmutar esa corriente (mur no se puede formar)",
    "el inversor no puede sostener esa tensión con esa corriente (gamma no se puede formar)",
    "el inversor no puede conmutar esa corriente (mui no se puede formar)",
};

const DescripcionControl& Dato(double DatosControl::*miembro) {
  for (const auto& d : kControl)
    if (d.miembro == miembro)
      return d;
  return kControl[0];  // unreachable: every member has its entry
}

constexpr std::string_view kNoEsNumero = "no es un número";
constexpr std::string_view kNoEsFinito = "ha de ser un número finito";

Avisos Bit(Aviso a) {
  return static_cast<Avisos>(1U << static_cast<unsigned>(a));
}

// Degrees back to radians with the calculation's pi, as the pass converts them the other way.
double CosenoDeGrados(double grados) {
  return std::cos((grados * 2 / 360) * kPi);
}

// The current in kA and the inverter's voltage in kV that an order asks for; empty when no current
// meets it (a power beyond what the schedule and the resistances allow).
struct Pedido {
  double I, Vdi;
};
std::optional<Pedido> CorrienteDeOrden(Orden orden, double consigna, const DatosControl& c,
                                       double Rdc) {
  double I = 0;
  if (orden == Orden::Corriente) {
    I = consigna / 1000;
  } else if (consigna >= 0) {
    // (Vprog + (Rdc - Rcomp) I) I = P: the smaller root, written without cancellation.
    const double disc = c.Vprog * c.Vprog + 4 * (Rdc - c.Rcomp) * consigna;
    if (!(disc >= 0))
      return std::nullopt;
    I = 2 * consigna / (c.Vprog + std::sqrt(disc));
  } else {
    // (Vprog - Rcomp I) I = |P|.
    const double disc = c.Vprog * c.Vprog - 4 * c.Rcomp * -consigna;
    if (!(disc >= 0))
      return std::nullopt;
    I = 2 * -consigna / (c.Vprog + std::sqrt(disc));
  }
  if (!std::isfinite(I))
    return std::nullopt;
  return Pedido{I, c.Vprog - c.Rcomp * I};
}

// Where an angle lies against its band; one that cannot be formed because its cosine passes 1 (or
// is not formed at all) lies below, one whose cosine passes -1 above.
enum class Lado { Dentro, Bajo, Alto };

Lado Clasificar(const Resultado& coseno, double minimo, double maximo) {
  if (!coseno || *coseno > 1)
    return Lado::Bajo;
  if (*coseno < -1)
    return Lado::Alto;
  const double grados = AGrados(*PasoAngulo(*coseno, 0));
  if (grados < minimo)
    return Lado::Bajo;
  if (grados > maximo)
    return Lado::Alto;
  return Lado::Dentro;
}

// One converter end's tap changer.
struct Cambiador {
  double DatosEnlace::*tap;
  Resultado (*coseno)(const DatosEnlace&);
  double minimo, maximo;  // the band, degrees
  double tapMin, tapMax, paso;
};

Cambiador Rectificador(const DatosControl& c) {
  return {&DatosEnlace::tapr, CosenoAlpha, c.alpha_min, c.alpha_max,
          c.tapr_min,         c.tapr_max,  c.tapr_paso};
}

Cambiador Inversor(const DatosControl& c) {
  return {&DatosEnlace::tapi, CosenoGamma, c.gamma_min, c.gamma_max,
          c.tapi_min,         c.tapi_max,  c.tapi_paso};
}

// How a tap ended: within its band, or at the end of its range with the angle still above or
// below it, or past a band narrower than a step.
enum class Limite { Ninguno, Arriba, Abajo, Salto };

// Rule of the tap changers: the tap stays while the angle lies within the band; otherwise it walks
// the grid MIN, MIN + STEP, ... MAX from where it is, up when the angle is above the band (a higher
// tap lowers the converter-side voltage and so the angle), down when below, to the first position
// inside. A band skipped between two positions leaves the tap on the side above it, where the
// converter can still run. Sets the tap in `d`.
Limite ElegirTap(DatosEnlace& d, const Cambiador& k) {
  const Lado inicio = Clasificar(k.coseno(d), k.minimo, k.maximo);
  if (inicio == Lado::Dentro)
    return Limite::Ninguno;
  const double ultima = std::floor((k.tapMax - k.tapMin) / k.paso + 1e-9);
  const double desde = (d.*k.tap - k.tapMin) / k.paso;
  const bool sube = inicio == Lado::Alto;
  // The first position strictly beyond the present tap, in the direction of the walk.
  double j = sube ? std::floor(desde + 1e-9) + 1 : std::ceil(desde - 1e-9) - 1;
  // From beyond the range, the walk enters it at its nearest end.
  j = sube ? std::max(j, 0.0) : std::min(j, ultima);
  const double paso = sube ? 1 : -1;
  for (; j >= 0 && j <= ultima; j += paso) {
    const double anterior = d.*k.tap;
    d.*k.tap = k.tapMin + j * k.paso;
    const Lado lado = Clasificar(k.coseno(d), k.minimo, k.maximo);
    if (lado == Lado::Dentro)
      return Limite::Ninguno;
    if (lado != inicio) {
      if (sube)
        d.*k.tap = anterior;
      return Limite::Salto;
    }
  }
  return sube ? Limite::Arriba : Limite::Abajo;
}

Avisos AvisosDe(Limite l, Aviso sobreMaximo, Aviso fueraDeBanda) {
  if (l == Limite::Arriba)
    return Bit(sobreMaximo);
  if (l == Limite::Salto)
    return Bit(fueraDeBanda);
  return 0;
}

// The point for a current of I kA with the inverter's voltage scheduled at Vdi kV.
SolucionControl Ajustar(const DatosEnlace& d0, const DatosControl& c, double I, double Vdi) {
  SolucionControl s;
  DatosEnlace& d = s.datos;
  d = d0;
  d.Idc = I * 1000;
  d.Vdci = Vdi;
  const Cambiador rect = Rectificador(c), inv = Inversor(c);
  Limite lr = ElegirTap(d, rect);
  Limite li = Limite::Ninguno;
  if (lr != Limite::Abajo) {
    li = ElegirTap(d, inv);
    if (li == Limite::Abajo) {
      // The inverter at gamma_min with its tap at the limit sets the voltage instead of the
      // schedule, and the rectifier follows the new voltage.
      if (const Resultado V = VdciConCoseno(d, CosenoDeGrados(c.gamma_min)))
        d.Vdci = *V / 1000;
      s.avisos |= Bit(Aviso::TensionPerdida);
      li = Limite::Ninguno;
      lr = ElegirTap(d, rect);
    }
  }
  if (lr == Limite::Abajo) {
    // Current margin: the rectifier at alpha_min with its tap at the limit sets the voltage, and
    // the inverter controls a current smaller by the margin.
    s.modo = Modo::CorrienteInversor;
    d.Idc = (1 - c.margen) * I * 1000;
    if (const Resultado Vdr = VdcrConCoseno(d, CosenoDeGrados(c.alpha_min)))
      d.Vdci = (*Vdr - d.Idc * d.Rdc) / 1000;
    li = ElegirTap(d, inv);
    if (li == Limite::Abajo)
      s.avisos |= Bit(Aviso::InversorSinMargen);
    lr = Limite::Ninguno;
  }
  s.avisos |= AvisosDe(lr, Aviso::AlphaSobreMaximo, Aviso::AlphaFueraDeBanda);
  s.avisos |= AvisosDe(li, Aviso::GammaSobreMaximo, Aviso::GammaFueraDeBanda);
  return s;
}

// A converter runs only where the pass forms its angle and its overlap: without them there is no
// voltage it can give at that current, whatever the other results say.
SinPunto PuntoInalcanzable(const SolucionControl& s) {
  if (!std::isfinite(s.datos.Idc))
    return SinPunto::Corriente;
  if (!std::isfinite(s.datos.Vdci))
    return SinPunto::Tension;
  const ResultadosEnlace& r = s.resultados;
  for (const auto& [angulo, falta] : {std::pair{&r.alpha, SinPunto::Alpha},
                                      {&r.mur, SinPunto::Mur},
                                      {&r.gamma, SinPunto::Gamma},
                                      {&r.mui, SinPunto::Mui}})
    if (!*angulo)
      return falta;
  return SinPunto::Ninguno;
}

}  // namespace

const DescripcionControl* BuscarControl(std::string_view nombre) {
  for (const auto& d : kControl)
    if (d.nombre == nombre)
      return &d;
  return nullptr;
}

std::optional<Orden> LeerOrden(std::string_view texto) {
  while (!texto.empty() && (texto.front() == ' ' || texto.front() == '\t'))
    texto.remove_prefix(1);
  while (!texto.empty() && (texto.back() == ' ' || texto.back() == '\t'))
    texto.remove_suffix(1);
  for (std::size_t i = 0; i < kPalabrasOrden.size(); ++i)
    if (texto == kPalabrasOrden[i])
      return static_cast<Orden>(i);
  return std::nullopt;
}

std::string TextoElegido(const DescripcionElegido& e, const DatosEnlace& d,
                         const ConfiguracionRegional& r) {
  const double v = d.*e.miembro;
  return e.patron != nullptr ? NumeroConPatron(v, *e.patron, r) : NumeroATexto(v, r);
}

std::string_view TextoModo(Modo m) {
  return kModos[static_cast<std::size_t>(m)];
}

std::string_view TextoAviso(Aviso a) {
  return kAvisos[static_cast<std::size_t>(a)];
}

std::string TextoSinPunto(SinPunto s) {
  const auto i = static_cast<std::size_t>(s);
  if (i == 0 || i > kSinPunto.size())
    return {};
  return "ningún punto de trabajo cumple la orden con estos datos: " +
         std::string(kSinPunto[i - 1]);
}

std::optional<RechazoControl> LeerDatoControl(const DescripcionControl& d, std::string_view texto,
                                              const ConfiguracionRegional& r, DatosControl& c) {
  if (d.miembro == nullptr) {
    const auto orden = LeerOrden(texto);
    if (!orden)
      return RechazoControl{&d, "ha de ser bloqueado, potencia o corriente"};
    c.orden = *orden;
    return std::nullopt;
  }
  const auto valor = TextoANumero(texto, r);
  if (!valor)
    return RechazoControl{&d, kNoEsNumero};
  c.*d.miembro = *valor;
  return std::nullopt;
}

std::variant<DatosControl, RechazoControl> LeerControl(const TextosControl& textos,
                                                       const ConfiguracionRegional& r) {
  DatosControl c;
  for (std::size_t i = 0; i < kNumControl; ++i)
    if (auto rechazo = LeerDatoControl(kControl[i], textos[i], r, c))
      return *rechazo;
  return c;
}

std::optional<RechazoControl> ComprobarControl(const DatosControl& c, double Rdc) {
  for (const auto& d : kControl)
    if (d.miembro != nullptr && !std::isfinite(c.*d.miembro))
      return RechazoControl{&d, kNoEsFinito};
  const auto fallo = [](double DatosControl::*m, std::string_view motivo,
                        double DatosControl::*otro = nullptr) {
    return RechazoControl{&Dato(m), motivo, otro != nullptr ? &Dato(otro) : nullptr};
  };
  if (c.orden == Orden::Corriente && c.consigna < 0)
    return fallo(&DatosControl::consigna, "no puede ser negativa en una orden de corriente");
  if (!(c.Vprog > 0))
    return fallo(&DatosControl::Vprog, "ha de ser mayor que 0");
  if (c.Rcomp < 0)
    return fallo(&DatosControl::Rcomp, "no puede ser negativa");
  if (!(c.margen >= 0 && c.margen < 1))
    return fallo(&DatosControl::margen, "ha de ser al menos 0 y menor que 1");
  struct Banda {
    double DatosControl::*minimo, DatosControl::*maximo;
  };
  for (const Banda b : {Banda{&DatosControl::alpha_min, &DatosControl::alpha_max},
                        Banda{&DatosControl::gamma_min, &DatosControl::gamma_max}}) {
    for (const auto m : {b.minimo, b.maximo})
      if (!(c.*m >= 0 && c.*m <= 180))
        return fallo(m, "ha de estar entre 0 y 180 grados");
    if (c.*b.minimo > c.*b.maximo)
      return fallo(b.minimo, "no puede ser mayor que", b.maximo);
  }
  struct Taps {
    double DatosControl::*minimo, DatosControl::*maximo, DatosControl::*paso;
  };
  for (const Taps t :
       {Taps{&DatosControl::tapr_min, &DatosControl::tapr_max, &DatosControl::tapr_paso},
        Taps{&DatosControl::tapi_min, &DatosControl::tapi_max, &DatosControl::tapi_paso}}) {
    if (!(c.*t.minimo > 0))
      return fallo(t.minimo, "ha de ser mayor que 0");
    if (c.*t.minimo > c.*t.maximo)
      return fallo(t.minimo, "no puede ser mayor que", t.maximo);
    if (!(c.*t.paso > 0))
      return fallo(t.paso, "ha de ser mayor que 0");
    if (!((c.*t.maximo - c.*t.minimo) / c.*t.paso <= kPosicionesControl))
      return fallo(t.paso,
                   "es demasiado pequeño: más de 10000 posiciones entre el mínimo y el "
                   "máximo");
  }
  if (c.orden == Orden::Potencia && !CorrienteDeOrden(c.orden, c.consigna, c, Rdc))
    return fallo(&DatosControl::consigna,
                 "ninguna corriente da esa potencia con la tensión programada y las resistencias");
  return std::nullopt;
}

SolucionControl ResolverControl(const DatosEnlace& d, const DatosControl& c) {
  SolucionControl s;
  bool sinCorriente = false;
  if (c.orden == Orden::Bloqueado) {
    s.datos = d;
    s.datos.Idc = 0;
    s.datos.Vdci = 0;
    s.modo = Modo::Bloqueado;
  } else {
    Orden orden = c.orden;
    double consigna = c.consigna;
    Avisos avisos = 0;
    for (;;) {
      const auto o = CorrienteDeOrden(orden, consigna, c, d.Rdc);
      // ComprobarControl saw to the order as given; P/Vprog may still pass the largest number.
      sinCorriente = !o;
      s = Ajustar(d, c, o ? o->I : 0, o ? o->Vdi : c.Vprog);
      if (orden != Orden::Potencia || !(s.datos.Vdci < c.Vcmod))
        break;
      // Once: as a current order the link is solved again from the present taps.
      orden = Orden::Corriente;
      consigna = std::fabs(consigna) / c.Vprog * 1000;
      avisos = Bit(Aviso::OrdenDeCorriente);
    }
    s.avisos |= avisos;
  }
  s.resultados = CalcularEnlace(s.datos);
  // A blocked link runs no converter: nothing to find.
  if (s.modo != Modo::Bloqueado)
    s.sinPunto = sinCorriente ? SinPunto::Corriente : PuntoInalcanzable(s);
  return s;
}

}  // namespace zelk
