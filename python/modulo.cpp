// The module zelk for Python: the link's calculation over numbers, over field texts as the window
// reads them, and over NumPy arrays and pandas tables, with the tap that gives an angle.
// Everything goes through the engine's own checks and computation. Each source file registers its
// own functions.
#include "engine/enlace.h"
#include "python/comun.h"

PYBIND11_MODULE(_zelk, m) {
  using namespace zelk;
  using namespace zelk::python;
  // Each docstring opens with its own text signature, which inspect.signature and help() read.
  py::options opciones;
  opciones.disable_function_signatures();
  m.doc() =
      "zelk: el punto de trabajo de un enlace HVDC monopolar con las cuentas de la ventana.\n\n"
      "calcular(**datos)        los 13 resultados de unos datos numéricos\n"
      "calcular_lote(datos)     lo mismo sobre arreglos de NumPy o un DataFrame de pandas\n"
      "pasada(textos, locale)   los textos de los resultados tal como los muestra la ventana\n"
      "tap_para(angulo, grados) el tap con el que alpha o gamma valen tantos grados\n"
      "resolver_control(**datos) el punto de trabajo bajo los datos de control (CONTROL)\n"
      "resolver_control_lote(datos) lo mismo sobre arreglos o un DataFrame\n"
      "leer_psse(archivo)       las líneas de continua de un caso PSS/E, resueltas\n"
      "detalle(**datos)         E, Vd0, caídas, cosenos y solapes de cada extremo\n"
      "buscar(resultado, valor, dato) los valores de un dato con los que un resultado vale valor\n"
      "buscar_lote(...)         lo mismo en cada fila de arreglos o de un DataFrame\n\n"
      "Los datos faltantes toman los valores del inicio (VALORES_INICIO).";

  RegistrarExcepciones(m);

  py::tuple parametros(kNumParametros);
  py::dict inicio, titulos;
  for (std::size_t i = 0; i < kNumParametros; ++i) {
    const auto& p = kParametros[i];
    parametros[i] = Str(p.nombre);
    inicio[Str(p.nombre)] = DatosDeInicio().*p.miembro;
    titulos[Str(p.nombre)] = Str(p.titulo);
  }
  py::tuple resultados(kNumResultados);
  for (std::size_t j = 0; j < kNumResultados; ++j) {
    resultados[j] = Str(kResultados[j].nombre);
    titulos[Str(kResultados[j].nombre)] = Str(kResultados[j].titulo);
  }
  m.attr("PARAMETROS") = parametros;
  m.attr("RESULTADOS") = resultados;
  m.attr("VALORES_INICIO") = inicio;
  m.attr("TITULOS") = titulos;
  m.attr("__version__") = ZELK_VERSION;

  RegistrarPuntos(m);
  RegistrarLotes(m);
  RegistrarControl(m);
  RegistrarPsse(m);
  RegistrarObjetivos(m);
}
