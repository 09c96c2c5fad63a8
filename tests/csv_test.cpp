// The CSV reader and writer, and the pieces of batch work that are not a pass: sweeps' values,
// the tap for an angle and the nearest tap position.
#include <gtest/gtest.h>

#include <sstream>

#include "calc/csv.h"
#include "calc/lotes.h"
#include "engine/calculo.h"
#include "tests/casos.h"
#include "tests/regionales.h"

namespace zelk {
namespace {

struct CasoLector {
  std::string nombre;
  std::string texto;
  std::vector<std::vector<std::string>> registros;
};

class LectorCsv : public testing::TestWithParam<CasoLector> {};

TEST_P(LectorCsv, Registros) {
  std::istringstream in(GetParam().texto);
  csv::Lector lector(in);
  std::vector<std::vector<std::string>> leidos;
  for (std::vector<std::string> campos; lector.Siguiente(campos);)
    leidos.push_back(campos);
  EXPECT_EQ(leidos, GetParam().registros);
}

INSTANTIATE_TEST_SUITE_P(
    Textos, LectorCsv,
    testing::Values(
        CasoLector{"Simple", "a,b\n1,2\n", {{"a", "b"}, {"1", "2"}}},
        CasoLector{"FinDeLineaWindows", "a,b\r\n1,2\r\n", {{"a", "b"}, {"1", "2"}}},
        CasoLector{"SinFinDeLineaAlFinal", "a\n1", {{"a"}, {"1"}}},
        CasoLector{"PuntoYComaSiLaCabeceraLoTiene", "a;b\n1,5;2\n", {{"a", "b"}, {"1,5", "2"}}},
        CasoLector{"Comillas", "a,b\n\"1,5\",\"x\"\"y\"\n", {{"a", "b"}, {"1,5", "x\"y"}}},
        CasoLector{"SaltoDentroDeComillas", "a\n\"uno\ndos\"\n", {{"a"}, {"uno\ndos"}}},
        CasoLector{"CamposVacios", "a,b,c\n,,\n", {{"a", "b", "c"}, {"", "", ""}}},
        CasoLector{"LineasVaciasSeSaltan", "a\n\n1\n\n", {{"a"}, {"1"}}},
        CasoLector{"Utf8", "a\n1\u202F000\n", {{"a"}, {"1\u202F000"}}}),
    prueba::PorNombre());

TEST(LectorCsv, LineaDeCadaRegistro) {
  std::istringstream in("a\n\"x\ny\"\n\"z\"q\n");
  csv::Lector lector(in);
  std::vector<std::string> campos;
  ASSERT_TRUE(lector.Siguiente(campos));
  ASSERT_TRUE(lector.Siguiente(campos));
  EXPECT_EQ(lector.Linea(), 2u);
  try {
    lector.Siguiente(campos);
    FAIL() << "text after the closing quote";
  } catch (const csv::ErrorCsv& e) {
    EXPECT_EQ(e.linea, 4u);
  }
}

TEST(LectorCsv, LineasYCamposSinFin) {
  const std::string largo(csv::kLargoMaximo + 10, '1');
  for (const std::string& texto : {"Idc\n" + largo + "\n", "Idc\n\"" + largo, "Idc\n" + largo}) {
    std::istringstream in(texto);
    csv::Lector lector(in);
    std::vector<std::string> campos;
    ASSERT_TRUE(lector.Siguiente(campos));
    try {
      lector.Siguiente(campos);
      FAIL() << "a record beyond the limit";
    } catch (const csv::ErrorCsv& e) {
      EXPECT_EQ(e.linea, 2u);
    }
  }
  // Lines longer than the reading block, but within the limit, read whole.
  const std::string medio(20000, '7');
  std::istringstream in("a\n" + medio + "\n" + medio);
  csv::Lector lector(in);
  std::vector<std::string> campos;
  ASSERT_TRUE(lector.Siguiente(campos));
  ASSERT_TRUE(lector.Siguiente(campos));
  EXPECT_EQ(campos, std::vector<std::string>{medio});
  ASSERT_TRUE(lector.Siguiente(campos));
  EXPECT_EQ(campos, std::vector<std::string>{medio});
  EXPECT_FALSE(lector.Siguiente(campos));
}

TEST(EscritorCsv, ComillasSoloDondeHacenFalta) {
  const std::pair<std::string, std::string> casos[] = {{"18.40", "18.40"},
                                                       {"18,40", "\"18,40\""},
                                                       {"a\"b", "\"a\"\"b\""},
                                                       {"a\nb", "\"a\nb\""},
                                                       {"", ""}};
  for (const auto& [campo, esperado] : casos) {
    std::string salida;
    csv::EscribirCampo(salida, campo, ',');
    EXPECT_EQ(salida, esperado);
  }
  std::string salida;
  csv::EscribirCampo(salida, "18,40", ';');
  EXPECT_EQ(salida, "18,40");
}

TEST(EsUtf8, Secuencias) {
  EXPECT_TRUE(EsUtf8("Tensión º \u202F \U0001F600"));
  for (const char* malo : {"\xff", "\xc3", "\xc0\xaf", "\xed\xa0\x80", "\xf4\x90\x80\x80", "a\x80"})
    EXPECT_FALSE(EsUtf8(malo)) << malo;
}

TEST(Barrido, ValoresYLectura) {
  std::string error;
  const auto b = lotes::LeerBarrido("Idc=1.000:2.000:5", prueba::kEspana, error);
  ASSERT_TRUE(b) << error;
  EXPECT_EQ(b->parametro->nombre, "Idc");
  EXPECT_EQ(b->Valor(0), 1000);
  EXPECT_EQ(b->Valor(1), 1250);
  EXPECT_EQ(b->Valor(4), 2000);
  const auto uno = lotes::LeerBarrido("Rdc=3:9:1", prueba::kEstadosUnidos, error);
  ASSERT_TRUE(uno);
  EXPECT_EQ(uno->Valor(0), 3);
  // The last value is exactly TO, whatever the rounding of the steps.
  const auto fino = lotes::LeerBarrido("Rdc=0.1:0.7:7", prueba::kEstadosUnidos, error);
  EXPECT_EQ(fino->Valor(6), 0.7);
  for (const char* malo : {"Idc", "Idc=1:2", "Idc=1:2:x", "Idc=1:2:0", "Foo=1:2:3", "Idc=1:2:3:4"})
    EXPECT_FALSE(lotes::LeerBarrido(malo, prueba::kEstadosUnidos, error)) << malo;
}

DatosEnlace Inicio() {
  return {500, 1, 2, 2000, 0, 3.88, 500, 1, 2, 525, 0, 3.88, 12, 550, 220, 220, 500, 500};
}

TEST(TapPara, ElAnguloResulta) {
  for (double grados : {5.0, 15.0, 18.40319, 30.0, 60.0}) {
    for (auto angulo : {lotes::Angulo::alpha, lotes::Angulo::gamma}) {
      DatosEnlace d = Inicio();
      const auto tap = lotes::TapPara(d, angulo, grados);
      ASSERT_TRUE(tap) << grados;
      (angulo == lotes::Angulo::alpha ? d.tapr : d.tapi) = *tap;
      const auto r = CalcularEnlace(d);
      EXPECT_NEAR(*(angulo == lotes::Angulo::alpha ? r.alpha : r.gamma), grados, 1e-9);
    }
  }
  // The start-up's own angle comes back at its own tap.
  const auto propio =
      lotes::TapPara(Inicio(), lotes::Angulo::alpha, *CalcularEnlace(Inicio()).alpha);
  EXPECT_NEAR(*propio, 1.0, 1e-12);
}

TEST(TapPara, SinSolucion) {
  EXPECT_FALSE(lotes::TapPara(Inicio(), lotes::Angulo::gamma, 95));  // cos < 0: negative tap
  EXPECT_FALSE(lotes::TapPara(Inicio(), lotes::Angulo::alpha, -1));
  EXPECT_FALSE(lotes::TapPara(Inicio(), lotes::Angulo::alpha, 181));
  DatosEnlace sinRelacion = Inicio();
  sinRelacion.Uacr_nom = 0;  // the converter voltage cannot be formed
  EXPECT_FALSE(lotes::TapPara(sinRelacion, lotes::Angulo::alpha, 15));
}

TEST(PosicionMasCercana, DentroYFuera) {
  const lotes::Escalones e{0.0125, 0.9, 1.1};
  EXPECT_NEAR(*lotes::PosicionMasCercana(1.01799, e), 1.0125, 1e-12);
  EXPECT_NEAR(*lotes::PosicionMasCercana(1.0195, e), 1.025, 1e-12);
  EXPECT_NEAR(*lotes::PosicionMasCercana(0.9, e), 0.9, 1e-12);
  EXPECT_NEAR(*lotes::PosicionMasCercana(1.1, e), 1.1, 1e-12);
  EXPECT_FALSE(lotes::PosicionMasCercana(1.2, e));
  EXPECT_FALSE(lotes::PosicionMasCercana(0.8, e));
  // The top of a range that is not a whole number of steps is not a position.
  EXPECT_NEAR(*lotes::PosicionMasCercana(1.0, {0.3, 0.5, 1.0}), 0.8, 1e-12);
}

}  // namespace
}  // namespace zelk
