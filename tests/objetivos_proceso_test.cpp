// zelk-calc's answers to an engineer's questions as a process: the reasons and warnings after a
// pass, a target solved and typed back, tables solved per row with their reasons, the detail of
// both ends, the single pass as JSON, the new options' usage errors, and the manual's examples
// and options against the program itself.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/casos.h"
#include "tests/proceso.h"

namespace zelk {
namespace {

using prueba::Ejecutar;

const std::string kZelkCalc = ZELK_CALC;
const std::vector<std::string> kIngles{"LANG=en_US.UTF-8", "LOCPATH=" ZELK_LOCPATH};
const std::vector<std::string> kEspanol{"LANG=es_ES.UTF-8", "LOCPATH=" ZELK_LOCPATH};

std::string Linea(const std::string& salida, const std::string& nombre) {
  const auto i = salida.find(nombre + "\t");
  if (i == std::string::npos || (i > 0 && salida[i - 1] != '\n'))
    return "";
  const auto fin = salida.find('\n', i);
  return salida.substr(i + nombre.size() + 1, fin - i - nombre.size() - 1);
}

std::string Escribir(const std::string& nombre, const std::string& contenido) {
  const auto carpeta = std::filesystem::path(ZELK_TRABAJO) / "objetivos";
  std::filesystem::create_directories(carpeta);
  const std::string ruta = (carpeta / nombre).string();
  const std::string temporal = ruta + "." + std::to_string(::getpid());
  std::ofstream(temporal, std::ios::binary) << contenido;
  std::filesystem::rename(temporal, ruta);
  return ruta;
}

// The results as before, then every ERROR's reason and the warnings, in the user's numbers; the
// exit status stays 0.
TEST(Motivos, TrasLosResultadosEnLaSalidaDeErrores) {
  const auto p = Ejecutar(kZelkCalc, {"Vdci=700"}, kEspanol);
  EXPECT_EQ(p.estado, 0);
  EXPECT_EQ(Linea(p.out, "alpha"), "ERROR");
  EXPECT_EQ(Linea(p.out, "Qi"), "ERROR");
  EXPECT_TRUE(p.err.starts_with(
      "zelk-calc: alpha: cos α = 1,24 > 1: el rectificador no da Vdcr = 724,00 kV con este tap; su "
      "máximo, a α = 0, es 579,38 kV; se forma con tapr ≤ 0,8042 p.u., Uacr ≥ 621,69 kV o Vdci ≤ "
      "555,38 kV\nzelk-calc: mur: ERROR porque alpha lo es\n"))
      << p.err;
  EXPECT_NE(p.err.find("\nzelk-calc: Qi: ERROR porque gamma lo es\n"), std::string::npos);
  const auto aviso = Ejecutar(kZelkCalc, {"Nr=1,5", "Vdci=300"}, kEspanol);
  EXPECT_EQ(aviso.estado, 0);
  EXPECT_EQ(aviso.err,
            "zelk-calc: aviso: Nr = 1,5: el número de puentes en serie es un entero positivo; se "
            "calcula como si fueran 1,5\n");
  const auto limpio = Ejecutar(kZelkCalc, {}, kEspanol);
  EXPECT_EQ(limpio.err, "");
}

struct CasoObjetivo {
  std::string nombre;
  std::vector<std::string> args;  // the data besides the target
  std::string resultado, valor, dato;
  std::vector<std::string> entorno;
};

class Objetivo : public testing::TestWithParam<CasoObjetivo> {};

// The value found, typed back as DATUM=VALUE in a single pass, gives the value asked for to the
// digits shown, as the target's own output shows it.
TEST_P(Objetivo, LaSolucionTecleadaDaElValor) {
  const auto& c = GetParam();
  std::vector<std::string> args = c.args;
  args.insert(args.end(), {"--target", c.resultado + "=" + c.valor, "--vary", c.dato});
  const auto p = Ejecutar(kZelkCalc, args, c.entorno);
  ASSERT_EQ(p.estado, 0) << p.err;
  ASSERT_TRUE(p.out.starts_with(c.dato + "\t")) << p.out;
  const std::string valor = Linea(p.out, c.dato);
  EXPECT_EQ(p.out.find("\n\n"), std::string::npos) << "one solution";
  std::vector<std::string> pasada = c.args;
  pasada.push_back(c.dato + "=" + valor);
  const auto q = Ejecutar(kZelkCalc, pasada, c.entorno);
  EXPECT_EQ(q.estado, 0) << q.err;
  EXPECT_EQ(Linea(q.out, c.resultado), Linea(p.out, c.resultado));
  // The target's own text of the value: "500" is 500,0 as Pr shows it.
  EXPECT_EQ(std::stod(std::regex_replace(Linea(q.out, c.resultado), std::regex(","), ".")),
            std::stod(std::regex_replace(c.valor, std::regex(","), ".")));
}

INSTANTIATE_TEST_SUITE_P(
    Preguntas, Objetivo,
    testing::Values(
        CasoObjetivo{"PotenciaConCorriente", {"Vdci=480"}, "Pr", "500", "Idc", kIngles},
        CasoObjetivo{"PotenciaConComaDecimal", {"Vdci=480"}, "Pr", "500,5", "Idc", kEspanol},
        CasoObjetivo{"DisparoConTensionDelInversor", {}, "alpha", "30", "Vdci", kIngles},
        CasoObjetivo{"DisparoCeroEnElBorde", {}, "alpha", "0", "Vdci", kEspanol},
        CasoObjetivo{"DisparoConTap", {"Idc=1500"}, "alpha", "15", "tapr", kIngles},
        CasoObjetivo{"MargenConTapDelInversor", {}, "gamma", "18", "tapi", kEspanol},
        CasoObjetivo{"TensionConResistencia", {}, "Vdcr", "540", "Rdc", kIngles},
        CasoObjetivo{"PotenciaBajoControl", {"orden=potencia"}, "Pr", "700", "consigna", kIngles},
        CasoObjetivo{"ConsignaSinMasDatosDeControl", {}, "Pr", "700", "consigna", kIngles}),
    prueba::PorNombre());

TEST(Objetivo, VariasSolucionesNingunaYUnTramo) {
  const auto varias = Ejecutar(kZelkCalc, {"--target", "Qr=300", "--vary", "Vdci"}, kIngles);
  EXPECT_EQ(varias.estado, 0);
  const auto corte = varias.out.find("\n\n");
  ASSERT_NE(corte, std::string::npos) << varias.out;
  const std::string segunda = varias.out.substr(corte + 2);
  EXPECT_LT(std::stod(Linea(varias.out, "Vdci")), std::stod(Linea(segunda, "Vdci")));
  EXPECT_EQ(Linea(segunda, "Qr"), "300.0");
  EXPECT_NE(varias.err.find("zelk-calc: nota: se busca Vdci entre -825 y 825 (-1.5 a 1.5 veces "
                            "Vdcnom); otro margen con --range MIN:MAX\n"),
            std::string::npos);

  const auto ninguna =
      Ejecutar(kZelkCalc, {"--target", "Pr=5000", "--vary", "Idc", "--range", "0:1000"}, kIngles);
  EXPECT_EQ(ninguna.estado, 3);
  EXPECT_EQ(ninguna.out, "");
  EXPECT_EQ(ninguna.err,
            "zelk-calc: ningún Idc entre 0 y 1000 da Pr = 5000.0; Pr va de 0.0 a 537.0 en ese "
            "margen\n");

  const auto nunca =
      Ejecutar(kZelkCalc, {"--target", "alpha=10", "--vary", "Idc", "Vdci=900"}, kIngles);
  EXPECT_EQ(nunca.estado, 3);
  EXPECT_NE(nunca.err.find("alpha no se puede formar con ningún Idc entre 0 y 8000\n"),
            std::string::npos)
      << nunca.err;

  // Vdcnom does not enter the calculation: Pr holds its value over the whole range.
  const auto tramo = Ejecutar(kZelkCalc, {"--target", "Pr=1098", "--vary", "Vdcnom"}, kIngles);
  EXPECT_EQ(tramo.estado, 0);
  EXPECT_TRUE(tramo.out.starts_with("Vdcnom\t275\n")) << tramo.out;
  EXPECT_NE(tramo.err.find("nota: Pr = 1098.0 con Vdcnom de 275 a 825; se da su comienzo"),
            std::string::npos);
}

// Per row of a table, the datum solved in a column after the given ones; a row without a solution
// is SIN SOLUCIÓN, leaves its results empty and makes the status 3; --motivos adds why.
TEST(Tablas, ObjetivoPorFilaYMotivos) {
  const std::string archivo = Escribir("pr.csv", "caso,nota,Vdci\nA,x,480\nB,x,900\n");
  const auto csv = Ejecutar(
      kZelkCalc, {"--csv", archivo, "--target", "alpha=20", "--vary", "Idc", "--motivos"}, kIngles);
  EXPECT_EQ(csv.estado, 3);
  const std::string cabecera =
      "caso,nota,Vdci,Idc,alpha,mur,tgphir,gamma,mui,tgphii,Vdcr,Iacr,Pr,Qr,Iaci,Pi,Qi,"
      "motivos,estado\r\n";
  ASSERT_TRUE(csv.out.starts_with(cabecera)) << csv.out;
  EXPECT_NE(csv.out.find(",20.00,"), std::string::npos) << csv.out;
  EXPECT_NE(csv.out.find("\r\nB,x,900,,,,,,,,,,,,,,,alpha no se puede formar con ningún Idc "
                         "entre 0 y 8000,SIN SOLUCIÓN\r\n"),
            std::string::npos)
      << csv.out;
  EXPECT_NE(csv.err.find("zelk-calc: 1 fila de 2 sin solución: línea 3: alpha no se puede formar"),
            std::string::npos)
      << csv.err;

  const auto barrido = Ejecutar(
      kZelkCalc, {"--sweep", "Vdci=500:700:3", "--motivos", "--format", "json", "--raw", "Nr=2.5"},
      kIngles);
  EXPECT_EQ(barrido.estado, 0);
  EXPECT_NE(barrido.out.find("\"motivos\":[\"aviso: Nr = 2.5: el número de puentes"),
            std::string::npos)
      << barrido.out;
  EXPECT_NE(barrido.out.find("\"motivos\":[\"gamma: cos γ = 1.20 > 1:"), std::string::npos);

  // Without --motivos a table is as it was.
  const auto sin = Ejecutar(kZelkCalc, {"--sweep", "Vdci=500:700:3"}, kIngles);
  EXPECT_EQ(sin.out.find("motivos"), std::string::npos);
  EXPECT_EQ(sin.err, "");
}

TEST(Detalle, CadaExtremoConSusUnidades) {
  const auto p = Ejecutar(kZelkCalc, {"--detalle"}, kEspanol);
  EXPECT_EQ(p.estado, 0);
  // Er = 500 x 220 / 500; Vd0r = 2 x (3 sqrt2 / pi) x 220; caidaXr = 2 x (3 / pi) x 3.88 x 2.
  EXPECT_NE(p.out.find("Qi\t555,4\nEr\t220,00 kV\nVd0r\t594,21 kV\ncaidaXr\t14,82 kV\ncaidaRr\t"
                       "0,00 kV\ncos_alpha\t0,94886\nmur\t7,57 º\nEi\t220,00 kV\n"),
            std::string::npos)
      << p.out;
  const auto crudo = Ejecutar(kZelkCalc, {"--detalle", "--raw", "--format", "json"}, kIngles);
  EXPECT_NE(crudo.out.find("\"Er\":220.0,"), std::string::npos) << crudo.out;
}

TEST(Pasada, JsonYCrudo) {
  const auto json = Ejecutar(kZelkCalc, {"--format", "json", "Xcr=0"}, kEspanol);
  EXPECT_EQ(json.estado, 0);
  EXPECT_TRUE(json.out.starts_with("{\"alpha\":\"22,49\",\"mur\":\"0,00\",\"tgphir\":\"ERROR\","))
      << json.out;
  EXPECT_TRUE(json.out.ends_with("\"Qi\":\"555,4\"}\n"));
  const auto crudo =
      Ejecutar(kZelkCalc, {"--format", "json", "--raw", "--motivos", "Xcr=0"}, kEspanol);
  EXPECT_NE(crudo.out.find("\"tgphir\":null,"), std::string::npos) << crudo.out;
  EXPECT_NE(crudo.out.find("\"motivos\":[\"tgphir: sin solape"), std::string::npos);
  const auto lineas = Ejecutar(kZelkCalc, {"--raw"}, kEspanol);
  EXPECT_EQ(Linea(lineas.out, "alpha"), "18.403192829346796");
  EXPECT_EQ(Linea(lineas.out, "Pr"), "1098");
}

struct CasoUso {
  std::string nombre;
  std::vector<std::string> args;
  std::string motivo;
};

class Uso : public testing::TestWithParam<CasoUso> {};

TEST_P(Uso, NombraLoQueFalla) {
  const auto p = Ejecutar(kZelkCalc, GetParam().args, kIngles);
  EXPECT_EQ(p.estado, 2);
  EXPECT_EQ(p.out, "");
  EXPECT_EQ(p.err, "zelk-calc: " + GetParam().motivo +
                       "\nuso: zelk-calc [--locale NOMBRE] [NOMBRE=TEXTO]...\n");
}

INSTANTIATE_TEST_SUITE_P(
    Opciones, Uso,
    testing::Values(
        CasoUso{
            "SinVary", {"--target", "Pr=5"}, "--target RESULTADO=VALOR y --vary DATO van juntos"},
        CasoUso{
            "SinTarget", {"--vary", "Idc"}, "--target RESULTADO=VALOR y --vary DATO van juntos"},
        CasoUso{"RangoSolo", {"--range", "1:2"}, "--range es para --target"},
        CasoUso{"SinIgual",
                {"--target", "Pr", "--vary", "Idc"},
                "--target: se espera RESULTADO=VALOR, no «Pr»"},
        CasoUso{
            "NoEsResultado",
            {"--target", "Idc=5", "--vary", "Rdc"},
            "--target: «Idc» no es un resultado; los resultados son alpha, mur, tgphir, gamma, "
            "mui, tgphii, Vdcr, Iacr, Pr, Qr, Iaci, Pi, Qi (y con datos de control, tapr, tapi, "
            "Idc y Vdci elegidos)"},
        CasoUso{"ValorQueNoEsNumero",
                {"--target", "Pr=5,5", "--vary", "Idc"},
                "--target: «5,5» no es un número con punto decimal; con coma decimal, --locale "
                "es_ES"},
        CasoUso{"DatoDesconocido",
                {"--target", "Pr=5", "--vary", "idc"},
                "--vary: no hay ningún dato «idc»"},
        CasoUso{"OrdenNoEsNumero",
                {"--target", "Pr=5", "--vary", "orden", "orden=potencia"},
                "--vary: «orden» no es un número"},
        CasoUso{"ControlConCorrienteDada",
                {"--target", "Pr=5", "--vary", "margen", "Idc=5"},
                "con datos de control, Idc no se da: lo fijan la orden y los taps"},
        CasoUso{"CorrienteBajoControl",
                {"--target", "Pr=5", "--vary", "Idc", "orden=potencia"},
                "--vary: con datos de control, Idc no se da: lo fijan la orden y los taps"},
        CasoUso{"RangoAlReves",
                {"--target", "Pr=5", "--vary", "Idc", "--range", "2:1"},
                "--range: MIN y MAX son números finitos y MIN <= MAX, no 2 y 1"},
        CasoUso{"DatoDadoTambien",
                {"--target", "Pr=5", "--vary", "Idc", "Idc=3"},
                "--vary Idc: el dato se da también como Idc=TEXTO; quite uno de los dos"},
        CasoUso{"BarridoDelDato",
                {"--target", "Pr=5", "--vary", "Idc", "--sweep", "Idc=1:2:2"},
                "--sweep Idc: es el dato que --vary busca"},
        CasoUso{"ConPsse",
                {"--target", "Pr=5", "--vary", "Idc", "--psse", "x.raw"},
                "--target no va con --tap-for ni con --psse"},
        CasoUso{"DetalleEnTabla",
                {"--detalle", "--sweep", "Idc=1:2:2"},
                "--detalle es para una pasada sola, no para una tabla"},
        CasoUso{"RawConTap",
                {"--raw", "--tap-for", "alpha=15"},
                "--raw, --format, --motivos y --detalle no van con --tap-for"},
        CasoUso{"BomEnUnaPasada",
                {"--bom"},
                "--bom, --output y --hilos son para --csv, --sweep y --psse"}),
    prueba::PorNombre());

std::string Leer(const char* ruta) {
  std::ifstream f(ruta);
  std::stringstream texto;
  texto << f.rdbuf();
  return texto.str();
}

std::set<std::string> Opciones(const std::string& t) {
  std::set<std::string> o;
  const std::regex opcion("--[a-z][a-z-]*[a-z]");
  for (auto i = std::sregex_iterator(t.begin(), t.end(), opcion); i != std::sregex_iterator(); ++i)
    o.insert(i->str());
  return o;
}

// The manual's chapter on zelk-calc and --help name the same options, and its examples of
// --target and --detalle whose output is written in the page print what the program prints.
TEST(Manual, OpcionesYEjemplosComoElPrograma) {
  const std::string capitulo = Leer(ZELK_MANUAL_ZELK_CALC);
  ASSERT_FALSE(capitulo.empty()) << ZELK_MANUAL_ZELK_CALC;
  const auto ayuda = Ejecutar(kZelkCalc, {"--help"}, kIngles).out;
  const auto enAyuda = Opciones(ayuda), enManual = Opciones(capitulo);
  for (const auto& o : enAyuda)
    EXPECT_TRUE(enManual.count(o)) << o << " is in --help, not in the manual's zelk-calc chapter";
  for (const auto& o : enManual)
    EXPECT_TRUE(enAyuda.count(o)) << o << " is in the manual, not in --help";

  // ".. zelk-calc:: ARGS", then its content, indented, after a blank line: what it prints under
  // C.UTF-8. Examples with options of the directive (a filter, another status) are left out.
  std::istringstream lineas(capitulo);
  std::string linea;
  int ejemplos = 0;
  const std::string inicio = ".. zelk-calc:: ";
  while (std::getline(lineas, linea)) {
    if (!linea.starts_with(inicio))
      continue;
    std::vector<std::string> args;
    std::istringstream palabras(linea.substr(inicio.size()));
    for (std::string a; palabras >> a;)
      args.push_back(a);
    if (args.empty() || (args[0] != "--target" && args[0] != "--detalle"))
      continue;
    if (!std::getline(lineas, linea) || !linea.empty())
      continue;
    std::string esperado;
    while (std::getline(lineas, linea) && linea.starts_with("   "))
      esperado += linea.substr(3) + "\n";
    if (esperado.empty())
      continue;
    const auto p = Ejecutar(kZelkCalc, args, {"LANG=C.UTF-8"});
    EXPECT_EQ(p.out + p.err, esperado) << "zelk-calc " << linea;
    ++ejemplos;
  }
  EXPECT_GE(ejemplos, 2);
}

// The front page names only options zelk-calc has.
TEST(Readme, SoloOpcionesDelPrograma) {
  const std::string readme = Leer(ZELK_README);
  ASSERT_FALSE(readme.empty()) << ZELK_README;
  const auto enAyuda = Opciones(Ejecutar(kZelkCalc, {"--help"}, kIngles).out);
  std::istringstream lineas(readme);
  for (std::string linea; std::getline(lineas, linea);)
    // Its commands: lines that run zelk-calc, whatever their indentation.
    if (linea.find_first_not_of(' ') != std::string::npos &&
        linea.substr(linea.find_first_not_of(' ')).starts_with("zelk-calc ")) {
      for (const auto& o : Opciones(linea)) {
        EXPECT_TRUE(enAyuda.count(o)) << o << " is in the README, not in --help";
      }
    }
}

}  // namespace
}  // namespace zelk
