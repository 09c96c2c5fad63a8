// leer_psse: the two-terminal DC lines of a PSS/E RAW case, solved under their own control data,
// as a DataFrame with the columns of zelk-calc --psse.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
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

// The file's bytes as Python reads them, a block at a time; Python names a file it cannot open or
// read as it names its own (FileNotFoundError...).
class ArchivoPython : public psse::Fuente {
 public:
  explicit ArchivoPython(const py::object& archivo)
      : f_(py::module_::import("io").attr("open")(archivo, "rb")) {}
  ~ArchivoPython() override {
    try {
      f_.attr("close")();
    } catch (py::error_already_set& e) {
      e.discard_as_unraisable("leer_psse");
    }
  }
  ArchivoPython(const ArchivoPython&) = delete;
  ArchivoPython& operator=(const ArchivoPython&) = delete;

  // The size of a file that has one, not of a pipe or a device.
  std::optional<std::uint64_t> Tamano() const {
    const py::object estado = py::module_::import("os").attr("fstat")(f_.attr("fileno")());
    if (!py::module_::import("stat").attr("S_ISREG")(estado.attr("st_mode")).cast<bool>())
      return std::nullopt;
    return estado.attr("st_size").cast<std::uint64_t>();
  }

  std::size_t Leer(char* destino, std::size_t n) override {
    const py::bytes bloque = f_.attr("read")(n);
    const std::string_view bytes = bloque;
    n = std::min(n, bytes.size());
    std::memcpy(destino, bytes.data(), n);
    return n;
  }

 private:
  py::object f_;
};

py::object LeerPsse(const py::object& archivo) {
  const py::module_ os = py::module_::import("os");
  const std::string ruta = Muestra(os.attr("fsdecode")(os.attr("fspath")(archivo)));
  const auto donde = [&](std::size_t linea) {
    return "«" + ruta + "»" + (linea == 0 ? "" : ", línea " + std::to_string(linea));
  };
  psse::Caso caso;
  {
    ArchivoPython fuente(archivo);
    try {
      if (const auto tamano = fuente.Tamano())
        psse::ComprobarTamano(*tamano);
      caso = psse::LeerCaso(fuente);
    } catch (const psse::ErrorRaw& e) {
      throw py::value_error("leer_psse: " + donde(e.linea) + ": " + e.motivo);
    }
  }
  const py::module_ warnings = py::module_::import("warnings");
  for (const auto& n : caso.notas)
    warnings.attr("warn")("leer_psse: línea " + std::to_string(n.linea) + ": " + n.texto,
                          "stacklevel"_a = 2);
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
    if (const auto* r = std::get_if<psse::Rechazo>(&enlace))
      warnings.attr("warn")(
          "leer_psse: " + donde(r->linea) + ": «" + l.nombre + "» no se resuelve: " + r->motivo,
          "stacklevel"_a = 2);
    for (const auto* p : parametros)
      numero(e ? e->datos.*p->miembro : kNaN);
    for (const auto& c : kControl) {
      if (c.miembro != nullptr)
        numero(e ? e->control.*c.miembro : kNaN);
      else
        poner(e ? py::object(Str(kPalabrasOrden[static_cast<std::size_t>(e->control.orden)]))
                : py::object(py::none()));
    }
    if (e == nullptr) {
      poner(py::none());
      for (std::size_t j = 0; j < kElegidos.size() + kNumResultados; ++j)
        numero(kNaN);
      poner(py::make_tuple(Str(psse::TextoRechazo(std::get<psse::Rechazo>(enlace)))));
      continue;
    }
    const SolucionControl s = ResolverControl(e->datos, e->control);
    poner(Str(TextoModo(s.modo)));
    for (const auto& x : kElegidos)
      numero(s.datos.*x.miembro);
    for (const auto& x : kResultados) {
      const Resultado& v = s.resultados.*x.miembro;
      numero(v && !psse::SinResultado(s, x) ? *v : kNaN);
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
          "que no se pueden\nresolver lleva NaN, modo None y el motivo, con la línea del archivo, "
          "en avisos; una\nbloqueada, NaN en sus ángulos. Las líneas de otros tipos (VSC, "
          "multiterminal) se omiten\ncon un aviso de Python (UserWarning), como se avisa de las "
          "líneas que no se resuelven\ny de lo que el caso dice y aquí no se modela. Un caso que "
          "no se puede leer levanta\nValueError con la línea del archivo y el motivo; un "
          "archivo que no se puede abrir, el OSError\nde Python (FileNotFoundError...).",
          &LeerPsse, "archivo"_a);
}

}  // namespace zelk::python
