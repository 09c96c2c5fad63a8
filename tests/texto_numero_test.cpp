#include "engine/texto_numero.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "tests/casos.h"
#include "tests/regionales.h"

namespace zelk {
namespace {

using prueba::kEspana;
using prueba::kEstadosUnidos;
using prueba::kFrancia;
using prueba::kSuiza;

struct CasoLectura {
  const char* nombre;
  const ConfiguracionRegional* regional;
  std::string texto;
  std::optional<double> esperado;
};

const std::optional<double> kNoNumero;

class Lectura : public testing::TestWithParam<CasoLectura> {};

TEST_P(Lectura, ConvierteYLaPruebaNumericaCoincide) {
  const auto& c = GetParam();
  const auto valor = TextoANumero(c.texto, *c.regional);
  ASSERT_EQ(valor.has_value(), c.esperado.has_value()) << "'" << c.texto << "'";
  if (valor) {
    EXPECT_EQ(*valor, *c.esperado) << "'" << c.texto << "'";
    EXPECT_EQ(std::signbit(*valor), std::signbit(*c.esperado)) << "'" << c.texto << "'";
  }
  EXPECT_EQ(EsNumerico(c.texto, *c.regional), c.esperado.has_value());
}

INSTANTIATE_TEST_SUITE_P(
    EstadosUnidos, Lectura,
    testing::Values(
        CasoLectura{"PuntoDecimal", &kEstadosUnidos, "3.88", 3.88},
        CasoLectura{"ComaEsGrupo", &kEstadosUnidos, "3,88", 388},
        CasoLectura{"Miles", &kEstadosUnidos, "1,234.5", 1234.5},
        CasoLectura{"GruposLibres", &kEstadosUnidos, "1,2,3", 123},
        CasoLectura{"GruposSeguidos", &kEstadosUnidos, "1,,2", 12},
        CasoLectura{"Blancos", &kEstadosUnidos, "  12  ", 12},
        CasoLectura{"Tabuladores", &kEstadosUnidos, "\t3\t", 3},
        CasoLectura{"Negativo", &kEstadosUnidos, "-2", -2},
        CasoLectura{"MenosCero", &kEstadosUnidos, "-0", -0.0},
        CasoLectura{"Positivo", &kEstadosUnidos, "+7", 7},
        CasoLectura{"Exponente", &kEstadosUnidos, "1E3", 1000},
        CasoLectura{"ExponenteNegativo", &kEstadosUnidos, "2.5e-1", 0.25},
        CasoLectura{"ExponenteConSigno", &kEstadosUnidos, "2.5E+2", 250},
        CasoLectura{"SinEnteros", &kEstadosUnidos, ".5", 0.5},
        CasoLectura{"SinDecimales", &kEstadosUnidos, "5.", 5},
        CasoLectura{"CerosDelante", &kEstadosUnidos, "0007", 7},
        CasoLectura{"RedondeoAlMasCercano", &kEstadosUnidos, "0.1000000000000000055511151231257827",
                    0.1},
        CasoLectura{"Vacio", &kEstadosUnidos, "", kNoNumero},
        CasoLectura{"SoloBlancos", &kEstadosUnidos, "   ", kNoNumero},
        CasoLectura{"Letras", &kEstadosUnidos, "abc", kNoNumero},
        CasoLectura{"SignoSolo", &kEstadosUnidos, "-", kNoNumero},
        CasoLectura{"DosDecimales", &kEstadosUnidos, "1.2.3", kNoNumero},
        CasoLectura{"LetrasDetras", &kEstadosUnidos, "12abc", kNoNumero},
        CasoLectura{"PuntoSolo", &kEstadosUnidos, ".", kNoNumero},
        CasoLectura{"ExponenteVacio", &kEstadosUnidos, "1e", kNoNumero},
        CasoLectura{"ExponenteSoloSigno", &kEstadosUnidos, "1e+", kNoNumero},
        CasoLectura{"SoloExponente", &kEstadosUnidos, "e5", kNoNumero},
        CasoLectura{"DosSignos", &kEstadosUnidos, "+-2", kNoNumero},
        CasoLectura{"BlancoTrasSigno", &kEstadosUnidos, "- 2", kNoNumero},
        CasoLectura{"BlancoEnMedio", &kEstadosUnidos, "1 234", kNoNumero},
        CasoLectura{"GrupoDelante", &kEstadosUnidos, ",5", kNoNumero},
        CasoLectura{"GrupoDetras", &kEstadosUnidos, "1,", kNoNumero},
        CasoLectura{"GrupoAnteDecimal", &kEstadosUnidos, "1,.5", kNoNumero},
        CasoLectura{"GrupoTrasDecimal", &kEstadosUnidos, "1.5,0", kNoNumero},
        CasoLectura{"Hexadecimal", &kEstadosUnidos, "&H10", kNoNumero},
        CasoLectura{"ExponenteD", &kEstadosUnidos, "1D3", kNoNumero},
        CasoLectura{"Infinito", &kEstadosUnidos, "inf", kNoNumero},
        CasoLectura{"NaN", &kEstadosUnidos, "nan", kNoNumero},
        CasoLectura{"DigitosAnchos", &kEstadosUnidos, "\uFF11\uFF12", kNoNumero},
        CasoLectura{"NulEnMedio", &kEstadosUnidos,
                    std::string("1\0"
                                "2",
                                3),
                    kNoNumero},
        CasoLectura{"Desborda", &kEstadosUnidos, "1E400", kNoNumero},
        CasoLectura{"DesbordaNegativo", &kEstadosUnidos, "-1e309", kNoNumero},
        CasoLectura{"ExponenteEnorme", &kEstadosUnidos, "1e99999999999999999999", kNoNumero},
        CasoLectura{"MaximoDoble", &kEstadosUnidos, "1.7976931348623157e308",
                    std::numeric_limits<double>::max()},
        CasoLectura{"Subnormal", &kEstadosUnidos, "5e-324",
                    std::numeric_limits<double>::denorm_min()},
        CasoLectura{"DemasiadoPequeno", &kEstadosUnidos, "1e-400", 0.0},
        CasoLectura{"DemasiadoPequenoNegativo", &kEstadosUnidos, "-1e-99999999999", -0.0},
        CasoLectura{"CeroConExponenteEnorme", &kEstadosUnidos, "0e999999999999", 0.0},
        CasoLectura{"MuchosDigitos", &kEstadosUnidos, "1" + std::string(300, '0'), 1e300},
        CasoLectura{"MuchosDigitosDesborda", &kEstadosUnidos, "1" + std::string(400, '0'),
                    kNoNumero},
        CasoLectura{"CerosYExponente", &kEstadosUnidos, "0." + std::string(500, '0') + "1e500",
                    0.1}),
    prueba::PorNombre());

INSTANTIATE_TEST_SUITE_P(Espana, Lectura,
                         testing::Values(CasoLectura{"PuntoEsGrupo", &kEspana, "3.88", 388},
                                         CasoLectura{"ComaDecimal", &kEspana, "3,88", 3.88},
                                         CasoLectura{"Miles", &kEspana, "1.234,5", 1234.5},
                                         CasoLectura{"Millones", &kEspana, "1.234.567", 1234567},
                                         CasoLectura{"DosComas", &kEspana, "1,2,3", kNoNumero},
                                         CasoLectura{"Exponente", &kEspana, "2,5E-1", 0.25}),
                         prueba::PorNombre());

INSTANTIATE_TEST_SUITE_P(
    Francia, Lectura,
    testing::Values(CasoLectura{"EspacioFinoEstrecho", &kFrancia, "1\u202F234,5", 1234.5},
                    CasoLectura{"EspacioFijo", &kFrancia, "1\u00A0234,5", 1234.5},
                    CasoLectura{"EspacioDelTeclado", &kFrancia, "1 234,5", 1234.5},
                    CasoLectura{"ComaDecimal", &kFrancia, "3,88", 3.88},
                    CasoLectura{"PuntoNoEsNada", &kFrancia, "3.88", kNoNumero},
                    CasoLectura{"EspacioDetrasSeRecorta", &kFrancia, "12 ", 12},
                    CasoLectura{"EspacioFijoDetras", &kFrancia, "12\u00A0", kNoNumero}),
    prueba::PorNombre());

INSTANTIATE_TEST_SUITE_P(
    Suiza, Lectura,
    testing::Values(CasoLectura{"ApostrofoTipografico", &kSuiza, "1\u2019234.5", 1234.5},
                    CasoLectura{"ApostrofoDelTeclado", &kSuiza, "1'234.5", 1234.5},
                    CasoLectura{"PuntoDecimal", &kSuiza, "3.88", 3.88},
                    CasoLectura{"ComaNoEsNada", &kSuiza, "3,88", kNoNumero}),
    prueba::PorNombre());

// A spreadsheet's number: groups of three digits or none, and none beside an exponent (an English
// spreadsheet's "2.500E+03" is 2500, not 2.5 million under a decimal comma); whatever else the
// field conversion reads through a misplaced group separator is not one.
TEST(NumeroDeHoja, GruposDeTresCifras) {
  struct Caso {
    const ConfiguracionRegional* r;
    std::string texto;
    std::optional<double> esperado;
  };
  const Caso casos[] = {
      {&kEspana, "1.000,5", 1000.5},         {&kEspana, "-12.345.678", -12345678},
      {&kEspana, "1000,5", 1000.5},          {&kEspana, " 100.000 ", 100000},
      {&kEspana, "1000.5", kNoNumero},       {&kEspana, "3.88", kNoNumero},
      {&kEspana, "1.0000", kNoNumero},       {&kEspana, "1234.567", kNoNumero},
      {&kEstadosUnidos, "1,000.5", 1000.5},  {&kEstadosUnidos, "1000,5", kNoNumero},
      {&kEstadosUnidos, "1,2,3", kNoNumero}, {&kEstadosUnidos, "12,5E3", kNoNumero},
      {&kEstadosUnidos, "2.5e-1", 0.25},     {&kEstadosUnidos, "abc", kNoNumero},
      {&kSuiza, "1'000.5", 1000.5},          {&kSuiza, "1’000’000", 1e6},
      {&kFrancia, "1 000,5", 1000.5},        {&kFrancia, "10 00,5", kNoNumero},
      {&kEspana, "2.500E+03", kNoNumero},    {&kEspana, "2,5E+03", 2500},
      {&kSuiza, "1'000E3", kNoNumero},       {&kFrancia, "1 000E3", kNoNumero},
  };
  for (const auto& c : casos) {
    EXPECT_EQ(NumeroDeHoja(c.texto, *c.r), c.esperado) << c.texto;
    EXPECT_EQ(GrupoMalPuesto(c.texto, *c.r), !c.esperado && EsNumerico(c.texto, *c.r)) << c.texto;
  }
}

// Read from a block with a margin, every text gives the same as NumeroDeHoja, to the bit: chosen
// edges, then short texts drawn from the bytes that matter, each followed by other bytes.
TEST(NumeroDeHoja, ConMargenLoMismo) {
  std::vector<std::string> textos = {"",         ".",        ",",         "5.",      ".5",
                                     "0",        "00000000", "99999999",  "1.2.3",   "1234567.",
                                     ".1234567", "12345678", "123456789", "1.000,5", "-5",
                                     "5-",       "1e3",      " 5",        "\xC3\xB1"};
  std::mt19937 azar(7);
  const std::string alfabeto = "0123456789.,-e \xC3/:";
  for (int i = 0; i < 20000; ++i) {
    std::string t(azar() % 9, ' ');
    for (auto& c : t)
      c = alfabeto[azar() % alfabeto.size()];
    textos.push_back(t);
  }
  for (const auto* r : {&kEspana, &kEstadosUnidos}) {
    for (const auto& t : textos) {
      const std::string bloque = t + "9.,9" + std::string(kMargenDeLectura, '7');
      double v = -1;
      const bool leido = NumeroDeHojaConMargen(std::string_view(bloque).substr(0, t.size()), *r, v);
      const auto esperado = NumeroDeHoja(t, *r);
      ASSERT_EQ(leido, esperado.has_value()) << t;
      EXPECT_EQ(std::bit_cast<std::uint64_t>(v), std::bit_cast<std::uint64_t>(esperado.value_or(0)))
          << t;
    }
  }
}

TEST(ConfiguracionRegional, SeparadoresQueSeConfundenConElNumero) {
  EXPECT_EQ(ConfiguracionRegional("", ",").Decimal(), ".");
  EXPECT_EQ(ConfiguracionRegional("5", ",").Decimal(), ".");
  EXPECT_EQ(ConfiguracionRegional(" ", ",").Decimal(), ".");
  EXPECT_EQ(ConfiguracionRegional(",", ",").Grupo(), "");
  EXPECT_EQ(ConfiguracionRegional(".", "e").Grupo(), "");
  EXPECT_EQ(ConfiguracionRegional(".", "").Grupo(), "");
  // A G that begins D or that D begins would turn a decimal into a group (found by fuzzing).
  EXPECT_EQ(ConfiguracionRegional("\xff\xff\xff", "\xff").Grupo(), "");
  EXPECT_EQ(ConfiguracionRegional(",", ",,").Grupo(), "");
  EXPECT_EQ(ConfiguracionRegional("\u00A0", " ").Grupo(), "");  // the spaces go together
  EXPECT_EQ(ConfiguracionRegional("'", "\u2019").Grupo(), "");  // so do the apostrophes
  EXPECT_EQ(ConfiguracionRegional(",", "\u202F").Grupo(), "\u202F");
  // Separators that are not UTF-8 would make the displayed texts unreadable (found by fuzzing).
  EXPECT_EQ(ConfiguracionRegional("\xab", ",").Decimal(), ".");
  EXPECT_EQ(ConfiguracionRegional(",", "\xc3").Grupo(), "");
  const ConfiguracionRegional solapados("\xff\xff\xff", "\xff");
  EXPECT_EQ(TextoANumero(NumeroATexto(0.4, solapados), solapados), 0.4);
  // A multi-byte decimal separator works like any other.
  const ConfiguracionRegional arabe("\u066B", "\u066C");
  EXPECT_EQ(TextoANumero("1\u066C234\u066B5", arabe), 1234.5);
  EXPECT_EQ(NumeroConPatron(0.5, kPatronDosDec, arabe), "0\u066B50");
  // One longer than the direct writer takes goes the general way, to the same text.
  const std::string sep = "\u066B\u066B\u066B\u066B\u066B\u066B\u066B\u066B\u066B";
  const ConfiguracionRegional largo(sep, ",");
  ASSERT_EQ(largo.Decimal(), sep);
  EXPECT_EQ(NumeroConPatron(-1234.5, kPatronDosDec, largo), "-1234" + sep + "50");
}

struct CasoPatron {
  double valor;
  const Patron* patron;
  const char* esperado;
};

class Patrones : public testing::TestWithParam<CasoPatron> {};

TEST_P(Patrones, Muestra) {
  const auto& c = GetParam();
  EXPECT_EQ(NumeroConPatron(c.valor, *c.patron, kEstadosUnidos), c.esperado)
      << c.valor << " " << c.patron->texto;
}

INSTANTIATE_TEST_SUITE_P(
    EstadosUnidos, Patrones,
    testing::Values(
        CasoPatron{0.125, &kPatronAngulo, "0.13"}, CasoPatron{2.675, &kPatronAngulo, "2.68"},
        CasoPatron{1234.5678, &kPatronAngulo, "1234.57"}, CasoPatron{0.5, &kPatronAngulo, "0.50"},
        CasoPatron{-1.234, &kPatronAngulo, "-1.23"}, CasoPatron{999.995, &kPatronAngulo, "1000.00"},
        CasoPatron{9.995, &kPatronAnguloInv, "10.00"}, CasoPatron{0.005, &kPatronDosDec, "0.01"},
        CasoPatron{0.0049999, &kPatronDosDec, "0.00"}, CasoPatron{0.25, &kPatronPotencia, "0.3"},
        CasoPatron{-0.25, &kPatronPotencia, "-0.3"},
        CasoPatron{1.5e20, &kPatronPotencia, "150000000000000000000.0"},
        CasoPatron{0.1, &kPatronTresDec, "0.100"}, CasoPatron{3, &kPatronTresDec, "3.000"},
        CasoPatron{0, &kPatronPotencia, "0.0"}, CasoPatron{-0.0, &kPatronPotencia, "0.0"},
        CasoPatron{-0.001, &kPatronAngulo, "0.00"}, CasoPatron{-0.04, &kPatronPotencia, "0.0"},
        CasoPatron{-0.05, &kPatronPotencia, "-0.1"}, CasoPatron{1e-300, &kPatronAngulo, "0.00"},
        CasoPatron{5e-324, &kPatronTresDec, "0.000"},
        CasoPatron{123456789012345678.0, &kPatronDosDec, "123456789012346000.00"},
        CasoPatron{99.99999999999999, &kPatronPotencia, "100.0"},
        CasoPatron{-1050, &kPatronPotencia, "-1050.0"},
        CasoPatron{std::numeric_limits<double>::infinity(), &kPatronAngulo, "ERROR"},
        CasoPatron{-std::numeric_limits<double>::infinity(), &kPatronAngulo, "ERROR"},
        CasoPatron{std::numeric_limits<double>::quiet_NaN(), &kPatronAngulo, "ERROR"}));

TEST(Patrones, MayorDobleSinExponente) {
  const auto texto =
      NumeroConPatron(std::numeric_limits<double>::max(), kPatronPotencia, kEstadosUnidos);
  EXPECT_EQ(texto, "179769313486232" + std::string(294, '0') + ".0");
}

TEST(Patrones, SeparadorDecimalRegional) {
  EXPECT_EQ(NumeroConPatron(12.5, kPatronAngulo, kEspana), "12,50");
  EXPECT_EQ(NumeroConPatron(-1050, kPatronPotencia, kFrancia), "-1050,0");
  EXPECT_EQ(NumeroConPatron(1234.5, kPatronPotencia, kSuiza), "1234.5");
}

struct CasoGeneral {
  double valor;
  const char* esperado;
};

class FormaGeneral : public testing::TestWithParam<CasoGeneral> {};

TEST_P(FormaGeneral, Muestra) {
  EXPECT_EQ(NumeroATexto(GetParam().valor, kEstadosUnidos), GetParam().esperado);
}

INSTANTIATE_TEST_SUITE_P(
    EstadosUnidos, FormaGeneral,
    testing::Values(CasoGeneral{500, "500"}, CasoGeneral{0.5, "0.5"},
                    CasoGeneral{1.0 / 3.0, "0.333333333333333"},
                    CasoGeneral{522.79545621951234, "522.795456219512"},
                    CasoGeneral{0.0001, "0.0001"}, CasoGeneral{0.00001, "1E-05"},
                    CasoGeneral{1e15, "1E+15"}, CasoGeneral{123456789012345.0, "123456789012345"},
                    CasoGeneral{999999999999999.9, "1E+15"}, CasoGeneral{549.69, "549.69"},
                    CasoGeneral{0, "0"}, CasoGeneral{-0.0, "0"}, CasoGeneral{-2.5, "-2.5"},
                    CasoGeneral{-576, "-576"}, CasoGeneral{1.5e-7, "1.5E-07"},
                    CasoGeneral{1.2e304, "1.2E+304"}, CasoGeneral{0.000123456, "0.000123456"},
                    CasoGeneral{5e-324, "4.94065645841247E-324"},
                    CasoGeneral{std::numeric_limits<double>::max(), "1.79769313486232E+308"},
                    CasoGeneral{std::numeric_limits<double>::quiet_NaN(), "ERROR"},
                    CasoGeneral{std::numeric_limits<double>::infinity(), "ERROR"}));

TEST(FormaGeneral, SeparadorDecimalRegional) {
  EXPECT_EQ(NumeroATexto(0.5, kEspana), "0,5");
  EXPECT_EQ(NumeroATexto(1.5e20, kEspana), "1,5E+20");
  EXPECT_EQ(NumeroATexto(1e-5, kFrancia), "1E-05");
}

// What the general form writes reads back as the value rounded to 15 significant digits.
TEST(FormaGeneral, SeLeeDeNuevo) {
  std::mt19937_64 azar(20261207);
  std::uniform_int_distribution<std::uint64_t> bits;
  for (const auto* r : {&kEstadosUnidos, &kEspana, &kFrancia, &kSuiza}) {
    for (int i = 0; i < 5000; ++i) {
      const double x = std::bit_cast<double>(bits(azar));
      if (!std::isfinite(x))
        continue;
      char buf[40];
      const auto fin = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific, 14);
      double redondeado = 0;
      std::from_chars(buf, fin.ptr, redondeado);
      const auto texto = NumeroATexto(x, *r);
      const auto leido = TextoANumero(texto, *r);
      ASSERT_TRUE(leido.has_value()) << texto;
      EXPECT_EQ(*leido, redondeado) << texto;
    }
  }
  // Values whose shortest digits are 16 ending in 5, and ordinary magnitudes.
  std::uniform_real_distribution<double> exponente(-10, 40);
  for (int i = 0; i < 20000; ++i) {
    const double x = std::pow(10.0, exponente(azar)) * (i % 2 ? 1.0 : -1.0);
    char buf[40];
    const auto fin = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific, 14);
    double redondeado = 0;
    std::from_chars(buf, fin.ptr, redondeado);
    const auto texto = NumeroATexto(x, kEstadosUnidos);
    ASSERT_EQ(TextoANumero(texto, kEstadosUnidos), redondeado) << texto;
  }
}

TEST(Resultado, MarcaDondeNoHayValor) {
  const auto& alpha = kResultados[0];
  EXPECT_EQ(TextoResultado(std::nullopt, alpha, kEstadosUnidos), "ERROR");
  EXPECT_EQ(TextoResultado(18.4, alpha, kEspana), "18,40");
  const auto* vdcr = BuscarResultado("Vdcr");
  ASSERT_NE(vdcr, nullptr);
  EXPECT_EQ(TextoResultado(549.69, *vdcr, kEspana), "549,69");
}

}  // namespace
}  // namespace zelk

namespace zelk {
namespace {

// The display written the slow, plain way: the exact value's 15 digits from to_chars, then
// rounding on the digit string.
std::string PatronDeReferencia(double valor, int n) {
  char buf[40] = {};
  std::to_chars(buf, buf + sizeof buf, std::fabs(valor), std::chars_format::scientific, 14);
  std::string digitos = std::string(1, buf[0]) + std::string(buf + 2, 14);
  const int e = std::atoi(buf + 17);
  // Digits at positions 10^max(e,0) .. 10^-(n+1), one '0' in front for a carry.
  const int alto = std::max(e, 0);
  std::string cifras = "0";
  for (int puesto = alto; puesto >= -n - 1; --puesto) {
    const int i = e - puesto;
    cifras += (i >= 0 && i < 15) ? digitos[static_cast<std::size_t>(i)] : '0';
  }
  const bool arriba = cifras.back() >= '5';
  cifras.pop_back();
  if (arriba) {
    for (auto i = cifras.size(); i-- > 0;) {
      if (cifras[i] == '9') {
        cifras[i] = '0';
      } else {
        ++cifras[i];
        break;
      }
    }
  }
  std::string entero = cifras.substr(0, cifras.size() - static_cast<std::size_t>(n));
  entero.erase(0, std::min(entero.find_first_not_of('0'), entero.size() - 1));
  const std::string texto =
      entero + (n > 0 ? "." + cifras.substr(cifras.size() - static_cast<std::size_t>(n)) : "");
  const bool cero = texto.find_first_not_of("0.") == std::string::npos;
  return (std::signbit(valor) && !cero ? "-" : "") + texto;
}

TEST(Patrones, CoincidenConLaReferencia) {
  std::mt19937_64 azar(7);
  std::uniform_real_distribution<double> exponente(-12, 40);
  std::uniform_int_distribution<std::uint64_t> mantisa(100'000'000'000'000, 999'999'999'999'999);
  const Patron* patrones[] = {&kPatronAngulo, &kPatronTresDec, &kPatronPotencia};
  for (int i = 0; i < 60000; ++i) {
    double x = 0;
    if (i % 2 == 0) {
      x = std::pow(10.0, exponente(azar));
    } else {
      // 16 digits ending in 5: the ties of the 15-digit rounding, and their neighbours.
      char buf[48];
      const int e = static_cast<int>(exponente(azar));
      std::snprintf(buf, sizeof buf, "%llu5e%d", static_cast<unsigned long long>(mantisa(azar)),
                    e - 15);
      std::from_chars(buf, buf + std::strlen(buf), x);
      x = std::nextafter(x, (i % 3 == 0) ? 0.0 : (i % 3 == 1) ? 1e300 : x);
    }
    if (i % 5 == 0)
      x = -x;
    for (const Patron* p : patrones) {
      ASSERT_EQ(NumeroConPatron(x, *p, kEstadosUnidos), PatronDeReferencia(x, p->decimales))
          << std::hexfloat << x << " " << p->texto;
    }
  }
}

}  // namespace
}  // namespace zelk
