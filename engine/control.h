// The operating point a power-flow program finds for a two-terminal DC link under its controls:
// the current an order asks for, where the tap changers settle, which end controls the current.
// The 13 results are those of the pass at the point found. No Qt here.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "engine/enlace.h"
#include "engine/texto_numero.h"

namespace zelk {

enum class Orden : std::uint8_t { Bloqueado, Potencia, Corriente };

// The control data of one link, in kV, ohm, per unit and degrees.
struct DatosControl {
  Orden orden = Orden::Potencia;
  // Power in MW, at the rectifier when positive and at the inverter when negative; or current in A.
  double consigna = 0;
  double Vprog = 0;  // scheduled DC voltage
  double Rcomp =
      0;  // compounding resistance: 0 schedules the inverter's voltage, Rdc the rectifier's
  double margen = 0;  // current margin, a fraction of the current
  double Vcmod = 0;   // below this inverter voltage a power order becomes a current order
  double alpha_min = 0, alpha_max = 0, gamma_min = 0, gamma_max = 0;
  double tapr_min = 0, tapr_max = 0, tapr_paso = 0;
  double tapi_min = 0, tapi_max = 0, tapi_paso = 0;
};

// The control data's names, captions, help and default texts: every front end takes them from here.
struct DescripcionControl {
  std::string_view nombre;        // "Vprog"
  double DatosControl::*miembro;  // null for `orden`, which is a word
  std::string_view titulo;        // "Vprog [kV]"
  std::string_view ayuda;         // what the datum is
  std::string_view valorDefault;  // the text used when a run does not give it (full stop)
};

inline constexpr std::size_t kNumControl = 16;
extern const std::array<DescripcionControl, kNumControl> kControl;
const DescripcionControl* BuscarControl(std::string_view nombre);

// The words of `orden`, in the order of `Orden`.
inline constexpr std::array<std::string_view, 3> kPalabrasOrden{"bloqueado", "potencia",
                                                                "corriente"};
std::optional<Orden> LeerOrden(std::string_view texto);

// A tap changer has a few dozen positions; more than this is a step too small for the range.
inline constexpr double kPosicionesControl = 10'000;

// The first datum that makes the data unsolvable, with why; `otro` names the datum it is compared
// with. The front ends write the names their users know.
struct RechazoControl {
  const DescripcionControl* dato = nullptr;
  std::string_view motivo;
  const DescripcionControl* otro = nullptr;
};

// One control datum from its text into `c`, a number read as the 18 data are; why not when it
// cannot be read.
std::optional<RechazoControl> LeerDatoControl(const DescripcionControl& d, std::string_view texto,
                                              const ConfiguracionRegional& r, DatosControl& c);

// The control data from their texts in the order of `kControl`.
using TextosControl = std::array<std::string_view, kNumControl>;
std::variant<DatosControl, RechazoControl> LeerControl(const TextosControl& textos,
                                                       const ConfiguracionRegional& r);

// The checks of control data that have been read: bands and tap ranges that make sense, an order
// that some current meets with the schedule and the line resistance `Rdc`.
std::optional<RechazoControl> ComprobarControl(const DatosControl& c, double Rdc);

// Which end controls the current.
enum class Modo : std::uint8_t { CorrienteRectificador, CorrienteInversor, Bloqueado };
std::string_view TextoModo(Modo m);

// What a solution warns of, as bits of `Avisos`, in the order their texts are written.
enum class Aviso : std::uint8_t {
  OrdenDeCorriente,
  TensionPerdida,
  InversorSinMargen,
  AlphaSobreMaximo,
  AlphaFueraDeBanda,
  GammaSobreMaximo,
  GammaFueraDeBanda,
};
inline constexpr std::size_t kNumAvisos = 7;
using Avisos = std::uint16_t;
std::string_view TextoAviso(Aviso a);
constexpr bool Tiene(Avisos avisos, Aviso a) {
  return (avisos >> static_cast<unsigned>(a)) & 1U;
}

// Why the point found is no operating point: the current or the inverter's voltage it arrives at
// is not a finite number, or a converter cannot run there because the pass cannot form its firing,
// extinction or overlap angle (the order asks for more than the AC voltages and reactances allow).
// The order is then one no link with these data can meet, and its data are rejected.
enum class SinPunto : std::uint8_t { Ninguno, Corriente, Tension, Alpha, Mur, Gamma, Mui };
// The reason, written after the order's data: "ningún punto de trabajo cumple la orden con estos
// datos: el rectificador no puede conmutar esa corriente (mur no se puede formar)".
std::string TextoSinPunto(SinPunto s);

struct SolucionControl {
  DatosEnlace datos;  // the link at the point found: tapr, tapi, Idc and Vdci chosen
  Modo modo = Modo::CorrienteRectificador;
  Avisos avisos = 0;
  ResultadosEnlace resultados;  // the pass at `datos`
  SinPunto sinPunto = SinPunto::Ninguno;
};

// The four values a solution chooses, as zelk shows them: the taps and Vdci in the general form
// of a number, Idc with two decimals like the AC currents.
struct DescripcionElegido {
  std::string_view nombre;
  double DatosEnlace::*miembro;
  const Patron* patron;  // null: the general form
};
extern const std::array<DescripcionElegido, 4> kElegidos;
std::string TextoElegido(const DescripcionElegido& e, const DatosEnlace& d,
                         const ConfiguracionRegional& r);

// The point the controls settle at, from the present taps of `d`; its Idc and Vdci are not used.
// `d` must pass DatosAceptables and `c` ComprobarControl.
//
// Each tap stays while its angle lies within its band; otherwise it walks its grid from where it
// is, in the direction that corrects the angle, to the first position inside the band. The point is
// therefore path-dependent: other present taps may settle elsewhere.
SolucionControl ResolverControl(const DatosEnlace& d, const DatosControl& c);

}  // namespace zelk
