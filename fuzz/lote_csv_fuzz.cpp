// A CSV batch on any bytes, on one thread or two: no crash, an exit status of 0, 2 or 3 with
// what it says on standard error, and an output that reads back as a CSV table whose every row
// has as many fields as its header, where no text of the input starts like a spreadsheet formula
// unless it is a number.
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "fuzz/comun_fuzz.h"
#include "lote/csv.h"
#include "lote/lotes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t n) {
  std::string_view datos(reinterpret_cast<const char*>(bytes), n);
  const zelk::ConfiguracionRegional r = zelk::fuzz::TomarRegional(datos);
  const bool crudo = !datos.empty() && (datos.front() & 1);
  const std::size_t hilos = !datos.empty() && (datos.front() & 2) ? 2 : 1;

  std::istringstream entrada{std::string(datos)};
  std::ostringstream salida, err;
  const auto base = zelk::lotes::BaseDeInicio(r, {});
  const int estado = zelk::lotes::CalcularCsv(entrada, base, r, {zelk::lotes::Formato::Csv, crudo},
                                              salida, err, hilos);
  Comprobar(estado == 0 || estado == 2 || estado == 3);
  // A malformed file names its line; rejected rows are counted; skipped rows get a note.
  const std::string dicho = err.str();
  Comprobar(estado != 2 || dicho.starts_with("zelk-calc: línea "));
  Comprobar(estado != 3 || dicho.find(" rechazad") != std::string::npos);
  Comprobar(estado != 0 || dicho.empty() || dicho.starts_with("zelk-calc: nota: "));

  std::istringstream escrito(salida.str());
  zelk::csv::Lector lector(escrito, crudo ? ',' : zelk::lotes::SeparadorCsv(r));
  std::vector<std::string> cabecera, fila;
  if (!lector.Siguiente(cabecera)) {
    Comprobar(estado == 2);
    return 0;
  }
  Comprobar(cabecera.size() >= 14);
  Comprobar(cabecera.back() == "estado");
  const std::size_t entradas = cabecera.size() - 14;
  const auto sinFormulas = [&](const std::vector<std::string>& campos) {
    for (std::size_t i = 0; i < entradas && !crudo; ++i)
      Comprobar(campos[i].empty() ||
                std::string_view("=+-@\t\r").find(campos[i][0]) == std::string_view::npos ||
                zelk::EsNumerico(campos[i], r));
  };
  sinFormulas(cabecera);
  while (lector.Siguiente(fila)) {
    Comprobar(fila.size() == cabecera.size());
    Comprobar(fila.back() == "OK" || fila.back() == "ERROR EN DATOS");
    sinFormulas(fila);
  }
  return 0;
}
