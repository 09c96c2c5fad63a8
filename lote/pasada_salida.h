// One operating point as zelk-calc prints it: NAME<TAB>TEXT lines with the texts the window shows
// (in full with --raw), or one JSON object; the 13 results, a control solution's chosen values and
// warnings, the detail of both ends. The single passes of zelk-calc: plain, under control data and
// solved for a target, each with its reasons and warnings on the error stream.
#pragma once

#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/control.h"
#include "engine/enlace.h"
#include "engine/texto_numero.h"
#include "lote/control_lote.h"
#include "lote/objetivo_lote.h"
#include "lote/pasada_inicio.h"

namespace zelk::lotes {

struct OpcionesPasada {
  bool crudo = false;    // numbers in full, "." as decimal; ERROR stays a word (null in JSON)
  bool json = false;     // one object per point
  bool motivos = false;  // JSON: the reasons and warnings in the object too
  bool detalle = false;  // the detail of both ends after the results
};

// The names and values of one point, in the order they are given, written as the options say.
class SalidaPasada {
 public:
  SalidaPasada(const ConfiguracionRegional& r, OpcionesPasada opciones)
      : regional_(r), opciones_(opciones) {}

  // A word ("modo").
  void Palabra(std::string_view nombre, std::string_view texto);
  // A number as it is shown (`texto`), or ERROR when it has no value.
  void Numero(std::string_view nombre, const Resultado& valor, std::string texto);
  // A list of texts: in JSON a list; in lines, one `linea`<TAB>TEXT line each, none without
  // `linea`.
  void Textos(std::string_view nombre, std::string_view linea, std::vector<std::string> textos);

  void Resultados(const ResultadosEnlace& r);
  void Detalle(const DatosEnlace& d);
  // The mode, the chosen values, the 13 results and the warnings of a solution under control.
  void Solucion(const SolucionControl& s);

  std::string Texto() const;

 private:
  struct Entrada {
    std::string nombre;
    enum class Tipo { Palabra, Numero, Textos } tipo;
    Resultado valor;
    std::string texto;
    std::string linea;
    std::vector<std::string> textos;
  };
  const ConfiguracionRegional& regional_;
  OpcionesPasada opciones_;
  std::vector<Entrada> entradas_;
};

// The plain single pass: the window's start-up, the assignments typed, one press of "Calcular".
// The window's message and the rejected data, or the reasons and warnings, on `err`. Exit status
// 0, or 3 when the data were rejected.
int PasadaSimple(const ConfiguracionRegional& r, std::span<const Asignacion> asignaciones,
                 const std::array<std::string, kNumParametros>& textos, OpcionesPasada opciones,
                 std::ostream& out, std::ostream& err);

// The single pass under control data, from the run's 18 texts: the mode, the chosen values, the
// 13 results and the warnings as NAME<TAB>TEXT lines ("aviso" lines for the warnings). Exit status
// 0, or 3 with the reasons on `err`.
int PasadaControl(const std::array<std::string, kNumParametros>& textos, const BaseControl& control,
                  const ConfiguracionRegional& r, OpcionesPasada opciones, std::ostream& out,
                  std::ostream& err);

// The single pass solved for a target: for each value found, in increasing order, DATUM<TAB>VALUE
// (in full) and the point there as the passes above print it, an empty line between two (in JSON,
// an array of objects). Exit status 0; 3 when the data are rejected or no value serves, said on
// `err` with the values the result takes over the range.
int PasadaObjetivo(const std::array<std::string, kNumParametros>& textos,
                   const BaseControl& control, const PeticionObjetivo& peticion,
                   const ConfiguracionRegional& r, OpcionesPasada opciones, std::ostream& out,
                   std::ostream& err);

}  // namespace zelk::lotes
