// calcular_lote: the calculation over NumPy arrays, lists and pandas tables, on every core the
// process may use, without the GIL. Arrays in give a dict of arrays out; pandas in gives a
// DataFrame out with the same index, the given columns first, as zelk-calc writes its tables.
#include <pybind11/numpy.h>

#include <array>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "engine/calculo.h"
#include "engine/pasada.h"
#include "lote/tabla.h"
#include "python/comun.h"
#include "python/paralelo.h"
#include "python/tabla.h"

namespace zelk::python {

namespace {

using namespace py::literals;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr std::string_view kFuncion = "calcular_lote";
constexpr std::string_view kAceptado = "aceptado";

py::object CalcularLote(const py::object& datos, const py::object& hilos, const py::object& copiar,
                        const py::object& motivos, const py::kwargs& arreglos) {
  const std::size_t nHilos = Hilos(hilos, kFuncion);
  const bool copiarColumnas = SiONo(copiar, kFuncion, "copiar");
  const bool conMotivos = SiONo(motivos, kFuncion, "motivos");
  Lote lote(datos, arreglos, kFuncion, false);
  lote.PrepararSalida(copiarColumnas);
  const std::size_t filas = lote.Filas();
  const auto largo = static_cast<py::ssize_t>(filas);

  std::array<py::array_t<double>, kNumResultados> salidas;
  std::array<double*, kNumResultados> escribir{};
  for (std::size_t j = 0; j < kNumResultados; ++j) {
    salidas[j] = py::array_t<double>(largo);
    escribir[j] = salidas[j].mutable_data();
  }
  py::array_t<bool> aceptado(largo);
  bool* aceptar = aceptado.mutable_data();
  std::vector<std::vector<std::string>> textos(conMotivos ? filas : 0);

  EnParalelo(filas, nHilos, [&](std::size_t desde, std::size_t hasta) {
    lote.CopiarFilas(desde, hasta);
    for (std::size_t i = desde; i < hasta; ++i) {
      DatosEnlace d;
      for (std::size_t k = 0; k < kNumParametros; ++k)
        d.*kParametros[k].miembro = lote.DeParametro(k).En(i);
      const bool bien = DatosAceptables(d);
      aceptar[i] = bien;
      if (!bien) {
        for (std::size_t j = 0; j < kNumResultados; ++j)
          escribir[j][i] = kNaN;
        if (conMotivos)
          textos[i] = MotivosDeNumeros(d);
        continue;
      }
      const ResultadosEnlace r = CalcularEnlace(d);
      for (std::size_t j = 0; j < kNumResultados; ++j) {
        const Resultado& v = r.*kResultados[j].miembro;
        escribir[j][i] = v ? *v : kNaN;
      }
      if (conMotivos)
        textos[i] = MotivosDe(d, r);
    }
  });

  std::vector<std::pair<std::string_view, py::object>> calculadas;
  for (std::size_t j = 0; j < kNumResultados; ++j)
    calculadas.emplace_back(kResultados[j].nombre, salidas[j]);
  if (conMotivos)
    calculadas.emplace_back(lotes::kColumnaMotivos, ArregloDeTuplas(textos));
  calculadas.emplace_back(kAceptado, aceptado);
  return lote.Devolver(calculadas);
}

}  // namespace

void RegistrarLotes(py::module_& m) {
  Definir(
      m, "calcular_lote",
      FirmaConDatos("calcular_lote", "datos=None, /, *, hilos=None, copiar=True, motivos=False"),
      "calcular() sobre muchos puntos, en C++ y en todos los núcleos. Los datos van como "
      "arreglos de\nNumPy, listas o Series de pandas con el nombre de los parámetros "
      "(Idc=arreglo), o en un\nDataFrame o un dict cuyas columnas se llaman así. Un número solo "
      "vale para todas las filas;\nlos parámetros que falten toman los valores del inicio. Cada "
      "valor es un número: True y\nFalse valen 1 y 0, None, pd.NA y un valor enmascarado son NaN "
      "(fila rechazada), uno más\nallá del mayor float (10**400) es infinito (fila rechazada), y "
      "un texto, o None en lugar\nde un arreglo, se rechaza con TypeError.\n\n"
      "Con arreglos, devuelve un dict con los 13 resultados como arreglos de float64 (NaN "
      "donde la\nventana muestra \"ERROR\" y en las filas rechazadas) y \"aceptado\", de bool: "
      "False en las filas\nque calcular() rechazaría.\n\n"
      "Con un DataFrame o Series de pandas, devuelve un DataFrame con su mismo índice: las "
      "columnas\ndadas (también las que no son parámetros, como un nombre de caso o una nota, "
      "en su sitio),\nlos 13 resultados y \"aceptado\", como las tablas de zelk-calc. Las "
      "Series han de tener el\nmismo índice que el DataFrame y entre sí (las filas se emparejan "
      "por su posición); una\ncolumna con el nombre de un resultado, o parecido al de un dato "
      "(\"IDC\", \"Idc (A)\"), se\nrechaza, y también un DataFrame sin ninguna columna de "
      "datos.\n\n"
      "copiar: con True, el DataFrame devuelto lleva una copia de las columnas dadas; con "
      "False, las\ncomparte con la entrada sin copiarlas, como copy=False de pandas (menos "
      "memoria: cambiar una\nde ellas en la salida la cambia en la entrada, y al revés).\n\n"
      "hilos: cuántos hilos como mucho, de 1 a 1024; None, todos los núcleos que el proceso "
      "puede\nusar. Ctrl+C lo detiene (KeyboardInterrupt) sin devolver nada.\n\n"
      "motivos=True añade, antes de \"aceptado\", \"motivos\": por fila, una tupla con los "
      "textos de\ncalcular(motivos=True), o por qué se rechazó.",
      &CalcularLote, "datos"_a = py::none(), py::pos_only(), py::kw_only(), "hilos"_a = py::none(),
      "copiar"_a = true, "motivos"_a = false);
}

}  // namespace zelk::python
