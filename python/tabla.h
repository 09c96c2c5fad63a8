// The table of a batch: what the caller gave (a DataFrame, a Series, a dict, keywords) read into
// columns with their rows and shared index, and the DataFrame out, with the given columns in their
// place and the computed ones after them. calcular_lote and resolver_control_lote share it, so both
// take and refuse the same things with the same words.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "python/columna.h"
#include "python/comun.h"

namespace zelk::python {

// The threads of a batch: None, every core the process may run on; else 1 to kMaximoHilos.
inline constexpr long long kMaximoHilos = 1024;
std::size_t Hilos(const py::object& hilos, std::string_view funcion);

// A yes or no of the caller's: True or False, also NumPy's; anything else is refused.
bool SiONo(const py::object& valor, std::string_view funcion, std::string_view nombre);

// One thing given: a column of a table or a keyword.
struct Dada {
  py::object etiqueta;  // the column's label, or the keyword
  Nombrado dato;        // nothing: a column of the user's
  py::object valor;
  bool delDataFrame = false;
  std::optional<Columna> columna;  // a datum's values
};

class Lote {
 public:
  // `control`: the data are those of resolver_control_lote (the control data, not Idc nor Vdci).
  Lote(const py::object& datos, const py::kwargs& arreglos, std::string_view funcion, bool control);

  std::size_t Filas() const { return filas_; }
  // A DataFrame out: pandas was given.
  bool SalidaPandas() const { return indice_.has_value(); }
  // What the computation reads, given or not; a datum not given is its start-up value. Orders
  // are the numbers of `Orden`.
  const Columna& DeParametro(std::size_t k) const { return parametros_[k]; }
  const Columna& DeControl(std::size_t k) const { return deControl_[k]; }

  // With a DataFrame out, the given columns it holds: copies of them or, without `copiar`, the
  // caller's own. Those of float64 are copied by CopiarFilas, as their rows are read.
  void PrepararSalida(bool copiar);
  // Rows [desde, hasta) of the copies that CopiarFilas makes; threads may copy apart.
  void CopiarFilas(std::size_t desde, std::size_t hasta) const;

  // The DataFrame out, with the given columns and then `calculadas`, by name.
  py::object Tabla(const std::vector<std::pair<std::string_view, py::object>>& calculadas) const;
  // What the batch gives back: that DataFrame when pandas was given, else `calculadas` as a dict
  // of arrays.
  py::object Devolver(const std::vector<std::pair<std::string_view, py::object>>& calculadas) const;

 private:
  void LeerArgumentos(const py::object& tabla, const py::kwargs& arreglos);
  void DesdeDataFrame(const py::object& tabla);
  void IndiceComun(const py::object& tabla);
  void LeerColumnas();
  std::string Prefijo() const { return std::string(funcion_) + ": "; }

  std::string_view funcion_;
  bool conControl_;
  py::object pandas_;  // the module, when the caller has imported it
  bool tablaPandas_ = false;
  std::vector<Dada> dadas_;
  // The index every pandas input shares, and what first gave it. Rows are paired by position: a
  // Series whose index differs is refused rather than realigned.
  std::optional<py::object> indice_;
  std::string indiceDe_;
  std::size_t filas_ = 1;
  std::array<Columna, kNumParametros> parametros_;
  std::array<Columna, kNumControl> deControl_;
  std::vector<py::object> salida_;  // per given column, what the DataFrame out holds
  std::vector<std::pair<const Columna*, double*>> porCopiar_;
};

}  // namespace zelk::python
