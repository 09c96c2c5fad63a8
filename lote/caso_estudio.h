// The case of a study as zelk Estudios shows it while the user types: each datum's text read as a
// file's number is, why a text cannot be taken (said next to its field, the others untouched), and
// the pass's results or, under control data, the solution.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/control.h"
#include "lote/estudio.h"
#include "lote/lotes.h"
#include "lote/psse_calc.h"

namespace zelk::lotes {

struct EvaluacionCaso {
  // Why each field's text cannot be taken, as said next to it; empty where it can.
  std::array<std::string, kNumParametros> motivosDatos;
  std::array<std::string, kNumControl> motivosControl;
  // Why there are no results, naming the datum ("«Nr» = «0» no puede valer 0"); empty when there
  // are.
  std::string motivo;
  std::optional<DatosEnlace> datos;
  std::optional<DatosControl> control;  // under control data
  ResultadosEnlace resultados;
  std::optional<SolucionControl> solucion;  // under control data
  // Why each result shown as "ERROR" is, opening with its name, and where the data leave the
  // model (engine/motivos.h).
  std::vector<std::string> motivosError;
  std::vector<std::string> avisosModelo;
};

// The reason of result `resultado` among `motivosError`; empty when it has none.
std::string_view MotivoDeResultado(const EvaluacionCaso& c, const DescripcionResultado& resultado);

// Whether the case's field of `p` is used: under control data Idc and Vdci are not, the order and
// the taps fix them.
bool DatoUsado(const Estudio& e, const DescripcionParametro& p);

EvaluacionCaso EvaluarCaso(const Estudio& e, const ConfiguracionRegional& r);

// The texts every point of a sweep of the study starts from: the case's, and its control data
// when the group "Control" is on (then a text of Idc or Vdci, which the controls fix, never
// rejects a point).
Base BaseDeEstudio(const Estudio& e, const ConfiguracionRegional& r);

// The case's results as text for the clipboard, a NAME<TAB>TEXT line each, as zelk-calc prints a
// single pass: under control data the mode and the chosen values first and the warnings after;
// then a "motivo" line for each reason and warning of the model; "ERROR EN DATOS" and why when
// there are none.
std::string TextoDeResultados(const EvaluacionCaso& c, const ConfiguracionRegional& r);

// A solved line of a PSS/E case into the study's case: its data with the present taps, its control
// data with the group "Control" on, and Idc and Vdci of its solution; the case then solves to the
// line's point. False, with nothing changed, for a line whose data were refused.
bool PonerLinea(const LineaResuelta& l, Estudio& e, const ConfiguracionRegional& r);

}  // namespace zelk::lotes
