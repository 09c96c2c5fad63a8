#include "python/control_modulo.h"

#include <pybind11/numpy.h>

#include <array>
#include <cmath>
#include <cstring>
#include <fstream>
#include <limits>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "calc/control_lote.h"
#include "engine/calculo.h"
#include "engine/control.h"
#include "engine/pasada.h"
#include "psse/caso.h"
#include "psse/raw.h"

namespace py = pybind11;
using namespace py::literals;

namespace zelk {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The module's DatosRechazados, kept while the module lives.
py::handle gRechazo;

[[noreturn]] void Rechazar(const std::string& motivo) {
  PyErr_SetString(gRechazo.ptr(), motivo.c_str());
  throw py::error_already_set();
}

py::str Str(std::string_view texto) {
  return {texto.data(), texto.size()};
}

// The numbers the start-up texts and the control data's defaults stand for.
const DatosEnlace& Inicio() {
  static const DatosEnlace d = [] {
    DatosEnlace x;
    for (const auto& p : kParametros)
      x.*p.miembro =
          TextoANumero(p.valorCarga, ConfiguracionRegional::EstadosUnidos()).value_or(0.0);
    return x;
  }();
  return d;
}

const DatosControl& ControlPorDefecto() {
  static const DatosControl c = [] {
    TextosControl t;
    for (std::size_t i = 0; i < kNumControl; ++i)
      t[i] = kControl[i].valorDefault;
    return std::get<DatosControl>(LeerControl(t, ConfiguracionRegional::EstadosUnidos()));
  }();
  return c;
}

// One datum of a call: one of the 18 (not Idc or Vdci, which the control sets) or a control
// datum.
struct Dato {
  const DescripcionParametro* parametro = nullptr;
  const DescripcionControl* control = nullptr;
};

Dato Buscar(py::handle clave, std::string_view funcion, bool palabraClave) {
  const std::string nombre = py::str(clave);
  Dato d{BuscarParametro(nombre), BuscarControl(nombre)};
  if (d.parametro != nullptr) {
    if (const auto motivo = lotes::DatoFijadoPorElControl(*d.parametro))
      throw py::value_error(std::string(funcion) + ": " + *motivo);
    return d;
  }
  if (d.control == nullptr) {
    const std::string motivo = std::string(funcion) + ": no hay ningún dato «" + nombre +
                               "»; los de control son los de CONTROL";
    if (palabraClave)
      throw py::type_error(motivo);
    throw py::value_error(motivo);
  }
  return d;
}

Orden LeerOrdenDe(py::handle valor, std::string_view funcion) {
  if (!py::isinstance<py::str>(valor))
    throw py::type_error(std::string(funcion) +
                         ": orden ha de ser \"bloqueado\", \"potencia\" o \"corriente\"");
  const auto orden = LeerOrden(std::string(py::str(valor)));
  if (!orden)
    throw py::value_error(std::string(funcion) +
                          ": orden ha de ser \"bloqueado\", \"potencia\" o "
                          "\"corriente\", no «" +
                          std::string(py::str(valor)) + "»");
  return *orden;
}

double Numero(py::handle valor, std::string_view funcion, std::string_view nombre) {
  if (py::isinstance<py::str>(valor) || py::isinstance<py::bytes>(valor))
    throw py::type_error(std::string(funcion) + ": «" + std::string(nombre) +
                         "» ha de ser un número");
  const double x = PyFloat_AsDouble(valor.ptr());
  if (x == -1.0 && PyErr_Occurred())
    throw py::error_already_set();
  return x;
}

// Why the data of one link cannot be solved, or nothing.
std::optional<std::string> Motivo(const DatosEnlace& d, const DatosControl& c) {
  if (!DatosAceptables(d))
    return std::string(kMensajeErrorDatos);
  if (const auto r = ComprobarControl(c, d.Rdc)) {
    std::string motivo = "«" + std::string(r->dato->nombre) + "» " + std::string(r->motivo);
    if (r->otro != nullptr)
      motivo += " «" + std::string(r->otro->nombre) + "»";
    return motivo;
  }
  return std::nullopt;
}

py::list ListaAvisos(Avisos avisos) {
  py::list l;
  for (std::size_t a = 0; a < kNumAvisos; ++a)
    if (Tiene(avisos, static_cast<Aviso>(a)))
      l.append(Str(TextoAviso(static_cast<Aviso>(a))));
  return l;
}

py::dict ResolverUno(const py::kwargs& datos) {
  DatosEnlace d = Inicio();
  DatosControl c = ControlPorDefecto();
  for (const auto& [clave, valor] : datos) {
    const Dato x = Buscar(clave, "resolver_control", true);
    if (x.parametro != nullptr)
      d.*x.parametro->miembro = Numero(valor, "resolver_control", x.parametro->nombre);
    else if (x.control->miembro == nullptr)
      c.orden = LeerOrdenDe(valor, "resolver_control");
    else
      c.*x.control->miembro = Numero(valor, "resolver_control", x.control->nombre);
  }
  if (const auto motivo = Motivo(d, c))
    Rechazar(*motivo);
  const SolucionControl s = ResolverControl(d, c);
  py::dict r;
  r["modo"] = Str(TextoModo(s.modo));
  for (const auto& e : kElegidos)
    r[Str(e.nombre)] = s.datos.*e.miembro;
  for (const auto& k : kResultados) {
    const Resultado& v = s.resultados.*k.miembro;
    r[Str(k.nombre)] = v ? py::object(py::float_(*v)) : py::object(py::none());
  }
  r["avisos"] = ListaAvisos(s.avisos);
  return r;
}

// A column of a batch: numbers (or words, for `orden`), or one value for every row.
struct Columna {
  py::object arreglo;  // keeps the memory alive
  std::vector<Orden> ordenes;
  const char* datos = nullptr;
  py::ssize_t paso = 0;
  std::size_t largo = 0;
  double escalar = 0;
  Orden orden = Orden::Potencia;
  bool esEscalar = true;

  double En(std::size_t i) const {
    if (esEscalar)
      return escalar;
    double v;
    std::memcpy(&v, datos + static_cast<py::ssize_t>(i) * paso, sizeof v);
    return v;
  }
  Orden OrdenEn(std::size_t i) const { return esEscalar ? orden : ordenes[i]; }
};

Columna AColumna(py::handle valor, const Dato& x) {
  const py::module_ np = py::module_::import("numpy");
  const std::string nombre(x.parametro ? x.parametro->nombre : x.control->nombre);
  const std::string prefijo = "resolver_control_lote: «" + nombre + "» ";
  Columna c;
  py::object v = py::reinterpret_borrow<py::object>(valor);
  if (x.control != nullptr && x.control->miembro == nullptr) {
    if (py::isinstance<py::str>(v)) {
      c.orden = LeerOrdenDe(v, "resolver_control_lote");
      return c;
    }
    const py::array a = np.attr("asarray")(v, "dtype"_a = "object");
    if (a.ndim() != 1)
      throw py::value_error(prefijo + "ha de ser un texto o un arreglo de una dimensión");
    for (const auto& e : a.attr("tolist")())
      c.ordenes.push_back(LeerOrdenDe(e, "resolver_control_lote"));
    c.esEscalar = false;
    c.largo = c.ordenes.size();
    return c;
  }
  if (py::isinstance<py::str>(v) || py::isinstance<py::bytes>(v))
    throw py::type_error(prefijo + "ha de ser un número o un arreglo de números");
  // A missing value of pandas is NaN here: its row is rejected.
  if (py::hasattr(v, "to_numpy"))
    v = v.attr("to_numpy")("dtype"_a = "float64", "na_value"_a = kNaN);
  py::array a;
  try {
    a = np.attr("asarray")(v, "dtype"_a = "float64");
  } catch (py::error_already_set& e) {
    throw py::type_error(prefijo + "no es numérico: " + e.what());
  }
  if (a.ndim() > 1)
    throw py::value_error(prefijo + "ha de tener una dimensión");
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

py::dict ResolverLote(const py::object& datos, const py::kwargs& arreglos) {
  std::array<std::optional<Columna>, kNumParametros> parametros;
  std::array<std::optional<Columna>, kNumControl> control;
  const auto anadir = [&](py::handle clave, py::handle valor, bool palabraClave) {
    const Dato x = Buscar(clave, "resolver_control_lote", palabraClave);
    auto& c = x.parametro ? parametros[Indice(x.parametro->campo)]
                          : control[static_cast<std::size_t>(x.control - kControl.data())];
    if (c)
      throw py::value_error("resolver_control_lote: «" + std::string(py::str(clave)) +
                            "» está dos veces");
    c = AColumna(valor, x);
  };
  if (!datos.is_none()) {
    if (py::hasattr(datos, "columns")) {
      for (const auto& nombre : datos.attr("columns"))
        anadir(nombre, datos[nombre], false);
    } else if (py::hasattr(datos, "items")) {
      for (const auto& par : datos.attr("items")()) {
        const auto pareja = py::reinterpret_borrow<py::object>(par);
        anadir(py::object(pareja[py::int_(0)]), py::object(pareja[py::int_(1)]), false);
      }
    } else {
      throw py::type_error(
          "resolver_control_lote: los datos van en un DataFrame, en un dict o "
          "como argumentos con nombre");
    }
  }
  for (const auto& [clave, valor] : arreglos)
    anadir(clave, valor, true);

  std::optional<std::size_t> n;
  const auto largo = [&](const std::optional<Columna>& c) {
    if (!c || c->esEscalar)
      return;
    if (n && *n != c->largo)
      throw py::value_error(
          "resolver_control_lote: los arreglos han de tener la misma longitud "
          "(un número solo vale para todas las filas)");
    n = c->largo;
  };
  for (const auto& c : parametros)
    largo(c);
  for (const auto& c : control)
    largo(c);
  const std::size_t filas = n.value_or(1);

  constexpr std::size_t kNumeros = 4 + kNumResultados;
  std::array<py::array_t<double>, kNumeros> salidas;
  std::array<double*, kNumeros> escribir{};
  for (std::size_t j = 0; j < kNumeros; ++j) {
    salidas[j] = py::array_t<double>(static_cast<py::ssize_t>(filas));
    escribir[j] = salidas[j].mutable_data();
  }
  py::array_t<bool> aceptado(static_cast<py::ssize_t>(filas));
  bool* aceptar = aceptado.mutable_data();
  std::vector<std::optional<Modo>> modos(filas);
  std::vector<Avisos> avisos(filas);
  {
    py::gil_scoped_release sinGil;
    for (std::size_t i = 0; i < filas; ++i) {
      DatosEnlace d = Inicio();
      for (std::size_t k = 0; k < kNumParametros; ++k)
        if (parametros[k])
          d.*kParametros[k].miembro = parametros[k]->En(i);
      DatosControl c = ControlPorDefecto();
      for (std::size_t k = 0; k < kNumControl; ++k) {
        if (!control[k])
          continue;
        if (kControl[k].miembro == nullptr)
          c.orden = control[k]->OrdenEn(i);
        else
          c.*kControl[k].miembro = control[k]->En(i);
      }
      aceptar[i] = DatosAceptables(d) && !ComprobarControl(c, d.Rdc);
      if (!aceptar[i]) {
        for (std::size_t j = 0; j < kNumeros; ++j)
          escribir[j][i] = kNaN;
        continue;
      }
      const SolucionControl s = ResolverControl(d, c);
      for (std::size_t j = 0; j < kElegidos.size(); ++j)
        escribir[j][i] = s.datos.*kElegidos[j].miembro;
      for (std::size_t j = 0; j < kNumResultados; ++j) {
        const Resultado& v = s.resultados.*kResultados[j].miembro;
        escribir[4 + j][i] = v ? *v : kNaN;
      }
      modos[i] = s.modo;
      avisos[i] = s.avisos;
    }
  }
  py::list modo, listaAvisos;
  for (std::size_t i = 0; i < filas; ++i) {
    modo.append(modos[i] ? py::object(Str(TextoModo(*modos[i]))) : py::object(py::none()));
    listaAvisos.append(ListaAvisos(avisos[i]));
  }
  const py::module_ np = py::module_::import("numpy");
  py::dict r;
  r["modo"] = np.attr("array")(modo, "dtype"_a = "object");
  for (std::size_t j = 0; j < kElegidos.size(); ++j)
    r[Str(kElegidos[j].nombre)] = salidas[j];
  for (std::size_t j = 0; j < kNumResultados; ++j)
    r[Str(kResultados[j].nombre)] = salidas[4 + j];
  r["avisos"] = listaAvisos;
  r["aceptado"] = aceptado;
  return r;
}

py::object LeerPsse(const py::object& archivo) {
  const std::string ruta = py::str(py::module_::import("os").attr("fspath")(archivo));
  std::ifstream f(ruta, std::ios::binary);
  if (!f)
    throw py::value_error("leer_psse: no se puede leer «" + ruta + "»");
  std::ostringstream texto;
  texto << f.rdbuf();
  psse::Caso caso;
  try {
    caso = psse::LeerCaso(texto.str());
  } catch (const psse::ErrorRaw& e) {
    throw py::value_error("leer_psse: «" + ruta + "», línea " + std::to_string(e.linea) + ": " +
                          e.motivo);
  }
  const py::module_ warnings = py::module_::import("warnings");
  for (const auto& o : caso.omitidas)
    warnings.attr("warn")("leer_psse: línea " + std::to_string(o.linea) + ": se omite «" +
                              o.nombre + "», línea de continua " + std::string(o.tipo) +
                              "; solo se resuelven las de dos terminales",
                          "stacklevel"_a = 2);
  if (!caso.notaFinal.empty())
    warnings.attr("warn")("leer_psse: " + caso.notaFinal, "stacklevel"_a = 2);

  // Columns in order: the line, its data (the present taps as tapr_inicial and tapi_inicial),
  // its control data, then the solution as zelk-calc --psse gives it.
  std::vector<std::string> nombres{"linea"};
  std::vector<const DescripcionParametro*> parametros;
  for (const auto& p : kParametros) {
    if (lotes::DatoFijadoPorElControl(p))
      continue;
    parametros.push_back(&p);
    const bool tap = p.miembro == &DatosEnlace::tapr || p.miembro == &DatosEnlace::tapi;
    nombres.push_back(std::string(p.nombre) + (tap ? std::string(lotes::kSufijoInicial) : ""));
  }
  for (const auto& c : kControl)
    nombres.emplace_back(c.nombre);
  for (const auto n : lotes::kColumnasControl)
    nombres.emplace_back(n);
  for (const auto& k : kResultados)
    nombres.emplace_back(k.nombre);
  nombres.emplace_back(lotes::kColumnaAvisos);
  std::vector<py::list> columnas(nombres.size());

  for (const auto& l : caso.lineas) {
    std::size_t k = 0;
    const auto poner = [&](py::object v) { columnas[k++].append(std::move(v)); };
    const auto numero = [&](double v) { poner(py::float_(v)); };
    const auto nada = [&] { poner(py::none()); };
    poner(Str(l.nombre));
    const auto enlace = psse::EnlaceDeLinea(caso, l);
    const auto* e = std::get_if<psse::EnlaceDelCaso>(&enlace);
    for (const auto* p : parametros)
      e ? numero(e->datos.*p->miembro) : numero(kNaN);
    for (const auto& c : kControl) {
      if (!e)
        c.miembro ? numero(kNaN) : nada();
      else if (c.miembro)
        numero(e->control.*c.miembro);
      else
        poner(Str(kPalabrasOrden[static_cast<std::size_t>(e->control.orden)]));
    }
    if (!e) {
      nada();
      for (std::size_t j = 0; j < kElegidos.size() + kNumResultados; ++j)
        numero(kNaN);
      py::list motivo;
      motivo.append(Str(std::get<std::string>(enlace)));
      poner(motivo);
      continue;
    }
    const SolucionControl s = ResolverControl(e->datos, e->control);
    poner(Str(TextoModo(s.modo)));
    for (const auto& x : kElegidos)
      numero(s.datos.*x.miembro);
    for (const auto& x : kResultados) {
      const Resultado& v = s.resultados.*x.miembro;
      numero(v ? *v : kNaN);
    }
    poner(ListaAvisos(s.avisos));
  }
  py::dict tabla;
  for (std::size_t k = 0; k < nombres.size(); ++k)
    tabla[Str(nombres[k])] = columnas[k];
  return py::module_::import("pandas").attr("DataFrame")(tabla);
}

}  // namespace

void RegistrarControl(py::module_& m) {
  gRechazo = m.attr("DatosRechazados");
  py::dict control;
  for (const auto& c : kControl)
    control[Str(c.nombre)] =
        c.miembro ? py::object(py::float_(ControlPorDefecto().*c.miembro))
                  : py::object(Str(kPalabrasOrden[static_cast<std::size_t>(Orden::Potencia)]));
  m.attr("CONTROL") = control;
  auto titulos = m.attr("TITULOS").cast<py::dict>();
  for (const auto& c : kControl)
    titulos[Str(c.nombre)] = Str(c.titulo);

  m.def("resolver_control", &ResolverUno,
        "resolver_control(**datos) -> dict\n\n"
        "El punto de trabajo bajo los datos de control, como zelk-calc con ellos: la orden da la\n"
        "corriente, cada tap recorre sus posiciones desde la presente hasta dejar su ángulo en la\n"
        "banda, y si el rectificador no llega a alpha_min el inversor toma la corriente con el\n"
        "margen. Los datos son los 18 de calcular() salvo Idc y Vdci, que fija el control, y los\n"
        "de CONTROL (orden: \"bloqueado\", \"potencia\" o \"corriente\"); los que falten toman\n"
        "los valores del inicio y los de CONTROL.\n\n"
        "Devuelve modo, tapr, tapi, Idc, Vdci, los 13 resultados (None donde la ventana muestra\n"
        "\"ERROR\") y avisos, una lista de textos. Unos datos que no se pueden resolver levantan\n"
        "DatosRechazados con el motivo.");
  m.def("resolver_control_lote", &ResolverLote, "datos"_a = py::none(), py::pos_only(),
        "resolver_control_lote(datos=None, /, **arreglos) -> dict\n\n"
        "resolver_control() sobre muchos enlaces: arreglos de la misma longitud, o un DataFrame "
        "(o\nun dict) con el nombre de los datos; orden, un texto o un arreglo de textos. "
        "Devuelve\nmodo (textos; None en las filas rechazadas), tapr, tapi, Idc, Vdci y los 13 "
        "resultados\ncomo arreglos de float64 (NaN donde no hay valor), avisos (una lista de "
        "textos por fila)\ny aceptado, un arreglo de bool.");
  m.def("leer_psse", &LeerPsse, "archivo"_a,
        "leer_psse(archivo) -> pandas.DataFrame\n\n"
        "Las líneas de continua de dos terminales de un caso PSS/E RAW (versiones 33, 34 y 35),\n"
        "una fila por línea, como zelk-calc --psse: linea; sus datos con las tensiones de las\n"
        "barras del caso (los taps presentes como tapr_inicial y tapi_inicial) y sus datos de\n"
        "control; modo, tapr, tapi, Idc, Vdci, los 13 resultados y avisos. Una línea con datos\n"
        "que no se pueden resolver lleva NaN y el motivo en avisos; las de otros tipos (VSC,\n"
        "multiterminal) se omiten con un aviso de Python. Un caso que no se puede leer levanta\n"
        "ValueError con la línea del archivo y el motivo.");
}

}  // namespace zelk
