// The module zelk for Python: the link's calculation over numbers and over NumPy arrays, one pass
// over field texts as the window shows it, and the tap that gives an angle. Everything goes
// through the engine's own checks and computation; arrays are computed without the GIL, on every
// core the process may use.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

#include "calc/lotes.h"
#include "calc/zelk_calc.h"
#include "engine/calculo.h"
#include "engine/enlace.h"
#include "engine/pasada.h"
#include "engine/texto_numero.h"
#include "python/control_modulo.h"
#include "regional/regional_qt.h"

namespace py = pybind11;
using namespace py::literals;

namespace zelk {
namespace {

// Data the window's checks reject; the message is the window's.
struct Rechazo : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// No tap gives the angle asked for, or none within the range of positions.
struct SinTap : std::runtime_error {
  using std::runtime_error::runtime_error;
};

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Rows per thread below which starting a thread costs more than it saves.
constexpr std::size_t kFilasPorHilo = 16384;
constexpr std::size_t kMaximoHilos = 1024;

py::str Str(std::string_view texto) {
  return {texto.data(), texto.size()};
}

std::string ListaDeDatos() {
  std::string lista;
  for (const auto& p : kParametros) {
    if (!lista.empty())
      lista += ", ";
    lista += p.nombre;
  }
  return lista;
}

// The numbers the start-up texts stand for; they are written with a full stop, as the settings of
// the United States read them.
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

// A key of the caller's: a keyword argument (TypeError, as Python's own) or a key of a table of
// data (ValueError).
const DescripcionParametro& Parametro(py::handle clave, std::string_view funcion,
                                      bool palabraClave) {
  const std::string nombre = py::str(clave);
  const auto* p = BuscarParametro(nombre);
  if (p == nullptr) {
    const std::string motivo = std::string(funcion) + ": no hay ningún dato «" + nombre +
                               "»; los datos son " + ListaDeDatos();
    if (palabraClave)
      throw py::type_error(motivo);
    throw py::value_error(motivo);
  }
  return *p;
}

double Numero(py::handle valor, std::string_view funcion, std::string_view nombre) {
  if (py::isinstance<py::str>(valor) || py::isinstance<py::bytes>(valor))
    throw py::type_error(std::string(funcion) + ": «" + std::string(nombre) +
                         "» ha de ser un número; los textos de los campos van a pasada()");
  const double x = PyFloat_AsDouble(valor.ptr());
  if (x == -1.0 && PyErr_Occurred())
    throw py::error_already_set();
  return x;
}

std::string Texto(py::handle valor, std::string_view funcion, std::string_view nombre) {
  if (!py::isinstance<py::str>(valor))
    throw py::type_error(std::string(funcion) + ": el texto de «" + std::string(nombre) +
                         "» ha de ser un str");
  Py_ssize_t largo = 0;
  const char* utf8 = PyUnicode_AsUTF8AndSize(valor.ptr(), &largo);
  if (utf8 == nullptr)
    throw py::error_already_set();  // a lone surrogate has no UTF-8 form
  return {utf8, static_cast<std::size_t>(largo)};
}

// The start-up values with the caller's numbers over them.
DatosEnlace LeerNumeros(const py::kwargs& datos, std::string_view funcion) {
  DatosEnlace d = DatosDeInicio();
  for (const auto& [clave, valor] : datos) {
    const auto& p = Parametro(clave, funcion, true);
    d.*p.miembro = Numero(valor, funcion, p.nombre);
  }
  return d;
}

void AnadirResultados(py::dict& dict, const ResultadosEnlace& r) {
  for (const auto& d : kResultados) {
    const Resultado& v = r.*d.miembro;
    dict[Str(d.nombre)] = v ? py::object(py::float_(*v)) : py::object(py::none());
  }
}

py::dict Calcular(const py::kwargs& datos) {
  const DatosEnlace d = LeerNumeros(datos, "calcular");
  if (!DatosAceptables(d))
    throw Rechazo(std::string(kMensajeErrorDatos));
  py::dict resultados;
  AnadirResultados(resultados, CalcularEnlace(d));
  return resultados;
}

// None: the process's settings, which Qt takes from LC_ALL, LC_NUMERIC or LANG as the window
// and zelk-calc do.
ConfiguracionRegional Regional(const py::object& locale) {
  if (locale.is_none())
    return RegionalDelSistema();
  const std::string nombre = Texto(locale, "pasada", "locale");
  auto r = RegionalPorNombre(nombre);
  if (!r)
    throw py::value_error("pasada: no se conoce la configuración regional «" + nombre + "»");
  return *r;
}

py::dict Pasada(const py::object& textos, const py::object& locale) {
  const ConfiguracionRegional r = Regional(locale);
  std::vector<Asignacion> asignaciones;
  if (!textos.is_none()) {
    const py::dict entrada(textos);  // any mapping, or pairs
    for (const auto& [clave, valor] : entrada) {
      const auto& p = Parametro(clave, "pasada", false);
      asignaciones.push_back({&p, Texto(valor, "pasada", p.nombre)});
    }
  }
  FormularioMemoria form;
  if (!PasadaTrasInicio(form, r, asignaciones))
    throw Rechazo(form.Mensajes().empty() ? std::string(kMensajeErrorDatos)
                                          : form.Mensajes().front());
  py::dict salida;
  for (const auto& d : kResultados)
    salida[Str(d.nombre)] = py::str(form.Ver(d.campo));
  return salida;
}

// One parameter of a batch: a float64 column read at a byte stride, or one value for every row.
struct Columna {
  py::object arreglo;  // keeps the memory alive
  std::size_t largo = 0;
  const char* datos = nullptr;
  py::ssize_t paso = 0;
  double escalar = 0;
  bool esEscalar = true;

  double En(std::size_t i) const {
    if (esEscalar)
      return escalar;
    double v;
    std::memcpy(&v, datos + static_cast<py::ssize_t>(i) * paso, sizeof v);
    return v;
  }
};

Columna AColumna(py::handle valor, std::string_view nombre) {
  const py::module_ np = py::module_::import("numpy");
  const std::string prefijo = "calcular_lote: «" + std::string(nombre) + "» ";
  py::object v = py::reinterpret_borrow<py::object>(valor);
  if (py::isinstance<py::str>(v) || py::isinstance<py::bytes>(v))
    throw py::type_error(prefijo + "ha de ser un número o un arreglo de números");
  const auto numerico = [](const py::object& tipo) {
    if (!py::hasattr(tipo, "kind"))
      return false;
    const std::string clase = py::str(tipo.attr("kind"));
    return clase.size() == 1 && std::string_view("biuf").find(clase[0]) != std::string_view::npos;
  };
  // A missing value is NaN here, as in a column of floats: pandas keeps it as pd.NA, which NumPy
  // cannot turn into a float, and a masked array keeps some number under its mask.
  if (py::hasattr(v, "dtype") && numerico(v.attr("dtype"))) {
    if (py::isinstance(v, np.attr("ma").attr("MaskedArray")))
      v = v.attr("astype")("float64").attr("filled")(kNaN);
    else if (py::hasattr(v, "to_numpy"))
      v = v.attr("to_numpy")("dtype"_a = "float64", "na_value"_a = kNaN);
  }
  py::array a = np.attr("asarray")(v);
  const char tipo = a.dtype().kind();
  if (tipo == 'O') {
    try {
      a = np.attr("asarray")(a, "dtype"_a = "float64");
    } catch (py::error_already_set& e) {
      throw py::type_error(prefijo + "no es numérico: " + e.what());
    }
  } else if (std::string_view("biuf").find(tipo) == std::string_view::npos) {
    throw py::type_error(prefijo + "no es numérico (dtype " + std::string(py::str(a.dtype())) +
                         ")");
  } else {
    a = np.attr("asarray")(a, "dtype"_a = "float64");
  }
  if (a.ndim() > 1)
    throw py::value_error(prefijo + "ha de tener una dimensión y tiene " +
                          std::to_string(a.ndim()));
  Columna c;
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

// Every core the process may run on, as the operating system tells Python.
std::size_t Hilos(const py::object& hilos) {
  if (hilos.is_none()) {
    const py::module_ os = py::module_::import("os");
    if (py::hasattr(os, "sched_getaffinity"))
      return std::max<std::size_t>(1, py::len(os.attr("sched_getaffinity")(0)));
    const py::object cuenta = os.attr("cpu_count")();
    return cuenta.is_none() ? 1 : std::max<std::size_t>(1, cuenta.cast<std::size_t>());
  }
  if (py::isinstance<py::bool_>(hilos) || !py::isinstance<py::int_>(hilos))
    throw py::type_error("calcular_lote: hilos ha de ser un entero o None");
  const long long h = hilos.cast<long long>();
  if (h < 1)
    throw py::value_error("calcular_lote: hilos ha de ser 1 o más");
  return std::min<std::size_t>(static_cast<std::size_t>(h), kMaximoHilos);
}

// `tramo` over [0, n) cut into equal parts, one per thread, on at most `hilos` threads.
void EnParalelo(std::size_t n, std::size_t hilos,
                const std::function<void(std::size_t, std::size_t)>& tramo) {
  const std::size_t partes = std::clamp<std::size_t>(n / kFilasPorHilo, 1, hilos);
  const auto limite = [&](std::size_t k) { return n * k / partes; };
  std::vector<std::thread> otros;
  otros.reserve(partes - 1);
  for (std::size_t k = 1; k < partes; ++k) {
    try {
      otros.emplace_back(std::cref(tramo), limite(k), limite(k + 1));
    } catch (const std::system_error&) {
      tramo(limite(k), limite(k + 1));  // no thread to be had: this one does that part too
    }
  }
  tramo(0, limite(1));
  for (auto& t : otros)
    t.join();
}

py::dict CalcularLote(const py::object& datos, const py::object& hilos,
                      const py::kwargs& arreglos) {
  std::array<std::optional<Columna>, kNumParametros> columnas;
  const auto anadir = [&](py::handle clave, py::handle valor, bool palabraClave) {
    const auto& p = Parametro(clave, "calcular_lote", palabraClave);
    auto& c = columnas[Indice(p.campo)];
    if (c)
      throw py::value_error("calcular_lote: «" + std::string(p.nombre) + "» está dos veces");
    c = AColumna(valor, p.nombre);
  };
  if (!datos.is_none()) {
    if (py::hasattr(datos, "columns")) {  // a pandas DataFrame
      for (const auto& nombre : datos.attr("columns"))
        anadir(nombre, datos[nombre], false);
    } else if (py::hasattr(datos, "items")) {
      for (const auto& par : datos.attr("items")()) {
        const auto pareja = py::reinterpret_borrow<py::object>(par);
        anadir(py::object(pareja[py::int_(0)]), py::object(pareja[py::int_(1)]), false);
      }
    } else {
      throw py::type_error(
          "calcular_lote: los datos van en un DataFrame, en un dict {nombre: arreglo} o como "
          "argumentos con nombre");
    }
  }
  for (const auto& [clave, valor] : arreglos)
    anadir(clave, valor, true);
  const std::size_t nHilos = Hilos(hilos);

  // Every array has the same length; a scalar, and a parameter not given, goes to every row.
  std::optional<std::size_t> n;
  std::string_view primero;
  std::array<Columna, kNumParametros> leer;
  for (std::size_t k = 0; k < kNumParametros; ++k) {
    if (!columnas[k]) {
      leer[k].escalar = DatosDeInicio().*kParametros[k].miembro;
      continue;
    }
    leer[k] = *columnas[k];
    if (leer[k].esEscalar)
      continue;
    const std::size_t largo = leer[k].largo;
    if (!n) {
      n = largo;
      primero = kParametros[k].nombre;
    } else if (*n != largo) {
      throw py::value_error("calcular_lote: «" + std::string(primero) + "» tiene " +
                            std::to_string(*n) + " valores y «" +
                            std::string(kParametros[k].nombre) + "» " + std::to_string(largo) +
                            "; los arreglos han de tener la misma longitud (un número solo vale "
                            "para todas las filas)");
    }
  }
  const std::size_t filas = n.value_or(1);

  std::array<py::array_t<double>, kNumResultados> salidas;
  std::array<double*, kNumResultados> escribir{};
  for (std::size_t j = 0; j < kNumResultados; ++j) {
    salidas[j] = py::array_t<double>(static_cast<py::ssize_t>(filas));
    escribir[j] = salidas[j].mutable_data();
  }
  py::array_t<bool> aceptado(static_cast<py::ssize_t>(filas));
  bool* aceptar = aceptado.mutable_data();

  {
    py::gil_scoped_release sinGil;
    EnParalelo(filas, nHilos, [&](std::size_t desde, std::size_t hasta) {
      for (std::size_t i = desde; i < hasta; ++i) {
        DatosEnlace d;
        for (std::size_t k = 0; k < kNumParametros; ++k)
          d.*kParametros[k].miembro = leer[k].En(i);
        const bool bien = DatosAceptables(d);
        aceptar[i] = bien;
        if (!bien) {
          for (std::size_t j = 0; j < kNumResultados; ++j)
            escribir[j][i] = kNaN;
          continue;
        }
        const ResultadosEnlace r = CalcularEnlace(d);
        for (std::size_t j = 0; j < kNumResultados; ++j) {
          const Resultado& v = r.*kResultados[j].miembro;
          escribir[j][i] = v ? *v : kNaN;
        }
      }
    });
  }

  py::dict resultado;
  for (std::size_t j = 0; j < kNumResultados; ++j)
    resultado[Str(kResultados[j].nombre)] = salidas[j];
  resultado["aceptado"] = aceptado;
  return resultado;
}

py::dict TapPara(const py::object& angulo, const py::object& grados, const py::object& paso,
                 const py::object& margen, const py::kwargs& datos) {
  const std::string nombre = Texto(angulo, "tap_para", "angulo");
  if (nombre != "alpha" && nombre != "gamma")
    throw py::value_error("tap_para: el ángulo es \"alpha\" o \"gamma\", no «" + nombre + "»");
  const double objetivo = Numero(grados, "tap_para", "grados");
  if (!std::isfinite(objetivo))
    throw py::value_error("tap_para: grados ha de ser un número finito");
  DatosEnlace d = LeerNumeros(datos, "tap_para");
  const auto& us = ConfiguracionRegional::EstadosUnidos();

  std::optional<lotes::Escalones> escalones;
  if (!paso.is_none() || !margen.is_none()) {
    // As --tap-step and --tap-range of zelk-calc.
    if (paso.is_none() || margen.is_none() || !py::isinstance<py::sequence>(margen) ||
        py::isinstance<py::str>(margen) || py::len(margen) != 2)
      throw py::value_error("tap_para: paso y margen=(mínimo, máximo) van juntos");
    escalones = lotes::Escalones{Numero(paso, "tap_para", "paso"),
                                 Numero(margen[py::int_(0)], "tap_para", "margen"),
                                 Numero(margen[py::int_(1)], "tap_para", "margen")};
    if (const auto motivo = lotes::ComprobarEscalones(*escalones, us, {"paso", "margen"}))
      throw py::value_error("tap_para: " + *motivo);
  }
  const auto cual = nombre == "alpha" ? lotes::Angulo::alpha : lotes::Angulo::gamma;
  const auto& tap = lotes::TapDe(cual);
  // The tap sought needs no value of its own: the one found replaces it.
  DatosEnlace comprobados = d;
  comprobados.*tap.miembro = 1;
  if (!DatosAceptables(comprobados))
    throw Rechazo(std::string(kMensajeErrorDatos));

  const auto hallado = lotes::HallarTap(d, cual, objetivo, escalones, us);
  if (const auto* motivo = std::get_if<std::string>(&hallado))
    throw SinTap(*motivo);
  const auto [exacto, elegido] = std::get<lotes::TapHallado>(hallado);
  d.*tap.miembro = elegido;
  const ResultadosEnlace resultados = CalcularEnlace(d);
  const Resultado& valor = resultados.*BuscarResultado(nombre)->miembro;
  if (!valor || !std::isfinite(*valor))
    throw SinTap(lotes::MotivoTapInservible(cual, NumeroATexto(elegido, us), false));
  const std::string tapNombre(tap.nombre);
  py::dict resultado;
  resultado[py::str(tapNombre + "_exacto")] = exacto;
  resultado[py::str(tapNombre)] = elegido;
  AnadirResultados(resultado, resultados);
  return resultado;
}

template <class E>
void Excepcion(py::module_& m, const char* nombre, const char* ayuda) {
  auto& clase = py::register_exception<E>(m, nombre, PyExc_ValueError);
  clase.attr("__module__") = "zelk";
  clase.attr("__doc__") = ayuda;
}

}  // namespace
}  // namespace zelk

PYBIND11_MODULE(_zelk, m) {
  using namespace zelk;
  // Each docstring opens with its own signature, with the names of the Python side.
  py::options opciones;
  opciones.disable_function_signatures();
  m.doc() =
      "zelk: el punto de trabajo de un enlace HVDC monopolar con las cuentas de la ventana.\n\n"
      "calcular(**datos)        los 13 resultados de unos datos numéricos\n"
      "calcular_lote(**arrays)  lo mismo sobre arreglos de NumPy o un DataFrame\n"
      "pasada(textos, locale)   los textos de los resultados tal como los muestra la ventana\n"
      "tap_para(angulo, grados) el tap con el que alpha o gamma valen tantos grados\n\n"
      "Los datos faltantes toman los valores del inicio (VALORES_INICIO).";

  Excepcion<Rechazo>(m, "DatosRechazados",
                     "Los datos no pasan las comprobaciones de la ventana: un valor que no es un "
                     "número finito, o cero en Uacr, tapr, Nr, Uaci, tapi, Ni, Eacr_nom, "
                     "Eaci_nom, Uacr_nom o Uaci_nom. El mensaje es el de la ventana; nada se "
                     "sustituye por los valores por defecto.");
  Excepcion<SinTap>(m, "TapImposible",
                    "Ningún tap da el ángulo pedido, o ninguno dentro del margen de posiciones.");

  py::tuple parametros(kNumParametros);
  py::dict inicio, titulos;
  for (std::size_t i = 0; i < kNumParametros; ++i) {
    const auto& p = kParametros[i];
    parametros[i] = Str(p.nombre);
    inicio[Str(p.nombre)] = DatosDeInicio().*p.miembro;
    titulos[Str(p.nombre)] = Str(p.titulo);
  }
  py::tuple resultados(kNumResultados);
  for (std::size_t j = 0; j < kNumResultados; ++j) {
    resultados[j] = Str(kResultados[j].nombre);
    titulos[Str(kResultados[j].nombre)] = Str(kResultados[j].titulo);
  }
  m.attr("PARAMETROS") = parametros;
  m.attr("RESULTADOS") = resultados;
  m.attr("VALORES_INICIO") = inicio;
  m.attr("TITULOS") = titulos;
  m.attr("__version__") = ZELK_VERSION;

  m.def("calcular", &Calcular,
        "calcular(**datos) -> dict\n\n"
        "Los 13 resultados del enlace (alpha, mur, tgphir, gamma, mui, tgphii, Vdcr, Iacr, Pr, "
        "Qr,\nIaci, Pi, Qi) en las unidades de la ventana, como float; None donde la ventana "
        "muestra\n\"ERROR\". Los datos son números con el nombre de los 18 parámetros (Uacr=500, "
        "Idc=1000, ...);\nlos que falten toman los valores del inicio.\n\n"
        "Unos datos que la ventana rechaza levantan DatosRechazados con su mensaje.");
  m.def("pasada", &Pasada, "textos"_a = py::none(), "locale"_a = py::none(),
        "pasada(textos=None, locale=None) -> dict\n\n"
        "Una pulsación de \"Calcular\" en la ventana recién abierta: los textos de los campos "
        "dados\n(dict {nombre: texto}) se escriben sobre los del inicio, y se devuelven los "
        "textos de los 13\nresultados tal como los muestra la ventana.\n\n"
        "locale: configuración regional de los números (\"es_ES\", \"en_US\", ...); None, la del "
        "proceso,\ntomada de LC_ALL, LC_NUMERIC o LANG como la toman la ventana y zelk-calc (se "
        "lee una vez,\nal primer uso).\n\n"
        "Unos datos que la ventana rechaza levantan DatosRechazados con su mensaje.");
  m.def("calcular_lote", &CalcularLote, "datos"_a = py::none(), py::pos_only(), py::kw_only(),
        "hilos"_a = py::none(),
        "calcular_lote(datos=None, /, *, hilos=None, **arreglos) -> dict\n\n"
        "calcular() sobre muchos puntos: arreglos de NumPy (o listas, o columnas de pandas) de "
        "la\nmisma longitud con el nombre de los parámetros, o un DataFrame (o un dict) cuyas "
        "columnas se\nllaman así. Un número solo vale para todas las filas; los parámetros que "
        "falten toman los\nvalores del inicio.\n\n"
        "Devuelve un dict con los 13 resultados como arreglos de float64 (NaN donde la ventana "
        "muestra\n\"ERROR\" y en las filas rechazadas) y \"aceptado\", un arreglo de bool: False "
        "en las filas que\ncalcular() rechazaría.\n\n"
        "hilos: cuántos hilos como mucho; None, todos los núcleos que el proceso puede usar.");
  m.def("tap_para", &TapPara, "angulo"_a = "alpha", "grados"_a = 15.0, py::kw_only(),
        "paso"_a = py::none(), "margen"_a = py::none(),
        "tap_para(angulo=\"alpha\", grados=15, *, paso=None, margen=None, **datos) -> dict\n\n"
        "El tap con el que el ángulo vale esos grados: tapr para alpha, tapi para gamma, con "
        "los\ndemás datos como en calcular(). Con paso y margen=(mínimo, máximo), la posición "
        "del tap\nmás cercana entre mínimo, mínimo + paso, ... y máximo.\n\n"
        "Devuelve {\"tapr_exacto\": ..., \"tapr\": ...} (o tapi) y los 13 resultados con el tap "
        "elegido.\nLevanta DatosRechazados con datos rechazados y TapImposible cuando ningún tap "
        "sirve.");
  RegistrarControl(m);
}
