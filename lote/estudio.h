// A study of zelk Estudios: the case (the texts of the 18 data and of the control data), the
// sweep's settings and the search's, and the small JSON file that keeps them with a format
// version. Numbers are written to the file as numbers, so that a study saved under one regional
// setting opens under any other; a text that is not a number is kept as the text it is.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "engine/control.h"
#include "engine/enlace.h"
#include "engine/texto_numero.h"

namespace zelk::lotes {

// The version this program writes and the newest it reads.
inline constexpr int kVersionEstudio = 1;
// What the file says it is.
inline constexpr std::string_view kFormatoEstudio = "zelk-estudio";
// A study is a few kilobytes; a larger file is not one.
inline constexpr std::size_t kTamanoMaximoEstudio = std::size_t{1} << 20;

// One axis of a sweep: the datum (one of the 18, or a numeric control datum) and its bounds as
// texts under the user's settings.
struct EjeEstudio {
  std::string dato;
  std::string desde, hasta;
  std::size_t puntos = 0;

  bool operator==(const EjeEstudio&) const = default;
};

// "Buscar…": the value of a result to reach by varying a datum between two bounds (both empty: the
// datum's usual range).
struct BusquedaEstudio {
  std::string resultado;
  std::string objetivo;
  std::string dato;
  std::string desde, hasta;

  bool operator==(const BusquedaEstudio&) const = default;
};

struct Estudio {
  std::array<std::string, kNumParametros> datos;       // in the order of kParametros
  bool control = false;                                // the group "Control" switched on
  std::array<std::string, kNumControl> textosControl;  // in the order of kControl; orden's word
  EjeEstudio barrido;
  bool conFamilia = false;  // a second datum gives a family of curves
  EjeEstudio familia;
  std::vector<std::string> dibujados;  // the results drawn, by name, in the order of kResultados
  BusquedaEstudio busqueda;

  bool operator==(const Estudio&) const = default;
};

// A new study: the calculator's start-up texts, the control data's defaults (switched off), a
// sweep of Idc with the angles and the powers at the rectifier drawn.
Estudio EstudioDeInicio(const ConfiguracionRegional& r);

// The study as its file's text.
std::string EstudioAJson(const Estudio& e, const ConfiguracionRegional& r);

// The study in a file's text; why not, in Spanish, when the text is not a study this version can
// read (not JSON, another format, a newer version, a datum that does not exist, a value of the
// wrong kind). What the file leaves out takes its value from EstudioDeInicio.
std::variant<Estudio, std::string> EstudioDeJson(std::string_view texto,
                                                 const ConfiguracionRegional& r);

}  // namespace zelk::lotes
