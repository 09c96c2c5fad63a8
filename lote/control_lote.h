// Control data in zelk-calc: their base texts, the columns of a file or a sweep that give them, one
// point solved under them, the columns their table adds, and the single pass that prints one.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/control.h"
#include "engine/pasada.h"

namespace zelk::lotes {

struct Punto;
struct Columna;
struct Barrido;
class Rechazos;

// The control data's texts every point starts from: the defaults under the user's settings, with
// the user's assignments over them. `dada`: some control datum was given, so the run solves the
// controls.
struct BaseControl {
  std::array<std::string, kNumControl> textos;
  bool dada = false;
  std::array<bool, kNumControl> asignado{};  // given as NAME=TEXT
  // Why a datum assigned among the 18 cannot stand once the run solves control data.
  std::optional<std::string> fijado;
};
BaseControl BaseControlDeInicio(
    const ConfiguracionRegional& r,
    std::span<const std::pair<const DescripcionControl*, std::string>> asignaciones,
    std::span<const std::pair<const DescripcionParametro*, std::string>> datos);

// A control datum typed as NAME=TEXT, into `asignaciones`; why not when it was typed already.
std::optional<std::string> AnadirControl(
    std::vector<std::pair<const DescripcionControl*, std::string>>& asignaciones,
    const DescripcionControl* dato, std::string texto);

// The columns a control run adds to its table: these before the 13 results, "avisos" after them.
// Given columns of the present taps are headed tapr_inicial and tapi_inicial: the chosen taps take
// the names.
inline constexpr std::array<std::string_view, 5> kColumnasControl{"modo", "tapr", "tapi", "Idc",
                                                                  "Vdci"};
inline constexpr std::string_view kColumnaAvisos = "avisos";
inline constexpr std::string_view kSufijoInicial = "_inicial";
// Warnings of one point in one field of CSV.
inline constexpr std::string_view kSeparadorAvisos = "; ";

// Why a datum cannot be given with control data (Idc and Vdci are the order's), empty when it can.
std::optional<std::string> DatoFijadoPorElControl(const DescripcionParametro& p);
// The same for the sweeps of a run: a sweep of Idc or Vdci, or an Idc or Vdci assigned, where a
// sweep or an assignment gives control data.
std::optional<std::string> ComprobarBarridosConControl(std::span<const Barrido> barridos,
                                                       const BaseControl& base);

// A point with control data: the 18 data through the window's checks, the control data read as
// the 18 are, then the solution; rejected when any check fails.
Punto EvaluarControl(const TextosEntrada& textos, const TextosControl& control,
                     const ConfiguracionRegional& r);
// Why EvaluarControl rejects these texts, naming the datum and its text.
std::string MotivoControl(const TextosEntrada& textos, const TextosControl& control,
                          const ConfiguracionRegional& r);

// What a control run does with the columns of a table: the ones that give control data, the taps
// renamed, the columns it refuses. Throws csv::ErrorCsv naming `linea`. `deTabla`: the columns'
// numbers are read as a spreadsheet's, as a file's are; else as the window reads them (a sweep's).
class ControlDeTabla {
 public:
  ControlDeTabla(std::vector<Columna>& columnas, const BaseControl& base,
                 const ConfiguracionRegional& regional, std::size_t linea, bool deTabla);

  bool Activo() const { return activo_; }
  // The point of a row: `textos` the 18 texts (those marked in `deTabla` from the table), `campos`
  // the row's fields in the columns' order. A rejected row is noted in `rechazos`, the first with
  // its place, `donde()`, and its reason.
  Punto Evaluar(const TextosEntrada& textos, const std::array<bool, kNumParametros>& deTabla,
                std::span<const std::string_view> campos, const ConfiguracionRegional& r,
                Rechazos& rechazos, const std::function<std::string()>& donde) const;

 private:
  std::optional<std::string> LeerColumnas(std::span<const std::string_view> campos,
                                          const ConfiguracionRegional& r, DatosControl& c) const;

  bool activo_ = false;
  bool deTabla_ = false;
  TextosControl textos_;
  // The base texts read once, when they can be: a row then reads only its own columns.
  std::optional<DatosControl> base_;
  std::vector<std::pair<std::size_t, std::size_t>> columnas_;  // field, control datum
};

// The warnings for control data typed as NAME=TEXT that the window's reading takes through a
// misplaced group separator, as for the 18 data.
void AvisosDeLectura(const BaseControl& control, const ConfiguracionRegional& r, std::ostream& err);

// The control data for --help: what they do, then name, caption and default, one per line.
inline constexpr std::string_view kAyudaControl =
    "\nDatos de control: con cualquiera de ellos (NOMBRE=TEXTO, columna o barrido) se busca el\n"
    "punto de trabajo bajo los controles, como un programa de flujo de cargas: la orden da la\n"
    "corriente, cada tap recorre sus posiciones desde la presente (tapr, tapi) hasta dejar su\n"
    "ángulo en la banda, y si el rectificador no llega a alpha_min el inversor toma la\n"
    "corriente con el margen. Idc y Vdci no se dan: los fija el control. La tabla añade modo,\n"
    "tapr, tapi, Idc y Vdci elegidos y avisos; las columnas de los taps dados pasan a llamarse\n"
    "tapr_inicial y tapi_inicial. El punto depende del camino: otros taps presentes pueden dar\n"
    "otro. Orden: bloqueado, potencia (MW: positiva en el rectificador, negativa en el\n"
    "inversor) o corriente (A). Con --psse, las columnas son linea, modo, tapr, tapi, Idc,\n"
    "Vdci, los 13 resultados y avisos; en JSON con --raw, null donde el resultado es ERROR.\n";
void AyudaControl(std::ostream& out, const ConfiguracionRegional& r);

}  // namespace zelk::lotes
