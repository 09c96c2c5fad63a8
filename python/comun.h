// What the source files of the module zelk share: its exceptions, the reading of the caller's
// names and numbers, the start-up values, and the registration of each file's functions. Each
// source file defines its functions in a Registrar... function of its own, called by the module's
// initialisation.
#pragma once

#include <pybind11/pybind11.h>

#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "engine/control.h"
#include "engine/enlace.h"

namespace zelk::python {

namespace py = pybind11;

// Data the checks reject: why (one reason per datum at fault, in canonical order), and the first
// datum at fault with its value, a number or the text it was given as. Raised as DatosRechazados.
struct Rechazo {
  std::vector<std::string> motivos;
  std::string parametro;
  std::variant<double, std::string> valor;
};

// No tap gives the angle asked for, or none within the range of positions. Raised as TapImposible.
struct SinTap : std::runtime_error {
  using std::runtime_error::runtime_error;
};

py::str Str(std::string_view texto);

// The numbers the start-up texts stand for.
const DatosEnlace& DatosDeInicio();

// The control data's defaults.
const DatosControl& ControlDeInicio();

// A datum the caller names: one of the 18 or a control datum; both null for a column of the
// user's own.
struct Nombrado {
  const DescripcionParametro* parametro = nullptr;
  const DescripcionControl* control = nullptr;
};

// The datum a key of the caller's names: a keyword argument (TypeError, as Python's own) or a key
// of a mapping (ValueError); a name that is near a datum's or a result's says so. `control`: the
// function takes control data, and then neither Idc nor Vdci.
Nombrado Dato(py::handle clave, std::string_view funcion, bool palabraClave, bool control);
// The same for one of the 18 data, where control data are not taken.
const DescripcionParametro& Parametro(py::handle clave, std::string_view funcion,
                                      bool palabraClave);
// What the label of a table's column stands for, judged as zelk-calc judges a column: a datum, or
// a column of the user's (both null); a name near a datum's or a result's is refused.
Nombrado NombreDeColumna(const std::string& nombre, std::string_view funcion, bool control);

// A str, bytes or bytearray.
bool EsTexto(py::handle valor);

// A str as UTF-8, a lone surrogate written as Python writes it ("\ud800").
std::string Utf8(py::handle texto);

// The name of a value's type, for a message: "str".
std::string NombreDeTipo(py::handle valor);

// The text of any value, for a message: its str(), or its repr() where str() fails.
std::string Muestra(py::handle valor);

// Why a text is refused where a number is wanted, and how to read such data.
std::string MotivoTexto(std::string_view funcion, std::string_view nombre, std::string_view texto);

// One number of the caller's: a text, None or anything that is not a number is refused, naming
// the parameter. True and False are 1 and 0.
double Numero(py::handle valor, std::string_view funcion, std::string_view nombre);
// The conversion Numero ends with, for a value known not to be text: a number past the largest
// double (10**400) is an infinity of its sign, a signalling NaN a NaN; a value that is no number
// is refused naming the parameter.
double ComoDouble(py::handle valor, std::string_view funcion, std::string_view nombre);

// Throws Rechazo when the checks reject the numbers.
void ComprobarNumeros(const DatosEnlace& d);

// The results as a dict, None where the window shows "ERROR".
void AnadirResultados(py::dict& dict, const ResultadosEnlace& r);

// The text signature of a function with the 18 parameters keyword-only after `cabeza` (which ends
// in ", *" or is empty), each with its start-up value: "calcular(*, Uacr=500.0, ...)".
std::string FirmaConDatos(std::string_view nombre, std::string_view cabeza);
// The same with the data under control: the 18 but Idc and Vdci, then the control data with their
// defaults.
std::string FirmaConControl(std::string_view nombre, std::string_view cabeza);

// An order's word, or why not; a number, None or anything else is refused naming `nombre`.
Orden LeerOrdenDe(py::handle valor, std::string_view funcion);

// A tuple of the texts of a solution's warnings.
py::tuple TuplaDeAvisos(Avisos avisos);

// The reasons and warnings of a link, or of a solution under control data, as zelk-calc writes
// them (engine/motivos.h), numbers with a full stop; and as a tuple.
std::vector<std::string> MotivosDe(const DatosEnlace& d, const ResultadosEnlace& r);
py::tuple Tupla(const std::vector<std::string>& textos);
// The reasons numbers are rejected for, one per datum at fault.
std::vector<std::string> MotivosDeNumeros(const DatosEnlace& d);
// An object array of one tuple of texts per row.
py::object ArregloDeTuplas(const std::vector<std::vector<std::string>>& filas);

// Defines `nombre` on the module with `doc` after its text signature, so that inspect.signature
// and help() show it as a function of zelk.
template <typename Funcion, typename... Extra>
void Definir(py::module_& m, const char* nombre, const std::string& firma, std::string_view doc,
             Funcion&& f, const Extra&... extra) {
  // Python reads a text signature from a docstring that opens with it and a line "--".
  const std::string texto = firma + "\n--\n\n" + std::string(doc);
  m.def(nombre, std::forward<Funcion>(f), extra..., texto.c_str());
  m.attr(nombre).attr("__module__") = "zelk";
}

void RegistrarExcepciones(py::module_& m);
// calcular, pasada and tap_para: one operating point.
void RegistrarPuntos(py::module_& m);
// calcular_lote: many operating points from arrays and pandas tables.
void RegistrarLotes(py::module_& m);
// resolver_control and resolver_control_lote: operating points under control data, and CONTROL.
void RegistrarControl(py::module_& m);
// leer_psse: the two-terminal DC lines of a PSS/E RAW case.
void RegistrarPsse(py::module_& m);
// detalle, buscar and buscar_lote: what lies between data and results, and targets; SinSolucion.
void RegistrarObjetivos(py::module_& m);

}  // namespace zelk::python
