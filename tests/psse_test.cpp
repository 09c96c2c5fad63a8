#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

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
TEST_P(Versiones, Kundur) {
  const Caso caso = LeerCaso(Archivo(GetParam()));
  EXPECT_EQ(caso.version, GetParam());
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
  ASSERT_TRUE(std::holds_alternative<EnlaceDelCaso>(enlace)) << std::get<std::string>(enlace);
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
                 "el registro del transformador que empieza en la línea 9 está incompleto"}),
    prueba::PorNombre());

TEST(Raw, FormasDelArchivo) {
  // Version 34 without system-wide data and without switching devices: the terminators' comments
  // say where each section begins. Blanks separate fields as commas do; Fortran exponents; a name
  // in Latin-1; no "Q" once the two-terminal lines are complete.
  const std::string texto =
      "0 100.00 34 0 0 60.00\r\nT\r\n\r\n"
      "7 'B7' 230.0 1 1 1 1 0.9595\n9,'B9',230.0,1,1,1,1,.9647D0\n"
      "0 / END OF BUS DATA, BEGIN LOAD DATA\n0\n0\n0\n"
      "0 / END OF BRANCH DATA, BEGIN TRANSFORMER DATA\n0\n"
      "0 / END OF AREA DATA, BEGIN TWO-TERMINAL DC DATA\n"
      "'L\xEDnea',1,5.0,500.0,500.0 / the record's own comment\n"
      "7,2,90.0,15.0,0.0,13.5939,230.0,0.92630,0.93750,1.2,0.8,0.00625,0,0,0,0,'1',0.0\n"
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
  std::string motivo;
};

class Rechazados : public testing::TestWithParam<CasoRechazado> {};

TEST_P(Rechazados, PorSuNombre) {
  const Caso caso = LeerCaso(Cambiar(Archivo(35), GetParam().de, GetParam().a));
  ASSERT_EQ(caso.lineas.size(), 1u);
  const auto enlace = EnlaceDeLinea(caso, caso.lineas[0]);
  ASSERT_TRUE(std::holds_alternative<std::string>(enlace));
  EXPECT_EQ(std::get<std::string>(enlace), GetParam().motivo);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, Rechazados,
    testing::Values(
        CasoRechazado{"BaseCero", "     7,'B7          ',  230.0000", "     7,'B7          ',0",
                      "BASKV = 0 en la barra 7 (IPR): ha de ser mayor que 0"},
        CasoRechazado{"BarraQueNoEsta", "\n     9,2,", "\n     99,2,",
                      "la barra 99 (IPI) no está en los datos de barras"},
        CasoRechazado{"PasoCero", "0.94375, 1.20000, 0.80000, 0.00625",
                      "0.94375, 1.20000, 0.80000, 0", "STPI = 0: ha de ser mayor que 0"},
        CasoRechazado{"BandaAlReves", "     7,2,  90.00,  15.00", "     7,2,  15.00,  90.00",
                      "ANMNR = 90: no puede ser mayor que ANMXR = 15"},
        CasoRechazado{"EbasCero", "13.3174,   230.00", "13.3174,   0",
                      "EBASI = 0: ha de ser mayor que 0"},
        CasoRechazado{"MdcTres", "'DC1         ',1,", "'DC1         ',3,",
                      "MDC = 3: ha de ser 0 (bloqueada), 1 (potencia) o 2 (corriente)"},
        CasoRechazado{"Condensadores", "'1 ',   0.0000\n     9", "'1 ',   2.5\n     9",
                      "XCAPR = 2.5: los convertidores con condensadores de conmutación no se "
                      "admiten"}),
    prueba::PorNombre());

}  // namespace
}  // namespace zelk::psse
