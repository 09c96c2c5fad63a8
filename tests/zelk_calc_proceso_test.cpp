// zelk-calc run as a process, its regional settings taken from the environment.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/casos.h"
#include "tests/proceso.h"

namespace zelk {
namespace {

using prueba::Ejecutar;

const std::string kZelkCalc = ZELK_CALC;

std::string Linea(const std::string& salida, const std::string& nombre) {
  const auto i = salida.find(nombre + "\t");
  if (i == std::string::npos)
    return "";
  const auto fin = salida.find('\n', i);
  return salida.substr(i + nombre.size() + 1, fin - i - nombre.size() - 1);
}

struct CasoEntorno {
  const char* nombre;
  std::vector<std::string> entorno;
  const char* alpha;
};

class Entorno : public testing::TestWithParam<CasoEntorno> {};

TEST_P(Entorno, SeparadorDecimal) {
  const auto p = Ejecutar(kZelkCalc, {}, GetParam().entorno);
  EXPECT_EQ(p.estado, 0) << p.err;
  EXPECT_EQ(p.err, "");
  EXPECT_EQ(Linea(p.out, "alpha"), GetParam().alpha);
  EXPECT_EQ(Linea(p.out, "Vdcr"), "549");
}

INSTANTIATE_TEST_SUITE_P(
    Variables, Entorno,
    testing::Values(
        CasoEntorno{"SinVariables", {}, "18.40"},
        CasoEntorno{"LangIngles", {"LANG=en_US.UTF-8"}, "18.40"},
        CasoEntorno{"LangEspanol", {"LANG=es_ES.UTF-8"}, "18,40"},
        CasoEntorno{"LangFrances", {"LANG=fr_FR.UTF-8"}, "18,40"},
        CasoEntorno{"LangSuizo", {"LANG=de_CH.UTF-8"}, "18.40"},
        CasoEntorno{"NumericManda", {"LANG=en_US.UTF-8", "LC_NUMERIC=es_ES.UTF-8"}, "18,40"},
        CasoEntorno{"AllManda", {"LC_ALL=en_US.UTF-8", "LC_NUMERIC=es_ES.UTF-8"}, "18.40"},
        CasoEntorno{"AllEspanol", {"LANG=en_US.UTF-8", "LC_ALL=es_ES.UTF-8"}, "18,40"}),
    prueba::PorNombre());

TEST(ZelkCalcProceso, SalidaCompleta) {
  const auto p = Ejecutar(kZelkCalc, {"Idc=1000"}, {"LANG=C.UTF-8"});
  EXPECT_EQ(p.estado, 0);
  EXPECT_EQ(p.out,
            "alpha\t23.62\nmur\t3.34\ntgphir\t0.473\ngamma\t26.36\nmui\t3.06\ntgphii\t0.53\n"
            "Vdcr\t537\nIacr\t686.13\nPr\t537.0\nQr\t254.2\nIaci\t686.13\nPi\t-525.0\n"
            "Qi\t278.2\n");
}

TEST(ZelkCalcProceso, LocaleSobreElEntorno) {
  const auto p = Ejecutar(kZelkCalc, {"--locale", "es_ES", "Idc=1.000"}, {"LANG=en_US.UTF-8"});
  EXPECT_EQ(p.estado, 0);
  EXPECT_EQ(Linea(p.out, "Iacr"), "686,13");
}

TEST(ZelkCalcProceso, FrancesConEspacios) {
  const auto p = Ejecutar(kZelkCalc, {"Idc=1 000", "Rdc=12,345"}, {"LANG=fr_FR.UTF-8"});
  EXPECT_EQ(p.estado, 0) << p.err;
  EXPECT_EQ(Linea(p.out, "Vdcr"), "537,345");
  EXPECT_EQ(Linea(p.out, "Iacr"), "686,13");
}

TEST(ZelkCalcProceso, EstadosDeSalida) {
  const auto rechazo = Ejecutar(kZelkCalc, {"tapr=0"}, {});
  EXPECT_EQ(rechazo.estado, 3);
  EXPECT_EQ(rechazo.err,
            "ERROR EN DATOS. Se sobreescriben con los valores por defecto.\n"
            "zelk-calc: «tapr» = «0» no puede valer 0\n");
  EXPECT_EQ(Linea(rechazo.out, "alpha"), "18.26");

  const auto uso = Ejecutar(kZelkCalc, {"Nada=1"}, {});
  EXPECT_EQ(uso.estado, 2);
  EXPECT_EQ(uso.out, "");
  EXPECT_EQ(uso.err,
            "zelk-calc: no hay ningún dato «Nada»\n"
            "uso: zelk-calc [--locale NOMBRE] [NOMBRE=TEXTO]...\n");

  const auto desconocida = Ejecutar(kZelkCalc, {"--bogus"}, {});
  EXPECT_EQ(desconocida.estado, 2);
  EXPECT_EQ(desconocida.err,
            "zelk-calc: opción desconocida: --bogus\n"
            "uso: zelk-calc [--locale NOMBRE] [NOMBRE=TEXTO]...\n");

  const auto version = Ejecutar(kZelkCalc, {"--version"}, {});
  EXPECT_EQ(version.estado, 0);
  EXPECT_TRUE(version.out.starts_with("zelk-calc 1.2\n")) << version.out;
  EXPECT_NE(version.out.find("\nLicencia GPLv3+:"), std::string::npos) << version.out;
  EXPECT_EQ(version.err, "");

  const auto ayuda = Ejecutar(kZelkCalc, {"--help"}, {});
  EXPECT_EQ(ayuda.estado, 0);
  EXPECT_EQ(ayuda.out.rfind("uso: zelk-calc", 0), 0u);
}

// The help shows the start-up texts as the window writes them under the user's settings.
TEST(ZelkCalcProceso, AyudaSegunLaConfiguracion) {
  const auto espanol = Ejecutar(kZelkCalc, {"--help"}, {"LANG=es_ES.UTF-8"});
  EXPECT_EQ(espanol.estado, 0);
  EXPECT_NE(espanol.out.find("Xcr       Xcr [ohm/fase]  (inicio: 3,88)"), std::string::npos)
      << espanol.out;
  // help2man runs it so, for the man page.
  const auto c = Ejecutar(kZelkCalc, {"--help"}, {"LANG=C.UTF-8"});
  EXPECT_NE(c.out.find("(inicio: 3.88)"), std::string::npos) << c.out;
}

// Debian's default locale is a name as the environment gives it.
TEST(ZelkCalcProceso, LocaleComoLoDaElEntorno) {
  for (const std::string nombre : {"C.UTF-8", "es_ES.UTF-8", "es_ES@euro"}) {
    const auto p = Ejecutar(kZelkCalc, {"--locale", nombre, "Idc=1000"}, {});
    EXPECT_EQ(p.estado, 0) << nombre << ": " << p.err;
    EXPECT_EQ(Linea(p.out, "Vdcr"), "537") << nombre;
  }
}

// With the C library's locale really set to Spanish (a comma in printf and strtod), every number
// still comes out as the window shows it.
TEST(ZelkCalcProceso, LocaleEspanolDeLaBibliotecaC) {
  const std::string locpath = ZELK_LOCPATH;
  setenv("LOCPATH", locpath.c_str(), 1);
  ASSERT_NE(std::setlocale(LC_ALL, "es_ES.UTF-8"), nullptr)
      << "no generated es_ES.UTF-8 locale in " << locpath;
  char buf[16];
  std::snprintf(buf, sizeof buf, "%.1f", 1.5);
  const std::string conComa = buf;
  std::setlocale(LC_ALL, "C");
  unsetenv("LOCPATH");
  ASSERT_EQ(conComa, "1,5");

  const auto p = Ejecutar(kZelkCalc, {"Rdc=12,345", "Idc=2.000"},
                          {"LOCPATH=" + locpath, "LC_ALL=es_ES.UTF-8"});
  EXPECT_EQ(p.estado, 0) << p.err;
  EXPECT_EQ(p.out,
            "alpha\t18,19\nmur\t7,63\ntgphir\t0,408\ngamma\t24,71\nmui\t6,14\ntgphii\t0,53\n"
            "Vdcr\t549,69\nIacr\t1372,27\nPr\t1099,4\nQr\t449,0\nIaci\t1372,27\nPi\t-1050,0\n"
            "Qi\t555,4\n");
}

}  // namespace
}  // namespace zelk
