#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "engine/control.h"
#include "psse/caso.h"
#include "psse/raw.h"
#include "tests/casos.h"
#include "tests/regionales.h"

namespace zelk::psse {
namespace {

std::string Archivo(int version) {
  std::ifstream f(std::string(ZELK_PSSE_CASOS) + "/kundur_v" + std::to_string(version) + ".raw",
                  std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

std::string Cambiar(std::string texto, std::string_view de, std::string_view a) {
  const auto donde = texto.find(de);
  EXPECT_NE(donde, std::string::npos) << de;
  if (donde != std::string::npos)
    texto.replace(donde, de.size(), a);
  return texto;
}

class Versiones : public testing::TestWithParam<int> {};

// The two-area system of Kundur, as the commercial program prints its solution: the taps stay,
// Id 990.2 A, alpha 25.70 (printed 25.71 from the rounded voltages), gamma 24.61, Pr 500.0,
// Qr 298.8, Pi -495.1, Qi 285.0.
// A source that gives a few bytes at a time, as a pipe may: lines cut anywhere between blocks.
class Goteo : public Fuente {
 public:
  explicit Goteo(std::string_view texto) : texto_(texto) {}
  std::size_t Leer(char* destino, std::size_t n) override {
    n = std::min({n, texto_.size(), std::size_t{1} + (texto_.size() % 7)});
    std::copy_n(texto_.data(), n, destino);
    texto_.remove_prefix(n);
    return n;
  }

 private:
  std::string_view texto_;
};

TEST_P(Versiones, Kundur) {
  const std::string texto = Archivo(GetParam());
  const Caso caso = LeerCaso(texto);
  Goteo goteo(texto);
  const Caso gota = LeerCaso(goteo);
  EXPECT_EQ(gota.barras.size(), caso.barras.size());
  ASSERT_EQ(gota.lineas.size(), 1u);
  EXPECT_EQ(gota.lineas[0].inversor.linea, caso.lineas.at(0).inversor.linea);
  EXPECT_EQ(gota.lineas[0].inversor.tap, caso.lineas.at(0).inversor.tap);
  EXPECT_EQ(caso.version, GetParam());
  EXPECT_TRUE(caso.notas.empty());
  EXPECT_EQ(caso.barras.size(), 11u);
  ASSERT_EQ(caso.lineas.size(), 1u);
  const auto& l = caso.lineas[0];
  EXPECT_EQ(l.nombre, "DC1");
  EXPECT_EQ(caso.barras.at(l.rectificador.ip).vm, 0.9595);
  ASSERT_EQ(caso.omitidas.size(), 2u);
  EXPECT_EQ(caso.omitidas[0].tipo, "VSC");
  EXPECT_EQ(caso.omitidas[0].nombre, "VSC1");
  EXPECT_EQ(caso.omitidas[1].tipo, "multiterminal");
  EXPECT_EQ(caso.omitidas[1].nombre, "MTDC1");
  EXPECT_EQ(caso.notaFinal, "");

  const auto enlace = EnlaceDeLinea(caso, l);
  ASSERT_TRUE(std::holds_alternative<EnlaceDelCaso>(enlace)) << std::get<Rechazo>(enlace).motivo;
  const auto& e = std::get<EnlaceDelCaso>(enlace);
  const SolucionControl s = ResolverControl(e.datos, e.control);
  const auto& r = prueba::kEstadosUnidos;
  EXPECT_EQ(s.datos.tapr, 0.9375);
  EXPECT_EQ(s.datos.tapi, 0.94375);
  EXPECT_EQ(s.modo, Modo::CorrienteRectificador);
  EXPECT_EQ(NumeroConPatron(s.datos.Idc, kPatronPotencia, r), "990.2");
  std::string textos;
  for (const auto* nombre : {"alpha", "gamma", "Pr", "Qr", "Pi", "Qi"}) {
    const auto* d = BuscarResultado(nombre);
    textos += TextoResultado(s.resultados.*d->miembro, *d, r) + ' ';
  }
  EXPECT_EQ(textos, "25.70 24.61 500.0 298.8 -495.1 285.0 ");
}

INSTANTIATE_TEST_SUITE_P(RAW, Versiones, testing::Values(33, 34, 35));

// A small case of version 33: the buses given, empty sections up to the two-terminal lines.
std::string Caso33(std::string_view barras, std::string_view lineas) {
  return "0, 100.00, 33, 0, 0, 60.00\nT1\nT2\n" + std::string(barras) +
         "0 / END OF BUS DATA, BEGIN LOAD DATA\n0\n0\n0\n"
         "0 / END OF BRANCH DATA, BEGIN TRANSFORMER DATA\n0\n"
         "0 / END OF AREA DATA, BEGIN TWO-TERMINAL DC DATA\n" +
         std::string(lineas) + "0 / END OF TWO-TERMINAL DC DATA\nQ\n";
}

constexpr std::string_view kBarras = "7,'B7',230.0,1,1,1,1,0.9595\n9,'B9',230.0,1,1,1,1,0.9647\n";
constexpr std::string_view kLinea =
    "'DC1',1,5.0,500.0,500.0\n"
    "7,2,90.0,15.0,0.0,13.5939,230.0,0.92630,0.93750,1.2,0.8,0.00625\n"
    "9,2,90.0,15.0,0.0,13.3174,230.0,0.90970,0.94375,1.2,0.8,0.00625\n";

struct CasoRoto {
  const char* nombre;
  std::string texto;
  std::size_t linea;
  std::string motivo;
};

class Rotos : public testing::TestWithParam<CasoRoto> {};

TEST_P(Rotos, DicenLaLineaYPorQue) {
  try {
    LeerCaso(GetParam().texto);
    ADD_FAILURE() << "leído";
  } catch (const ErrorRaw& e) {
    EXPECT_EQ(e.linea, GetParam().linea);
    EXPECT_EQ(e.motivo, GetParam().motivo);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Casos, Rotos,
    testing::Values(
        CasoRoto{"Vacio", "", 1,
                 "la identificación del caso no dice la versión del formato (IC, SBASE, REV)"},
        CasoRoto{"SinVersion", "0, 100.00\nT\nT\n", 1,
                 "la identificación del caso no dice la versión del formato (IC, SBASE, REV)"},
        CasoRoto{"Version32", "0, 100.00, 32, 0, 0, 60.00\nT\nT\n", 1,
                 "versión 32 del formato RAW: se leen las versiones 33, 34 y 35"},
        CasoRoto{"SinTitulos", "0, 100.00, 33\nT\n", 2,
                 "el archivo termina en los títulos del caso"},
        CasoRoto{"ComillasSinCerrar", Caso33("7,'B7,230.0\n", kLinea), 4, "comillas sin cerrar"},
        CasoRoto{"BarraRepetida", Caso33("7\n9\n7\n", kLinea), 6,
                 "la barra 7 ya está en la línea 4"},
        CasoRoto{"BarraNoEntera", Caso33("7.5\n", kLinea), 4,
                 "I = «7.5»: se espera un número entero entre 1 y 999999999"},
        CasoRoto{"TerminaEnLasBarras", "0, 100.00, 33\nT\nT\n7\n", 4,
                 "el archivo termina en los datos de barras: falta su «0» final o la «Q»"},
        CasoRoto{"FaltaRdc", Caso33(kBarras, "'DC1',1,,500.0,500.0\n"), 13,
                 "RDC: falta el valor, que no tiene valor por defecto"},
        CasoRoto{"RdcNoEsNumero", Caso33(kBarras, "'DC1',1,cinco,500.0,500.0\n"), 13,
                 "RDC = «cinco» no es un número"},
        CasoRoto{"BarraPorNombre",
                 Caso33(kBarras, "'DC1',1,5,500,500\n'B7 230',2,90,15,0,13.6,230\n"), 14,
                 "IPR = «B7 230»: se espera un número (los nombres de barra no se admiten)"},
        CasoRoto{"RegistroIncompleto",
                 "0, 100.00, 33\nT\nT\n7\n0\n0\n0\n0\n0\n0\n0\n'DC1',1,5,500,500\n", 12,
                 "el registro de la línea de continua «DC1» que empieza en la línea 12 está "
                 "incompleto"},
        CasoRoto{"TransformadorIncompleto", "0, 100.00, 33\nT\nT\n0\n0\n0\n0\n0\n1,2,0\n0,1\n", 10,
                 "el registro del transformador que empieza en la línea 9 está incompleto"},
        // Every field is a number of its kind, or the text the format allows.
        CasoRoto{"DosSignos", Caso33(kBarras, "'DC1',1,+-5.0,500.0,500.0\n"), 13,
                 "RDC = «+-5.0» no es un número"},
        CasoRoto{"TextoEnLatin1", Caso33(kBarras, "'DC1',1,cinc\xF3,500.0,500.0\n"), 13,
                 "RDC = «cinc\u00F3» no es un número"},
        CasoRoto{"IcDos", "2, 100.00, 33\nT\nT\n", 1,
                 "IC = «2»: se espera un número entero entre 0 y 1"},
        CasoRoto{"SbaseTexto", "0, cien, 33\nT\nT\n", 1, "SBASE = «cien» no es un número"},
        CasoRoto{"VmYOwnerCambiados", Caso33("7,'B7',230.0,1,1,1,0.9595,1\n", kLinea), 4,
                 "OWNER = «0.9595»: se espera un número entero entre 0 y 999999999"},
        CasoRoto{"IdeCinco", Caso33("7,'B7',230.0,5\n", kLinea), 4,
                 "IDE = «5»: se espera un número entero entre 1 y 4"},
        CasoRoto{"DcvminTexto", Caso33(kBarras, "'DC1',1,5,500,500,0,0,0,'I',bajo\n"), 13,
                 "DCVMIN = «bajo» no es un número"},
        CasoRoto{"MeterOtro", Caso33(kBarras, "'DC1',1,5,500,500,0,0,0,'X'\n"), 13,
                 "METER = «X»: ha de ser «R» o «I»"},
        CasoRoto{"NbrNoEntero", Caso33(kBarras, "'DC1',1,5,500,500\n7,2.5,90,15,0,13.6,230\n"), 14,
                 "NBR = «2.5»: se espera un número entero"},
        CasoRoto{"Version34ConElOrdenDeLa35",
                 "0, 100.00, 34\nT\nT\n0\n7\n9\n0\n0\n0\n0\n0\n0\n0\n0\n'DC1',1,5,500,500\n"
                 "7,2,90,15,0,13.6,230,1,1,1.2,0.8,0.00625,0,0,0,0,'1',0\n",
                 16,
                 "XCAPR = «1» no es un número: la versión 34 lleva tras STPR ICR, IFR, ITR, IDR, "
                 "XCAPR, NDR; la 35, ICR, NDR, IFR, ITR, IDR, XCAPR"},
        CasoRoto{"IcrTexto",
                 Caso33(kBarras, "'DC1',1,5,500,500\n7,2,90,15,0,13.6,230,1,1,1.2,0.8,0.00625,x\n"),
                 14, "ICR = «x» no es un número"},
        CasoRoto{"NombreRepetido",
                 Caso33(kBarras, std::string(kLinea) + "'DC1 '" +
                                     std::string(kLinea).substr(std::string(kLinea).find(','))),
                 16, "la línea de continua «DC1» ya está en la línea 13"},
        // A byte order mark and the blank PSS/E writes before the change code.
        CasoRoto{"MarcaDeOrden", "\xEF\xBB\xBF 0, 100.00, 32\nT\nT\n", 1,
                 "versión 32 del formato RAW: se leen las versiones 33, 34 y 35"},
        // Sections out of step: their terminators say which one ends.
        CasoRoto{"GeneralSinCerrar",
                 "0, 100.00, 35\nT\nT\nGENERAL, THRSHZ=0.0001\n7,'B7',230.0\n"
                 "0 / END OF BUS DATA, BEGIN LOAD DATA\n",
                 6,
                 "este «0» cierra los datos de barras, pero se leían los datos generales del "
                 "sistema (desde la línea 4): falta antes el «0» que los cierra"},
        CasoRoto{"CeroDeMas", "0, 100.00, 33\nT\nT\n7\n0\n9\n0 / END OF BUS DATA\n", 7,
                 "este «0» cierra los datos de barras, que ya se cerraron en la línea 5; aquí se "
                 "leían los datos de cargas (desde la línea 6)"},
        CasoRoto{"LineaSinFin", "0, 100.00, 33\nT\nT\n" + std::string(kLineaMaxima + 1, ','), 4,
                 "la línea tiene más de 1 MB: no es un registro RAW"}),
    prueba::PorNombre());

TEST(Raw, FormasDelArchivo) {
  // Version 34 without system-wide data and without switching devices, after a byte order mark:
  // the terminators' comments say where each section begins. Blanks separate fields as commas do;
  // Fortran exponents; a name in Latin-1; no "Q" once the two-terminal lines are complete.
  const std::string texto =
      "\xEF\xBB\xBF 0 100.00 34 0 0 60.00\r\nT\r\n\r\n"
      "7 'B7' 230.0 1 1 1 1 0.9595\n9,'B9',230.0,1,1,1,1,.9647D0\n"
      "0 / END OF BUS DATA, BEGIN LOAD DATA\n0\n0\n0\n"
      "0 / END OF BRANCH DATA, BEGIN TRANSFORMER DATA\n0\n"
      "0 / END OF AREA DATA, BEGIN TWO-TERMINAL DC DATA\n"
      "'L\xEDnea',1,5.0,500.0,500.0 / the record's own comment\n"
      "7,2,90.0,15.0,0.0,13.5939,230.0,0.92630,0.93750,1.2,0.8,0.00625,0,0,0,'1',0.0,0\n"
      "9 2 90.0 15.0 0.0 13.3174 230.0 0.90970 0.94375\n"
      "0 / END OF TWO-TERMINAL DC DATA\n";
  const Caso caso = LeerCaso(texto);
  ASSERT_EQ(caso.lineas.size(), 1u);
  EXPECT_EQ(caso.lineas[0].nombre, "L\u00EDnea");
  EXPECT_EQ(caso.barras.at(9).vm, 0.9647);
  EXPECT_EQ(caso.lineas[0].inversor.tmx, 1.5);  // left out: the format's default
  EXPECT_EQ(caso.lineas[0].inversor.stp, 0.00625);
}

TEST(Raw, LoQueSigueNoSeSigue) {
  // A multi-terminal record that cannot be followed ends the reading with a note; the two-terminal
  // lines before it stand.
  const std::string texto = Cambiar(Archivo(33), "'MTDC1       ',   2,", "'MTDC1       ',   x,");
  const Caso caso = LeerCaso(texto);
  EXPECT_EQ(caso.lineas.size(), 1u);
  EXPECT_EQ(caso.omitidas.size(), 1u);
  EXPECT_NE(caso.notaFinal.find("NCONV = «x» no es un número; no se lee nada más del archivo"),
            std::string::npos)
      << caso.notaFinal;
}

struct CasoRechazado {
  const char* nombre;
  std::string_view de, a;
  std::size_t linea;  // of the datum at fault
  std::string motivo;
  int version = 35;
};

class Rechazados : public testing::TestWithParam<CasoRechazado> {};

TEST_P(Rechazados, PorSuNombreYSuLinea) {
  const auto& c = GetParam();
  const Caso caso = LeerCaso(Cambiar(Archivo(c.version), c.de, c.a));
  ASSERT_EQ(caso.lineas.size(), 1u);
  const auto enlace = EnlaceDeLinea(caso, caso.lineas[0]);
  ASSERT_TRUE(std::holds_alternative<Rechazo>(enlace));
  EXPECT_EQ(std::get<Rechazo>(enlace).linea, c.linea);
  EXPECT_EQ(std::get<Rechazo>(enlace).motivo, c.motivo);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, Rechazados,
    testing::Values(
        CasoRechazado{"BaseCero", "     7,'B7          ',  230.0000", "     7,'B7          ',0", 15,
                      "BASKV = 0 en la barra 7 (IPR): ha de ser mayor que 0"},
        CasoRechazado{"BarraQueNoEsta", "\n     9,2,", "\n     99,2,", 60,
                      "la barra 99 (IPI) no está en los datos de barras"},
        CasoRechazado{"PasoCero", "0.94375, 1.20000, 0.80000, 0.00625",
                      "0.94375, 1.20000, 0.80000, 0", 60, "STPI = 0: ha de ser mayor que 0"},
        CasoRechazado{"BandaAlReves", "     7,2,  90.00,  15.00", "     7,2,  15.00,  90.00", 59,
                      "ANMNR = 90: no puede ser mayor que ANMXR = 15"},
        CasoRechazado{"EbasCero", "13.3174,   230.00", "13.3174,   0", 60,
                      "EBASI = 0: ha de ser mayor que 0"},
        CasoRechazado{"MdcTres", "'DC1         ',1,", "'DC1         ',3,", 58,
                      "MDC = 3: ha de ser 0 (bloqueada), 1 (potencia) o 2 (corriente)"},
        CasoRechazado{"NbrCero", "     7,2,", "     7,0,", 59, "NBR = 0: ha de ser mayor que 0"},
        CasoRechazado{"Aislada", "     9,'B9          ',  230.0000,1,",
                      "     9,'B9          ',  230.0000,4,", 17,
                      "IDE = 4 en la barra 9 (IPI): la barra está aislada, y la línea en servicio "
                      "(MDC = 1)"},
        // A capacitor-commutated converter in each version's layout: IC, IF, IT, ID, XCAP in 33;
        // IC, IF, IT, ID, XCAP, ND in 34; IC, ND, IF, IT, ID, XCAP in 35.
        CasoRechazado{"Condensadores33", "'1 ',   0.0000\n     9", "'1 ',   2.5\n     9", 51,
                      "XCAPR = 2.5: los convertidores con condensadores de conmutación no se "
                      "admiten",
                      33},
        CasoRechazado{"Condensadores34", "'1 ',   0.0000,     0\r\n     9",
                      "'1 ',   2.5,     0\r\n     9", 59,
                      "XCAPR = 2.5: los convertidores con condensadores de conmutación no se "
                      "admiten",
                      34},
        CasoRechazado{"Condensadores35", "'1 ',   0.0000\n     9", "'1 ',   2.5\n     9", 59,
                      "XCAPR = 2.5: los convertidores con condensadores de conmutación no se "
                      "admiten"}),
    prueba::PorNombre());

// An isolated converter bus of a blocked line is no fault: nothing flows.
TEST(Raw, BloqueadaEnBarraAislada) {
  const Caso caso = LeerCaso(Cambiar(Cambiar(Archivo(33), "'DC1         ',1,", "'DC1         ',0,"),
                                     "     7,'B7          ',  230.0000,1,",
                                     "     7,'B7          ',  230.0000,4,"));
  const auto enlace = EnlaceDeLinea(caso, caso.lineas.at(0));
  ASSERT_TRUE(std::holds_alternative<EnlaceDelCaso>(enlace));
  const auto& e = std::get<EnlaceDelCaso>(enlace);
  const SolucionControl s = ResolverControl(e.datos, e.control);
  for (const auto& d : kResultados)
    EXPECT_EQ(SinResultado(s, d),
              d.nombre == "alpha" || d.nombre == "mur" || d.nombre == "gamma" || d.nombre == "mui")
        << d.nombre;
}

struct CasoNotas {
  const char* nombre;
  int version;
  std::vector<std::pair<std::string_view, std::string_view>> cambios;
  std::vector<std::pair<std::size_t, std::string>> notas;
};

class Notas : public testing::TestWithParam<CasoNotas> {};

// What the case says and the solution leaves out is noted, read in each version's layout.
TEST_P(Notas, DeLoQueNoSeModela) {
  std::string texto = Archivo(GetParam().version);
  for (const auto& [de, a] : GetParam().cambios)
    texto = Cambiar(texto, de, a);
  const Caso caso = LeerCaso(texto);
  std::vector<std::pair<std::size_t, std::string>> notas;
  for (const auto& n : caso.notas)
    notas.emplace_back(n.linea, n.texto);
  EXPECT_EQ(notas, GetParam().notas);
  EXPECT_TRUE(std::holds_alternative<EnlaceDelCaso>(EnlaceDeLinea(caso, caso.lineas.at(0))));
}

const std::string kNotaIfr =
    "«DC1»: IFR = 5, ITR = 6, IDR = «1»: en el caso, TAPR queda fijo y regula el transformador de "
    "alterna entre esas barras, que aquí no se modela; aquí regula TAPR";

INSTANTIATE_TEST_SUITE_P(
    Casos, Notas,
    testing::Values(
        CasoNotas{"CasoDeCambios",
                  33,
                  {{" 0,   100.00, 33", " 1,   100.00, 33"}},
                  {{1,
                    "IC = 1: el archivo es un caso de cambios sobre otro; se lee como un caso "
                    "entero, con los valores por defecto donde no da uno"}}},
        CasoNotas{
            "AnguloEnOtraBarra",
            35,
            {{"0.00625,     0,     0,     0,     0,", "0.00625,     5,     0,     0,     0,"}},
            {{59,
              "«DC1»: ICR = 5: el caso mide el ángulo de disparo en la barra 5; aquí se "
              "mide en la del convertidor, la 7 (IPR)"}}},
        CasoNotas{
            "AnguloEnSuBarra",
            35,
            {{"0.00625,     0,     0,     0,     0,", "0.00625,     7,     0,     0,     0,"}},
            {}},
        CasoNotas{"TransformadorDeAlterna33",
                  33,
                  {{"0.00625,     0,     0,     0,", "0.00625,     0,     5,     6,"}},
                  {{51, kNotaIfr}}},
        CasoNotas{"TransformadorDeAlterna34",
                  34,
                  {{"0.00625,     0,     0,     0,'1 '", "0.00625,     0,     5,     6,'1 '"}},
                  {{59, kNotaIfr}}},
        CasoNotas{
            "TransformadorDeAlterna35",
            35,
            {{"0.00625,     0,     0,     0,     0,", "0.00625,     0,     0,     5,     6,"}},
            {{59, kNotaIfr}}},
        CasoNotas{"InversorConDcvmin",
                  33,
                  {{"'I',    0.00,", "'I',  400.00,"},
                   {"0.94375, 1.20000, 0.80000, 0.00625,     0,     0,     0,",
                    "0.94375, 1.20000, 0.80000, 0.00625,     0,     8,     9,"}},
                  {{52,
                    "«DC1»: IFI = 8, ITI = 9, IDI = «1»: en el caso, TAPI queda fijo y regula "
                    "el transformador de alterna entre esas barras, que aquí no se modela; "
                    "aquí regula TAPI; DCVMIN = 400 no se aplica"}}}),
    prueba::PorNombre());

// A line of empty fields of any length, or bytes without a line break, as from a pipe: the
// reader stops at its bounds, having taken no more than a line's worth from the source.
TEST(Raw, SinLimiteDeLaFuente) {
  class Interminable : public Fuente {
   public:
    explicit Interminable(std::string inicio, char relleno)
        : inicio_(std::move(inicio)), relleno_(relleno) {}
    std::size_t Leer(char* destino, std::size_t n) override {
      std::size_t k = std::min(n, inicio_.size());
      std::copy_n(inicio_.data(), k, destino);
      inicio_.erase(0, k);
      std::fill(destino + k, destino + n, relleno_);
      entregados += n;
      return n;
    }
    std::uint64_t entregados = 0;

   private:
    std::string inicio_;
    char relleno_;
  };
  for (const auto& [inicio, relleno] : {std::pair<std::string, char>{"", '\0'},
                                        {"0, 100.00, 33\nT\nT\n7,", ','},
                                        {"0, 100.00, 33\nT\nT\n7 ", ' '}}) {
    Interminable fuente(inicio, relleno);
    try {
      LeerCaso(fuente);
      ADD_FAILURE() << "leído";
    } catch (const ErrorRaw& e) {
      EXPECT_EQ(e.motivo, "la línea tiene más de 1 MB: no es un registro RAW");
    }
    EXPECT_LE(fuente.entregados, kLineaMaxima + 2 * (std::size_t{1} << 16));
  }
  EXPECT_THROW(ComprobarTamano(kTamanoMaximo + 1), ErrorRaw);
  EXPECT_NO_THROW(ComprobarTamano(kTamanoMaximo));
}

}  // namespace
}  // namespace zelk::psse
