// leer_psse: the two-terminal DC lines of a PSS/E RAW case, solved under their own control data,
// as a DataFrame with the columns of zelk-calc --psse.
#include <limits>
#include <string>
#include <variant>
#include <vector>

#include "engine/control.h"
#include "lote/control_lote.h"
#include "psse/caso.h"
#include "psse/raw.h"
#include "python/comun.h"

namespace zelk::python {

namespace {

using namespace py::literals;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The file's bytes, read by Python, which names a file it cannot open as it names its own
// (FileNotFoundError...). One byte more than a case may have is enough to refuse it.
std::string Leer(const py::object& archivo) {
  const py::object f = py::module_::import("io").attr("open")(archivo, "rb");
  py::object bytes;
  try {
    bytes = f.attr("read")(psse::kTamanoMaximo + 1);
  } catch (...) {
    f.attr("close")();
    throw;
  }
  f.attr("close")();
  return bytes.cast<std::string>();
}

py::object LeerPsse(const py::object& archivo) {
  const py::module_ os = py::module_::import("os");
  const std::string ruta = Muestra(os.attr("fsdecode")(os.attr("fspath")(archivo)));
  const std::string texto = Leer(archivo);
  psse::Caso caso;
  try {
    caso = psse::LeerCaso(texto);
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
  std::vector<bool> objetos{true};  // texts or tuples, not numbers
  const auto columna = [&](std::string nombre, bool objeto) {
    nombres.push_back(std::move(nombre));
    objetos.push_back(objeto);
  };
  std::vector<const DescripcionParametro*> parametros;
  for (const auto& p : kParametros) {
    if (lotes::DatoFijadoPorElControl(p))
      continue;
    parametros.push_back(&p);
    const bool tap = p.miembro == &DatosEnlace::tapr || p.miembro == &DatosEnlace::tapi;
    columna(std::string(p.nombre) + (tap ? std::string(lotes::kSufijoInicial) : ""), false);
  }
  for (const auto& c : kControl)
    columna(std::string(c.nombre), c.miembro == nullptr);
  for (const auto n : lotes::kColumnasControl)
    columna(std::string(n), n == lotes::kColumnasControl[0]);
  for (const auto& k : kResultados)
    columna(std::string(k.nombre), false);
  columna(std::string(lotes::kColumnaAvisos), true);
  std::vector<py::list> columnas(nombres.size());

  for (const auto& l : caso.lineas) {
    std::size_t k = 0;
    const auto poner = [&](py::object v) { columnas[k++].append(std::move(v)); };
    const auto numero = [&](double v) { poner(py::float_(v)); };
    poner(Str(l.nombre));
    const auto enlace = psse::EnlaceDeLinea(caso, l);
    const auto* e = std::get_if<psse::EnlaceDelCaso>(&enlace);
    for (const auto* p : parametros)
      numero(e ? e->datos.*p->miembro : kNaN);
    for (const auto& c : kControl) {
      if (c.miembro != nullptr)
        numero(e ? e->control.*c.miembro : kNaN);
      else
        poner(e ? py::object(Str(kPalabrasOrden[static_cast<std::size_t>(e->control.orden)]))
                : py::object(py::none()));
    }
    // A line whose data cannot be solved, or whose order no operating point meets, keeps its data
    // and gives the reason in place of a solution.
    const auto solucion =
        e != nullptr ? psse::ResolverLinea(*e)
                     : std::variant<SolucionControl, std::string>(std::get<std::string>(enlace));
    if (const auto* motivo = std::get_if<std::string>(&solucion)) {
      poner(py::none());
      for (std::size_t j = 0; j < kElegidos.size() + kNumResultados; ++j)
        numero(kNaN);
      poner(py::make_tuple(Str(*motivo)));
      continue;
    }
    const SolucionControl& s = std::get<SolucionControl>(solucion);
    poner(Str(TextoModo(s.modo)));
    for (const auto& x : kElegidos)
      numero(s.datos.*x.miembro);
    for (const auto& x : kResultados) {
      const Resultado& v = s.resultados.*x.miembro;
      numero(v ? *v : kNaN);
    }
    poner(TuplaDeAvisos(s.avisos));
  }
  const py::module_ np = py::module_::import("numpy");
  py::dict tabla;
  for (std::size_t k = 0; k < nombres.size(); ++k) {
    // Texts and tuples as objects, whatever the number of lines; numbers as float64.
    py::object valores =
        np.attr("empty")(py::len(columnas[k]), "dtype"_a = objetos[k] ? "object" : "float64");
    for (std::size_t i = 0; i < py::len(columnas[k]); ++i)
      valores[py::int_(i)] = columnas[k][i];
    tabla[Str(nombres[k])] = valores;
  }
  return py::module_::import("pandas").attr("DataFrame")(tabla);
}

}  // namespace

void RegistrarPsse(py::module_& m) {
  Definir(m, "leer_psse", "leer_psse(archivo)",
          "Las líneas de continua de dos terminales de un caso PSS/E RAW (versiones 33, 34 y "
          "35),\nresueltas bajo sus propios datos de control desde las tensiones de las barras "
          "del caso, como\nzelk-calc --psse. archivo es una ruta (str, bytes u os.PathLike).\n\n"
          "Devuelve un DataFrame con una fila por línea: linea (su nombre); sus datos, con los "
          "taps\npresentes como tapr_inicial y tapi_inicial; sus datos de control; y modo, tapr, "
          "tapi, Idc,\nVdci, los 13 resultados y avisos (una tupla de textos). Una línea con datos "
          "que no se pueden\nresolver lleva NaN, modo None y el motivo en avisos; las de otros "
          "tipos (VSC, multiterminal)\nse omiten con un aviso de Python (UserWarning). Un caso "
          "que no se puede leer levanta\nValueError con la línea del archivo y el motivo; un "
          "archivo que no se puede abrir, el OSError\nde Python (FileNotFoundError...).",
          &LeerPsse, "archivo"_a);
}

}  // namespace zelk::python
