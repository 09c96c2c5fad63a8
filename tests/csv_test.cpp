// The CSV reader and writer, and the pieces of batch work that are not a pass: sweeps' values,
// curves thinned for a plot, the tap for an angle and the nearest tap position, the columns of a
// batch.
#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <limits>
#include <random>
#include <sstream>
#include <system_error>

#include "archivos/archivos.h"
#include "engine/calculo.h"
#include "lote/csv.h"
#include "lote/lotes.h"
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
        CasoLector{"Utf8", "a\n1\u202F000\n", {{"a"}, {"1\u202F000"}}},
        // Old spreadsheets end lines in a lone carriage return.
        CasoLector{"FinDeLineaCr", "a,b\r1,2\r3,4", {{"a", "b"}, {"1", "2"}, {"3", "4"}}},
        CasoLector{
            "FinesDeLineaMezclados", "a\r\n1\r2\n3\n\r4", {{"a"}, {"1"}, {"2"}, {"3"}, {"4"}}},
        CasoLector{"SaltoCrDentroDeComillas", "a\r\"uno\rdos\"\r", {{"a"}, {"uno\ndos"}}},
        // "CSV UTF-8" of spreadsheets begins with a byte-order mark; only there is it one.
        CasoLector{"MarcaDeOrden", "\xEF\xBB\xBFIdc,Rdc\n1,2\n", {{"Idc", "Rdc"}, {"1", "2"}}},
        CasoLector{"MarcaDeOrdenSola", "\xEF\xBB\xBF", {}},
        CasoLector{"MarcaDeOrdenLuegoNo",
                   "a\n\xEF\xBB\xBF"
                   "1\n",
                   {{"a"},
                    {"\xEF\xBB\xBF"
                     "1"}}}),
    prueba::PorNombre());

// Lines without quotes are split eight bytes at a time: separators at every place of a word, and
// bytes that only differ from one in their high bit, split as one byte at a time would.
TEST(LectorCsv, SeparadoresEnCualquierSitio) {
  std::mt19937 azar(7);
  // "-" and ":" differ from "," and ";" in the lowest bit; ñ, ¬ and » hold bytes of 0x80 and up.
  const std::string letras[] = {"a", "1", "-", ":", "\u00f1", "\u00ac", "\u00bb"};
  for (const char sep : {',', ';', '\t'}) {
    std::string texto;
    std::vector<std::vector<std::string>> esperados;
    for (int linea = 0; linea < 300; ++linea) {
      std::vector<std::string> campos(1 + azar() % 30);
      for (auto& c : campos)
        for (std::size_t n = azar() % 12; n > 0; --n)
          c += letras[azar() % std::size(letras)];
      if (campos.size() == 1 && campos[0].empty())
        campos[0] = "a";  // an empty line is skipped
      for (std::size_t i = 0; i < campos.size(); ++i)
        texto += (i ? std::string(1, sep) : "") + campos[i];
      texto += '\n';
      esperados.push_back(campos);
    }
    std::istringstream in(texto);
    csv::Lector lector(in, sep);
    std::vector<std::vector<std::string>> leidos;
    for (std::vector<std::string> campos; lector.Siguiente(campos);)
      leidos.push_back(campos);
    EXPECT_EQ(leidos, esperados) << "separador " << int(sep);
  }
}

// A header without separator leaves the choice to the caller: ";" under a decimal comma.
TEST(LectorCsv, SeparadorPorDefectoConUnaColumna) {
  const std::pair<std::string, std::vector<std::vector<std::string>>> casos[] = {
      {"Rdc\n10,5\n", {{"Rdc"}, {"10,5"}}},
      {"Rdc;Idc\n10,5;1\n", {{"Rdc", "Idc"}, {"10,5", "1"}}},
      {"Rdc,Idc\n10;1\n", {{"Rdc", "Idc"}, {"10;1"}}}};
  for (const auto& [texto, registros] : casos) {
    std::istringstream in(texto);
    csv::Lector lector(in, std::nullopt, ';');
    std::vector<std::vector<std::string>> leidos;
    for (std::vector<std::string> campos; lector.Siguiente(campos);)
      leidos.push_back(campos);
    EXPECT_EQ(leidos, registros) << texto;
  }
}

// A stream buffer that gives some bytes, then fails as a file buffer does on a read error.
class BufferQueFalla : public std::streambuf {
 public:
  explicit BufferQueFalla(std::string antes) : antes_(std::move(antes)) {
    setg(antes_.data(), antes_.data(), antes_.data() + antes_.size());
  }

 protected:
  int_type underflow() override {
    throw std::ios_base::failure("lectura", std::error_code(EIO, std::generic_category()));
  }

 private:
  std::string antes_;
};

TEST(LectorCsv, ErrorDeLecturaNoEsElFinal) {
  for (const std::string antes : {"", "Idc\n", "Idc\n1000\n10"}) {
    BufferQueFalla buffer(antes);
    std::istream in(&buffer);
    csv::Lector lector(in);
    std::vector<std::string> campos;
    try {
      while (lector.Siguiente(campos)) {
      }
      FAIL() << "a failed read taken for the end: «" << antes << "»";
    } catch (const archivos::ErrorLectura& e) {
      EXPECT_EQ(e.motivo, archivos::TextoDelError(EIO));
    }
  }
}

TEST(LectorCsv, NoUtf8DiceQueHacer) {
  std::istringstream in(
      "Idc;caso\n1000;Espa\xf1"
      "a\n");
  csv::Lector lector(in);
  std::vector<std::string> campos;
  ASSERT_TRUE(lector.Siguiente(campos));
  try {
    lector.Siguiente(campos);
    FAIL() << "Windows code page read";
  } catch (const csv::ErrorCsv& e) {
    EXPECT_EQ(e.linea, 2u);
    EXPECT_EQ(e.motivo, "el texto no es UTF-8: guarde la hoja como «CSV UTF-8»");
  }
}

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

// Finite bounds give finite points, even where their difference overflows.
TEST(Barrido, LimitesEnormes) {
  constexpr double kMayor = std::numeric_limits<double>::max();
  std::string error;
  const auto b = lotes::LeerBarrido("Vdci=1e308:-1e308:3", prueba::kEstadosUnidos, error);
  ASSERT_TRUE(b) << error;
  EXPECT_EQ(b->Valor(0), 1e308);
  EXPECT_EQ(b->Valor(1), 0);
  EXPECT_EQ(b->Valor(2), -1e308);
  for (const auto& [desde, hasta] : {std::pair{-kMayor, kMayor},
                                     {kMayor, -kMayor},
                                     {kMayor, kMayor},
                                     {-kMayor, 1.0},
                                     {1e308, -1e300}}) {
    const lotes::Barrido grande{b->parametro, desde, hasta, 1001};
    double anterior = grande.Valor(0);
    for (std::size_t k = 0; k < grande.puntos; ++k) {
      const double v = grande.Valor(k);
      ASSERT_TRUE(std::isfinite(v)) << desde << ":" << hasta << " punto " << k;
      EXPECT_TRUE(v >= std::min(desde, hasta) && v <= std::max(desde, hasta));
      EXPECT_TRUE(desde <= hasta ? v >= anterior : v <= anterior) << k;
      anterior = v;
    }
    if (desde == -hasta) {
      EXPECT_EQ(grande.Valor(500), 0) << "the middle of symmetric bounds";
    }
  }
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

// A curve as text: "x:y" per point, "|" per gap.
std::string Texto(const std::vector<lotes::PuntoCurva>& curva) {
  std::string t;
  for (const auto& p : curva)
    t += p.y ? std::to_string(static_cast<long>(p.x)) + ":" +
                   std::to_string(static_cast<long>(*p.y)) + " "
             : "| ";
  return t;
}

TEST(CurvaReducida, PocosPuntosSeGuardanTodos) {
  const std::vector<Resultado> y{1, 2, std::nullopt, 4, INFINITY, 6, std::nullopt, std::nullopt, 9};
  lotes::CurvaReducida curva(y.size(), 3);
  for (std::size_t k = 0; k < y.size(); ++k)
    curva.Anadir(k, static_cast<double>(k) * 10, y[k]);
  EXPECT_EQ(Texto(curva.Terminar()), "0:1 10:2 | 30:4 | 50:6 | 80:9 ");
}

// A million points into 50 columns: a few points per column, the peaks among them.
TEST(CurvaReducida, MuchosPuntosConservanLosPicos) {
  constexpr std::size_t kPuntos = 1'000'000, kColumnas = 50;
  const auto valor = [](std::size_t k) {
    if (k == 123'457)
      return 100.0;
    if (k == 777'777)
      return -100.0;
    return std::sin(static_cast<double>(k) / 10'000);
  };
  lotes::CurvaReducida curva(kPuntos, kColumnas);
  for (std::size_t k = 0; k < kPuntos; ++k)
    curva.Anadir(k, static_cast<double>(k), valor(k));
  const auto puntos = curva.Terminar();
  EXPECT_LE(puntos.size(), 4 * kColumnas);
  ASSERT_FALSE(puntos.empty());
  EXPECT_EQ(puntos.front().x, 0);
  EXPECT_EQ(puntos.back().x, kPuntos - 1);
  double maximo = -INFINITY, minimo = INFINITY;
  for (std::size_t i = 0; i < puntos.size(); ++i) {
    ASSERT_TRUE(puntos[i].y) << "no gap where every point has a value";
    if (i > 0) {
      EXPECT_LT(puntos[i - 1].x, puntos[i].x) << "in the order of the sweep";
    }
    EXPECT_EQ(*puntos[i].y, valor(static_cast<std::size_t>(puntos[i].x))) << "points as they were";
    maximo = std::max(maximo, *puntos[i].y);
    minimo = std::min(minimo, *puntos[i].y);
  }
  EXPECT_EQ(maximo, 100);
  EXPECT_EQ(minimo, -100);
}

TEST(CurvaReducida, HuecosEnLosBordesDeLasColumnas) {
  // 100,000 points into 50 columns of 2,000: a gap over whole columns, one at the start of a
  // column, one point alone between gaps, and a gap inside a column, which is narrower than one.
  constexpr std::size_t kPuntos = 100'000;
  const auto tiene = [](std::size_t k) {
    return !(k >= 10'000 && k < 30'000) && k != 60'000 && k != 50'500 &&
           !(k >= 80'000 && k < 90'000 && k != 85'000);
  };
  lotes::CurvaReducida curva(kPuntos, 50);
  for (std::size_t k = 0; k < kPuntos; ++k)
    curva.Anadir(k, static_cast<double>(k), tiene(k) ? Resultado(1) : std::nullopt);
  const auto puntos = curva.Terminar();
  std::vector<std::pair<double, double>> tramos;  // first and last x of each run
  for (std::size_t i = 0; i < puntos.size(); ++i) {
    if (!puntos[i].y)
      continue;
    if (i == 0 || !puntos[i - 1].y)
      tramos.emplace_back(puntos[i].x, puntos[i].x);
    tramos.back().second = puntos[i].x;
  }
  const std::vector<std::pair<double, double>> esperados{
      {0, 9'999}, {30'000, 59'999}, {60'001, 79'999}, {85'000, 85'000}, {90'000, 99'999}};
  EXPECT_EQ(tramos, esperados) << Texto(puntos);
}

TEST(Escalones, LosQueNoTienenSentidoSeRechazan) {
  const std::pair<lotes::Escalones, bool> casos[] = {
      {{0.0125, 0.9, 1.1}, true}, {{0.5, 1, 1}, true},         {{0.5, -1, 1}, false},
      {{0.5, 0, 1}, false},       {{0.1, 1.1, 0.9}, false},    {{0, 0.9, 1.1}, false},
      {{-0.1, 0.9, 1.1}, false},  {{1e-320, 0.9, 1.1}, false}, {{1e-6, 0.9, 1.1}, true},
      {{1e-7, 0.9, 1.1}, false},  {{1, 1, 1e308}, false},      {{INFINITY, 0.9, 1.1}, false}};
  for (const auto& [e, bien] : casos)
    EXPECT_EQ(!lotes::ComprobarEscalones(e, prueba::kEstadosUnidos), bien)
        << e.paso << " " << e.minimo << ":" << e.maximo;
}

TEST(TextoSeguro, LasFormulasQuedanEnTexto) {
  const std::tuple<std::string, const ConfiguracionRegional*, std::string> casos[] = {
      {"=1+2", &prueba::kEstadosUnidos, "'=1+2"},
      {"@SUMA(A1)", &prueba::kEstadosUnidos, "'@SUMA(A1)"},
      {"+A1", &prueba::kEstadosUnidos, "'+A1"},
      {"-x", &prueba::kEstadosUnidos, "'-x"},
      {"-", &prueba::kEstadosUnidos, "'-"},
      {"\tx", &prueba::kEstadosUnidos, "'\tx"},
      {"\r=1", &prueba::kEstadosUnidos, "'\r=1"},
      // Behind byte-order marks, which a reader takes for the file's own at its start.
      {"\xEF\xBB\xBF=1+2", &prueba::kEstadosUnidos, "'\xEF\xBB\xBF=1+2"},
      {"\xEF\xBB\xBF\xEF\xBB\xBF\t", &prueba::kEstadosUnidos, "'\xEF\xBB\xBF\xEF\xBB\xBF\t"},
      {"\xEF\xBB\xBF-5", &prueba::kEstadosUnidos, "\xEF\xBB\xBF-5"},
      {"+5", &prueba::kEstadosUnidos, "+5"},
      {"-500", &prueba::kEstadosUnidos, "-500"},
      {"-1,5", &prueba::kEspana, "-1,5"},
      {"-1.5E3", &prueba::kEstadosUnidos, "-1.5E3"},
      {"caso =1", &prueba::kEstadosUnidos, "caso =1"},
      {"", &prueba::kEstadosUnidos, ""},
      {"abc", &prueba::kEstadosUnidos, "abc"}};
  for (const auto& [texto, r, esperado] : casos)
    EXPECT_EQ(lotes::TextoSeguro(texto, *r), esperado) << texto;
}

struct Lote {
  int estado;
  std::string salida, err;
};

Lote CalcularLote(const std::string& texto, lotes::Formato formato = lotes::Formato::Csv,
                  bool crudo = false, const ConfiguracionRegional& r = prueba::kEstadosUnidos) {
  std::istringstream in(texto);
  std::ostringstream salida, err;
  const int estado =
      lotes::CalcularCsv(in, lotes::BaseDeInicio(r, {}), r, {formato, crudo}, salida, err);
  return {estado, salida.str(), err.str()};
}

// Columns that are not parameters go through unchanged, in their place; a formula among them, or
// among rejected texts, stays text in CSV.
TEST(LoteCsv, ColumnasPropiasEnSuSitio) {
  const std::string texto = "caso,Idc,nota\nA,1000,=1+2\nB,x,\"a, b\"\n";
  const auto csv = CalcularLote(texto);
  EXPECT_EQ(csv.estado, 3);
  EXPECT_EQ(csv.salida.substr(0, csv.salida.find("\r\n")),
            "caso,Idc,nota,alpha,mur,tgphir,gamma,mui,tgphii,Vdcr,Iacr,Pr,Qr,Iaci,Pi,Qi,estado");
  EXPECT_NE(csv.salida.find("\r\nA,1000,'=1+2,23.62,"), std::string::npos) << csv.salida;
  EXPECT_NE(csv.salida.find("\r\nB,x,\"a, b\",,,"), std::string::npos) << csv.salida;
  const auto crudo = CalcularLote(texto, lotes::Formato::Csv, true);
  EXPECT_NE(crudo.salida.find("\r\nA,1000,'=1+2,23.6243"), std::string::npos) << crudo.salida;
  const auto json = CalcularLote(texto, lotes::Formato::Json, true);
  EXPECT_NE(json.salida.find("{\"caso\":\"A\",\"Idc\":1000.0,\"nota\":\"=1+2\",\"alpha\":23.6"),
            std::string::npos)
      << json.salida;
  // Greek and Cyrillic notes stay notes, also where they begin with look-alikes of "Ni".
  EXPECT_EQ(CalcularLote("Idc,\u039D\u03B9\u03CC\u03B2\u03B7,\u0421\u043E\u043A\n1000,a,b\n").err,
            "");
  // Columns without a name, as spreadsheets leave them, in CSV.
  const auto vacias = CalcularLote("Idc,,\n1000,,\n");
  EXPECT_EQ(vacias.estado, 0) << vacias.err;
  EXPECT_NE(vacias.salida.find("\r\n1000,,,23.62,"), std::string::npos) << vacias.salida;
}

// A row longer than the buffer it is put together in goes whole, in both formats.
TEST(LoteCsv, FilaMasLargaQueSuBuffer) {
  const std::string largo(3000, 'x');
  const auto csv = CalcularLote("Idc,nota\n1000," + largo + "\n1000,\"" + largo + "\"\"x\"\n");
  EXPECT_EQ(csv.estado, 0) << csv.err;
  EXPECT_NE(csv.salida.find("\r\n1000," + largo + ",23.62,"), std::string::npos);
  EXPECT_NE(csv.salida.find("\r\n1000,\"" + largo + "\"\"x\",23.62,"), std::string::npos);
  const auto json = CalcularLote("Idc,nota\n1000," + largo + "\n1000,\"" + largo + "\"\"x\"\n",
                                 lotes::Formato::Json);
  EXPECT_NE(json.salida.find("\"nota\":\"" + largo + "\",\"alpha\":\"23.62\""), std::string::npos);
  EXPECT_NE(json.salida.find("\"nota\":\"" + largo + "\\\"x\",\"alpha\":\"23.62\""),
            std::string::npos);
}

struct CasoCabecera {
  std::string nombre;
  std::string texto;
  lotes::Formato formato;
  std::string err;
};

class CabeceraRechazada : public testing::TestWithParam<CasoCabecera> {};

TEST_P(CabeceraRechazada, DiceQueColumna) {
  const auto lote = CalcularLote(GetParam().texto, GetParam().formato);
  EXPECT_EQ(lote.estado, 2);
  EXPECT_EQ(lote.err, "zelk-calc: línea 1: " + GetParam().err + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Columnas, CabeceraRechazada,
    testing::Values(
        CasoCabecera{"Repetida", "Idc,Idc\n", lotes::Formato::Csv, "columna repetida «Idc»"},
        CasoCabecera{"PropiaRepetida", "nota,Idc,nota\n", lotes::Formato::Csv,
                     "columna repetida «nota»"},
        // A slip in a parameter's name would otherwise pass unnoticed as a note.
        CasoCabecera{"OtraCaja", "IDC\n", lotes::Formato::Csv, "columna «IDC»: ¿es el dato «Idc»?"},
        CasoCabecera{"ConBlancos", "Rdc, Idc \n", lotes::Formato::Csv,
                     "columna « Idc »: ¿es el dato «Idc»?"},
        CasoCabecera{"TituloDelCampo", "Idc [A]\n", lotes::Formato::Csv,
                     "columna «Idc [A]»: ¿es el dato «Idc»?"},
        // Names that look like "Idc" on the screen: what cannot be seen is named by its code.
        CasoCabecera{"SegundaMarcaDeOrden", "\xEF\xBB\xBF\xEF\xBB\xBFIdc\n", lotes::Formato::Csv,
                     "columna «\uFEFFIdc»: ¿es el dato «Idc»? (el nombre lleva U+FEFF)"},
        CasoCabecera{"AnchoCeroDelante", "Rdc,\u200BIdc\n", lotes::Formato::Csv,
                     "columna «\u200BIdc»: ¿es el dato «Idc»? (el nombre lleva U+200B)"},
        CasoCabecera{"AnchoCeroDetras", "Idc\u200B\n", lotes::Formato::Csv,
                     "columna «Idc\u200B»: ¿es el dato «Idc»? (el nombre lleva U+200B)"},
        CasoCabecera{"IzquierdaADerecha", "\u202AIdc\u202C\n", lotes::Formato::Csv,
                     "columna «\u202AIdc\u202C»: ¿es el dato «Idc»? (el nombre lleva U+202A, "
                     "U+202C)"},
        CasoCabecera{"GuionBlando", "Id\u00ADc\n", lotes::Formato::Csv,
                     "columna «Id\u00ADc»: ¿es el dato «Idc»? (el nombre lleva U+00AD)"},
        CasoCabecera{"ICirilica", "\u0406dc\n", lotes::Formato::Csv,
                     "columna «\u0406dc»: ¿es el dato «Idc»? (el nombre lleva U+0406)"},
        CasoCabecera{"AnchoCompleto", "\uFF29\uFF44\uFF43\u3000\n", lotes::Formato::Csv,
                     "columna «\uFF29\uFF44\uFF43\u3000»: ¿es el dato «Idc»? (el nombre lleva "
                     "U+FF29, U+FF44, U+FF43)"},
        CasoCabecera{"ApostrofoDeHoja", "'Idc\n", lotes::Formato::Csv,
                     "columna «'Idc»: ¿es el dato «Idc»?"},
        CasoCabecera{"EntreCorchetes", "[Idc]\n", lotes::Formato::Csv,
                     "columna «[Idc]»: ¿es el dato «Idc»?"},
        CasoCabecera{"ResultadoEntreCorchetes", "Idc,[alpha]\n", lotes::Formato::Csv,
                     "la columna «[alpha]» tiene el nombre de un resultado"},
        CasoCabecera{"ControlConOmicron", "Idc,Vpr\u03BFg\n", lotes::Formato::Csv,
                     "columna «Vpr\u03BFg»: ¿es el dato de control «Vprog»? (el nombre lleva "
                     "U+03BF)"},
        CasoCabecera{"Resultado", "Idc,alpha\n", lotes::Formato::Csv,
                     "la columna «alpha» tiene el nombre de un resultado"},
        CasoCabecera{"Estado", "Idc,estado\n", lotes::Formato::Json,
                     "la columna «estado» tiene el nombre de un resultado"},
        CasoCabecera{"SinNombreEnJson", "Idc,,\n", lotes::Formato::Json,
                     "más de una columna sin nombre: en JSON cada una necesita el suyo"}),
    prueba::PorNombre());

}  // namespace
}  // namespace zelk
