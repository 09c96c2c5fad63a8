// One operating point: from numbers (calcular), from field texts as the window reads them
// (pasada), and the tap that gives an angle (tap_para).
#include <cmath>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/calculo.h"
#include "engine/pasada.h"
#include "lote/lectura.h"
#include "lote/lotes.h"
#include "lote/pasada_inicio.h"
#include "python/comun.h"
#include "regional/regional_qt.h"

namespace zelk::python {

namespace {

using namespace py::literals;

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

py::dict Calcular(const py::kwargs& datos) {
  const DatosEnlace d = LeerNumeros(datos, "calcular");
  ComprobarNumeros(d);
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

// Why the window rejects the texts, in zelk-calc's words.
Rechazo RechazoDeTextos(const std::vector<Asignacion>& asignaciones,
                        const ConfiguracionRegional& r) {
  std::vector<std::pair<const DescripcionParametro*, std::string>> pares;
  for (const auto& a : asignaciones)
    pares.emplace_back(a.parametro, a.texto);
  const lotes::Base base = lotes::BaseDeInicio(r, pares);
  TextosEntrada textos;
  for (std::size_t i = 0; i < kNumParametros; ++i)
    textos[i] = base.textos[i];
  Rechazo rechazo{lotes::MotivosDeRechazo(textos, {}, r), {}, {}};
  for (std::size_t i = 0; i < kNumParametros; ++i) {
    const auto& p = kParametros[i];
    const auto v = TextoANumero(textos[i], r);
    if (!v || (p.pruebaCero && *v == 0)) {
      rechazo.parametro = p.nombre;
      rechazo.valor = base.textos[i];
      break;
    }
  }
  return rechazo;
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
  // The window's reading stays, with zelk-calc's warning where it may not be what was meant.
  if (!asignaciones.empty()) {
    const py::module_ warnings = py::module_::import("warnings");
    for (const auto& a : asignaciones)
      if (const auto aviso = lotes::AvisoDeLectura(*a.parametro, a.texto, r))
        warnings.attr("warn")("pasada: " + *aviso, "stacklevel"_a = 2);
  }
  FormularioMemoria form;
  if (!PasadaTrasInicio(form, r, asignaciones))
    throw RechazoDeTextos(asignaciones, r);
  py::dict salida;
  for (const auto& d : kResultados)
    salida[Str(d.nombre)] = py::str(form.Ver(d.campo));
  return salida;
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
    if (paso.is_none() || margen.is_none() || !py::isinstance<py::sequence>(margen) ||
        py::isinstance<py::str>(margen) || py::len(margen) != 2)
      throw py::value_error("tap_para: paso y margen=(mínimo, máximo) van juntos");
    escalones = lotes::Escalones{Numero(paso, "tap_para", "paso"),
                                 Numero(margen[py::int_(0)], "tap_para", "margen"),
                                 Numero(margen[py::int_(1)], "tap_para", "margen")};
    const lotes::NombresEscalones nombres{
        "paso", "margen=(mínimo, máximo)", "mínimo", "máximo", "(", ", ", ")"};
    if (const auto motivo = lotes::ComprobarEscalones(*escalones, us, nombres))
      throw py::value_error("tap_para: " + *motivo);
  }
  const auto cual = nombre == "alpha" ? lotes::Angulo::alpha : lotes::Angulo::gamma;
  const auto& tap = lotes::TapDe(cual);
  // The tap sought needs no value of its own: the one found replaces it.
  DatosEnlace comprobados = d;
  comprobados.*tap.miembro = 1;
  ComprobarNumeros(comprobados);

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

}  // namespace

void RegistrarPuntos(py::module_& m) {
  Definir(m, "calcular", FirmaConDatos("calcular", ""),
          "Los 13 resultados del enlace (alpha, mur, tgphir, gamma, mui, tgphii, Vdcr, Iacr, Pr, "
          "Qr,\nIaci, Pi, Qi) en las unidades de la ventana, como float; None donde la ventana "
          "muestra\n\"ERROR\". Los datos son números con el nombre de los 18 parámetros "
          "(Idc=1000, ...); los que\nfalten toman los valores del inicio. True y False valen 1 "
          "y 0; un texto o None se rechazan\n(TypeError): los textos de los campos van a "
          "pasada().\n\n"
          "Unos datos que la ventana rechaza levantan DatosRechazados con el motivo (\"tapi = 0 "
          "no\npuede valer 0\").",
          &Calcular);
  Definir(m, "pasada", "pasada(textos=None, locale=None)",
          "Una pulsación de \"Calcular\" en la ventana recién abierta: los textos de los campos "
          "dados\n(dict {nombre: texto}) se escriben sobre los del inicio, y se devuelven los "
          "textos de los 13\nresultados tal como los muestra la ventana.\n\n"
          "locale: configuración regional de los números (\"es_ES\", \"en_US\", ...); None, la "
          "del proceso,\ntomada de LC_ALL, LC_NUMERIC o LANG como la toman la ventana y zelk-calc "
          "(se lee una vez,\nal primer uso).\n\n"
          "Un número que la ventana lee a través de un separador de miles mal puesto (\"1000,5\"\n"
          "con punto decimal, \"2.500E+03\" con coma decimal) da un UserWarning con su lectura.\n\n"
          "Unos datos que la ventana rechaza levantan DatosRechazados con el motivo de zelk-calc\n"
          "(\"«Nr» = «0» no puede valer 0\"); valor es el texto.",
          &Pasada, "textos"_a = py::none(), "locale"_a = py::none());
  Definir(m, "tap_para",
          FirmaConDatos("tap_para", "angulo='alpha', grados=15.0, *, paso=None, margen=None"),
          "El tap con el que el ángulo vale esos grados: tapr para alpha, tapi para gamma, con "
          "los\ndemás datos como en calcular() (el tap buscado no necesita valor).\n\n"
          "Sin paso ni margen, el tap exacto. Con paso y margen=(mínimo, máximo), las posiciones "
          "son\nmínimo + k·paso para k = 0, 1, 2... mientras no pasen de máximo (máximo es una "
          "de ellas\nsolo si dista de mínimo un número entero de pasos); el tap exacto ha de "
          "estar entre mínimo\ny máximo, y se elige la posición más cercana a él.\n\n"
          "Devuelve {\"tapr_exacto\": ..., \"tapr\": ...} (o tapi) y los 13 resultados con el tap "
          "elegido.\nLevanta DatosRechazados con datos rechazados y TapImposible cuando ningún tap "
          "sirve.",
          &TapPara, "angulo"_a = "alpha", "grados"_a = 15.0, py::kw_only(), "paso"_a = py::none(),
          "margen"_a = py::none());
}

}  // namespace zelk::python
