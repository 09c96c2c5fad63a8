// The study of zelk Estudios and its file: kept and read back under any regional settings, and
// every file that is not a study this version reads refused by why, never half taken.
#include "lote/estudio.h"

#include <gtest/gtest.h>

#include <string>
#include <variant>

#include "lote/lotes.h"
#include "tests/casos.h"
#include "tests/regionales.h"

namespace zelk {
namespace {

using lotes::Estudio;
using lotes::EstudioAJson;
using lotes::EstudioDeInicio;
using lotes::EstudioDeJson;
using lotes::kTamanoMaximoEstudio;

using prueba::kEspana;
using prueba::kEstadosUnidos;

std::size_t Param(std::string_view nombre) {
  return Indice(BuscarParametro(nombre)->campo);
}
std::size_t Control(std::string_view nombre) {
  return static_cast<std::size_t>(BuscarControl(nombre) - kControl.data());
}

Estudio Cambiado() {
  Estudio e = EstudioDeInicio(kEspana);
  e.datos[Param("Idc")] = "1.000,5";  // a number with a group separator
  e.datos[Param("Rdc")] = "12,25";
  e.datos[Param("Xcr")] = "3.88";  // not a number under es_ES: kept as typed
  e.datos[Param("Nr")] = "";
  e.control = true;
  e.textosControl[Control("orden")] = "corriente";
  e.textosControl[Control("margen")] = "0,15";
  e.barrido = {"Vprog", "400", "600", 7};
  e.conFamilia = true;
  e.familia = {"Rdc", "5", "15,5", 4};
  e.dibujados = {"mur", "Qi"};
  e.busqueda = {"Qr", "250,5", "tapr", "0,9", "1,1"};
  return e;
}

Estudio Leer(const std::string& texto, const ConfiguracionRegional& r) {
  auto leido = EstudioDeJson(texto, r);
  if (const auto* error = std::get_if<std::string>(&leido))
    ADD_FAILURE() << *error;
  return std::get<Estudio>(leido);
}

// Saved under a decimal comma and opened under a decimal point: every number is the same number,
// written as that user writes it; a text that was not one stays as it was typed.
TEST(Estudio, SeAbreBajoOtraConfiguracionRegional) {
  const Estudio e = Cambiado();
  const std::string json = EstudioAJson(e, kEspana);
  const Estudio aqui = Leer(json, kEspana);
  const Estudio alli = Leer(json, kEstadosUnidos);

  Estudio esperado = e;
  esperado.datos[Param("Idc")] = "1000,5";
  EXPECT_EQ(aqui, esperado);
  EXPECT_EQ(alli.datos[Param("Idc")], "1000.5");
  EXPECT_EQ(alli.datos[Param("Rdc")], "12.25");
  EXPECT_EQ(alli.datos[Param("Xcr")], "3.88");  // the text as typed, though it reads here
  EXPECT_EQ(alli.datos[Param("Nr")], "");
  EXPECT_EQ(alli.textosControl[Control("margen")], "0.15");
  EXPECT_EQ(alli.familia.hasta, "15.5");
  EXPECT_EQ(alli.busqueda.objetivo, "250.5");
}

TEST(Estudio, LoQueFaltaEsDelInicio) {
  EXPECT_EQ(Leer(R"({"formato": "zelk-estudio", "version": 1})", kEspana),
            EstudioDeInicio(kEspana));
  const Estudio e = Leer(
      R"({"formato": "zelk-estudio", "version": 1, "datos": {"Rdc": 10},
          "barrido": {"resultados": ["Qr", "alpha", "Qr"]}, "futuro": [1, 2]})",
      kEspana);
  EXPECT_EQ(e.datos[Param("Rdc")], "10");
  EXPECT_EQ(e.datos[Param("Idc")], "2000");
  // In the order of the results, each once.
  EXPECT_EQ(e.dibujados, (std::vector<std::string>{"alpha", "Qr"}));
}

struct CasoRechazo {
  const char* nombre;
  std::string texto;
  const char* motivo;  // a part of the reason
};

class Rechazo : public testing::TestWithParam<CasoRechazo> {};

TEST_P(Rechazo, DicePorQue) {
  const auto leido = EstudioDeJson(GetParam().texto, kEspana);
  ASSERT_TRUE(std::holds_alternative<std::string>(leido));
  EXPECT_NE(std::get<std::string>(leido).find(GetParam().motivo), std::string::npos)
      << std::get<std::string>(leido);
}

std::string Con(const std::string& resto) {
  return R"({"formato": "zelk-estudio", "version": 1, )" + resto + "}";
}

INSTANTIATE_TEST_SUITE_P(
    Archivos, Rechazo,
    testing::Values(
        CasoRechazo{"Vacio", "", "no es JSON válido (byte 1)"},
        CasoRechazo{"Cortado", Con(R"("datos": {"Idc": 10)").substr(0, 60), "no es JSON válido"},
        CasoRechazo{"Binario", std::string("\x89PNG\r\n\x1a\n\0\0", 10), "no es JSON válido"},
        CasoRechazo{"Lista", "[1, 2]", "no es un estudio de zelk"},
        CasoRechazo{"OtroFormato", R"({"formato": "otro", "version": 1})",
                    "no es un estudio de zelk"},
        CasoRechazo{"SinVersion", R"({"formato": "zelk-estudio"})", "«version» ha de ser"},
        CasoRechazo{"VersionTexto", R"({"formato": "zelk-estudio", "version": "1"})",
                    "«version» ha de ser un número entero"},
        CasoRechazo{"VersionNueva", R"({"formato": "zelk-estudio", "version": 2})",
                    "versión 2 del formato, más nueva que la 1"},
        CasoRechazo{"VersionCero", R"({"formato": "zelk-estudio", "version": 0})",
                    "«version» 0 no existe"},
        CasoRechazo{"DatoDesconocido", Con(R"("datos": {"Idcc": 1})"),
                    "«datos.Idcc» no es ningún dato"},
        CasoRechazo{"DatoLogico", Con(R"("datos": {"Idc": true})"),
                    "«datos.Idc» ha de ser un número o un texto"},
        CasoRechazo{"DatosNoObjeto", Con(R"("datos": [1])"), "«datos» ha de ser un objeto"},
        CasoRechazo{"Orden", Con(R"("control": {"orden": "mucha"})"),
                    "«control.orden» ha de ser bloqueado, potencia o corriente"},
        CasoRechazo{"Activo", Con(R"("control": {"activo": 1})"),
                    "«control.activo» ha de ser true o false"},
        CasoRechazo{"BarridoDeResultado", Con(R"("barrido": {"dato": "alpha"})"),
                    "«barrido.dato» ha de ser el nombre de un dato"},
        CasoRechazo{"BarridoDeOrden", Con(R"("barrido": {"dato": "orden"})"),
                    "«barrido.dato» ha de ser el nombre de un dato"},
        CasoRechazo{"PuntosCero", Con(R"("barrido": {"puntos": 0})"), "«barrido.puntos»"},
        CasoRechazo{"PuntosFraccion", Con(R"("barrido": {"familia": {"puntos": 2.5}})"),
                    "«barrido.familia.puntos» ha de ser un número entero entre 1 y"},
        CasoRechazo{"PuntosDemasiados", Con(R"("barrido": {"puntos": 100000000000})"),
                    "«barrido.puntos»"},
        CasoRechazo{"ResultadoDesconocido", Con(R"("barrido": {"resultados": ["Pr", "P"]})"),
                    "\"P\" no es ninguno"},
        CasoRechazo{"Busqueda", Con(R"("busqueda": {"resultado": "Idc"})"),
                    "«busqueda.resultado» ha de ser el nombre de un resultado"},
        CasoRechazo{"Enorme", Con(R"("nota": ")" + std::string(kTamanoMaximoEstudio, 'x') + "\""),
                    "demasiado grande"}),
    prueba::PorNombre());

}  // namespace
}  // namespace zelk
