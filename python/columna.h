// One datum of a batch as the computation reads it: float64 values at a byte stride, or one value
// for every row; read from whatever the caller gave, never from a text (but the order's words).
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

#include "python/comun.h"

namespace zelk::python {

struct Columna {
  py::object arreglo;  // keeps the memory alive
  std::size_t largo = 0;
  const char* datos = nullptr;
  py::ssize_t paso = 0;
  double escalar = 0;
  bool esEscalar = true;
  bool delLlamante = false;  // the caller's own float64 values, not converted here

  double En(std::size_t i) const {
    if (esEscalar)
      return escalar;
    double v;
    std::memcpy(&v, Direccion(i), sizeof v);
    return v;
  }
  // The bytes of rows [desde, hasta) into the same rows of `destino`, as they are.
  void CopiarA(double* destino, std::size_t desde, std::size_t hasta) const {
    if (paso == static_cast<py::ssize_t>(sizeof(double))) {
      if (hasta > desde)
        std::memcpy(destino + desde, Direccion(desde), (hasta - desde) * sizeof(double));
      return;
    }
    for (std::size_t i = desde; i < hasta; ++i)
      std::memcpy(destino + i, Direccion(i), sizeof(double));
  }

 private:
  const char* Direccion(std::size_t i) const { return datos + static_cast<py::ssize_t>(i) * paso; }
};

// The values of a parameter given as a number, a NumPy array (or masked array), a list, or a
// pandas Series, Index or array. Numbers of any type are read as float64, True and False as 1 and
// 0, and a missing value (None, NaN, pd.NA, a masked one) as NaN, which rejects its row. Text, in
// any dtype, is refused with TypeError, as is None in place of the whole; more than one
// dimension with ValueError.
Columna LeerColumna(const py::object& valor, std::string_view funcion, std::string_view nombre);

// The orders of a batch, a word or words ("potencia"), as the numbers of `Orden`; a missing value
// (None, NaN, pd.NA) as NaN, which rejects its row. Anything else is refused as LeerOrdenDe does.
Columna LeerOrdenes(const py::object& valor, std::string_view funcion);

}  // namespace zelk::python
