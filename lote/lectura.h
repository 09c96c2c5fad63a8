// How the data of zelk-calc are read, and why a text is refused. Tables (CSV files, sweep bounds,
// option values) hold numbers as a spreadsheet writes them; a text typed as NAME=TEXT is read as
// the window reads its field, with a warning where that reading may not be what was meant.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "engine/pasada.h"

namespace zelk::lotes {

// Why a text of a table is not a number, naming the settings that would read it: "«1000,5» no es
// un número con punto decimal; con coma decimal, --locale es_ES". Without `conOpcion`, for a
// window, where there is no option to give: "...; lo es con coma decimal".
std::string NoEsNumero(std::string_view texto, const ConfiguracionRegional& r,
                       bool conOpcion = true);

// A number of an option or a sweep bound, read as a table's; empty with the reason in `error`.
std::optional<double> LeerNumero(std::string_view texto, const ConfiguracionRegional& r,
                                 std::string& error);

// Which of the 18 texts come from a table and are read as a spreadsheet's numbers.
using DeTabla = std::array<bool, kNumParametros>;

// The checks of a pass on the 18 texts, those marked read as a table's: empty when they fail.
std::optional<DatosEnlace> LeerFila(const TextosEntrada& textos, const DeTabla& deTabla,
                                    const ConfiguracionRegional& r);

// LeerFila for rows that differ from a base only in some data, `variables`: the base's other
// texts are read once.
class LectorFilas {
 public:
  LectorFilas(const TextosEntrada& base, const std::array<bool, kNumParametros>& variables,
              const DeTabla& deTabla, const ConfiguracionRegional& r);
  // With `conMargen`, the variables' texts are each followed by kMargenDeLectura readable bytes.
  std::optional<DatosEnlace> Leer(const TextosEntrada& textos, bool conMargen = false) const;

 private:
  const ConfiguracionRegional& regional_;
  DeTabla deTabla_;
  DatosEnlace base_;
  bool baseLeida_ = true;  // every text outside the variables reads
  std::array<std::size_t, kNumParametros> variables_{};
  std::size_t nVariables_ = 0;
};

// Why the checks reject the texts: one reason per datum at fault, in canonical order
// ("«Nr» = «0» no puede valer 0"); empty when they pass.
std::vector<std::string> MotivosDeRechazo(const TextosEntrada& textos, const DeTabla& deTabla,
                                          const ConfiguracionRegional& r);

// Why the checks reject a datum's number, written in its shortest form: "tapi = 0 no puede valer
// 0", "Idc = inf no es un número finito"; empty when it passes. For callers that hold numbers, not
// texts.
std::optional<std::string> MotivoDeRechazo(const DescripcionParametro& p, double v);

// The warning for a text typed as NAME=TEXT that the window reads through a misplaced group
// separator ("aviso: Idc: «1000.5» se lee 10005"); empty when there is none.
std::optional<std::string> AvisoDeLectura(const DescripcionParametro& p, std::string_view texto,
                                          const ConfiguracionRegional& r);
// The same for any datum by its name (the control data).
std::optional<std::string> AvisoDeLectura(std::string_view nombre, std::string_view texto,
                                          const ConfiguracionRegional& r);

// The rows, or points, of a batch that the checks rejected: how many, and where and why the first.
class Rechazos {
 public:
  // `fila` and `filas` name what is counted, in the singular and the plural: "fila", "filas".
  // `calificativo`, when given, says what happened to them instead of "rechazada(s)", the same
  // for one or many ("sin solución").
  Rechazos(std::string_view fila, std::string_view filas, bool femenino,
           std::string_view calificativo = {})
      : fila_(fila), filas_(filas), femenino_(femenino), calificativo_(calificativo) {}

  bool Alguno() const { return cuantos_ > 0; }
  std::size_t Cuantos() const { return cuantos_; }
  // "línea 14: «Nr» = «0» no puede valer 0"
  const std::string& PrimeroTexto() const { return primero_; }
  // Those of a later part of the batch, with its first one's text.
  void Sumar(std::size_t cuantos, std::string_view primero);
  // One more; true when it is the first, whose place and reason the caller then gives.
  bool Anotar() { return cuantos_++ == 0; }
  void Primero(std::string_view donde, std::string_view motivo);
  // "2 de 500 filas rechazadas; la primera, línea 14: «Nr» = «0» no puede valer 0"; empty when
  // none was.
  std::string Texto(std::size_t total) const;
  // The same as zelk-calc's message, when some was.
  void Informar(std::ostream& err, std::size_t total) const;

 private:
  std::string_view fila_, filas_;
  bool femenino_;
  std::string_view calificativo_;
  std::size_t cuantos_ = 0;
  std::string primero_;
};

}  // namespace zelk::lotes
