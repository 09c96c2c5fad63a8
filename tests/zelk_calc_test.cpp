#include "calc/zelk_calc.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/regionales.h"

namespace zelk {
namespace {

struct Salida {
  int estado;
  std::string out, err;
};

Salida Ejecutar(std::vector<std::string_view> args,
                const ConfiguracionRegional& regional = prueba::kEstadosUnidos) {
  const EntornoCalc entorno{regional,
                            [](std::string_view nombre) {
                              return nombre == "es_ES" ? std::optional(prueba::kEspana)
                                                       : std::nullopt;
                            },
                            nullptr, nullptr};
  std::ostringstream out, err;
  const int estado = EjecutarCalc(args, entorno, out, err);
  return {estado, out.str(), err.str()};
}

const char* const kSalidaInicio =
    "alpha\t18.40\nmur\t7.57\ntgphir\t0.412\ngamma\t24.71\nmui\t6.14\ntgphii\t0.53\nVdcr\t549\n"
    "Iacr\t1372.27\nPr\t1098.0\nQr\t452.4\nIaci\t1372.27\nPi\t-1050.0\nQi\t555.4\n";

TEST(ZelkCalc, ValoresDelInicio) {
  const auto s = Ejecutar({});
  EXPECT_EQ(s.estado, 0);
  EXPECT_EQ(s.out, kSalidaInicio);
  EXPECT_EQ(s.err, "");
}

TEST(ZelkCalc, CamposTecleados) {
  const auto s = Ejecutar({"Rdc=12.345", "Idc=2,000", "Idc=1000"});
  EXPECT_EQ(s.estado, 0);
  EXPECT_NE(s.out.find("Vdcr\t537.345\n"), std::string::npos) << s.out;
  EXPECT_NE(s.out.find("Iacr\t686.13\n"), std::string::npos) << s.out;
}

TEST(ZelkCalc, ConfiguracionPorNombre) {
  const auto s = Ejecutar({"--locale", "es_ES", "Rdc=12,345"});
  EXPECT_EQ(s.estado, 0);
  EXPECT_NE(s.out.find("Vdcr\t549,69\n"), std::string::npos) << s.out;
  EXPECT_EQ(Ejecutar({"--locale=es_ES"}).out.substr(0, 12), "alpha\t18,40\n");
}

TEST(ZelkCalc, PasadaRechazada) {
  const auto s = Ejecutar({"Nr=dos"});
  EXPECT_EQ(s.estado, 3);
  EXPECT_EQ(s.err, "ERROR EN DATOS. Se sobreescriben con los valores por defecto.\n");
  EXPECT_EQ(s.out.substr(0, 12), "alpha\t18.26\n");
}

TEST(ZelkCalc, Ayuda) {
  const auto s = Ejecutar({"Nr=3", "--help"});
  EXPECT_EQ(s.estado, 0);
  EXPECT_EQ(s.out.rfind(kUsoCalc, 0), 0u);
  EXPECT_NE(s.out.find("Eaci_nom"), std::string::npos);
  EXPECT_EQ(s.err, "");
}

TEST(ZelkCalc, ErroresDeUso) {
  const std::vector<std::vector<std::string_view>> casos = {
      {"uacr=5"},   {"alpha=5"},           {"Nr"},
      {"=5"},       {"--verbose"},         {"-x"},
      {"--locale"}, {"--locale", "xx_YY"}, {"Nr=2", "suelto"}};
  for (const auto& args : casos) {
    const auto s = Ejecutar(args);
    EXPECT_EQ(s.estado, 2) << args[0];
    EXPECT_EQ(s.out, "") << args[0];
    EXPECT_EQ(s.err, std::string(kUsoCalc) + "\n") << args[0];
  }
}

}  // namespace
}  // namespace zelk
