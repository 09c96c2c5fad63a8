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
  EXPECT_EQ(p.err, "zelk-calc: 1 fila de 3 rechazada: línea 4: «Idc» = «abc» no es un número\n");
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
    testing::Values(CasoMalFormado{"ColumnaDeResultado", "Idc,alpha\n1,2\n",
                                   "zelk-calc: línea 1: la columna «alpha» tiene el nombre de un "
                                   "resultado",
                                   0},
                    CasoMalFormado{"ColumnaParecida", "Idc,RDC\n1,2\n",
                                   "zelk-calc: línea 1: columna «RDC»: ¿es el dato «Rdc»?", 0},
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
                                   "zelk-calc: línea 3: el texto no es UTF-8: guarde la hoja "
                                   "como «CSV UTF-8»",
                                   2},
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
                                               {"--bom"},
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

std::string Leer(const std::string& ruta) {
  std::ifstream f(ruta, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), {}};
}

// Each format by the end of its name, whatever its case, written whole: a family of curves too.
TEST(Grafico, CadaFormatoYFamilias) {
  struct Caso {
    std::string archivo, comienzo;
    std::vector<std::string> barridos;
  };
  const Caso casos[] = {
      {"barrido.PDF", "%PDF-", {"--sweep", "Idc=500:3000:30"}},
      {"familia.png",
       "\x89PNG\r\n\x1a\n",
       {"--sweep", "Idc=500:3000:30", "--sweep", "Rdc=5:25:10"}},
      {"familia.svg", "<?xml", {"--sweep", "Idc=500:3000:30", "--sweep", "Rdc=5:25:3"}}};
  for (const auto& caso : casos) {
    const auto ruta = Carpeta() + "/" + caso.archivo;
    std::filesystem::remove(ruta);
    auto args = caso.barridos;
    args.insert(args.end(), {"-o", Carpeta() + "/familia.csv", "--plot", ruta});
    const auto p = Ejecutar(kZelkCalc, args, kIngles);
    EXPECT_EQ(p.estado, 0) << caso.archivo << ": " << p.err;
    EXPECT_EQ(p.err, "") << caso.archivo;
    EXPECT_TRUE(Leer(ruta).starts_with(caso.comienzo)) << caso.archivo;
  }
}

// A family of more curves than colours is refused before anything is computed or written.
TEST(Grafico, FamiliaDemasiadoGrande) {
  const auto ruta = Carpeta() + "/grande.png";
  std::filesystem::remove(ruta);
  const auto p = Ejecutar(
      kZelkCalc, {"--sweep", "Idc=500:3000:30", "--sweep", "Rdc=5:25:11", "--plot", ruta}, kIngles);
  EXPECT_EQ(p.estado, 2);
  EXPECT_EQ(p.out, "");
  EXPECT_EQ(p.err,
            "zelk-calc: --plot con dos --sweep: una curva por valor del segundo, a lo sumo 10; Rdc "
            "tiene 11\nuso: zelk-calc [--locale NOMBRE] [NOMBRE=TEXTO]...\n");
  EXPECT_FALSE(std::filesystem::exists(ruta));
}

// A folder of its own per test, with what the cases need: an input, an earlier output, a plot
// name that leads to a full disk.
std::string CarpetaPropia(const std::string& nombre) {
  const auto c = std::filesystem::path(Carpeta()) / nombre;
  std::filesystem::remove_all(c);
  std::filesystem::create_directories(c);
  std::ofstream(c / "entrada.csv", std::ios::binary) << "Idc\n1000\n";
  std::ofstream(c / "anterior.csv", std::ios::binary) << "anterior";
  std::filesystem::create_symlink("/dev/full", c / "lleno.svg");
  return c.string();
}

std::vector<std::string> Nombres(const std::string& carpeta) {
  std::vector<std::string> nombres;
  for (const auto& e : std::filesystem::directory_iterator(carpeta))
    nombres.push_back(e.path().filename().string());
  std::sort(nombres.begin(), nombres.end());
  return nombres;
}

// A run through the shell, for redirections: $Z is zelk-calc, $D the test's folder.
prueba::Proceso Shell(const std::string& orden, const std::string& carpeta,
                      const std::vector<std::string>& entorno = kIngles) {
  return Ejecutar("/bin/sh", {"-c", "Z=\"$1\"; D=\"$2\"; " + orden, "sh", kZelkCalc, carpeta},
                  entorno);
}

struct CasoHostil {
  std::string nombre;
  std::string orden;
  int estado;
  std::string err;  // $D stands for the folder
};

class Hostil : public testing::TestWithParam<CasoHostil> {};

// Careless or hostile input: no crash, a message naming the file and the system's reason, a
// non-zero status, and nothing written and no file left behind.
TEST_P(Hostil, NombraElArchivoYElMotivo) {
  const auto& c = GetParam();
  const auto carpeta = CarpetaPropia(c.nombre);
  const auto antes = Nombres(carpeta);
  const auto p = Shell(c.orden, carpeta);
  EXPECT_EQ(p.estado, c.estado) << p.err;
  std::string err = c.err;
  for (auto d = err.find("$D"); d != std::string::npos; d = err.find("$D"))
    err.replace(d, 2, carpeta);
  EXPECT_EQ(p.err, err);
  EXPECT_EQ(p.out, "");
  EXPECT_EQ(Nombres(carpeta), antes);
  EXPECT_EQ(Leer(carpeta + "/anterior.csv"), "anterior");
}

INSTANTIATE_TEST_SUITE_P(
    Casos, Hostil,
    testing::Values(
        CasoHostil{"CarpetaComoEntrada", "$Z --csv $D", 2,
                   "zelk-calc: no se puede leer «$D»: es una carpeta (EISDIR)\n"},
        CasoHostil{
            "MemoriaIlegible", "$Z --csv /proc/self/mem -o $D/anterior.csv", 2,
            "zelk-calc: no se puede leer «/proc/self/mem»: error de entrada o salida (EIO)\n"},
        CasoHostil{"EntradaEstandarCarpeta", "$Z --csv - < $D", 2,
                   "zelk-calc: no se puede leer la entrada estándar: es una carpeta (EISDIR)\n"},
        CasoHostil{"EntradaEstandarCerrada", "$Z --csv - <&-", 2,
                   "zelk-calc: no se puede leer la entrada estándar: descriptor de archivo no "
                   "válido (EBADF)\n"},
        CasoHostil{"EntradaQueFalta", "$Z --csv $D/no-hay.csv -o $D/anterior.csv", 2,
                   "zelk-calc: no se puede leer «$D/no-hay.csv»: no existe el archivo o la carpeta "
                   "(ENOENT)\n"},
        CasoHostil{"EntradaMalFormada",
                   "printf 'Idc\\n1000\\n\"x\\n' | $Z --csv - -o $D/anterior.csv", 2,
                   "zelk-calc: línea 3: comillas sin cerrar\n"},
        CasoHostil{"EntradaEsLaSalida", "$Z --csv $D/entrada.csv -o $D/entrada.csv", 2,
                   "zelk-calc: «$D/entrada.csv» es a la vez la entrada y la salida: no se "
                   "escribe nada\n"},
        CasoHostil{"EntradaEsLaSalidaPorOtroNombre",
                   "cd $D && $Z --csv entrada.csv -o ../$(basename $D)/./entrada.csv", 2,
                   "zelk-calc: «../" + std::string("EntradaEsLaSalidaPorOtroNombre") +
                       "/./entrada.csv» es a la vez la entrada y la salida: no se escribe "
                       "nada\n"},
        CasoHostil{
            "SalidaEnCarpetaQueFalta", "$Z --sweep Idc=1:2:2 -o $D/no-hay/t.csv", 2,
            "zelk-calc: no se puede escribir «$D/no-hay/t.csv»: no se puede crear un archivo "
            "en «$D/no-hay/»: no existe el archivo o la carpeta (ENOENT)\n"},
        CasoHostil{"SalidaEsUnaCarpeta", "$Z --sweep Idc=1:2:2 -o $D", 2,
                   "zelk-calc: no se puede escribir «$D»: es una carpeta\n"},
        CasoHostil{"SalidaLlena", "$Z --csv $D/entrada.csv -o /dev/full", 2,
                   "zelk-calc: no se puede escribir «/dev/full»: no queda espacio en el "
                   "dispositivo (ENOSPC)\n"},
        CasoHostil{"TablaEnSalidaEstandarLlena", "$Z --sweep Idc=1:2:2 > /dev/full", 2,
                   "zelk-calc: no se puede escribir en la salida estándar: no queda espacio en el "
                   "dispositivo (ENOSPC)\n"},
        CasoHostil{"PasadaEnSalidaEstandarLlena", "$Z Idc=1000 > /dev/full", 2,
                   "zelk-calc: no se puede escribir en la salida estándar: no queda espacio en el "
                   "dispositivo (ENOSPC)\n"},
        CasoHostil{"AyudaEnSalidaEstandarLlena", "$Z --help > /dev/full", 2,
                   "zelk-calc: no se puede escribir en la salida estándar: no queda espacio en el "
                   "dispositivo (ENOSPC)\n"},
        CasoHostil{"GraficoEnDiscoLleno",
                   "$Z --sweep Idc=1:2:2 -o $D/anterior.csv --plot $D/lleno.svg", 2,
                   "zelk-calc: no se puede escribir «$D/lleno.svg»: no queda espacio en el "
                   "dispositivo (ENOSPC)\n"},
        // Found before a million points are computed and written.
        CasoHostil{
            "GraficoEnCarpetaQueFalta",
            "$Z --sweep Idc=1:2:1000000 -o $D/anterior.csv --plot $D/no-hay/g.svg", 2,
            "zelk-calc: no se puede escribir «$D/no-hay/g.svg»: no se puede crear un archivo "
            "en «$D/no-hay/»: no existe el archivo o la carpeta (ENOENT)\n"},
        CasoHostil{"GraficoYSalidaIguales",
                   "$Z --sweep Idc=1:2:1000000 -o $D/g.svg --plot $D/./g.svg", 2,
                   "zelk-calc: -o y --plot son el mismo archivo «$D/g.svg»\n"}),
    prueba::PorNombre());

TEST(ArchivosDelUsuario, LaSalidaSeSustituyeAlAcabarBien) {
  const auto carpeta = CarpetaPropia("SustituyeAlAcabar");
  const auto p = Shell("$Z --csv $D/entrada.csv -o $D/anterior.csv", carpeta);
  EXPECT_EQ(p.estado, 0) << p.err;
  EXPECT_EQ(Lineas(Leer(carpeta + "/anterior.csv")).size(), 2u);
  EXPECT_EQ(Nombres(carpeta),
            (std::vector<std::string>{"anterior.csv", "entrada.csv", "lleno.svg"}));
  // Rejected rows are results too: the table takes the place of the earlier one.
  const auto q = Shell("printf 'Idc\\nx\\n' | $Z --csv - -o $D/anterior.csv", carpeta);
  EXPECT_EQ(q.estado, 3);
  EXPECT_TRUE(Leer(carpeta + "/anterior.csv").starts_with("Idc,alpha"));
}

// CSV as spreadsheets save it: a byte-order mark, lone carriage returns, one column under a
// decimal comma, columns of the user's own, formulas among the texts.
TEST(HojasDeCalculo, MarcaDeOrdenYFinesDeLineaCr) {
  const auto bom = Ejecutar(
      kZelkCalc, {"--csv", Escribir("bom.csv", "\xEF\xBB\xBFIdc;Rdc\r\n1000;12\r\n")}, kEspanol);
  EXPECT_EQ(bom.estado, 0) << bom.err;
  EXPECT_TRUE(bom.out.starts_with("\xEF\xBB\xBFIdc;Rdc;alpha;")) << bom.out;
  const auto cr = Ejecutar(kZelkCalc, {"--csv", Escribir("cr.csv", "Idc\r1000\r2000\r")}, kIngles);
  EXPECT_EQ(cr.estado, 0) << cr.err;
  const auto l = Lineas(cr.out);
  ASSERT_EQ(l.size(), 3u) << cr.out;
  EXPECT_TRUE(l[1].starts_with("1000,23.62,")) << l[1];
  EXPECT_TRUE(l[2].starts_with("2000,18.40,")) << l[2];
}

TEST(HojasDeCalculo, UnaColumnaConComaDecimal) {
  const auto p = Ejecutar(kZelkCalc, {"--csv", Escribir("una.csv", "Rdc\n10,5\n12\n")}, kEspanol);
  EXPECT_EQ(p.estado, 0) << p.err;
  const auto l = Lineas(p.out);
  ASSERT_EQ(l.size(), 3u) << p.out;
  EXPECT_TRUE(l[1].starts_with("10,5;19,30;")) << l[1];
}

TEST(HojasDeCalculo, ColumnasPropiasYFormulas) {
  const auto archivo = Escribir("propias.csv", "caso;Idc;nota\r\nA;1.000;revisar\r\nB;=1+2;@x\r\n");
  const auto p = Ejecutar(kZelkCalc, {"--csv", archivo}, kEspanol);
  EXPECT_EQ(p.estado, 3);
  const auto l = Lineas(p.out);
  ASSERT_EQ(l.size(), 3u) << p.out;
  EXPECT_TRUE(l[0].starts_with("caso;Idc;nota;alpha;")) << l[0];
  EXPECT_TRUE(l[1].starts_with("A;1.000;revisar;23,62;")) << l[1];
  EXPECT_EQ(l[2], "B;'=1+2;'@x;;;;;;;;;;;;;;ERROR EN DATOS");
  const auto json = Ejecutar(kZelkCalc, {"--csv", archivo, "--format", "json"}, kEspanol);
  EXPECT_NE(json.out.find("{\"caso\":\"B\",\"Idc\":\"=1+2\",\"nota\":\"@x\",\"alpha\":null"),
            std::string::npos)
      << "JSON is not read as formulas: texts as they were\n"
      << json.out;
}

TEST(HojasDeCalculo, CodigoDeWindows) {
  const auto p = Ejecutar(kZelkCalc,
                          {"--csv", Escribir("cp1252.csv",
                                             "caso,Idc\nEspa\xf1"
                                             "a,1000\n")},
                          kIngles);
  EXPECT_EQ(p.estado, 2);
  EXPECT_EQ(p.err, "zelk-calc: línea 2: el texto no es UTF-8: guarde la hoja como «CSV UTF-8»\n");
}

TEST(Barridos, LimitesEnormesDanPuntosFinitos) {
  const auto p = Ejecutar(kZelkCalc, {"--sweep", "Vdci=1e308:-1e308:3"}, kIngles);
  EXPECT_EQ(p.estado, 0) << p.err;
  const auto l = Lineas(p.out);
  ASSERT_EQ(l.size(), 4u);
  EXPECT_TRUE(l[1].starts_with("1E+308,")) << l[1];
  EXPECT_TRUE(l[2].starts_with("0,")) << l[2];
  EXPECT_TRUE(l[2].ends_with(",OK")) << l[2];
  EXPECT_TRUE(l[3].starts_with("-1E+308,")) << l[3];
}

// A plot of many points holds what the picture can show, not every point: the size of the file
// stays that of a few thousand points per curve.
TEST(Grafico, MuchosPuntosReducidos) {
  const auto ruta = Carpeta() + "/muchos.svg";
  std::filesystem::remove(ruta);
  const auto p =
      Ejecutar(kZelkCalc,
               {"--sweep", "Vdci=-700:600:100000", "-o", Carpeta() + "/muchos.csv", "--plot", ruta},
               kIngles);
  EXPECT_EQ(p.estado, 0) << p.err;
  EXPECT_LT(std::filesystem::file_size(ruta), 3'000'000u) << "all 100,000 points drawn";
  QFile archivo(QString::fromStdString(ruta));
  ASSERT_TRUE(archivo.open(QIODevice::ReadOnly));
  QXmlStreamReader xml(&archivo);
  QStringList textos;
  while (!xml.atEnd())
    if (xml.readNext() == QXmlStreamReader::Characters)
      textos << xml.text().toString().trimmed();
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  EXPECT_TRUE(textos.contains(QStringLiteral("Vdci [kV]")));
}

// Sweeps of huge values: axes that stay within the doubles.
TEST(Grafico, ValoresEnormes) {
  const auto ruta = Carpeta() + "/enormes.png";
  std::filesystem::remove(ruta);
  const auto p = Ejecutar(kZelkCalc, {"--sweep", "Vdci=-1e308:1e308:50", "--plot", ruta}, kIngles);
  EXPECT_EQ(p.estado, 0) << p.err;
  EXPECT_GT(std::filesystem::file_size(ruta), 1000u);
}

}  // namespace
}  // namespace zelk
