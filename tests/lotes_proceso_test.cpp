// zelk-calc's batch work as a process: CSV in and out under two regional settings, malformed
// files, sweeps, tap solving fed back through a plain pass, and plot files.
#include <gtest/gtest.h>

#include <QFile>
#include <QXmlStreamReader>
#include <filesystem>
#include <fstream>
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

std::string Carpeta() {
  const auto c = std::filesystem::path(ZELK_TRABAJO) / "lotes";
  std::filesystem::create_directories(c);
  return c.string();
}

std::string Escribir(const std::string& nombre, const std::string& contenido) {
  const std::string ruta = Carpeta() + "/" + nombre;
  std::ofstream(ruta, std::ios::binary) << contenido;
  return ruta;
}

std::vector<std::string> Lineas(const std::string& texto) {
  std::vector<std::string> lineas;
  std::istringstream in(texto);
  for (std::string l; std::getline(in, l);) {
    if (!l.empty() && l.back() == '\r')
      l.pop_back();
    lineas.push_back(l);
  }
  return lineas;
}

std::string Resultado(const std::string& salida, const std::string& nombre) {
  for (const auto& l : Lineas(salida))
    if (l.starts_with(nombre + "\t"))
      return l.substr(nombre.size() + 1);
  return {};
}

const std::string kCabeceraResultados =
    "alpha,mur,tgphir,gamma,mui,tgphii,Vdcr,Iacr,Pr,Qr,Iaci,Pi,Qi,estado";

TEST(LotesCsv, InglesComasYComillas) {
  const auto archivo =
      Escribir("ingles.csv", "Idc,Rdc\r\n1000,12\r\n\"2000\",\"12.345\"\r\nabc,5\r\n");
  const auto p = Ejecutar(kZelkCalc, {"--csv", archivo}, kIngles);
  EXPECT_EQ(p.estado, 3) << "a rejected row makes the run end with 3";
  EXPECT_EQ(p.err, "");
  const auto l = Lineas(p.out);
  ASSERT_EQ(l.size(), 4u);
  EXPECT_EQ(l[0], "Idc,Rdc," + kCabeceraResultados);
  EXPECT_EQ(
      l[1],
      "1000,12,23.62,3.34,0.473,26.36,3.06,0.53,537,686.13,537.0,254.2,686.13,-525.0,278.2,OK");
  EXPECT_EQ(l[2],
            "2000,12.345,18.19,7.63,0.408,24.71,6.14,0.53,549.69,1372.27,1099.4,449.0,1372.27,-"
            "1050.0,555.4,OK");
  EXPECT_EQ(l[3], "abc,5,,,,,,,,,,,,,,ERROR EN DATOS") << "no reset to the defaults";
  EXPECT_NE(p.out.find("\r\n"), std::string::npos) << "RFC 4180 lines end in CRLF";
}

TEST(LotesCsv, EspanolPuntoYComa) {
  // A field holding the separator comes back quoted.
  const auto archivo = Escribir("espanol.csv", "Rdc;Idc\n12,345;\"1.000\"\n\"12;5\";2000\n");
  const auto p = Ejecutar(kZelkCalc, {"--csv", archivo}, kEspanol);
  EXPECT_EQ(p.estado, 3);
  const auto l = Lineas(p.out);
  ASSERT_EQ(l.size(), 3u);
  EXPECT_EQ(l[0], "Rdc;Idc;alpha;mur;tgphir;gamma;mui;tgphii;Vdcr;Iacr;Pr;Qr;Iaci;Pi;Qi;estado");
  // The same figures as a single pass of zelk-calc Idc=1.000 Rdc=12,345.
  EXPECT_EQ(l[1].substr(0, 30), "12,345;1.000;23,54;3,35;0,472;");
  EXPECT_EQ(l[2], "\"12;5\";2000;;;;;;;;;;;;;;ERROR EN DATOS");
}

TEST(LotesCsv, EntradaEstandarYArchivoDeSalida) {
  const auto entrada = Escribir("estandar.csv", "Idc\n1000\n");
  const auto salida = Carpeta() + "/salida.csv";
  std::filesystem::remove(salida);
  const auto p =
      Ejecutar("/bin/sh", {"-c", kZelkCalc + " --csv - -o " + salida + " < " + entrada}, kIngles);
  EXPECT_EQ(p.estado, 0) << p.err;
  EXPECT_EQ(p.out, "");
  std::ifstream f(salida, std::ios::binary);
  const std::string escrito((std::istreambuf_iterator<char>(f)), {});
  EXPECT_EQ(Lineas(escrito).size(), 2u);
}

TEST(LotesCsv, CrudoYJson) {
  const auto archivo = Escribir("crudo.csv", "Idc;Uacr\n2000;500\nx;500\n");
  const auto crudo = Ejecutar(kZelkCalc, {"--csv", archivo, "--raw"}, kEspanol);
  const auto l = Lineas(crudo.out);
  ASSERT_EQ(l.size(), 3u);
  EXPECT_EQ(l[1].substr(0, 28), "2000,500,18.403192829346796,") << "full precision, '.' and ','";
  const auto json = Ejecutar(kZelkCalc, {"--csv", archivo, "--format", "json"}, kEspanol);
  EXPECT_EQ(json.estado, 3);
  EXPECT_NE(json.out.find("\"alpha\":\"18,40\""), std::string::npos) << json.out;
  EXPECT_NE(json.out.find("\"alpha\":null"), std::string::npos);
  EXPECT_NE(json.out.find("\"estado\":\"ERROR EN DATOS\""), std::string::npos);
  const auto jsonCrudo =
      Ejecutar(kZelkCalc, {"--csv", archivo, "--format", "json", "--raw"}, kEspanol);
  EXPECT_NE(jsonCrudo.out.find("\"alpha\":18.403192829346796"), std::string::npos);
}

struct CasoMalFormado {
  std::string nombre;
  std::string contenido;
  std::string mensaje;
  std::size_t filasEscritas;  // complete rows before the fault, header included
};

class MalFormado : public testing::TestWithParam<CasoMalFormado> {};

TEST_P(MalFormado, NombraLaLinea) {
  const auto& c = GetParam();
  const auto p = Ejecutar(kZelkCalc, {"--csv", Escribir(c.nombre + ".csv", c.contenido)}, kIngles);
  EXPECT_EQ(p.estado, 2);
  EXPECT_EQ(p.err, c.mensaje + "\n");
  const auto l = Lineas(p.out);
  EXPECT_EQ(l.size(), c.filasEscritas);
  for (const auto& fila : l)
    EXPECT_TRUE(fila.starts_with("Idc") || fila.ends_with(",OK")) << "no partial row: " << fila;
}

INSTANTIATE_TEST_SUITE_P(
    Archivos, MalFormado,
    testing::Values(CasoMalFormado{"ColumnaDesconocida", "Idc,Foo\n1,2\n",
                                   "zelk-calc: línea 1: columna desconocida «Foo»", 0},
                    CasoMalFormado{"ColumnaRepetida", "Idc,Idc\n1,2\n",
                                   "zelk-calc: línea 1: columna repetida «Idc»", 0},
                    CasoMalFormado{"FilaDesigual", "Idc,Rdc\n1000,12\n1000\n",
                                   "zelk-calc: línea 3: la fila tiene 1 campos y la cabecera 2", 2},
                    CasoMalFormado{"ComillasSinCerrar", "Idc\n1000\n\"1000\n",
                                   "zelk-calc: línea 3: comillas sin cerrar", 2},
                    CasoMalFormado{"TextoTrasComillas", "Idc\n\"10\"00\n",
                                   "zelk-calc: línea 2: texto tras las comillas de cierre", 1},
                    CasoMalFormado{"ComillaSuelta", "Idc\n10\"00\n",
                                   "zelk-calc: línea 2: comillas dentro de un campo sin comillas",
                                   1},
                    CasoMalFormado{"NoEsUtf8", "Idc\n1000\n\xff\xfe\n",
                                   "zelk-calc: línea 3: el texto no es UTF-8", 2},
                    CasoMalFormado{"Vacio", "", "zelk-calc: línea 1: falta la cabecera", 0}),
    prueba::PorNombre());

TEST(Barridos, PuntosPrimeroYUltimo) {
  const auto p = Ejecutar(kZelkCalc, {"--sweep", "Idc=1000:2000:11"}, kIngles);
  EXPECT_EQ(p.estado, 0) << p.err;
  const auto l = Lineas(p.out);
  ASSERT_EQ(l.size(), 12u);
  EXPECT_EQ(l[0], "Idc," + kCabeceraResultados);
  EXPECT_TRUE(l[1].starts_with("1000,23.62,")) << l[1];
  EXPECT_TRUE(l[2].starts_with("1100,")) << l[2];
  EXPECT_TRUE(l[11].starts_with("2000,18.40,")) << l[11];
}

TEST(Barridos, RejillaSobreLasAsignaciones) {
  const auto p = Ejecutar(
      kZelkCalc, {"--sweep", "Idc=1.000:2.000:3", "--sweep", "Rdc=0:12:2", "Xcr=4"}, kEspanol);
  EXPECT_EQ(p.estado, 0) << p.err;
  const auto l = Lineas(p.out);
  ASSERT_EQ(l.size(), 7u);
  EXPECT_TRUE(l[0].starts_with("Idc;Rdc;alpha;"));
  EXPECT_TRUE(l[1].starts_with("1000;0;")) << l[1];
  EXPECT_TRUE(l[2].starts_with("1000;12;")) << l[2];
  EXPECT_TRUE(l[5].starts_with("2000;0;")) << l[5];
  // The last point is the start-up with Xcr = 4: the reset's figures.
  EXPECT_TRUE(l[6].starts_with("2000;12;18,26;")) << l[6];
}

TEST(Barridos, PuntosRechazadosYErroresDeUso) {
  const auto p = Ejecutar(kZelkCalc, {"--sweep", "Nr=-1:1:3"}, kIngles);
  EXPECT_EQ(p.estado, 3) << "Nr = 0 is rejected";
  EXPECT_NE(p.out.find("\n0,,,"), std::string::npos) << p.out;
  for (const std::vector<std::string>& args : {std::vector<std::string>{"--sweep", "Idc=1:2"},
                                               {"--sweep", "Foo=1:2:3"},
                                               {"--sweep", "Idc=1:2:0"},
                                               {"--sweep", "Idc=a:2:3"},
                                               {"--sweep", "Idc=1:2:3", "--csv", "x"},
                                               {"--plot", "x.svg"},
                                               {"--raw"},
                                               {"--sweep", "Idc=1:2:2", "--format", "xml"},
                                               {"--tap-step", "0.1"}}) {
    const auto u = Ejecutar(kZelkCalc, args, kIngles);
    EXPECT_EQ(u.estado, 2) << args[0] << " " << args[1];
    EXPECT_TRUE(u.err.ends_with("uso: zelk-calc [--locale NOMBRE] [NOMBRE=TEXTO]...\n")) << u.err;
  }
}

struct CasoTap {
  std::string nombre;
  std::vector<std::string> args;
  std::string tap, angulo, esperado;
};

class Tap : public testing::TestWithParam<CasoTap> {};

// The tap found, fed back through a plain pass, gives the angle asked for.
TEST_P(Tap, DevueltoPorUnaPasada) {
  const auto& c = GetParam();
  const auto p = Ejecutar(kZelkCalc, c.args, kIngles);
  ASSERT_EQ(p.estado, 0) << p.err;
  const std::string tap = Resultado(p.out, c.tap);
  ASSERT_FALSE(tap.empty()) << p.out;
  EXPECT_EQ(Resultado(p.out, c.angulo), c.esperado);
  std::vector<std::string> pasada{c.tap + "=" + tap};
  for (const auto& a : c.args)
    if (!a.starts_with("--") && a.find('=') != std::string::npos && !a.starts_with("alpha") &&
        !a.starts_with("gamma"))
      pasada.push_back(a);
  const auto q = Ejecutar(kZelkCalc, pasada, kIngles);
  EXPECT_EQ(q.estado, 0);
  EXPECT_EQ(Resultado(q.out, c.angulo), c.esperado);
  EXPECT_EQ(Resultado(q.out, "Qr"), Resultado(p.out, "Qr"));
}

INSTANTIATE_TEST_SUITE_P(
    Objetivos, Tap,
    testing::Values(CasoTap{"Alpha15", {"--tap-for", "alpha=15"}, "tapr", "alpha", "15.00"},
                    CasoTap{"Gamma18", {"--tap-for", "gamma=18"}, "tapi", "gamma", "18.00"},
                    CasoTap{"AlphaConDatos",
                            {"--tap-for", "alpha=20", "Idc=1500", "Rdc=10"},
                            "tapr",
                            "alpha",
                            "20.00"},
                    CasoTap{
                        "AlphaEnEscalones",
                        {"--tap-for", "alpha=15", "--tap-step", "0.0125", "--tap-range", "0.9:1.1"},
                        "tapr",
                        "alpha",
                        "16.11"}),
    prueba::PorNombre());

TEST(Tap, FueraDelMargenSeDiceClaramente) {
  const auto p =
      Ejecutar(kZelkCalc, {"--tap-for", "alpha=15", "--tap-step", "0.0125", "--tap-range", "0.9:1"},
               kIngles);
  EXPECT_EQ(p.estado, 3);
  EXPECT_EQ(p.out, "");
  EXPECT_EQ(p.err,
            "zelk-calc: ningún tapr entre 0.9 y 1 da alpha = 15 (haría falta tapr = "
            "1.01798727339588)\n");
  const auto q = Ejecutar(kZelkCalc, {"--tap-for", "alpha=1"}, kIngles);
  EXPECT_EQ(q.estado, 0) << "a cosine near 1 is still reachable";
  const auto r = Ejecutar(kZelkCalc, {"--tap-for", "gamma=95"}, kIngles);
  EXPECT_EQ(r.estado, 3);
  EXPECT_EQ(r.err, "zelk-calc: ningún tapi da gamma = 95\n");
}

std::vector<unsigned char> Bytes(const std::string& ruta) {
  std::ifstream f(ruta, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), {}};
}

TEST(Grafico, PngDelTamanoPedido) {
  const auto ruta = Carpeta() + "/barrido.png";
  std::filesystem::remove(ruta);
  const auto p =
      Ejecutar(kZelkCalc, {"--sweep", "Vdci=-700:600:40", "--plot", ruta, "--plot-size", "640x480"},
               kIngles);
  EXPECT_EQ(p.estado, 0) << p.err;
  EXPECT_EQ(p.err, "") << "Qt's notes stay quiet";
  const auto b = Bytes(ruta);
  ASSERT_GT(b.size(), 24u);
  EXPECT_EQ(std::string(b.begin() + 1, b.begin() + 4), "PNG");
  const auto lee = [&](std::size_t i) {
    return (b[i] << 24) | (b[i + 1] << 16) | (b[i + 2] << 8) | b[i + 3];
  };
  EXPECT_EQ(lee(16), 640);
  EXPECT_EQ(lee(20), 480);
}

TEST(Grafico, SvgLegibleConLosTitulos) {
  const auto ruta = Carpeta() + "/barrido.svg";
  std::filesystem::remove(ruta);
  const auto p = Ejecutar(kZelkCalc, {"--sweep", "Idc=500:3000:30", "--plot", ruta}, kEspanol);
  EXPECT_EQ(p.estado, 0) << p.err;
  QFile archivo(QString::fromStdString(ruta));
  ASSERT_TRUE(archivo.open(QIODevice::ReadOnly));
  QXmlStreamReader xml(&archivo);
  QString viewBox;
  QStringList textos;
  while (!xml.atEnd()) {
    if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("svg"))
      viewBox = xml.attributes().value(QLatin1String("viewBox")).toString();
    if (xml.isCharacters())
      textos << xml.text().toString().trimmed();
  }
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  EXPECT_EQ(viewBox, QStringLiteral("0 0 900 700"));
  EXPECT_TRUE(textos.contains(QStringLiteral("Idc [A]")));
  EXPECT_TRUE(textos.contains(QString::fromUtf8("alpha [º]")));
  EXPECT_TRUE(textos.contains(QStringLiteral("Qi [MVAr]")));
}

TEST(Grafico, FormatoDesconocido) {
  const auto p = Ejecutar(kZelkCalc, {"--sweep", "Idc=1:2:2", "--plot", "x.gif"}, kIngles);
  EXPECT_EQ(p.estado, 2);
  EXPECT_NE(p.err.find("x.gif"), std::string::npos);
}

}  // namespace
}  // namespace zelk
