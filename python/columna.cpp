#include "python/columna.h"

#include <pybind11/numpy.h>

#include <cmath>
#include <limits>
#include <string>

namespace zelk::python {

namespace {

using namespace py::literals;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Elements read between two looks at Python's signals.
constexpr std::size_t kElementosPorMirada = 1 << 16;

bool EsNumerico(char clase) {
  return std::string_view("biuf").find(clase) != std::string_view::npos;
}

char ClaseDe(const py::object& tipo) {
  const std::string clase = py::str(tipo.attr("kind"));
  return clase.size() == 1 ? clase[0] : '?';
}

// An array of objects (0-d or 1-d) walked element by element into a float64 array of its shape.
struct Recorrido {
  bool cero;
  std::size_t n;
  py::ssize_t paso;
  py::array_t<double> salida;
};

Recorrido RecorrerObjetos(const py::array& a) {
  const bool cero = a.ndim() == 0;
  const std::size_t n = cero ? 1 : static_cast<std::size_t>(a.shape(0));
  return {cero, n, cero ? 0 : a.strides(0),
          py::array_t<double>(cero ? std::vector<py::ssize_t>{}
                                   : std::vector<py::ssize_t>{static_cast<py::ssize_t>(n)})};
}

// An array of Python objects, each a number or a missing value, as float64.
py::array DeObjetos(const py::array& a, std::string_view funcion, std::string_view nombre) {
  const py::object modulos = py::module_::import("sys").attr("modules");
  const py::object pandas = modulos.attr("get")("pandas");
  const py::object na = pandas.is_none() ? py::object(py::none()) : py::object(pandas.attr("NA"));
  auto [cero, n, paso, salida] = RecorrerObjetos(a);
  double* escribir = salida.mutable_data();
  const char* base = static_cast<const char*>(a.data());
  for (std::size_t i = 0; i < n; ++i) {
    if (i % kElementosPorMirada == kElementosPorMirada - 1 && PyErr_CheckSignals() != 0)
      throw py::error_already_set();
    PyObject* o;
    std::memcpy(&o, base + static_cast<py::ssize_t>(i) * paso, sizeof o);
    if (o == nullptr || o == Py_None || o == na.ptr()) {
      escribir[i] = kNaN;
    } else if (PyFloat_Check(o)) {  // NumPy's float64 too
      escribir[i] = PyFloat_AS_DOUBLE(o);
    } else if (PyLong_Check(o)) {  // True and False too
      escribir[i] = PyLong_AsDouble(o);
      if (escribir[i] == -1.0 && PyErr_Occurred()) {
        PyErr_Clear();  // too large for a double: infinite, which rejects its row
        escribir[i] = ComoDouble(o, funcion, nombre);
      }
    } else {
      escribir[i] = Numero(o, funcion, nombre);  // refuses text, converts the rest
    }
  }
  return salida;
}

// A masked array with NaN under its mask, whatever it holds there: a masked value is missing.
// Numbers become float64; anything else objects, whose masked places are never read.
py::object SinMascara(const py::object& v) {
  const bool numeros = EsNumerico(ClaseDe(v.attr("dtype")));
  return v.attr("astype")(numeros ? "float64" : "object").attr("filled")(kNaN);
}

// A missing order: None, pd.NA, or a number that is NaN, of whatever type (np.float32,
// Decimal("NaN")...). Text is never one.
bool FaltaOrden(PyObject* o, PyObject* na, std::string_view funcion) {
  if (o == nullptr || o == Py_None || o == na)
    return true;
  if (PyFloat_Check(o))
    return std::isnan(PyFloat_AS_DOUBLE(o));
  const py::handle h(o);
  if (EsTexto(h) || PyNumber_Check(o) == 0)
    return false;
  try {
    return std::isnan(ComoDouble(h, funcion, "orden"));
  } catch (const py::error_already_set&) {
    return false;  // not a number after all: refused as an order
  } catch (const py::builtin_exception&) {
    return false;
  }
}

}  // namespace

Columna LeerColumna(const py::object& valor, std::string_view funcion, std::string_view nombre) {
  const std::string prefijo = std::string(funcion) + ": «" + std::string(nombre) + "» ";
  if (valor.is_none())
    throw py::type_error(prefijo + "es None; ha de ser un número o un arreglo de números");
  if (EsTexto(valor))
    throw py::type_error(MotivoTexto(funcion, nombre, Muestra(valor)));
  const py::module_ np = py::module_::import("numpy");
  py::object v = valor;
  bool convertido = false;  // to float64, or its missing values to NaN
  if (py::isinstance(v, np.attr("ma").attr("MaskedArray"))) {
    convertido = true;
    v = SinMascara(v);
  } else if (py::hasattr(v, "to_numpy") && py::hasattr(v, "dtype")) {
    // pandas: a column of NumPy's own type as it is (a float64 one is not copied); one of
    // pandas' own (nullable numbers, text, categories) with pd.NA as NaN, or as objects.
    const py::object tipo = v.attr("dtype");
    convertido = !py::isinstance(tipo, np.attr("dtype"));
    if (!convertido)
      v = v.attr("to_numpy")();
    else if (EsNumerico(ClaseDe(tipo)))
      v = v.attr("to_numpy")("dtype"_a = "float64", "na_value"_a = kNaN);
    else
      v = v.attr("to_numpy")("dtype"_a = "object");
  }
  py::array a = np.attr("asarray")(v);
  if (a.ndim() > 1)
    throw py::value_error(prefijo + "ha de tener una dimensión y tiene " +
                          std::to_string(a.ndim()));
  Columna c;
  const char clase = a.dtype().kind();
  if (clase == 'U' || clase == 'S') {
    const std::string muestra = a.size() == 0 ? "" : Muestra(a.attr("flat")[py::int_(0)]);
    throw py::type_error(MotivoTexto(funcion, nombre, muestra));
  }
  if (clase == 'O') {
    a = DeObjetos(a, funcion, nombre);
  } else if (!EsNumerico(clase)) {
    throw py::type_error(prefijo + "no es numérico (dtype " + std::string(py::str(a.dtype())) +
                         ")");
  } else if (a.dtype().equal(py::dtype::of<double>())) {
    c.delLlamante = !convertido;
  } else {
    a = a.attr("astype")("float64");
  }
  c.arreglo = a;
  if (a.ndim() == 0) {
    std::memcpy(&c.escalar, a.data(), sizeof c.escalar);
    return c;
  }
  c.esEscalar = false;
  c.largo = static_cast<std::size_t>(a.shape(0));
  c.datos = static_cast<const char*>(a.data());
  c.paso = a.strides(0);
  return c;
}

Columna LeerOrdenes(const py::object& valor, std::string_view funcion) {
  Columna c;
  if (valor.is_none() || EsTexto(valor)) {
    c.escalar = static_cast<double>(LeerOrdenDe(valor, funcion));
    return c;
  }
  const py::module_ np = py::module_::import("numpy");
  const py::object modulos = py::module_::import("sys").attr("modules");
  const py::object pandas = modulos.attr("get")("pandas");
  const py::object na = pandas.is_none() ? py::object(py::none()) : py::object(pandas.attr("NA"));
  // pandas' text and categories, and NumPy's, as Python's texts; a masked order is missing.
  const py::object v = py::isinstance(valor, np.attr("ma").attr("MaskedArray")) ? SinMascara(valor)
                       : py::hasattr(valor, "to_numpy") && py::hasattr(valor, "dtype")
                           ? valor.attr("to_numpy")("dtype"_a = "object")
                           : valor;
  const py::array a = np.attr("asarray")(v, "dtype"_a = "object");
  if (a.ndim() > 1)
    throw py::value_error(std::string(funcion) + ": «orden» ha de tener una dimensión y tiene " +
                          std::to_string(a.ndim()));
  auto [cero, n, paso, salida] = RecorrerObjetos(a);
  double* escribir = salida.mutable_data();
  const char* base = static_cast<const char*>(a.data());
  // A column's texts are mostly the same few objects: the last one read is not read again.
  PyObject* anterior = nullptr;
  double codigo = kNaN;
  for (std::size_t i = 0; i < n; ++i) {
    if (i % kElementosPorMirada == kElementosPorMirada - 1 && PyErr_CheckSignals() != 0)
      throw py::error_already_set();
    PyObject* o;
    std::memcpy(&o, base + static_cast<py::ssize_t>(i) * paso, sizeof o);
    if (o != anterior) {
      codigo =
          FaltaOrden(o, na.ptr(), funcion) ? kNaN : static_cast<double>(LeerOrdenDe(o, funcion));
      anterior = o;
    }
    escribir[i] = codigo;
  }
  c.arreglo = salida;
  if (cero) {
    c.escalar = escribir[0];
    return c;
  }
  c.esEscalar = false;
  c.largo = n;
  c.datos = reinterpret_cast<const char*>(escribir);
  c.paso = sizeof(double);
  return c;
}

}  // namespace zelk::python
