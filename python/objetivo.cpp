// detalle, buscar and buscar_lote: what lies between a link's data and its results, and the values
// of a datum that make a result equal a value, for one link and per row of arrays or a DataFrame,
// as zelk-calc's --detalle and --target find them; and the reasons and warnings the other
// functions give when asked.
#include <pybind11/numpy.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/calculo.h"
#include "engine/detalle.h"
#include "engine/motivos.h"
#include "engine/pasada.h"
#include "lote/control_lote.h"
#include "lote/lectura.h"
#include "lote/objetivo_lote.h"
#include "lote/tabla.h"
#include "python/comun.h"
#include "python/paralelo.h"
#include "python/tabla.h"

namespace zelk::python {

namespace {

using namespace py::literals;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr std::string_view kBuscar = "buscar";
constexpr std::string_view kBuscarLote = "buscar_lote";

// No value of the datum gives the result within the range: why, and the least and greatest
// values the result takes there. Raised as SinSolucion.
struct SinSolucion {
  std::string motivo;
  std::optional<double> minimo, maximo;
};

std::string Texto(py::handle valor, std::string_view funcion, std::string_view nombre) {
  if (!py::isinstance<py::str>(valor))
    throw py::type_error(std::string(funcion) + ": " + std::string(nombre) + " ha de ser un str");
  return py::str(valor);
}

const lotes::NombresObjetivo kNombres{"resultado", "dato", "margen"};

// The request from the caller's arguments, in the words of Python.
lotes::PeticionObjetivo Peticion(const py::object& resultado, const py::object& valor,
                                 const py::object& dato, const py::object& margen, bool conControl,
                                 std::string_view funcion) {
  std::optional<Margen> tramo;
  if (!margen.is_none()) {
    if (!py::isinstance<py::sequence>(margen) || py::isinstance<py::str>(margen) ||
        py::len(margen) != 2)
      throw py::value_error(std::string(funcion) + ": margen=(mínimo, máximo)");
    tramo = Margen{Numero(margen[py::int_(0)], funcion, "margen"),
                   Numero(margen[py::int_(1)], funcion, "margen")};
  }
  auto leido =
      lotes::ComprobarObjetivo(Texto(resultado, funcion, "resultado"),
                               Numero(valor, funcion, "valor"), Texto(dato, funcion, "dato"), tramo,
                               conControl, ConfiguracionRegional::EstadosUnidos(), kNombres);
  if (const auto* motivo = std::get_if<std::string>(&leido))
    throw py::value_error(std::string(funcion) + ": " + *motivo);
  return std::get<lotes::PeticionObjetivo>(std::move(leido));
}

// Whether the caller names a datum that `es` takes: among the keywords, or the columns or keys of
// the table given.
template <typename Es>
bool Nombra(const py::object& datos, const py::kwargs& arreglos, Es es) {
  const auto alguno = [&](const py::iterable& nombres) {
    for (const auto& n : nombres)
      if (py::isinstance<py::str>(n) && es(std::string(py::str(n))))
        return true;
    return false;
  };
  if (alguno(arreglos))
    return true;
  if (datos.is_none())
    return false;
  if (py::hasattr(datos, "columns"))
    return alguno(datos.attr("columns"));
  if (py::hasattr(datos, "keys"))
    return alguno(datos.attr("keys")());
  if (py::hasattr(datos, "name") && py::isinstance<py::str>(datos.attr("name")))
    return es(std::string(py::str(datos.attr("name"))));
  return false;
}

py::dict Detalle(const py::kwargs& datos) {
  DatosEnlace d = DatosDeInicio();
  for (const auto& [clave, valor] : datos) {
    const auto& p = Parametro(clave, "detalle", true);
    d.*p.miembro = Numero(valor, "detalle", p.nombre);
  }
  ComprobarNumeros(d);
  const DetalleEnlace detalle = CalcularDetalle(d);
  py::dict salida;
  for (const auto& e : kDetalle) {
    const Resultado& v = ValorDetalle(detalle, e);
    salida[Str(e.nombre)] = v ? py::object(py::float_(*v)) : py::object(py::none());
  }
  return salida;
}

py::list Buscar(const py::object& resultado, const py::object& valor, const py::object& dato,
                const py::object& margen, const py::kwargs& datos) {
  DatosEnlace d = DatosDeInicio();
  DatosControl c = ControlDeInicio();
  bool conControl = false;
  // Control data, given or varied, make it a link solved under them, as in zelk-calc.
  conControl =
      py::isinstance<py::str>(dato) && BuscarControl(std::string(py::str(dato))) != nullptr;
  for (const auto& [clave, v] : datos)
    conControl = conControl || (py::isinstance<py::str>(clave) &&
                                BuscarControl(std::string(py::str(clave))) != nullptr);
  const lotes::PeticionObjetivo p = Peticion(resultado, valor, dato, margen, conControl, kBuscar);
  for (const auto& [clave, v] : datos) {
    const Nombrado n = Dato(clave, kBuscar, true, conControl);
    if (n.parametro != nullptr && n.parametro == p.variable.parametro)
      throw py::type_error(std::string(kBuscar) + ": «" + std::string(n.parametro->nombre) +
                           "» es el dato que se busca: no se da");
    if (n.control != nullptr && n.control == p.variable.control)
      throw py::type_error(std::string(kBuscar) + ": «" + std::string(n.control->nombre) +
                           "» es el dato que se busca: no se da");
    if (n.parametro != nullptr)
      d.*n.parametro->miembro = Numero(v, kBuscar, n.parametro->nombre);
    else if (n.control->miembro == nullptr)
      c.orden = LeerOrdenDe(v, kBuscar);
    else
      c.*n.control->miembro = Numero(v, kBuscar, n.control->nombre);
  }
  // The datum sought needs no value of its own: the values tried replace it.
  DatosEnlace comprobados = d;
  if (p.variable.parametro != nullptr)
    comprobados.*p.variable.parametro->miembro = DatosDeInicio().*p.variable.parametro->miembro;
  ComprobarNumeros(comprobados);
  std::optional<DatosControl> control;
  if (conControl)
    control = c;
  lotes::Hallado h;
  {
    py::gil_scoped_release sinGil;
    h = lotes::BuscarObjetivo(p, d, control);
  }
  if (h.busqueda.raices.empty())
    throw SinSolucion{lotes::MotivoSinSolucion(p, h, ConfiguracionRegional::EstadosUnidos()),
                      h.busqueda.minimo, h.busqueda.maximo};
  py::list soluciones;
  for (const auto& raiz : h.busqueda.raices) {
    DatosEnlace en = d;
    std::optional<DatosControl> k = control;
    if (p.variable.parametro != nullptr)
      en.*p.variable.parametro->miembro = raiz.x;
    else
      (*k).*p.variable.control->miembro = raiz.x;
    py::dict s;
    s[Str(p.variable.Nombre())] = raiz.x;
    if (k) {
      const SolucionControl sol = ResolverControl(en, *k);
      s[Str(lotes::kColumnasControl[0])] = Str(TextoModo(sol.modo));
      for (const auto& e : kElegidos)
        s[Str(e.nombre)] = sol.datos.*e.miembro;
      AnadirResultados(s, sol.resultados);
      s[Str(lotes::kColumnaAvisos)] = TuplaDeAvisos(sol.avisos);
    } else {
      AnadirResultados(s, CalcularEnlace(en));
    }
    soluciones.append(s);
  }
  return soluciones;
}

py::object BuscarLote(const py::object& resultado, const py::object& valor, const py::object& dato,
                      const py::object& datos, const py::object& margen, const py::object& hilos,
                      const py::object& copiar, const py::object& motivos,
                      const py::kwargs& arreglos) {
  const std::size_t nHilos = Hilos(hilos, kBuscarLote);
  const bool copiarColumnas = SiONo(copiar, kBuscarLote, "copiar");
  const bool conMotivos = SiONo(motivos, kBuscarLote, "motivos");
  // Under control data when the request or the data name any.
  const std::string nombreDato = Texto(dato, kBuscarLote, "dato");
  const std::string nombreResultado = Texto(resultado, kBuscarLote, "resultado");
  const bool conControl =
      Nombra(datos, arreglos, [](const std::string& n) { return BuscarControl(n) != nullptr; }) ||
      BuscarControl(nombreDato) != nullptr ||
      (BuscarResultado(nombreResultado) == nullptr &&
       std::any_of(kElegidos.begin(), kElegidos.end(),
                   [&](const DescripcionElegido& e) { return e.nombre == nombreResultado; }));
  const lotes::PeticionObjetivo p =
      Peticion(resultado, valor, dato, margen, conControl, kBuscarLote);
  if (Nombra(datos, arreglos, [&](const std::string& n) { return n == nombreDato; }))
    throw py::value_error(std::string(kBuscarLote) + ": «" + nombreDato +
                          "» es el dato que se busca en cada fila: no se da");
  Lote lote(datos, arreglos, kBuscarLote, conControl);
  lote.PrepararSalida(copiarColumnas);
  const std::size_t filas = lote.Filas();
  const auto largo = static_cast<py::ssize_t>(filas);

  // The datum found, the chosen values under control, and the 13 results.
  const std::size_t elegidos = conControl ? kElegidos.size() : 0;
  const std::size_t numeros = 1 + elegidos + kNumResultados;
  std::vector<py::array_t<double>> salidas;
  std::vector<double*> escribir;
  for (std::size_t j = 0; j < numeros; ++j) {
    salidas.emplace_back(largo);
    escribir.push_back(salidas.back().mutable_data());
  }
  py::array_t<std::int64_t> cuantas(largo);
  std::int64_t* cuenta = cuantas.mutable_data();
  py::array_t<bool> aceptado(largo);
  bool* aceptar = aceptado.mutable_data();
  std::vector<std::vector<std::string>> textos(conMotivos ? filas : 0);
  const auto& us = ConfiguracionRegional::EstadosUnidos();

  EnParalelo(filas, nHilos, [&](std::size_t desde, std::size_t hasta) {
    lote.CopiarFilas(desde, hasta);
    for (std::size_t i = desde; i < hasta; ++i) {
      DatosEnlace d;
      for (std::size_t k = 0; k < kNumParametros; ++k)
        d.*kParametros[k].miembro = lote.DeParametro(k).En(i);
      std::optional<DatosControl> c;
      bool bien = true;
      if (conControl) {
        DatosControl k;
        for (std::size_t n = 0; n < kNumControl; ++n) {
          const double v = lote.DeControl(n).En(i);
          if (kControl[n].miembro != nullptr)
            k.*kControl[n].miembro = v;
          else if (std::isnan(v))
            bien = false;
          else
            k.orden = static_cast<Orden>(static_cast<int>(v));
        }
        c = k;
      }
      // The datum sought needs no value of its own.
      DatosEnlace comprobados = d;
      if (p.variable.parametro != nullptr)
        comprobados.*p.variable.parametro->miembro = DatosDeInicio().*p.variable.parametro->miembro;
      bien = bien && DatosAceptables(comprobados);
      std::optional<lotes::Hallado> h;
      if (bien)
        h = lotes::BuscarObjetivo(p, d, c);
      aceptar[i] = bien;
      cuenta[i] = h ? static_cast<std::int64_t>(h->busqueda.raices.size()) : 0;
      if (!h || h->busqueda.raices.empty()) {
        for (std::size_t j = 0; j < numeros; ++j)
          escribir[j][i] = kNaN;
        if (conMotivos)
          textos[i] = h ? std::vector<std::string>{lotes::MotivoSinSolucion(p, *h, us)}
                        : MotivosDeNumeros(comprobados);
        continue;
      }
      const double x = h->busqueda.raices.front().x;
      if (p.variable.parametro != nullptr)
        d.*p.variable.parametro->miembro = x;
      else
        (*c).*p.variable.control->miembro = x;
      escribir[0][i] = x;
      ResultadosEnlace r;
      DatosEnlace en = d;
      if (c) {
        const SolucionControl s = ResolverControl(d, *c);
        for (std::size_t j = 0; j < elegidos; ++j)
          escribir[1 + j][i] = s.datos.*kElegidos[j].miembro;
        r = s.resultados;
        en = s.datos;
      } else {
        r = CalcularEnlace(d);
      }
      for (std::size_t j = 0; j < kNumResultados; ++j) {
        const Resultado& v = r.*kResultados[j].miembro;
        escribir[1 + elegidos + j][i] = v ? *v : kNaN;
      }
      if (conMotivos)
        textos[i] = MotivosDe(en, r);
    }
  });

  std::vector<std::pair<std::string_view, py::object>> calculadas;
  const std::string columna = lotes::ColumnaResuelta(p, conControl);
  calculadas.emplace_back(columna, salidas[0]);
  for (std::size_t j = 0; j < elegidos; ++j)
    calculadas.emplace_back(kElegidos[j].nombre, salidas[1 + j]);
  for (std::size_t j = 0; j < kNumResultados; ++j)
    calculadas.emplace_back(kResultados[j].nombre, salidas[1 + elegidos + j]);
  calculadas.emplace_back("soluciones", cuantas);
  if (conMotivos)
    calculadas.emplace_back(lotes::kColumnaMotivos, ArregloDeTuplas(textos));
  calculadas.emplace_back("aceptado", aceptado);
  return lote.Devolver(calculadas);
}

}  // namespace

std::vector<std::string> MotivosDe(const DatosEnlace& d, const ResultadosEnlace& r) {
  return Motivos(d, r, ConfiguracionRegional::EstadosUnidos());
}

std::vector<std::string> MotivosDeNumeros(const DatosEnlace& d) {
  std::vector<std::string> motivos;
  for (const auto& p : kParametros)
    if (auto motivo = lotes::MotivoDeRechazo(p, d.*p.miembro))
      motivos.push_back(std::move(*motivo));
  return motivos;
}

py::tuple Tupla(const std::vector<std::string>& textos) {
  py::tuple t(textos.size());
  for (std::size_t i = 0; i < textos.size(); ++i)
    t[i] = Str(textos[i]);
  return t;
}

py::object ArregloDeTuplas(const std::vector<std::vector<std::string>>& filas) {
  py::array salida = py::module_::import("numpy").attr("empty")(filas.size(), "dtype"_a = "object");
  auto** celdas = static_cast<PyObject**>(salida.mutable_data());
  const py::tuple vacia;
  for (std::size_t i = 0; i < filas.size(); ++i) {
    py::tuple t = filas[i].empty() ? vacia : Tupla(filas[i]);
    Py_XSETREF(celdas[i], t.release().ptr());
  }
  return salida;
}

void RegistrarObjetivos(py::module_& m) {
  static py::handle clase =
      py::exception<SinSolucion>(m, "SinSolucion", PyExc_ValueError).release();
  clase.attr("__module__") = "zelk";
  clase.attr("__doc__") =
      "Ningún valor del dato, dentro del margen, da al resultado el valor pedido. El mensaje lo "
      "dice\ncomo zelk-calc --target; minimo y maximo son el menor y el mayor valor que toma el "
      "resultado\nen el margen (None si no se puede formar en ninguna parte).";
  clase.attr("minimo") = py::none();
  clase.attr("maximo") = py::none();
  py::register_exception_translator([](std::exception_ptr e) {
    try {
      std::rethrow_exception(e);
    } catch (const SinSolucion& s) {
      py::object error = py::reinterpret_borrow<py::object>(clase)(Str(s.motivo));
      error.attr("minimo") = s.minimo ? py::object(py::float_(*s.minimo)) : py::object(py::none());
      error.attr("maximo") = s.maximo ? py::object(py::float_(*s.maximo)) : py::object(py::none());
      PyErr_SetObject(clase.ptr(), error.ptr());
    }
  });

  py::dict titulos = m.attr("TITULOS").cast<py::dict>();
  for (const auto& e : kDetalle)
    if (!titulos.contains(Str(e.nombre)))
      titulos[Str(e.nombre)] =
          Str(std::string(e.nombre) + (e.unidad.empty() ? "" : " [" + std::string(e.unidad) + "]"));

  Definir(m, "detalle", FirmaConDatos("detalle", ""),
          "Lo que hay entre los datos y los resultados, por extremo, como zelk-calc --detalle: "
          "Er y Ei,\nla tensión del lado de válvulas (kV, entre fases, eficaz; el tap divide la "
          "del primario);\nVd0r y Vd0i, la tensión continua en vacío de los puentes (kV); "
          "caidaXr, caidaXi, la caída\nreactiva N·(3/π)·Xc·Idc, y caidaRr, caidaRi, la resistiva "
          "N·2·Rc·Idc (kV); cos_alpha y\ncos_gamma; mur y mui, el solape (grados). None donde no "
          "se puede formar. Los datos, como en\ncalcular(); TITULOS da su nombre con la unidad.",
          &Detalle);
  Definir(m, "buscar", "buscar(resultado, valor, dato, *, margen=None, **datos)",
          "Los valores de dato con los que resultado vale valor, como zelk-calc --target "
          "RESULTADO=VALOR\n--vary DATO: una lista, de menor a mayor dato, de un dict por "
          "solución con el dato y lo\nque calcular() da allí (con datos de control, lo que da "
          "resolver_control()).\n\n"
          "resultado: uno de los 13 (RESULTADOS), o con datos de control tapr, tapi, Idc o Vdci "
          "elegidos.\ndato: uno de los 18 (PARAMETROS) o uno de control (CONTROL); no se da "
          "en datos.\nmargen=(mínimo, máximo): dónde se busca; None, lo que admite la física del "
          "dato (zelk-calc\n--help lo detalla: Idc de 0 a 4 veces el dado, Vdci de -1,5 a 1,5 "
          "veces Vdcnom, ...).\ndatos: los demás, como en calcular(); cualquier dato de control "
          "resuelve el enlace bajo ellos.\n\n"
          "Sin ninguna solución levanta SinSolucion, con el menor y el mayor valor del resultado "
          "en el\nmargen; con datos rechazados, DatosRechazados.",
          &Buscar, "resultado"_a, "valor"_a, "dato"_a, py::kw_only(), "margen"_a = py::none());
  Definir(m, "buscar_lote",
          "buscar_lote(resultado, valor, dato, datos=None, /, *, margen=None, hilos=None, "
          "copiar=True, motivos=False, **arreglos)",
          "buscar() en cada fila, en C++ y en todos los núcleos; los datos se dan como a "
          "calcular_lote(),\ny con datos de control como a resolver_control_lote(). Por fila, "
          "la primera solución (la de\nmenor dato): la columna del dato (NaN sin solución), con "
          "datos de control tapr, tapi, Idc y\nVdci elegidos, los 13 resultados, soluciones "
          "(cuántas hay en el margen), con motivos=True\nmotivos (una tupla de textos por fila: "
          "por qué no hay solución, o los motivos y avisos de la\nfila) y aceptado. Con "
          "arreglos, un dict; con un DataFrame o Series de pandas, un DataFrame\ncon su mismo "
          "índice y las columnas dadas en su sitio.",
          &BuscarLote, "resultado"_a, "valor"_a, "dato"_a, "datos"_a = py::none(), py::pos_only(),
          py::kw_only(), "margen"_a = py::none(), "hilos"_a = py::none(), "copiar"_a = true,
          "motivos"_a = false);
}

}  // namespace zelk::python
