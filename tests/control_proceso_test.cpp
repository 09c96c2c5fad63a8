// zelk-calc under control data as a process: --psse on RAW cases of each version and on broken
// ones, control data as named data, CSV columns and sweeps.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "tests/casos.h"
#include "tests/proceso.h"

namespace zelk {
namespace {

using prueba::Ejecutar;

const std::string kZelkCalc = ZELK_CALC;
const std::string kCasos = ZELK_PSSE_CASOS;
const std::vector<std::string> kIngles{"LANG=en_US.UTF-8", "LOCPATH=" ZELK_LOCPATH};
const std::vector<std::string> kEspanol{"LANG=es_ES.UTF-8", "LOCPATH=" ZELK_LOCPATH};

// Every process of the suite writes the files its cases name, while others may be reading them:
// each is written whole under a name of its own and then put in place.
std::string Escribir(const std::string& nombre, const std::string& contenido) {
  const auto carpeta = std::filesystem::path(ZELK_TRABAJO) / "control";
  std::filesystem::create_directories(carpeta);
  const std::string ruta = (carpeta / nombre).string();
  const std::string temporal = ruta + "." + std::to_string(::getpid());
  std::ofstream(temporal, std::ios::binary) << contenido;
  std::filesystem::rename(temporal, ruta);
  return ruta;
}

std::string Leer(const std::string& ruta) {
  std::ifstream f(ruta, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

const std::string kCabeceraPsse =
    "linea,modo,tapr,tapi,Idc,Vdci,alpha,mur,tgphir,gamma,mui,tgphii,Vdcr,Iacr,Pr,Qr,Iaci,Pi,Qi,"
    "avisos\r\n";
// The commercial program prints Id 990.2 A, alpha 25.71 (from voltages rounded to 4 digits),
// gamma 24.61, Pr 500.0, Qr 298.8, Pi -495.1, Qi 285.0, and the taps where they were.
const std::string kKundur =
    "DC1,corriente en el rectificador,0.9375,0.94375,990.20,500,25.70,9.83,0.598,24.61,10.11,0.58,"
    "504.950975679639,1525.66,500.0,298.8,1488.39,-495.1,285.0,\r\n";
const std::string kNotasKundur =
    "zelk-calc: nota: línea {vsc}: se omite «VSC1», línea de continua VSC; solo se resuelven las "
    "de "
    "dos terminales\n"
    "zelk-calc: nota: línea {mt}: se omite «MTDC1», línea de continua multiterminal; solo se "
    "resuelven las de dos terminales\n";

std::string Notas(int vsc, int mt) {
  std::string n = kNotasKundur;
  n.replace(n.find("{vsc}"), 5, std::to_string(vsc));
  n.replace(n.find("{mt}"), 4, std::to_string(mt));
  return n;
}

struct CasoProceso {
  const char* nombre;
  std::vector<std::string> args;
  std::vector<std::string> entorno;
  int estado;
  std::string out;  // the whole of standard output, or a part of it after "…"
  std::string err;  // a part of standard error; empty: nothing
};

class Proceso : public testing::TestWithParam<CasoProceso> {};

TEST_P(Proceso, SalidaYEstado) {
  const auto& c = GetParam();
  const auto p = Ejecutar(kZelkCalc, c.args, c.entorno);
  EXPECT_EQ(p.estado, c.estado) << p.err;
  if (c.out.starts_with("…"))
    EXPECT_NE(p.out.find(c.out.substr(std::string("…").size())), std::string::npos) << p.out;
  else
    EXPECT_EQ(p.out, c.out);
  if (c.err.empty())
    EXPECT_EQ(p.err, "");
  else
    EXPECT_NE(p.err.find(c.err), std::string::npos) << p.err;
}

// A RAW case whose only line has data the checks refuse, and one that cannot be read.
const std::string kMala = Escribir("mala.raw",
                                   "0, 100.00, 33\nT\nT\n7,'B7',230.0,1,1,1,1,0.9595\n"
                                   "9,'B9',0,1,1,1,1,0.9647\n0\n0\n0\n0\n0\n0\n0\n"
                                   "'MALA',1,5,500,500\n"
                                   "7,2,90,15,0,13.59,230,0.9263,0.9375,1.2,0.8,0.00625\n"
                                   "9,2,90,15,0,13.32,230,0.9097,0.94375,1.2,0.8,0.00625\n0\nQ\n");
const std::string kRota =
    Escribir("rota.raw", "0, 100.00, 33\nT\nT\n7\n0\n0\n0\n0\n0\n0\n0\n'DC1',1,cinco,500,500\n");
// A blocked line, whose firing angle is measured at another bus.
const std::string kBloqueada =
    Escribir("bloqueada.raw",
             "0, 100.00, 33\nT\nT\n7,'B7',230.0,1,1,1,1,0.9595\n9,'B9',230.0,1,1,1,1,0.9647\n"
             "0\n0\n0\n0\n0\n0\n0\n'DC1',0,5,500,500\n"
             "7,2,90,15,0,13.5939,230,0.9263,0.9375,1.2,0.8,0.00625,5\n"
             "9,2,90,15,0,13.3174,230,0.9097,0.94375,1.2,0.8,0.00625\n0\nQ\n");
// Version 34 lays out a converter's last fields as IC, IF, IT, ID, XCAP, ND.
std::string Condensadores34() {
  std::string texto = Leer(kCasos + "/kundur_v34.raw");
  const std::string de = "'1 ',   0.0000,     0\r\n     9";
  texto.replace(texto.find(de), de.size(), "'1 ',   2.5,     0\r\n     9");
  return Escribir("condensadores_v34.raw", texto);
}

INSTANTIATE_TEST_SUITE_P(
    Psse, Proceso,
    testing::Values(
        CasoProceso{"Version33",
                    {"--psse", kCasos + "/kundur_v33.raw"},
                    kIngles,
                    0,
                    kCabeceraPsse + kKundur,
                    Notas(54, 60)},
        CasoProceso{"Version34",
                    {"--psse", kCasos + "/kundur_v34.raw"},
                    kIngles,
                    0,
                    kCabeceraPsse + kKundur,
                    Notas(62, 68)},
        CasoProceso{"Version35",
                    {"--psse", kCasos + "/kundur_v35.raw"},
                    kIngles,
                    0,
                    kCabeceraPsse + kKundur,
                    Notas(62, 68)},
        CasoProceso{"JsonCrudo",
                    {"--psse", kCasos + "/kundur_v35.raw", "--format", "json", "--raw"},
                    kIngles,
                    0,
                    "…{\"linea\":\"DC1\",\"modo\":\"corriente en el rectificador\",\"tapr\":0.9375,"
                    "\"tapi\":0.94375,\"Idc\":990.1951359278484,\"Vdci\":500.0,",
                    "nota"},
        CasoProceso{"Espanol",
                    {"--psse", kCasos + "/kundur_v33.raw"},
                    kEspanol,
                    0,
                    "…\r\nDC1;corriente en el rectificador;0,9375;0,94375;990,20;500;25,70;",
                    "nota"},
        CasoProceso{
            "LineaRechazada",
            {"--psse", kMala, "--format", "json", "--raw"},
            kIngles,
            3,
            "[\n{\"linea\":\"MALA\",\"modo\":null,\"tapr\":null,\"tapi\":null,\"Idc\":null,"
            "\"Vdci\":null,\"alpha\":null,\"mur\":null,\"tgphir\":null,\"gamma\":null,"
            "\"mui\":null,\"tgphii\":null,\"Vdcr\":null,\"Iacr\":null,\"Pr\":null,\"Qr\":null,"
            "\"Iaci\":null,\"Pi\":null,\"Qi\":null,\"avisos\":[\"línea 5: BASKV = 0 en la "
            "barra 9 (IPI): ha de ser mayor que 0\"]}\n]\n",
            "mala.raw», línea 5: «MALA» no se resuelve: BASKV = 0 en la barra 9 (IPI)"},
        CasoProceso{"Bloqueada",
                    {"--psse", kBloqueada},
                    kIngles,
                    0,
                    "…\r\nDC1,bloqueado,0.9375,0.94375,0.00,0,,,ERROR,,,ERROR,0,0.00,0.0,ERROR,"
                    "0.00,0.0,ERROR,\r\n",
                    "zelk-calc: nota: línea 14: «DC1»: ICR = 5: el caso mide el ángulo de disparo "
                    "en la barra 5; aquí se mide en la del convertidor, la 7 (IPR)\n"},
        CasoProceso{
            "BloqueadaJson",
            {"--psse", kBloqueada, "--format", "json"},
            kIngles,
            0,
            "…\"Vdci\":\"0\",\"alpha\":null,\"mur\":null,\"tgphir\":\"ERROR\",\"gamma\":null,"
            "\"mui\":null,",
            "nota"},
        CasoProceso{
            "Condensadores34",
            {"--psse", Condensadores34()},
            kIngles,
            3,
            "…,línea 59: XCAPR = 2.5: los convertidores con condensadores de conmutación no "
            "se admiten\r\n",
            "condensadores_v34.raw», línea 59: «DC1» no se resuelve: XCAPR = 2.5: los "
            "convertidores con condensadores de conmutación no se admiten\n"},
        CasoProceso{
            "Carpeta", {"--psse", kCasos}, kIngles, 2, "", "psse»: es una carpeta (EISDIR)\n"},
        CasoProceso{"CasoIlegible",
                    {"--psse", kRota},
                    kIngles,
                    2,
                    "",
                    "rota.raw», línea 12: RDC = «cinco» no es un número\n"},
        CasoProceso{
            "NoExiste", {"--psse", kCasos + "/no_existe.raw"}, kIngles, 2, "", "no se puede leer"},
        CasoProceso{"SinDatosSueltos",
                    {"--psse", kCasos + "/kundur_v33.raw", "Rdc=5"},
                    kIngles,
                    2,
                    "",
                    "--psse no lleva datos NOMBRE=TEXTO"}),
    prueba::PorNombre());

const std::string kControlCsv = Escribir("control.csv",
                                         "caso;Uacr;tapr;consigna;margen\n"
                                         "sube;530;1;1098;0,1\n"
                                         "margen;330;1;1098;0,1\n"
                                         "paso;500;1;1098;1,5\n");

INSTANTIATE_TEST_SUITE_P(
    Datos, Proceso,
    testing::Values(
        CasoProceso{
            "PasadaSencilla",
            {"orden=corriente", "consigna=1.000"},
            kEspanol,
            0,
            "modo\tcorriente en el rectificador\ntapr\t1,03125\ntapi\t1,0125\nIdc\t1000,00\n"
            "Vdci\t525\nalpha\t19,12\nmur\t4,08\ntgphir\t0,388\ngamma\t24,88\nmui\t3,24\n"
            "tgphii\t0,50\nVdcr\t537\nIacr\t665,34\nPr\t537,0\nQr\t208,6\nIaci\t677,66\n"
            "Pi\t-525,0\nQi\t262,1\n",
            ""},
        CasoProceso{"PasadaConAviso",
                    {"Uacr=700", "orden=potencia"},
                    kIngles,
                    0,
                    "…Qi\t555.4\naviso\talpha por encima de alpha_max con tapr en el extremo de su "
                    "margen\n",
                    ""},
        CasoProceso{
            "PasadaRechazada",
            {"gamma_min=30", "gamma_max=20"},
            kIngles,
            3,
            "",
            "ERROR EN DATOS: «gamma_min» = «30»: no puede ser mayor que «gamma_max» = «20»"},
        CasoProceso{"IdcConControl",
                    {"Idc=1000", "consigna=500"},
                    kIngles,
                    2,
                    "",
                    "con datos de control, Idc no se da: lo fijan la orden y los taps"},
        CasoProceso{
            "ColumnasDeControl",
            {"--csv", kControlCsv},
            kEspanol,
            3,
            "caso;Uacr;tapr_inicial;consigna;margen;modo;tapr;tapi;Idc;Vdci;alpha;mur;"
            "tgphir;gamma;mui;tgphii;Vdcr;Iacr;Pr;Qr;Iaci;Pi;Qi;avisos;estado\r\n"
            "sube;530;1;1098;0,1;corriente en el rectificador;1,05;1;2000,00;525;19,96;7,10;"
            "0,439;24,71;6,14;0,53;549;1306,92;1098,0;481,6;1372,27;-1050,0;555,4;;OK\r\n"
            "margen;330;1;1098;0,1;corriente en el inversor (margen);0,8;1,15625;1800,00;"
            "453,418737454335;5,00;14,65;0,245;24,74;6,36;0,53;475,018737454335;1543,80;"
            "855,0;209,3;1068,14;-816,2;434,4;;OK\r\n"
            "paso;500;1;1098;1,5;;;;;;;;;;;;;;;;;;;;ERROR EN DATOS\r\n",
            "zelk-calc: 1 fila de 3 rechazada: línea 4: «margen» = «1,5»: ha de ser al menos 0 y "
            "menor que 1\n"},
        // Only control columns, one of which begins with a datum's name: the file has data, and
        // numbers are read as a spreadsheet writes them.
        CasoProceso{"SoloColumnasDeControl",
                    {"--csv", Escribir("solo.csv",
                                       "tapr_min,consigna\n0.8,500\n0.8,\"1,000.5\"\n"
                                       "0.8,1000.5.0\n")},
                    kIngles,
                    3,
                    "…\r\n0.8,\"1,000.5\",corriente en el rectificador,",
                    "zelk-calc: 1 fila de 3 rechazada: línea 4: «consigna» = «1000.5.0» no es un "
                    "número"},
        CasoProceso{"ExponenteConGrupo",
                    {"--csv", Escribir("exponente.csv", "Uacr;consigna\n500;1.098E+03\n")},
                    kEspanol,
                    3,
                    "…\r\n500;1.098E+03;;;;;;;;;;;;;;;;;;;;ERROR EN DATOS\r\n",
                    "línea 2: «consigna» = «1.098E+03» no es un número con coma decimal; con "
                    "punto decimal, --locale en_US"},
        CasoProceso{"ColumnaParecida",
                    {"--csv", Escribir("parecida.csv", "Uacr,Margen [p.u.]\n500,0.1\n")},
                    kIngles,
                    2,
                    "",
                    "línea 1: columna «Margen [p.u.]»: ¿es el dato de control «margen»?"},
        CasoProceso{"AsignacionRepetida",
                    {"margen=0.1", "margen=0.2"},
                    kIngles,
                    2,
                    "",
                    "margen=TEXTO: dado más de una vez"},
        CasoProceso{"AvisoDeLectura",
                    {"consigna=1000.5"},
                    kEspanol,
                    0,
                    "…Idc\t",
                    "zelk-calc: aviso: consigna: «1000.5» se lee 10005\n"},
        CasoProceso{"ColumnaIdcConControl",
                    {"--csv", Escribir("idc.csv", "Idc,consigna\n1000,500\n")},
                    kIngles,
                    2,
                    "",
                    "línea 1: columna «Idc»: con datos de control, Idc no se da"},
        CasoProceso{
            "BarridoCrudo",
            {"--sweep", "margen=0:0,2:2", "Uacr=330", "--raw"},
            kEspanol,
            0,
            "…margen,modo,tapr,tapi,Idc,Vdci,alpha,mur,tgphir,gamma,mui,tgphii,Vdcr,Iacr,Pr,"
            "Qr,Iaci,Pi,Qi,avisos,estado\r\n0,corriente en el inversor (margen),0.8,1.1625,"
            "2000,449.5366853724277,",
            ""},
        CasoProceso{"ColumnaYAsignacion",
                    {"--csv", Escribir("margen.csv", "margen\n0.1\n"), "margen=0.2"},
                    kIngles,
                    2,
                    "",
                    "línea 1: «margen» se da dos veces: como NOMBRE=TEXTO y en la tabla"},
        CasoProceso{"BarridoYAsignacion",
                    {"--sweep", "margen=0:0.1:2", "margen=0.2"},
                    kIngles,
                    2,
                    "",
                    "«margen» se da dos veces"},
        CasoProceso{"BarridoDeIdc",
                    {"--sweep", "Idc=1:2:2", "orden=corriente"},
                    kIngles,
                    2,
                    "",
                    "con datos de control, Idc no se da"},
        CasoProceso{"TapForConControl",
                    {"--tap-for", "alpha=15", "margen=0.1"},
                    kIngles,
                    2,
                    "",
                    "--tap-for no va con datos de control"},
        CasoProceso{"Ayuda",
                    {"--help"},
                    kEspanol,
                    0,
                    "…  tapi_paso tapi_paso [p.u.]  (por defecto: 0,00625)\n",
                    ""}),
    prueba::PorNombre());

// What the hostile inputs cost: a device without end, a pipe with a line of 32 MB of empty
// fields, a file larger than any case. Each is refused holding no more than a line's worth.
TEST(ControlProceso, PsseConMemoriaAcotada) {
  const auto grande = std::filesystem::path(ZELK_TRABAJO) / "control" / "grande.raw";
  std::ofstream(grande, std::ios::binary) << "0, 100.00, 33\n";
  std::filesystem::resize_file(grande, std::uintmax_t{300} << 20);  // sparse: nothing written
  const std::string campos32Mb =
      "{ printf '0, 100.00, 33\\nT\\nT\\n7,'; head -c 33554432 "
      "/dev/zero | tr '\\000' ','; } | " +
      kZelkCalc + " --psse -";
  const std::pair<std::vector<std::string>, std::string> casos[] = {
      {{"-c", kZelkCalc + " --psse /dev/zero"},
       "«/dev/zero», línea 1: la línea tiene más de 1 MB: no es un registro RAW\n"},
      {{"-c", campos32Mb},
       "la entrada estándar, línea 4: la línea tiene más de 1 MB: no es un registro RAW\n"},
      {{"-c", kZelkCalc + " --psse " + grande.string()},
       "grande.raw»: el archivo tiene más de 256 MB: no es un caso RAW\n"}};
  for (const auto& [args, err] : casos) {
    const auto p = Ejecutar("/bin/sh", args, kIngles);
    EXPECT_EQ(p.estado, 2) << args[1];
    EXPECT_TRUE(p.err.ends_with(err)) << p.err;
    EXPECT_LT(p.memoriaKb, 64 << 10) << args[1];
  }
  std::filesystem::remove(grande);
}

TEST(ControlProceso, PsseDeLaEntradaEstandarAUnArchivo) {
  const auto salida = std::filesystem::path(ZELK_TRABAJO) / "control" / "kundur.csv";
  std::filesystem::remove(salida);
  const auto p = Ejecutar(
      "/bin/sh",
      {"-c", kZelkCalc + " --psse - -o " + salida.string() + " < " + kCasos + "/kundur_v34.raw"},
      kIngles);
  EXPECT_EQ(p.estado, 0) << p.err;
  EXPECT_EQ(p.out, "");
  EXPECT_EQ(Leer(salida.string()), kCabeceraPsse + kKundur);
}

}  // namespace
}  // namespace zelk
