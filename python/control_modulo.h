// The control modes in the module zelk: one link and arrays solved under control data, and the
// two-terminal DC lines of a PSS/E RAW case as a DataFrame.
#pragma once

#include <pybind11/pybind11.h>

namespace zelk {

// Adds resolver_control, resolver_control_lote, leer_psse and CONTROL to the module; its
// DatosRechazados must be registered already.
void RegistrarControl(pybind11::module_& m);

}  // namespace zelk
