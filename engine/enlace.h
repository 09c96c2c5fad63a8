// The link's parameters and results, and the tables that describe them: names, fields, labels,
// captions, tool tips, frames, display patterns and the two built-in sets of field texts. Every
// front end takes its texts from here.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace zelk {

// The 18 inputs, in kV, A, ohm per phase, per unit or plain counts, in canonical order.
struct DatosEnlace {
  double Uacr = 0, tapr = 0, Nr = 0, Idc = 0, Rcr = 0, Xcr = 0;
  double Uaci = 0, tapi = 0, Ni = 0, Vdci = 0, Rci = 0, Xci = 0;
  double Rdc = 0, Vdcnom = 0, Eacr_nom = 0, Eaci_nom = 0, Uacr_nom = 0, Uaci_nom = 0;
};

// A result that cannot be formed holds no value and is shown as the marker "ERROR".
using Resultado = std::optional<double>;

// The 13 results in the units of their captions (degrees, kV, A, MW, MVAr), in the order a pass
// writes them.
struct ResultadosEnlace {
  Resultado alpha, mur, tgphir, gamma, mui, tgphii, Vdcr, Iacr, Pr, Qr, Iaci, Pi, Qi;
};

// The 31 text fields of the main window: the inputs in canonical order, then the results in the
// order of writing. A form addresses its fields by this id; `NombreCampo` gives the field's name.
enum class Campo : std::uint8_t {
  Uacr,
  tapr,
  Nr,
  Idc,
  Rcr,
  Xcr,
  Uaci,
  tapi,
  Ni,
  Vdci,
  Rci,
  Xci,
  Rdc,
  Vdcnom,
  Eacr_nom,
  Eaci_nom,
  Uacr_nom,
  Uaci_nom,
  alpha,
  mur,
  tgphir,
  gamma,
  mui,
  tgphii,
  Vdcr,
  Iacr,
  Pr,
  Qr,
  Iaci,
  Pi,
  Qi,
};
inline constexpr std::size_t kNumParametros = 18;
inline constexpr std::size_t kNumResultados = 13;
inline constexpr std::size_t kNumCampos = kNumParametros + kNumResultados;

constexpr std::size_t Indice(Campo c) {
  return static_cast<std::size_t>(c);
}

// The three frames across the top of the main window.
enum class Marco : std::uint8_t { Rectificador, Inversor, Otros };

struct DescripcionMarco {
  std::string_view nombre;  // control name
  std::string_view titulo;  // caption
};

// A display pattern such as "####0.00": `#` places, one `0`, the decimal place and n `0` places
// after it; n is the number of decimals shown.
struct Patron {
  constexpr explicit Patron(std::string_view t) : texto(t), decimales(0) {
    const auto punto = t.find('.');
    if (punto != std::string_view::npos)
      decimales = static_cast<int>(t.size() - punto - 1);
  }
  std::string_view texto;
  int decimales;
};

inline constexpr Patron kPatronAngulo{"##0.00"};
inline constexpr Patron kPatronAnguloInv{"###0.00"};
inline constexpr Patron kPatronDosDec{"####0.00"};
inline constexpr Patron kPatronTresDec{"####0.000"};
inline constexpr Patron kPatronPotencia{"####0.0"};

struct DescripcionParametro {
  std::string_view nombre;  // name in DatosEnlace ("Uacr")
  double DatosEnlace::*miembro;
  Campo campo;
  std::string_view control;   // text field ("txtUacr")
  std::string_view etiqueta;  // label ("lbl1")
  std::string_view titulo;    // the label's caption
  std::string_view ayuda;     // the label's tool tip
  Marco marco;
  std::string_view valorCarga;    // start-up text (ValoresCarga)
  std::string_view valorDefault;  // reset text (ValoresDefault)
  bool pruebaCero;                // rejected when it holds exactly zero
};

struct DescripcionResultado {
  std::string_view nombre;  // name in ResultadosEnlace ("alpha")
  Resultado ResultadosEnlace::*miembro;
  Campo campo;
  std::string_view control;
  std::string_view etiqueta;
  std::string_view titulo;
  std::string_view ayuda;  // empty: the label has no tool tip
  const Patron* patron;    // null: the general text form
  bool puedeMostrarError;  // by the link equations; any non-finite value shows "ERROR" as well
};

extern const std::array<DescripcionMarco, 3> kMarcos;
extern const std::array<DescripcionParametro, kNumParametros> kParametros;
extern const std::array<DescripcionResultado, kNumResultados> kResultados;

inline constexpr std::string_view kMarcaError = "ERROR";
// What every text field holds when the window is created, before the start-up replaces it.
inline constexpr std::string_view kTextoDiseno = "Text1";
inline constexpr std::string_view kTituloAplicacion = "zelk";
inline constexpr std::string_view kMensajeErrorDatos =
    "ERROR EN DATOS. Se sobreescriben con los valores por defecto.";

// The calculation's own value of pi, used in the equations and the conversion to degrees.
inline constexpr double kPi = 3.14159;

// Name of a field's control ("txtUacr", "txtAlpha").
std::string_view NombreCampo(Campo c);

// The unit inside a caption's brackets ("kV" of "Uacr [kV]"); empty for "Nr" or "tg phir".
std::string_view Unidad(std::string_view titulo);

// Lookups by name ("Uacr", "alpha"); null when no such name exists.
const DescripcionParametro* BuscarParametro(std::string_view nombre);
const DescripcionResultado* BuscarResultado(std::string_view nombre);

}  // namespace zelk
