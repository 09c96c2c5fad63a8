#include "python/tabla.h"

#include <pybind11/numpy.h>

#include <algorithm>
#include <cstring>

#include "lote/columnas.h"
#include "lote/control_lote.h"

namespace zelk::python {

namespace {

using namespace py::literals;

bool EsSerie(const py::object& pandas, py::handle v) {
  return !pandas.is_none() && py::isinstance(v, pandas.attr("Series"));
}

bool EsTabla(const py::object& pandas, py::handle v) {
  return !pandas.is_none() && py::isinstance(v, pandas.attr("DataFrame"));
}

std::string NombreDe(const Dada& d) {
  if (d.dato.parametro != nullptr)
    return std::string(d.dato.parametro->nombre);
  if (d.dato.control != nullptr)
    return std::string(d.dato.control->nombre);
  return Muestra(d.etiqueta);
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

// The column itself, as pandas' copy=False takes it: a Series' values without a copy.
py::object SinCopia(const py::object& valor) {
  const py::module_ np = py::module_::import("numpy");
  if (py::hasattr(valor, "array") && py::hasattr(valor, "index")) {  // a Series
    if (py::isinstance(valor.attr("dtype"), np.attr("dtype")))
      return valor.attr("to_numpy")();
    return valor.attr("array");
  }
  return np.attr("asarray")(valor);
}

}  // namespace

std::size_t Hilos(const py::object& hilos, std::string_view funcion) {
  const std::string prefijo = std::string(funcion) + ": ";
  if (hilos.is_none()) {
    // Every core the process may run on, as the operating system tells Python.
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
    throw py::type_error(prefijo + "hilos ha de ser un entero o None, no " + NombreDeTipo(hilos));
  const py::object entero = py::reinterpret_steal<py::object>(PyNumber_Index(hilos.ptr()));
  if (!entero)
    throw py::error_already_set();
  int desborde = 0;
  const long long h = PyLong_AsLongLongAndOverflow(entero.ptr(), &desborde);
  if (desborde != 0 || h < 1 || h > kMaximoHilos)
    throw py::value_error(prefijo + "hilos va de 1 a " + std::to_string(kMaximoHilos) +
                          " (o None: todos los núcleos que el proceso puede usar), no " +
                          std::string(py::repr(entero)));
  return static_cast<std::size_t>(h);
}

bool SiONo(const py::object& valor, std::string_view funcion, std::string_view nombre) {
  if (py::isinstance<py::bool_>(valor))
    return valor.cast<bool>();
  if (py::hasattr(valor, "dtype") && py::len(valor.attr("shape")) == 0 &&
      std::string(py::str(valor.attr("dtype").attr("kind"))) == "b")
    return PyObject_IsTrue(valor.ptr()) == 1;
  throw py::type_error(std::string(funcion) + ": " + std::string(nombre) +
                       " ha de ser True o False, no " + NombreDeTipo(valor));
}

Lote::Lote(const py::object& datos, const py::kwargs& arreglos, std::string_view funcion,
           bool control)
    : funcion_(funcion), conControl_(control) {
  pandas_ = py::module_::import("sys").attr("modules").attr("get")("pandas");
  // A Series given as the table is the one column it names.
  py::object tabla = datos;
  if (EsSerie(pandas_, datos)) {
    if (datos.attr("name").is_none())
      throw py::value_error(Prefijo() +
                            "una Series sin nombre no dice qué dato es: dale el nombre del dato "
                            "o pásala como " +
                            std::string(funcion_) + "(Idc=serie)");
    tabla = datos.attr("to_frame")();
  }
  LeerArgumentos(tabla, arreglos);
  IndiceComun(tabla);
  LeerColumnas();
}

void Lote::DesdeDataFrame(const py::object& tabla) {
  const py::object columnas = tabla.attr("columns");
  const py::object todas = py::module_::import("builtins").attr("slice")(py::none());
  const py::object iloc = tabla.attr("iloc");
  for (std::size_t j = 0; j < py::len(columnas); ++j) {
    Dada d;
    d.etiqueta = columnas[py::int_(j)];
    d.valor = iloc[py::make_tuple(todas, j)];
    d.delDataFrame = true;
    if (py::isinstance<py::str>(d.etiqueta))
      d.dato = NombreDeColumna(Utf8(d.etiqueta), funcion_, conControl_);
    dadas_.push_back(std::move(d));
  }
}

void Lote::LeerArgumentos(const py::object& tabla, const py::kwargs& arreglos) {
  const auto anadir = [&](py::handle clave, py::handle valor, bool palabraClave) {
    Dada d;
    d.etiqueta = py::reinterpret_borrow<py::object>(clave);
    d.dato = Dato(clave, funcion_, palabraClave, conControl_);
    d.valor = py::reinterpret_borrow<py::object>(valor);
    dadas_.push_back(std::move(d));
  };
  if (EsTabla(pandas_, tabla)) {
    tablaPandas_ = true;
    DesdeDataFrame(tabla);
  } else if (!tabla.is_none()) {
    if (py::hasattr(tabla, "columns")) {  // another kind of table
      for (const auto& nombre : tabla.attr("columns"))
        anadir(nombre, tabla[nombre], false);
    } else if (py::hasattr(tabla, "items")) {
      for (const auto& par : tabla.attr("items")()) {
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

  std::array<bool, kNumParametros> parametro{};
  std::array<bool, kNumControl> control{};
  for (const auto& d : dadas_) {
    bool* visto = d.dato.parametro != nullptr ? &parametro[Indice(d.dato.parametro->campo)]
                  : d.dato.control != nullptr
                      ? &control[static_cast<std::size_t>(d.dato.control - kControl.data())]
                      : nullptr;
    if (visto == nullptr)
      continue;
    if (*visto)
      throw py::value_error(Prefijo() + "«" + NombreDe(d) + "» está dos veces");
    *visto = true;
  }
}

void Lote::IndiceComun(const py::object& tabla) {
  if (tablaPandas_) {
    indice_ = tabla.attr("index");
    indiceDe_ = "el DataFrame";
  }
  for (const auto& d : dadas_) {
    if (d.delDataFrame || !EsSerie(pandas_, d.valor))
      continue;
    const py::object indice = d.valor.attr("index");
    const std::string nombre = "«" + NombreDe(d) + "»";
    if (!indice_) {
      indice_ = indice;
      indiceDe_ = nombre;
    } else if (!indice_->attr("equals")(indice).cast<bool>()) {
      throw py::value_error(
          Prefijo() + indiceDe_ + " y " + nombre +
          " tienen índices distintos, y las filas se emparejan por su posición: alinéense antes "
          "(serie.reindex(tabla.index)) o pásense arreglos (serie.to_numpy())");
    }
  }
}

void Lote::LeerColumnas() {
  // Every array has the same length, the index's when there is one; a scalar, and a datum not
  // given, goes to every row.
  std::optional<std::size_t> n;
  std::string primero;
  if (indice_) {
    n = py::len(*indice_);
    primero = indiceDe_;
  }
  for (std::size_t k = 0; k < kNumParametros; ++k)
    parametros_[k].escalar = DatosDeInicio().*kParametros[k].miembro;
  for (std::size_t k = 0; k < kNumControl; ++k)
    deControl_[k].escalar = kControl[k].miembro != nullptr
                                ? ControlDeInicio().*kControl[k].miembro
                                : static_cast<double>(ControlDeInicio().orden);
  bool algunArreglo = false;
  for (auto& d : dadas_) {
    if (d.dato.parametro != nullptr) {
      d.columna = LeerColumna(d.valor, funcion_, d.dato.parametro->nombre);
      parametros_[Indice(d.dato.parametro->campo)] = *d.columna;
    } else if (d.dato.control != nullptr) {
      d.columna = d.dato.control->miembro != nullptr
                      ? LeerColumna(d.valor, funcion_, d.dato.control->nombre)
                      : LeerOrdenes(d.valor, funcion_);
      deControl_[static_cast<std::size_t>(d.dato.control - kControl.data())] = *d.columna;
    } else {
      continue;
    }
    if (d.columna->esEscalar)
      continue;
    algunArreglo = true;
    const std::size_t largo = d.columna->largo;
    const std::string nombre = "«" + NombreDe(d) + "»";
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
  if (tablaPandas_ && !algunArreglo)
    throw py::value_error(Prefijo() + std::string(lotes::kSinDatos));
  filas_ = n.value_or(1);
}

void Lote::PrepararSalida(bool copiar) {
  if (!SalidaPandas())
    return;
  salida_.resize(dadas_.size());
  for (std::size_t j = 0; j < dadas_.size(); ++j) {
    const auto& d = dadas_[j];
    if (d.columna && d.columna->esEscalar)
      continue;  // a number for every row is no column
    if (!copiar) {
      salida_[j] = SinCopia(d.valor);
    } else if (d.columna && d.columna->delLlamante) {
      py::array_t<double> copia(static_cast<py::ssize_t>(filas_));
      porCopiar_.emplace_back(&*d.columna, copia.mutable_data());
      salida_[j] = copia;
    } else {
      salida_[j] = CopiaDe(d.valor);
    }
  }
}

void Lote::CopiarFilas(std::size_t desde, std::size_t hasta) const {
  for (const auto& [columna, destino] : porCopiar_)
    columna->CopiarA(destino, desde, hasta);
}

py::object Lote::Tabla(
    const std::vector<std::pair<std::string_view, py::object>>& calculadas) const {
  // Columns by position, then their labels, which may repeat or be of any type.
  py::dict columnas;
  py::list etiquetas;
  for (std::size_t j = 0; j < dadas_.size(); ++j) {
    if (!salida_[j])
      continue;
    const auto* p = dadas_[j].dato.parametro;
    columnas[py::int_(py::len(etiquetas))] = salida_[j];
    // Under control data the taps given are where they start from: the chosen ones take the name.
    if (conControl_ && p != nullptr &&
        (p->miembro == &DatosEnlace::tapr || p->miembro == &DatosEnlace::tapi))
      etiquetas.append(Str(std::string(p->nombre) + std::string(lotes::kSufijoInicial)));
    else
      etiquetas.append(dadas_[j].etiqueta);
  }
  for (const auto& [nombre, columna] : calculadas) {
    columnas[py::int_(py::len(etiquetas))] = columna;
    etiquetas.append(Str(nombre));
  }
  py::object salida = pandas_.attr("DataFrame")(columnas, "index"_a = *indice_, "copy"_a = false);
  salida.attr("columns") =
      pandas_.attr("Index")(etiquetas, "dtype"_a = "object", "tupleize_cols"_a = false);
  return salida;
}

py::object Lote::Devolver(
    const std::vector<std::pair<std::string_view, py::object>>& calculadas) const {
  if (SalidaPandas())
    return Tabla(calculadas);
  py::dict resultado;
  for (const auto& [nombre, columna] : calculadas)
    resultado[Str(nombre)] = columna;
  return resultado;
}

}  // namespace zelk::python
