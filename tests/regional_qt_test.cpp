#include "regional/regional_qt.h"

#include <gtest/gtest.h>

#include <string>

namespace zelk {
namespace {

struct CasoLocale {
  const char* nombre;
  const char* decimal;
  const char* grupo;
};

class DesdeQt : public testing::TestWithParam<CasoLocale> {};

TEST_P(DesdeQt, Separadores) {
  const auto& c = GetParam();
  const auto r = RegionalPorNombre(c.nombre);
  ASSERT_TRUE(r.has_value()) << c.nombre;
  EXPECT_EQ(r->Decimal(), c.decimal) << c.nombre;
  EXPECT_EQ(r->Grupo(), c.grupo) << c.nombre;
}

INSTANTIATE_TEST_SUITE_P(
    Locales, DesdeQt,
    testing::Values(CasoLocale{"en_US", ".", ","}, CasoLocale{"es_ES", ",", "."},
                    CasoLocale{"fr_FR", ",", "\u202F"}, CasoLocale{"de_CH", ".", "\u2019"},
                    CasoLocale{"ru_RU", ",", "\u00A0"}, CasoLocale{"de_DE", ",", "."},
                    CasoLocale{"C", ".", ","},
                    // As the environment names them: Debian's default
                    // among them.
                    CasoLocale{"C.UTF-8", ".", ","}, CasoLocale{"es_ES.UTF-8", ",", "."},
                    CasoLocale{"de_DE@euro", ",", "."},
                    CasoLocale{"es_ES.ISO-8859-15@euro", ",", "."}));

TEST(DesdeQt, LosFrancesesTecleanEspacios) {
  const auto r = *RegionalPorNombre("fr_FR");
  EXPECT_EQ(TextoANumero("2 000,5", r), 2000.5);
  EXPECT_EQ(TextoANumero("2\u202F000,5", r), 2000.5);
  EXPECT_FALSE(TextoANumero("3.88", r).has_value());
}

TEST(DesdeQt, NombreDesconocido) {
  EXPECT_FALSE(RegionalPorNombre("xx_YY").has_value());
  EXPECT_FALSE(RegionalPorNombre("").has_value());
  EXPECT_FALSE(RegionalPorNombre(".UTF-8").has_value());
  EXPECT_FALSE(RegionalPorNombre("garbage").has_value());
  EXPECT_TRUE(RegionalPorNombre("POSIX").has_value());
}

}  // namespace
}  // namespace zelk
