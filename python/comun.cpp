#include "python/comun.h"

#include <cmath>
#include <exception>
#include <limits>

#include "engine/pasada.h"
#include "engine/texto_numero.h"
#include "lote/columnas.h"
#include "lote/control_lote.h"
#include "lote/lectura.h"

namespace zelk::python {

namespace {

constexpr double kInfinito = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

std::string ListaDeDatos() {
  std::string lista;
  for (const auto& p : kParametros) {
    if (!lista.empty())
      lista += ", ";
    lista += p.nombre;
  }
  return lista;
}

std::string Repr(py::handle valor) {
  return py::repr(valor);
}

// Why a control datum is refused where control data are not taken.
constexpr const char* kDeControl =
    "un dato de control: los toman resolver_control y resolver_control_lote";

// A NumPy array or scalar of texts, or of objects, has a dtype whose kind is not a number's.
std::optional<char> ClaseDeDtype(py::handle valor) {
  if (!py::hasattr(valor, "dtype"))
    return std::nullopt;
  const py::object tipo = valor.attr("dtype");
  if (!py::hasattr(tipo, "kind"))
    return std::nullopt;
  const std::string clase = py::str(tipo.attr("kind"));
  return clase.size() == 1 ? std::optional<char>(clase[0]) : std::nullopt;
}

}  // namespace

bool EsTexto(py::handle valor) {
  return py::isinstance<py::str>(valor) || py::isinstance<py::bytes>(valor) ||
         PyByteArray_Check(valor.ptr());
}

std::string Utf8(py::handle texto) {
  // A lone surrogate has no UTF-8 form: it is written as Python writes it, "\ud800".
  const auto bytes = py::reinterpret_steal<py::object>(
      PyUnicode_AsEncodedString(texto.ptr(), "utf-8", "backslashreplace"));
  if (!bytes)
    throw py::error_already_set();
  return bytes.cast<std::string>();
}

std::string NombreDeTipo(py::handle valor) {
  return Utf8(py::str(py::type::handle_of(valor).attr("__name__")));
}

std::string Muestra(py::handle valor) {
  py::object texto;
  try {
    texto = py::str(valor);
  } catch (const py::error_already_set&) {
    return Utf8(py::repr(valor));  // a str() that fails
  }
  return Utf8(texto);
}

py::str Str(std::string_view texto) {
  return {texto.data(), texto.size()};
}

// The start-up texts are written with a full stop, as the settings of the United States read them.
const DatosEnlace& DatosDeInicio() {
  static const DatosEnlace inicio = [] {
    DatosEnlace d;
    for (const auto& p : kParametros)
      d.*p.miembro =
          TextoANumero(p.valorCarga, ConfiguracionRegional::EstadosUnidos()).value_or(0.0);
    return d;
  }();
  return inicio;
}

const DatosControl& ControlDeInicio() {
  static const DatosControl inicio = [] {
    TextosControl t;
    for (std::size_t i = 0; i < kNumControl; ++i)
      t[i] = kControl[i].valorDefault;
    return std::get<DatosControl>(LeerControl(t, ConfiguracionRegional::EstadosUnidos()));
  }();
  return inicio;
}

Nombrado NombreDeColumna(const std::string& nombre, std::string_view funcion, bool control) {
  const std::string prefijo = std::string(funcion) + ": ";
  if (const auto* p = BuscarParametro(nombre)) {
    if (control)
      if (const auto motivo = lotes::DatoFijadoPorElControl(*p))
        throw py::value_error(prefijo + "columna «" + nombre + "»: " + *motivo);
    return {p, nullptr};
  }
  if (const auto* c = BuscarControl(nombre)) {
    if (!control)
      throw py::value_error(prefijo + "la columna «" + nombre + "» es " + kDeControl);
    return {nullptr, c};
  }
  if (const auto motivo = lotes::MotivoColumna(nombre, "aceptado"))
    throw py::value_error(prefijo + *motivo);
  if (const auto motivo = lotes::MotivoColumnaControl(nombre, control))
    throw py::value_error(prefijo + *motivo);
  return {};
}

Nombrado Dato(py::handle clave, std::string_view funcion, bool palabraClave, bool control) {
  const std::string prefijo = std::string(funcion) + ": ";
  const std::string datos =
      "; los datos son " + ListaDeDatos() + (control ? " y los de CONTROL" : "");
  if (!py::isinstance<py::str>(clave))
    throw py::value_error(prefijo + "no hay ningún dato " + Repr(clave) + datos);
  const std::string nombre = Utf8(clave);
  if (!palabraClave) {
    // A key of a mapping is judged as zelk-calc judges a column, but must be a datum.
    const Nombrado n = NombreDeColumna(nombre, funcion, control);
    if (n.parametro == nullptr && n.control == nullptr)
      throw py::value_error(prefijo + "no hay ningún dato «" + nombre + "»" + datos);
    return n;
  }
  if (const auto* p = BuscarParametro(nombre)) {
    if (control)
      if (const auto motivo = lotes::DatoFijadoPorElControl(*p))
        throw py::type_error(prefijo + *motivo);
    return {p, nullptr};
  }
  if (const auto* c = BuscarControl(nombre)) {
    if (!control)
      throw py::type_error(prefijo + "«" + nombre + "» es " + kDeControl);
    return {nullptr, c};
  }
  std::string motivo = prefijo + "no hay ningún dato «" + nombre + "»";
  const auto* parecidoControl = control ? lotes::ParecidoControl(nombre) : nullptr;
  if (const auto* parecido = lotes::Parecido(nombre))
    motivo += "; ¿es «" + std::string(parecido->nombre) + "»?" + lotes::NotaDeCaracteres(nombre);
  else if (parecidoControl != nullptr)
    motivo +=
        "; ¿es «" + std::string(parecidoControl->nombre) + "»?" + lotes::NotaDeCaracteres(nombre);
  else if (BuscarResultado(nombre) != nullptr)
    motivo += ": es un resultado";
  else
    motivo += datos;
  throw py::type_error(motivo);
}

const DescripcionParametro& Parametro(py::handle clave, std::string_view funcion,
                                      bool palabraClave) {
  return *Dato(clave, funcion, palabraClave, false).parametro;
}

std::string MotivoTexto(std::string_view funcion, std::string_view nombre, std::string_view texto) {
  return std::string(funcion) + ": «" + std::string(nombre) + "» es texto («" + std::string(texto) +
         "»): un texto nunca se toma por un número. Una tabla con coma decimal se lee con "
         "pd.read_csv(..., decimal=\",\", thousands=\".\"); zelk-calc --csv y pasada() leen "
         "textos con la configuración regional";
}

double Numero(py::handle valor, std::string_view funcion, std::string_view nombre) {
  const std::string prefijo = std::string(funcion) + ": «" + std::string(nombre) + "» ";
  if (valor.is_none())
    throw py::type_error(prefijo + "es None; ha de ser un número");
  if (EsTexto(valor))
    throw py::type_error(MotivoTexto(funcion, nombre, Muestra(valor)));
  // A NumPy scalar or 0-d array of text or objects would go through float(), which reads text.
  if (const auto clase = ClaseDeDtype(valor)) {
    if (*clase == 'U' || *clase == 'S')
      throw py::type_error(MotivoTexto(funcion, nombre, Muestra(valor)));
    if (std::string_view("biuf").find(*clase) == std::string_view::npos)
      throw py::type_error(prefijo + "ha de ser un número, no " + Repr(valor));
  }
  return ComoDouble(valor, funcion, nombre);
}

double ComoDouble(py::handle valor, std::string_view funcion, std::string_view nombre) {
  const double x = PyFloat_AsDouble(valor.ptr());
  if (x != -1.0 || !PyErr_Occurred())
    return x;
  const std::string prefijo = std::string(funcion) + ": «" + std::string(nombre) + "» ";
  if (PyErr_ExceptionMatches(PyExc_OverflowError)) {
    // Past the largest double, as float("1e400") and Decimal("1e400") are: infinite.
    PyErr_Clear();
    const int negativo = PyObject_RichCompareBool(valor.ptr(), py::int_(0).ptr(), Py_LT);
    if (negativo < 0)
      PyErr_Clear();
    return negativo == 1 ? -kInfinito : kInfinito;
  }
  if (PyErr_ExceptionMatches(PyExc_TypeError)) {
    PyErr_Clear();
    throw py::type_error(prefijo + "ha de ser un número, no " + NombreDeTipo(valor));
  }
  if (!PyErr_ExceptionMatches(PyExc_ValueError))
    throw py::error_already_set();
  py::error_already_set error;
  // A signalling NaN (Decimal("sNaN")) refuses to become a float: it is a NaN all the same.
  if (py::hasattr(valor, "is_nan")) {
    try {
      if (valor.attr("is_nan")().cast<bool>())
        return kNaN;
    } catch (const py::error_already_set&) {
    }
  }
  py::raise_from(
      error, PyExc_ValueError,
      (prefijo + "= " + Muestra(valor) + " no se lee como número: " + Utf8(py::str(error.value())))
          .c_str());
  throw py::error_already_set();
}

void ComprobarNumeros(const DatosEnlace& d) {
  if (DatosAceptables(d))
    return;
  Rechazo rechazo;
  for (const auto& p : kParametros) {
    const double v = d.*p.miembro;
    if (auto motivo = lotes::MotivoDeRechazo(p, v)) {
      if (rechazo.motivos.empty()) {
        rechazo.parametro = p.nombre;
        rechazo.valor = v;
      }
      rechazo.motivos.push_back(std::move(*motivo));
    }
  }
  throw rechazo;
}

void AnadirResultados(py::dict& dict, const ResultadosEnlace& r) {
  for (const auto& d : kResultados) {
    const Resultado& v = r.*d.miembro;
    dict[Str(d.nombre)] = v ? py::object(py::float_(*v)) : py::object(py::none());
  }
}

std::string FirmaConDatos(std::string_view nombre, std::string_view cabeza) {
  std::string firma = std::string(nombre) + "(" + std::string(cabeza.empty() ? "*" : cabeza);
  for (const auto& p : kParametros)
    firma += ", " + std::string(p.nombre) + "=" + Repr(py::float_(DatosDeInicio().*p.miembro));
  return firma + ")";
}

std::string FirmaConControl(std::string_view nombre, std::string_view cabeza) {
  std::string firma = std::string(nombre) + "(" + std::string(cabeza.empty() ? "*" : cabeza);
  for (const auto& p : kParametros)
    if (!lotes::DatoFijadoPorElControl(p))
      firma += ", " + std::string(p.nombre) + "=" + Repr(py::float_(DatosDeInicio().*p.miembro));
  const DatosControl& inicio = ControlDeInicio();
  for (const auto& c : kControl) {
    const py::object valor =
        c.miembro ? py::object(py::float_(inicio.*c.miembro))
                  : py::object(Str(kPalabrasOrden[static_cast<std::size_t>(inicio.orden)]));
    firma += ", " + std::string(c.nombre) + "=" + Repr(valor);
  }
  return firma + ")";
}

Orden LeerOrdenDe(py::handle valor, std::string_view funcion) {
  const std::string prefijo = std::string(funcion) + ": «orden» ";
  std::string palabras = "ha de ser";
  for (std::size_t i = 0; i < kPalabrasOrden.size(); ++i)
    palabras += std::string(i == 0                          ? " \""
                            : i + 1 < kPalabrasOrden.size() ? ", \""
                                                            : " o \"") +
                std::string(kPalabrasOrden[i]) + "\"";
  if (!py::isinstance<py::str>(valor))
    throw py::type_error(prefijo + palabras + ", no " + Repr(valor));
  const std::string texto = Muestra(valor);
  const auto orden = LeerOrden(texto);
  if (!orden)
    throw py::value_error(prefijo + palabras + ", no «" + texto + "»");
  return *orden;
}

py::tuple TuplaDeAvisos(Avisos avisos) {
  py::list lista;
  for (std::size_t a = 0; a < kNumAvisos; ++a)
    if (Tiene(avisos, static_cast<Aviso>(a)))
      lista.append(Str(TextoAviso(static_cast<Aviso>(a))));
  return py::tuple(lista);
}

void RegistrarExcepciones(py::module_& m) {
  // Kept for the life of the process, as the module's own classes are.
  static py::handle rechazados =
      py::exception<Rechazo>(m, "DatosRechazados", PyExc_ValueError).release();
  static py::handle imposible =
      py::exception<SinTap>(m, "TapImposible", PyExc_ValueError).release();
  for (py::handle clase : {rechazados, imposible})
    clase.attr("__module__") = "zelk";
  rechazados.attr("__doc__") =
      "Los datos no pasan las comprobaciones de la ventana: un valor que no es un número finito, "
      "o cero en Uacr, tapr, Nr, Uaci, tapi, Ni, Eacr_nom, Eaci_nom, Uacr_nom o Uaci_nom; en\n"
      "resolver_control, también unos datos de control que no se pueden resolver (\"tapr_paso = "
      "0 ha\nde ser mayor que 0\") o una orden que ningún punto de trabajo cumple.\n\n"
      "El mensaje da el motivo de cada dato rechazado, en el orden de los datos (\"tapi = 0 no "
      "puede\nvaler 0\"); parametro es el nombre del primero y valor lo que se le dio (el número, "
      "o el\ntexto en pasada()).";
  // Each instance has its own; the class's say that a bare DatosRechazados() names nothing.
  rechazados.attr("parametro") = py::none();
  rechazados.attr("valor") = py::none();
  imposible.attr("__doc__") =
      "tap_para() no halla tap: ningún tap da el ángulo pedido, o ninguno dentro del margen de\n"
      "posiciones, y entonces el mensaje dice el tap que haría falta. Es un ValueError.";

  py::register_exception_translator([](std::exception_ptr p) {
    try {
      std::rethrow_exception(p);
    } catch (const Rechazo& r) {
      std::string mensaje;
      for (const auto& motivo : r.motivos)
        mensaje += (mensaje.empty() ? "" : "; ") + motivo;
      py::object error = py::reinterpret_borrow<py::object>(rechazados)(Str(mensaje));
      error.attr("parametro") = Str(r.parametro);
      if (const auto* numero = std::get_if<double>(&r.valor))
        error.attr("valor") = *numero;
      else
        error.attr("valor") = Str(std::get<std::string>(r.valor));
      PyErr_SetObject(rechazados.ptr(), error.ptr());
    } catch (const SinTap& e) {
      PyErr_SetString(imposible.ptr(), e.what());
    }
  });
}

}  // namespace zelk::python
