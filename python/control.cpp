// resolver_control and resolver_control_lote: the operating point under control data of one link
// and of many, as zelk-calc solves it, with CONTROL (the control data's defaults).
#include <pybind11/numpy.h>

#include <array>
#include <charconv>
#include <cstdint>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "engine/calculo.h"
#include "engine/control.h"
#include "engine/pasada.h"
#include "lote/control_lote.h"
#include "lote/tabla.h"
#include "python/comun.h"
#include "python/paralelo.h"
#include "python/tabla.h"

namespace zelk::python {

namespace {

using namespace py::literals;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr std::string_view kUno = "resolver_control";
constexpr std::string_view kLote = "resolver_control_lote";
// The mode of a rejected row, after those of `Modo`.
constexpr std::uint8_t kSinModo = 3;

std::string Cifras(double v) {
  char cifras[32];
  const auto fin = std::to_chars(cifras, cifras + sizeof cifras, v).ptr;
  return {cifras, fin};
}

// A control datum's value as a rejection gives it: the number, or the order's word.
std::variant<double, std::string> Valor(const DescripcionControl& d, const DatosControl& c) {
  if (d.miembro != nullptr)
    return c.*d.miembro;
  return std::string(kPalabrasOrden[static_cast<std::size_t>(c.orden)]);
}

// "consigna = 1e+308", as calcular() names a datum.
std::string Texto(const DescripcionControl& d, const DatosControl& c) {
  const auto v = Valor(d, c);
  const auto* numero = std::get_if<double>(&v);
  return std::string(d.nombre) + " = " + (numero ? Cifras(*numero) : std::get<std::string>(v));
}

// Throws Rechazo when the control data cannot be solved with these data, in calcular()'s words:
// "tapr_paso = 0 ha de ser mayor que 0".
void ComprobarDeControl(const DatosControl& c, double Rdc) {
  const auto rechazo = ComprobarControl(c, Rdc);
  if (!rechazo)
    return;
  std::string motivo = Texto(*rechazo->dato, c) + " " + std::string(rechazo->motivo);
  if (rechazo->otro != nullptr)
    motivo += " " + Texto(*rechazo->otro, c);
  throw Rechazo{{motivo}, std::string(rechazo->dato->nombre), Valor(*rechazo->dato, c)};
}

// Throws Rechazo when no operating point meets the order, naming the order and its value:
// "orden = corriente, consigna = 1e+308: ningún punto de trabajo...".
void ComprobarPunto(const SolucionControl& s, const DatosControl& c) {
  if (s.sinPunto == SinPunto::Ninguno)
    return;
  // The order's word and its value open the control data.
  const DescripcionControl& orden = kControl[0];
  const DescripcionControl& consigna = kControl[1];
  throw Rechazo{{Texto(orden, c) + ", " + Texto(consigna, c) + ": " + TextoSinPunto(s.sinPunto)},
                std::string(consigna.nombre),
                Valor(consigna, c)};
}

py::dict ResolverUno(const py::object& motivos, const py::kwargs& datos) {
  const bool conMotivos = SiONo(motivos, kUno, "motivos");
  DatosEnlace d = DatosDeInicio();
  DatosControl c = ControlDeInicio();
  for (const auto& [clave, valor] : datos) {
    const Nombrado n = Dato(clave, kUno, true, true);
    if (n.parametro != nullptr)
      d.*n.parametro->miembro = Numero(valor, kUno, n.parametro->nombre);
    else if (n.control->miembro == nullptr)
      c.orden = LeerOrdenDe(valor, kUno);
    else
      c.*n.control->miembro = Numero(valor, kUno, n.control->nombre);
  }
  ComprobarNumeros(d);
  ComprobarDeControl(c, d.Rdc);
  const SolucionControl s = ResolverControl(d, c);
  ComprobarPunto(s, c);
  py::dict r;
  r[Str(lotes::kColumnasControl[0])] = Str(TextoModo(s.modo));
  for (const auto& e : kElegidos)
    r[Str(e.nombre)] = s.datos.*e.miembro;
  AnadirResultados(r, s.resultados);
  r[Str(lotes::kColumnaAvisos)] = TuplaDeAvisos(s.avisos);
  if (conMotivos)
    r[Str(lotes::kColumnaMotivos)] = Tupla(MotivosDe(s.datos, s.resultados));
  return r;
}

// An object array of the values of `valores` that `codigos` give, row by row.
template <typename Codigo>
py::object Objetos(const std::vector<py::object>& valores, const py::array_t<Codigo>& codigos) {
  const auto n = static_cast<std::size_t>(codigos.size());
  py::array salida = py::module_::import("numpy").attr("empty")(n, "dtype"_a = "object");
  auto** celdas = static_cast<PyObject**>(salida.mutable_data());
  const Codigo* codigo = codigos.data();
  for (std::size_t i = 0; i < n; ++i) {
    PyObject* nuevo = valores[codigo[i]].ptr();
    Py_INCREF(nuevo);
    Py_XSETREF(celdas[i], nuevo);
  }
  return salida;
}

py::object ResolverLote(const py::object& datos, const py::object& hilos, const py::object& copiar,
                        const py::object& motivos, const py::kwargs& arreglos) {
  const std::size_t nHilos = Hilos(hilos, kLote);
  const bool copiarColumnas = SiONo(copiar, kLote, "copiar");
  const bool conMotivos = SiONo(motivos, kLote, "motivos");
  Lote lote(datos, arreglos, kLote, true);
  lote.PrepararSalida(copiarColumnas);
  const std::size_t filas = lote.Filas();
  const auto largo = static_cast<py::ssize_t>(filas);

  constexpr std::size_t kNumeros = kElegidos.size() + kNumResultados;
  std::array<py::array_t<double>, kNumeros> salidas;
  std::array<double*, kNumeros> escribir{};
  for (std::size_t j = 0; j < kNumeros; ++j) {
    salidas[j] = py::array_t<double>(largo);
    escribir[j] = salidas[j].mutable_data();
  }
  py::array_t<bool> aceptado(largo);
  bool* aceptar = aceptado.mutable_data();
  py::array_t<std::uint8_t> modos(largo);
  std::uint8_t* modo = modos.mutable_data();
  py::array_t<Avisos> avisos(largo);
  Avisos* aviso = avisos.mutable_data();
  std::vector<std::vector<std::string>> textos(conMotivos ? filas : 0);

  EnParalelo(filas, nHilos, [&](std::size_t desde, std::size_t hasta) {
    lote.CopiarFilas(desde, hasta);
    for (std::size_t i = desde; i < hasta; ++i) {
      DatosEnlace d;
      for (std::size_t k = 0; k < kNumParametros; ++k)
        d.*kParametros[k].miembro = lote.DeParametro(k).En(i);
      DatosControl c;
      bool bien = true;
      for (std::size_t k = 0; k < kNumControl; ++k) {
        const double v = lote.DeControl(k).En(i);
        if (kControl[k].miembro != nullptr)
          c.*kControl[k].miembro = v;
        else if (std::isnan(v))
          bien = false;  // no order
        else
          c.orden = static_cast<Orden>(static_cast<int>(v));
      }
      bien = bien && DatosAceptables(d) && !ComprobarControl(c, d.Rdc);
      SolucionControl s;
      if (bien) {
        s = ResolverControl(d, c);
        bien = s.sinPunto == SinPunto::Ninguno;
      }
      aceptar[i] = bien;
      if (!bien) {
        for (std::size_t j = 0; j < kNumeros; ++j)
          escribir[j][i] = kNaN;
        modo[i] = kSinModo;
        aviso[i] = 0;
        if (conMotivos) {
          textos[i] = MotivosDeNumeros(d);
          if (textos[i].empty())
            if (const auto rechazo = ComprobarControl(c, d.Rdc))
              textos[i] = {std::string(rechazo->dato->nombre) + " " + std::string(rechazo->motivo)};
          if (textos[i].empty() && s.sinPunto != SinPunto::Ninguno)
            textos[i] = {std::string(TextoSinPunto(s.sinPunto))};
        }
        continue;
      }
      for (std::size_t j = 0; j < kElegidos.size(); ++j)
        escribir[j][i] = s.datos.*kElegidos[j].miembro;
      for (std::size_t j = 0; j < kNumResultados; ++j) {
        const Resultado& v = s.resultados.*kResultados[j].miembro;
        escribir[kElegidos.size() + j][i] = v ? *v : kNaN;
      }
      modo[i] = static_cast<std::uint8_t>(s.modo);
      aviso[i] = s.avisos;
      if (conMotivos)
        textos[i] = MotivosDe(s.datos, s.resultados);
    }
  });

  // Rows share the texts of their mode and the tuple of their warnings.
  std::vector<py::object> textosModo;
  for (std::uint8_t m = 0; m < kSinModo; ++m)
    textosModo.push_back(Str(TextoModo(static_cast<Modo>(m))));
  textosModo.push_back(py::none());
  std::vector<py::object> tuplas;
  for (Avisos a = 0; a < (1U << kNumAvisos); ++a)
    tuplas.push_back(TuplaDeAvisos(a));

  std::vector<std::pair<std::string_view, py::object>> calculadas;
  calculadas.emplace_back(lotes::kColumnasControl[0], Objetos(textosModo, modos));
  for (std::size_t j = 0; j < kElegidos.size(); ++j)
    calculadas.emplace_back(kElegidos[j].nombre, salidas[j]);
  for (std::size_t j = 0; j < kNumResultados; ++j)
    calculadas.emplace_back(kResultados[j].nombre, salidas[kElegidos.size() + j]);
  calculadas.emplace_back(lotes::kColumnaAvisos, Objetos(tuplas, avisos));
  if (conMotivos)
    calculadas.emplace_back(lotes::kColumnaMotivos, ArregloDeTuplas(textos));
  calculadas.emplace_back("aceptado", aceptado);
  return lote.Devolver(calculadas);
}

}  // namespace

void RegistrarControl(py::module_& m) {
  py::dict control;
  for (const auto& c : kControl)
    control[Str(c.nombre)] =
        c.miembro
            ? py::object(py::float_(ControlDeInicio().*c.miembro))
            : py::object(Str(kPalabrasOrden[static_cast<std::size_t>(ControlDeInicio().orden)]));
  m.attr("CONTROL") = control;
  auto titulos = m.attr("TITULOS").cast<py::dict>();
  for (const auto& c : kControl)
    titulos[Str(c.nombre)] = Str(c.titulo);

  Definir(m, "resolver_control", FirmaConControl("resolver_control", "*, motivos=False"),
          "El punto de trabajo bajo los datos de control, como zelk-calc con ellos: la orden da "
          "la\ncorriente, cada tap recorre sus posiciones desde la presente hasta dejar su ángulo "
          "en la\nbanda, y si el rectificador no llega a alpha_min el inversor toma la corriente "
          "con el\nmargen. El punto depende del camino: otros taps presentes pueden dar otro.\n\n"
          "Los datos son números con el nombre de los 18 parámetros de calcular() salvo Idc y "
          "Vdci,\nque fija el control, y los de CONTROL; orden es \"bloqueado\", \"potencia\" o "
          "\"corriente\". Los\nque falten toman los valores del inicio y los de CONTROL.\n\n"
          "Devuelve modo (qué extremo controla la corriente), tapr, tapi, Idc y Vdci elegidos, "
          "los 13\nresultados (None donde la ventana muestra \"ERROR\") y avisos, una tupla de "
          "textos. Unos datos\nque no se pueden resolver levantan DatosRechazados con el motivo "
          "(\"tapr_paso = 0 ha de ser\nmayor que 0\"), y también una orden que ningún punto de "
          "trabajo cumple (\"orden = corriente,\nconsigna = 1e+308: ningún punto de trabajo "
          "cumple la orden con estos datos: ...\").\n\n"
          "motivos=True añade \"motivos\", los textos de calcular(motivos=True) para el punto "
          "hallado.",
          &ResolverUno, py::kw_only(), "motivos"_a = false);
  Definir(
      m, "resolver_control_lote",
      FirmaConControl("resolver_control_lote",
                      "datos=None, /, *, hilos=None, copiar=True, motivos=False"),
      "resolver_control() sobre muchos enlaces, en C++ y en todos los núcleos. Los datos se dan "
      "como\na calcular_lote(), con los de control (orden, un texto o un arreglo de textos; "
      "None, NaN o\npd.NA rechazan su fila), y se toman y rechazan igual.\n\n"
      "Con arreglos, devuelve un dict: modo (un arreglo de textos; None en las filas "
      "rechazadas),\ntapr, tapi, Idc, Vdci y los 13 resultados como arreglos de float64 (NaN "
      "donde no hay valor),\navisos (un arreglo con una tupla de textos por fila) y aceptado, "
      "de bool.\n\n"
      "Con un DataFrame o Series de pandas, devuelve un DataFrame con su mismo índice: las "
      "columnas\ndadas en su sitio (las de los taps presentes como tapr_inicial y tapi_inicial), "
      "y después las\nmismas columnas, como las tablas de zelk-calc. Una columna parecida a un "
      "dato o a un dato de\ncontrol, o llamada como una de las que se añaden, se rechaza.\n\n"
      "copiar: con True, el DataFrame devuelto lleva una copia de las columnas dadas; con "
      "False, las\ncomparte con la entrada sin copiarlas, como copy=False de pandas (menos "
      "memoria: cambiar una\nde ellas en la salida la cambia en la entrada, y al revés).\n\n"
      "hilos: cuántos hilos como mucho, de 1 a 1024; None, todos los núcleos que el proceso "
      "puede\nusar. Ctrl+C lo detiene (KeyboardInterrupt) sin devolver nada.\n\n"
      "motivos=True añade, antes de \"aceptado\", \"motivos\": por fila, una tupla con los "
      "textos de\nresolver_control(motivos=True), o por qué se rechazó.",
      &ResolverLote, "datos"_a = py::none(), py::pos_only(), py::kw_only(), "hilos"_a = py::none(),
      "copiar"_a = true, "motivos"_a = false);
}

}  // namespace zelk::python
