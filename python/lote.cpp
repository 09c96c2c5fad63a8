// calcular_lote: the calculation over NumPy arrays, lists and pandas tables, on every core the
// process may use, without the GIL. Arrays in give a dict of arrays out; pandas in gives a
// DataFrame out with the same index, the given columns first, as zelk-calc writes its tables.
#include <pybind11/numpy.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "calc/columnas.h"
#include "engine/calculo.h"
#include "engine/pasada.h"
#include "python/columna.h"
#include "python/comun.h"
#include "python/paralelo.h"

namespace zelk::python {

namespace {

using namespace py::literals;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr long long kMaximoHilos = 1024;
constexpr std::string_view kFuncion = "calcular_lote";
constexpr std::string_view kAceptado = "aceptado";

std::string Prefijo() {
  return std::string(kFuncion) + ": ";
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
  const bool logico = py::isinstance<py::bool_>(hilos) ||
                      (py::hasattr(hilos, "dtype") &&
                       std::string(py::str(hilos.attr("dtype").attr("kind"))) == "b");
  if (logico || PyIndex_Check(hilos.ptr()) == 0)
    throw py::type_error(Prefijo() + "hilos ha de ser un entero o None, no " +
                         std::string(py::str(py::type::handle_of(hilos).attr("__name__"))));
  const py::object entero = py::reinterpret_steal<py::object>(PyNumber_Index(hilos.ptr()));
  if (!entero)
    throw py::error_already_set();
  int desborde = 0;
  const long long h = PyLong_AsLongLongAndOverflow(entero.ptr(), &desborde);
  if (desborde != 0 || h < 1 || h > kMaximoHilos)
    throw py::value_error(Prefijo() + "hilos va de 1 a " + std::to_string(kMaximoHilos) +
                          " (o None: todos los núcleos que el proceso puede usar), no " +
                          std::string(py::repr(entero)));
  return static_cast<std::size_t>(h);
}

// What the caller gave, in the order of the output's columns.
struct Dada {
  py::object etiqueta;                              // the column's label, or the keyword
  const DescripcionParametro* parametro = nullptr;  // null: a column of the user's
  py::object valor;
  bool delDataFrame = false;
  std::optional<Columna> columna;  // a parameter's values
};

std::string NombreDe(const Dada& d) {
  return d.parametro != nullptr ? std::string(d.parametro->nombre)
                                : std::string(py::str(d.etiqueta));
}

// pandas, when the caller has imported it: without it nothing given can be a pandas object.
struct Pandas {
  py::object modulo;
  explicit operator bool() const { return !modulo.is_none(); }
  bool EsSerie(py::handle v) const { return *this && py::isinstance(v, modulo.attr("Series")); }
  bool EsTabla(py::handle v) const { return *this && py::isinstance(v, modulo.attr("DataFrame")); }
};

Pandas PandasCargado() {
  const py::object modulos = py::module_::import("sys").attr("modules");
  return Pandas{modulos.attr("get")("pandas")};
}

void DesdeDataFrame(const py::object& tabla, std::vector<Dada>& dadas) {
  const py::object columnas = tabla.attr("columns");
  const py::object todas = py::module_::import("builtins").attr("slice")(py::none());
  const py::object iloc = tabla.attr("iloc");
  for (std::size_t j = 0; j < py::len(columnas); ++j) {
    Dada d;
    d.etiqueta = columnas[py::int_(j)];
    d.valor = iloc[py::make_tuple(todas, j)];
    d.delDataFrame = true;
    if (py::isinstance<py::str>(d.etiqueta)) {
      const std::string nombre = py::str(d.etiqueta);
      d.parametro = BuscarParametro(nombre);
      if (d.parametro == nullptr)
        if (const auto motivo = lotes::MotivoColumna(nombre, kAceptado))
          throw py::value_error(Prefijo() + *motivo);
    }
    dadas.push_back(std::move(d));
  }
}

// A Series given as the table is the one column it names.
py::object ComoTabla(const py::object& datos, const Pandas& pandas) {
  if (!pandas.EsSerie(datos))
    return datos;
  if (datos.attr("name").is_none())
    throw py::value_error(Prefijo() +
                          "una Series sin nombre no dice qué dato es: dale el nombre del dato "
                          "o pásala como calcular_lote(Idc=serie)");
  return datos.attr("to_frame")();
}

std::vector<Dada> LeerArgumentos(const py::object& datos, const py::kwargs& arreglos,
                                 const Pandas& pandas, bool& tablaPandas) {
  std::vector<Dada> dadas;
  const auto anadir = [&](py::handle clave, py::handle valor, bool palabraClave) {
    Dada d;
    d.etiqueta = py::reinterpret_borrow<py::object>(clave);
    d.parametro = &Parametro(clave, kFuncion, palabraClave);
    d.valor = py::reinterpret_borrow<py::object>(valor);
    dadas.push_back(std::move(d));
  };
  if (pandas.EsTabla(datos)) {
    tablaPandas = true;
    DesdeDataFrame(datos, dadas);
  } else if (!datos.is_none()) {
    if (py::hasattr(datos, "columns")) {  // another kind of table
      for (const auto& nombre : datos.attr("columns"))
        anadir(nombre, datos[nombre], false);
    } else if (py::hasattr(datos, "items")) {
      for (const auto& par : datos.attr("items")()) {
        const auto pareja = py::reinterpret_borrow<py::object>(par);
        anadir(py::object(pareja[py::int_(0)]), py::object(pareja[py::int_(1)]), false);
      }
    } else {
      throw py::type_error(Prefijo() +
                           "los datos van en un DataFrame, en un dict {nombre: arreglo} o como "
                           "argumentos con nombre");
    }
  }
  for (const auto& [clave, valor] : arreglos)
    anadir(clave, valor, true);

  std::array<bool, kNumParametros> visto{};
  for (const auto& d : dadas) {
    if (d.parametro == nullptr)
      continue;
    bool& v = visto[Indice(d.parametro->campo)];
    if (v)
      throw py::value_error(Prefijo() + "«" + std::string(d.parametro->nombre) +
                            "» está dos veces");
    v = true;
  }
  return dadas;
}

// The index every pandas input shares, and what first gave it. Rows are paired by position: a
// Series whose index differs is refused rather than realigned.
struct IndicePandas {
  py::object indice;
  std::string deDonde;
};

std::optional<IndicePandas> IndiceComun(const py::object& datos, const std::vector<Dada>& dadas,
                                        const Pandas& pandas, bool tablaPandas) {
  std::optional<IndicePandas> comun;
  if (tablaPandas)
    comun = IndicePandas{datos.attr("index"), "el DataFrame"};
  for (const auto& d : dadas) {
    if (d.delDataFrame || !pandas.EsSerie(d.valor))
      continue;
    const py::object indice = d.valor.attr("index");
    const std::string nombre = "«" + NombreDe(d) + "»";
    if (!comun) {
      comun = IndicePandas{indice, nombre};
    } else if (!comun->indice.attr("equals")(indice).cast<bool>()) {
      throw py::value_error(
          Prefijo() + comun->deDonde + " y " + nombre +
          " tienen índices distintos, y las filas se emparejan por su posición: alinéense antes "
          "(serie.reindex(tabla.index)) o pásense arreglos (serie.to_numpy())");
    }
  }
  return comun;
}

// A copy of a column of the caller's for the output, in its own type.
py::object CopiaDe(const py::object& valor) {
  const py::module_ np = py::module_::import("numpy");
  if (py::hasattr(valor, "array") && py::hasattr(valor, "index")) {  // a Series
    if (py::isinstance(valor.attr("dtype"), np.attr("dtype")))
      return valor.attr("to_numpy")("copy"_a = true);
    return valor.attr("array").attr("copy")();
  }
  return np.attr("array")(valor, "copy"_a = true);
}

py::object CalcularLote(const py::object& datos, const py::object& hilos,
                        const py::kwargs& arreglos) {
  const std::size_t nHilos = Hilos(hilos);
  const Pandas pandas = PandasCargado();
  bool tablaPandas = false;
  const py::object tabla = ComoTabla(datos, pandas);
  std::vector<Dada> dadas = LeerArgumentos(tabla, arreglos, pandas, tablaPandas);
  const auto indice = IndiceComun(tabla, dadas, pandas, tablaPandas);
  const bool salidaPandas = indice.has_value();

  // Every array has the same length, the index's when there is one; a scalar, and a parameter
  // not given, goes to every row.
  std::optional<std::size_t> n;
  std::string primero;
  if (indice) {
    n = py::len(indice->indice);
    primero = indice->deDonde;
  }
  std::array<Columna, kNumParametros> leer;
  for (std::size_t k = 0; k < kNumParametros; ++k)
    leer[k].escalar = DatosDeInicio().*kParametros[k].miembro;
  bool algunArreglo = false;
  for (auto& d : dadas) {
    if (d.parametro == nullptr)
      continue;
    d.columna = LeerColumna(d.valor, kFuncion, d.parametro->nombre);
    leer[Indice(d.parametro->campo)] = *d.columna;
    if (d.columna->esEscalar)
      continue;
    algunArreglo = true;
    const std::size_t largo = d.columna->largo;
    const std::string nombre = "«" + std::string(d.parametro->nombre) + "»";
    if (!n) {
      n = largo;
      primero = nombre;
    } else if (*n != largo) {
      throw py::value_error(Prefijo() + primero + " tiene " + std::to_string(*n) + " filas y " +
                            nombre + " " + std::to_string(largo) +
                            "; los arreglos han de tener la misma longitud (un número solo vale "
                            "para todas las filas)");
    }
  }
  if (tablaPandas && !algunArreglo)
    throw py::value_error(Prefijo() + std::string(lotes::kSinDatos));
  const std::size_t filas = n.value_or(1);
  const auto largo = static_cast<py::ssize_t>(filas);

  // A DataFrame out holds its own copy of the given columns; those of float64 the computation
  // copies as it reads them.
  std::vector<py::object> copias(dadas.size());
  std::array<double*, kNumParametros> copiar{};
  if (salidaPandas) {
    for (std::size_t j = 0; j < dadas.size(); ++j) {
      const auto& d = dadas[j];
      if (d.columna && !d.columna->esEscalar && d.columna->delLlamante) {
        py::array_t<double> copia(largo);
        copiar[Indice(d.parametro->campo)] = copia.mutable_data();
        copias[j] = copia;
      }
    }
  }

  std::array<py::array_t<double>, kNumResultados> salidas;
  std::array<double*, kNumResultados> escribir{};
  for (std::size_t j = 0; j < kNumResultados; ++j) {
    salidas[j] = py::array_t<double>(largo);
    escribir[j] = salidas[j].mutable_data();
  }
  py::array_t<bool> aceptado(largo);
  bool* aceptar = aceptado.mutable_data();

  EnParalelo(filas, nHilos, [&](std::size_t desde, std::size_t hasta) {
    for (std::size_t i = desde; i < hasta; ++i) {
      DatosEnlace d;
      for (std::size_t k = 0; k < kNumParametros; ++k) {
        const double v = leer[k].En(i);
        d.*kParametros[k].miembro = v;
        if (copiar[k] != nullptr)
          leer[k].CopiarA(copiar[k], i);
      }
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

  if (!salidaPandas) {
    py::dict resultado;
    for (std::size_t j = 0; j < kNumResultados; ++j)
      resultado[Str(kResultados[j].nombre)] = salidas[j];
    resultado[Str(kAceptado)] = aceptado;
    return resultado;
  }
  // Columns by position, then their labels, which may repeat or be of any type.
  py::dict columnas;
  py::list etiquetas;
  for (std::size_t j = 0; j < dadas.size(); ++j) {
    const auto& d = dadas[j];
    if (d.columna && d.columna->esEscalar)
      continue;  // a number for every row is no column
    columnas[py::int_(py::len(etiquetas))] = copias[j] ? copias[j] : CopiaDe(d.valor);
    etiquetas.append(d.etiqueta);
  }
  for (std::size_t j = 0; j < kNumResultados; ++j) {
    columnas[py::int_(py::len(etiquetas))] = salidas[j];
    etiquetas.append(Str(kResultados[j].nombre));
  }
  columnas[py::int_(py::len(etiquetas))] = aceptado;
  etiquetas.append(Str(kAceptado));
  py::object salida =
      pandas.modulo.attr("DataFrame")(columnas, "index"_a = indice->indice, "copy"_a = false);
  salida.attr("columns") =
      pandas.modulo.attr("Index")(etiquetas, "dtype"_a = "object", "tupleize_cols"_a = false);
  return salida;
}

}  // namespace

void RegistrarLotes(py::module_& m) {
  Definir(
      m, "calcular_lote", FirmaConDatos("calcular_lote", "datos=None, /, *, hilos=None"),
      "calcular() sobre muchos puntos, en C++ y en todos los núcleos. Los datos van como "
      "arreglos de\nNumPy, listas o Series de pandas con el nombre de los parámetros "
      "(Idc=arreglo), o en un\nDataFrame o un dict cuyas columnas se llaman así. Un número solo "
      "vale para todas las filas;\nlos parámetros que falten toman los valores del inicio. Cada "
      "valor es un número: True y\nFalse valen 1 y 0, None y pd.NA son NaN (fila rechazada), y "
      "un texto, o None en lugar de\nun arreglo, se rechaza con TypeError.\n\n"
      "Con arreglos, devuelve un dict con los 13 resultados como arreglos de float64 (NaN "
      "donde la\nventana muestra \"ERROR\" y en las filas rechazadas) y \"aceptado\", de bool: "
      "False en las filas\nque calcular() rechazaría.\n\n"
      "Con un DataFrame o Series de pandas, devuelve un DataFrame con su mismo índice: una "
      "copia de las\ncolumnas dadas (también las que no son parámetros, como un nombre de caso "
      "o una nota, en su\nsitio), los 13 resultados y \"aceptado\", como las tablas de "
      "zelk-calc. Las Series han de tener\nel mismo índice que el DataFrame y entre sí (las "
      "filas se emparejan por su posición); una\ncolumna con el nombre de un resultado, o "
      "parecido al de un dato (\"IDC\", \"Idc (A)\"), se\nrechaza, y también un DataFrame sin "
      "ninguna columna de datos.\n\n"
      "hilos: cuántos hilos como mucho, de 1 a 1024; None, todos los núcleos que el proceso "
      "puede\nusar. Ctrl+C lo detiene (KeyboardInterrupt) sin devolver nada.",
      &CalcularLote, "datos"_a = py::none(), py::pos_only(), py::kw_only(), "hilos"_a = py::none());
}

}  // namespace zelk::python
