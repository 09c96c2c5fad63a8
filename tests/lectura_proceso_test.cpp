// zelk-calc as a process reading what users give it: numbers in files as their author wrote them
// or refused by name, headers and separators as spreadsheets write them, every rejection told, and
// output files that neither lose nor expose anything.
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/casos.h"
#include "tests/proceso.h"

namespace zelk {
namespace {

namespace fs = std::filesystem;
using prueba::Ejecutar;

const std::string kZelkCalc = ZELK_CALC;
const std::vector<std::string> kC{"LANG=C.UTF-8"};
const std::vector<std::string> kEspanol{"LANG=es_ES.UTF-8", "LOCPATH=" ZELK_LOCPATH};

fs::path Carpeta() {
  const auto c = fs::path(ZELK_TRABAJO) / "lectura";
  fs::create_directories(c);
  return c;
}

std::string Poner(const std::string& nombre, const std::string& contenido) {
  const auto ruta = Carpeta() / nombre;
  fs::remove(ruta);
  std::ofstream(ruta, std::ios::binary) << contenido;
  return ruta.string();
}

std::string Leer(const fs::path& ruta) {
  std::ifstream f(ruta, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), {}};
}

// A run of zelk-calc: "{csv}" in `args` stands for a file holding `csv`.
struct CasoLectura {
  std::string nombre;
  std::vector<std::string> entorno;
  std::string csv;
  std::vector<std::string> args;
  int estado;
  std::string err;  // what standard error must hold
  std::string out = {};
};

class Lectura : public testing::TestWithParam<CasoLectura> {};

TEST_P(Lectura, LeeComoQuisoElAutorONombraLoQueRechaza) {
  const auto& c = GetParam();
  std::vector<std::string> args = c.args;
  for (auto& a : args)
    if (a == "{csv}")
      a = Poner(c.nombre + ".csv", c.csv);
  const auto p = Ejecutar(kZelkCalc, args, c.entorno);
  EXPECT_EQ(p.estado, c.estado) << p.err;
  EXPECT_NE(p.err.find(c.err), std::string::npos) << p.err;
  EXPECT_NE(p.out.find(c.out), std::string::npos) << p.out;
}

const std::vector<std::string> kCsv{"--csv", "{csv}"};

INSTANTIATE_TEST_SUITE_P(
    Numeros, Lectura,
    testing::Values(
        CasoLectura{"ComaBajoPuntoDecimal", kC, "Idc;Rdc\n1000,5;12,5\n", kCsv, 3,
                    "1 fila de 1 rechazada: línea 2: «Idc» = «1000,5» no es un número con punto "
                    "decimal; con coma decimal, --locale es_ES\n",
                    "\r\n\"1000,5\",\"12,5\",,"},
        CasoLectura{"PuntoBajoComaDecimal", kEspanol, "Idc\n1000.5\n", kCsv, 3,
                    "«1000.5» no es un número con coma decimal; con punto decimal, --locale "
                    "en_US"},
        CasoLectura{"MilesComoEnLaHoja", kEspanol, "Idc;Rdc\n1.000,5;12\n", kCsv, 0, "",
                    "1.000,5;12;23,"},
        CasoLectura{
            "ApostrofoSuizo", kC, "Idc\n1'000.5\n", {"--locale", "de_CH", "--csv", "{csv}"}, 0, ""},
        CasoLectura{"ApostrofoBajoPunto", kC, "Idc\n1'000.5\n", kCsv, 3,
                    "con punto decimal y ’ entre miles, --locale de_CH"},
        // "2.500E+03" is how an English spreadsheet writes 2500 in scientific format.
        CasoLectura{"ExponenteConGrupo", kEspanol, "Idc\n2.500E+03\n", kCsv, 3,
                    "línea 2: «Idc» = «2.500E+03» no es un número con coma decimal; con punto "
                    "decimal, --locale en_US\n"},
        CasoLectura{"ExponenteEnPasoDeTap",
                    kEspanol,
                    "",
                    {"--tap-for", "alpha=15", "--tap-step", "6.250E-03", "--tap-range", "0,9:1,1"},
                    2,
                    "--tap-step: «6.250E-03» no es un número con coma decimal; con punto decimal, "
                    "--locale en_US"},
        CasoLectura{"AvisoDeExponenteEnLaPasada",
                    kEspanol,
                    "",
                    {"Idc=2.500E+03"},
                    0,
                    "zelk-calc: aviso: Idc: «2.500E+03» se lee 2500000\n"},
        CasoLectura{"LetrasSinSugerencia", kC, "Idc\nmil\n", kCsv, 3,
                    "línea 2: «Idc» = «mil» no es un número\n"},
        CasoLectura{"LimiteDeBarrido",
                    kC,
                    "",
                    {"--sweep", "Idc=1000,5:2000:3"},
                    2,
                    "barrido Idc: «1000,5» no es un número con punto decimal; con coma decimal"},
        CasoLectura{"BarridoDeLetras",
                    kC,
                    "",
                    {"--sweep", "Idc=abc:2:3"},
                    2,
                    "barrido Idc: «abc» no es un número\n"},
        CasoLectura{"PasoDeTap",
                    kEspanol,
                    "",
                    {"--tap-for", "alpha=15", "--tap-step", "0.0125", "--tap-range", "0,9:1,1"},
                    2,
                    "--tap-step: «0.0125» no es un número"},
        CasoLectura{"AvisoEnLaPasada",
                    kC,
                    "",
                    {"Idc=1000,5"},
                    0,
                    "zelk-calc: aviso: Idc: «1000,5» se lee 10005\n"},
        CasoLectura{"PasadaRechazadaNombraLosDatos",
                    kC,
                    "",
                    {"Nr=abc", "tapi=0"},
                    3,
                    "ERROR EN DATOS. Se sobreescriben con los valores por defecto.\nzelk-calc: "
                    "«Nr» = «abc» no es un número\nzelk-calc: «tapi» = «0» no puede valer 0\n"}),
    prueba::PorNombre());

INSTANTIATE_TEST_SUITE_P(
    Cabeceras, Lectura,
    testing::Values(
        CasoLectura{"NingunDato", kC, "caso,nota\na,b\n", kCsv, 2,
                    "línea 1: ninguna columna es un dato"},
        CasoLectura{"UnidadEntreParentesis", kC, "Idc (A),caso\n1000,a\n", kCsv, 2,
                    "columna «Idc (A)»: ¿es el dato «Idc»?"},
        CasoLectura{"UnidadEntreCorchetes", kC, "Idc[A]\n1000\n", kCsv, 2, "¿es el dato «Idc»?"},
        CasoLectura{"Sufijo", kC, "Idc_A\n1000\n", kCsv, 2, "¿es el dato «Idc»?"},
        CasoLectura{"Ohmios", kC, "Rdc [Ω]\n12\n", kCsv, 2, "¿es el dato «Rdc»?"},
        CasoLectura{"EspacioFijoDetras", kC, "Idc\u00A0\n1000\n", kCsv, 2, "¿es el dato «Idc»?"},
        CasoLectura{"ResultadoConUnidad", kC, "Idc,Pr (MW)\n1000,1\n", kCsv, 2,
                    "la columna «Pr (MW)» tiene el nombre de un resultado"},
        CasoLectura{"PuntoYComaEnUnaNota", kC, "Idc,nota;x\n1000,a;b\n", kCsv, 0, "",
                    "Idc,nota;x,alpha"},
        CasoLectura{"SeparadorEntreComillas", kC, "Idc,\"caso; nota\"\n1000,x\n", kCsv, 0, "",
                    "Idc,caso; nota,alpha"},
        CasoLectura{"Tabulador", kC, "Idc\tRdc\n1000\t12\n", kCsv, 0, "", "Idc,Rdc,alpha"},
        CasoLectura{"ColumnaYAsignacion",
                    kC,
                    "Idc\n1000\n",
                    {"--csv", "{csv}", "Idc=5"},
                    2,
                    "columna «Idc»: el dato se da también como Idc=TEXTO"},
        CasoLectura{"BarridoYAsignacion",
                    kC,
                    "",
                    {"--sweep", "Idc=1:2:2", "Idc=5"},
                    2,
                    "--sweep Idc: el dato se da también como Idc=TEXTO"},
        CasoLectura{
            "AsignacionRepetida", kC, "", {"Idc=1", "Idc=2"}, 2, "Idc=TEXTO: dado más de una vez"}),
    prueba::PorNombre());

INSTANTIATE_TEST_SUITE_P(
    Rechazos, Lectura,
    testing::Values(
        CasoLectura{"ElPrimeroYCuantos", kC, "Nr\n2\n0\nabc\n", kCsv, 3,
                    "2 de 3 filas rechazadas; la primera, línea 3: «Nr» = «0» no puede valer 0\n"},
        CasoLectura{"ConArchivoDeSalida",
                    kC,
                    "Nr\n0\n",
                    {"--csv", "{csv}", "-o", (Carpeta() / "rechazos.csv").string()},
                    3,
                    "1 fila de 1 rechazada: línea 2: «Nr» = «0» no puede valer 0"},
        CasoLectura{"FilasDeSoloSeparadores", kEspanol, "Idc;Rdc\n;\n1000;12\n;;\n", kCsv, 0,
                    "nota: 2 filas sin datos (solo separadores) saltadas"},
        CasoLectura{"PuntosDeUnBarrido",
                    kC,
                    "",
                    {"--sweep", "Nr=-1:1:3"},
                    3,
                    "1 punto de 3 rechazado: Nr = 0: «Nr» = «0» no puede valer 0"}),
    prueba::PorNombre());

TEST(Salida, LaEntradaEstandarNoSeSustituye) {
  const std::string ruta = Poner("entrada.csv", "Idc\n1000\n");
  const auto p = Ejecutar("/bin/sh", {"-c", kZelkCalc + " --csv - -o " + ruta + " < " + ruta}, kC);
  EXPECT_EQ(p.estado, 2);
  EXPECT_NE(p.err.find("es a la vez la entrada estándar y la salida"), std::string::npos) << p.err;
  EXPECT_EQ(Leer(ruta), "Idc\n1000\n");
}

// Names in the folder that look like a temporary output file.
std::vector<std::string> Temporales(const fs::path& carpeta) {
  std::vector<std::string> t;
  for (const auto& e : fs::directory_iterator(carpeta))
    if (e.path().extension() == ".tmp")
      t.push_back(e.path().filename().string());
  return t;
}

// In a child before it runs zelk-calc: every signal at its default action and let through (the
// test may ignore SIGPIPE), and no core file of a signal that dumps one.
void Predeterminado() {
  sigset_t ninguna;
  sigemptyset(&ninguna);
  sigprocmask(SIG_SETMASK, &ninguna, nullptr);
  signal(SIGPIPE, SIG_DFL);
  const rlimit sinCore{0, 0};
  setrlimit(RLIMIT_CORE, &sinCore);
}

// zelk-calc reading a pipe that stays open, so that it waits with its temporary file made.
struct Bloqueado {
  pid_t pid = -1;
  int escritura = -1;
  explicit Bloqueado(const std::vector<std::string>& args) {
    int tubo[2];
    if (pipe(tubo) != 0)
      return;
    pid = fork();
    if (pid == 0) {
      Predeterminado();
      dup2(tubo[0], 0);
      close(tubo[1]);
      std::vector<char*> argv{const_cast<char*>(kZelkCalc.c_str())};
      for (const auto& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
      argv.push_back(nullptr);
      execv(kZelkCalc.c_str(), argv.data());
      _exit(127);
    }
    close(tubo[0]);
    escritura = tubo[1];
    const std::string cabecera = "Idc\n1000\n";
    EXPECT_EQ(write(escritura, cabecera.data(), cabecera.size()),
              static_cast<ssize_t>(cabecera.size()));
  }
  // Waits for the temporary file to appear in `carpeta`.
  bool Esperar(const fs::path& carpeta) const {
    for (int i = 0; i < 500; ++i) {
      if (!Temporales(carpeta).empty())
        return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
  }
  int Terminar() {
    close(escritura);
    int estado = 0;
    waitpid(pid, &estado, 0);
    return estado;
  }
};

class Senal : public testing::TestWithParam<int> {};

TEST_P(Senal, BorraElTemporalYTerminaComoLaSenal) {
  const fs::path carpeta = Carpeta() / ("senal-" + std::to_string(GetParam()));
  fs::remove_all(carpeta);
  fs::create_directories(carpeta);
  Bloqueado zelk({"--csv", "-", "-o", (carpeta / "tabla.csv").string()});
  ASSERT_TRUE(zelk.Esperar(carpeta));
  kill(zelk.pid, GetParam());
  const int estado = zelk.Terminar();
  ASSERT_TRUE(WIFSIGNALED(estado));
  EXPECT_EQ(WTERMSIG(estado), GetParam());
  EXPECT_TRUE(Temporales(carpeta).empty());
  EXPECT_FALSE(fs::exists(carpeta / "tabla.csv"));
}

// Every signal whose default action ends the process, SIGPIPE and SIGXFSZ sent by another among
// them.
INSTANTIATE_TEST_SUITE_P(Interrupciones, Senal,
                         testing::Values(SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGUSR1, SIGUSR2,
                                         SIGALRM, SIGVTALRM, SIGPROF, SIGXCPU, SIGXFSZ, SIGPIPE,
                                         SIGABRT, SIGRTMIN + 1));

// zelk-calc run to its end with its files limited to `limite` bytes (0: none), its standard error
// read into `err` or, without it, into a pipe that nobody reads; the wait status.
int Correr(std::vector<std::string> args, rlim_t limite, std::string* err) {
  int tubo[2];
  if (pipe(tubo) != 0)
    return -1;
  if (err == nullptr)
    close(tubo[0]);
  args.insert(args.begin(), kZelkCalc);
  const pid_t pid = fork();
  if (pid == 0) {
    Predeterminado();
    const rlimit tope{limite, limite};
    if (limite > 0)
      setrlimit(RLIMIT_FSIZE, &tope);
    dup2(tubo[1], 2);
    std::vector<char*> argv;
    for (auto& a : args)
      argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  close(tubo[1]);
  char buf[4096];
  for (ssize_t n; err != nullptr && (n = read(tubo[0], buf, sizeof buf)) > 0;)
    err->append(buf, static_cast<std::size_t>(n));
  if (err != nullptr)
    close(tubo[0]);
  int estado = 0;
  waitpid(pid, &estado, 0);
  return estado;
}

// A write that meets the file size limit, or a standard error nobody reads, fails as a write
// (EFBIG, EPIPE): the program says so where it can and ends by its status, not by the signal.
TEST(Salida, EscrituraFallidaNoEsUnaSenal) {
  const fs::path carpeta = Carpeta() / "escritura";
  fs::remove_all(carpeta);
  fs::create_directories(carpeta);
  const std::string tabla = (carpeta / "tabla.csv").string();
  std::string err;
  int estado = Correr({"--sweep", "Idc=1:2:100000", "-o", tabla}, 64 << 10, &err);
  ASSERT_TRUE(WIFEXITED(estado)) << WTERMSIG(estado);
  EXPECT_EQ(WEXITSTATUS(estado), 2);
  EXPECT_EQ(err,
            "zelk-calc: no se puede escribir «" + tabla + "»: archivo demasiado grande (EFBIG)\n");
  EXPECT_TRUE(fs::is_empty(carpeta));
  // The table is whole; only the messages about it are lost.
  estado = Correr({"--csv", Poner("sin-lector.csv", "Idc\nx\n1000\n"), "-o", tabla}, 0, nullptr);
  ASSERT_TRUE(WIFEXITED(estado)) << WTERMSIG(estado);
  EXPECT_EQ(WEXITSTATUS(estado), 3);
  EXPECT_NE(Leer(tabla).find("\r\n1000,23.62,"), std::string::npos);
  EXPECT_TRUE(Temporales(carpeta).empty());
}

// Run by a user who may not give the new file the replaced one's owner and group, zelk-calc says
// whose it was.
TEST(Salida, DuenoQueNoSePuedeConservar) {
  if (geteuid() != 0)
    GTEST_SKIP() << "hace falta root para correr zelk-calc como otro usuario";
  const std::string setpriv = "/usr/bin/setpriv";
  if (!fs::exists(setpriv))
    GTEST_SKIP() << "no hay setpriv para correr zelk-calc como otro usuario";
  const std::vector<std::string> otro{"--reuid=12345", "--regid=12345", "--clear-groups",
                                      kZelkCalc};
  std::vector<std::string> version = otro;
  version.push_back("--version");
  if (Ejecutar(setpriv, version, kC).estado != 0)
    GTEST_SKIP() << "el usuario 12345 no puede ejecutar " << kZelkCalc;
  const fs::path carpeta = Carpeta() / "dueno";
  fs::remove_all(carpeta);
  fs::create_directories(carpeta);
  fs::permissions(carpeta, fs::perms::all);
  const fs::path tabla = carpeta / "tabla.csv";
  std::ofstream(tabla) << "antes";
  fs::permissions(tabla, static_cast<fs::perms>(0666));
  std::vector<std::string> args = otro;
  args.insert(args.end(), {"--sweep", "Idc=1:2:2", "-o", tabla.string()});
  const auto p = Ejecutar(setpriv, args, kC);
  EXPECT_EQ(p.estado, 0) << p.err;
  EXPECT_TRUE(p.err.starts_with("zelk-calc: nota: «" + tabla.string() +
                                "» era de root, grupo root; el nuevo es "))
      << p.err;
  struct stat st {};
  ASSERT_EQ(stat(tabla.c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, 12345u);
  EXPECT_TRUE(Temporales(carpeta).empty());
}

TEST(Salida, TemporalPrivadoYModoFinal) {
  const fs::path carpeta = Carpeta() / "modos";
  fs::remove_all(carpeta);
  fs::create_directories(carpeta);
  const fs::path privado = carpeta / "privado.csv";
  std::ofstream(privado) << "antes";
  fs::permissions(privado, fs::perms::owner_read | fs::perms::owner_write);
  Bloqueado zelk({"--csv", "-", "-o", privado.string()});
  ASSERT_TRUE(zelk.Esperar(carpeta));
  const auto temporal = carpeta / Temporales(carpeta).front();
  EXPECT_EQ(fs::status(temporal).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(WEXITSTATUS(zelk.Terminar()), 0);
  EXPECT_EQ(fs::status(privado).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);

  const mode_t mascara = umask(022);
  const fs::path nuevo = carpeta / "nuevo.csv";
  EXPECT_EQ(Ejecutar(kZelkCalc, {"--sweep", "Idc=1:2:2", "-o", nuevo.string()}, kC).estado, 0);
  umask(mascara);
  EXPECT_EQ(fs::status(nuevo).permissions() & fs::perms::all, static_cast<fs::perms>(0644));
}

TEST(Salida, EnlacesYCarpetas) {
  const fs::path carpeta = Carpeta() / "enlaces";
  fs::remove_all(carpeta);
  fs::create_directories(carpeta);
  const auto barrido = [&](const fs::path& salida) {
    return Ejecutar(kZelkCalc, {"--sweep", "Idc=1:2:2", "-o", salida.string()}, kC);
  };
  // A link to a file not yet made is written through; the link stays.
  fs::create_symlink("destino.csv", carpeta / "enlace.csv");
  EXPECT_EQ(barrido(carpeta / "enlace.csv").estado, 0);
  EXPECT_TRUE(fs::is_symlink(fs::symlink_status(carpeta / "enlace.csv")));
  EXPECT_TRUE(Leer(carpeta / "destino.csv").starts_with("Idc,alpha"));

  fs::create_symlink("bucle-b", carpeta / "bucle-a");
  fs::create_symlink("bucle-a", carpeta / "bucle-b");
  const auto bucle = barrido(carpeta / "bucle-a");
  EXPECT_EQ(bucle.estado, 2);
  EXPECT_NE(bucle.err.find("demasiados niveles de enlaces simbólicos (ELOOP)"), std::string::npos)
      << bucle.err;

  std::ofstream(carpeta / "archivo") << "x";
  const auto sinCarpeta = barrido(carpeta / "archivo" / "tabla.csv");
  EXPECT_EQ(sinCarpeta.estado, 2);
  EXPECT_NE(sinCarpeta.err.find("no se puede crear un archivo en «" +
                                (carpeta / "archivo").string() + "/»: no es una carpeta"),
            std::string::npos)
      << sinCarpeta.err;

  const std::string largo = std::string(240, 'n') + ".csv";
  EXPECT_EQ(barrido(carpeta / largo).estado, 0);
  EXPECT_TRUE(fs::exists(carpeta / largo));
}

TEST(Salida, JsonDeMuchasColumnas) {
  // Every key once per row, in the header's order.
  std::string cabecera = "Idc", fila = "1000";
  for (int i = 0; i < 3000; ++i) {
    cabecera += ",c" + std::to_string(i);
    fila += ",v";
  }
  const auto p = Ejecutar(
      kZelkCalc, {"--csv", Poner("ancho.csv", cabecera + "\n" + fila + "\n"), "--format", "json"},
      kC);
  EXPECT_EQ(p.estado, 0) << p.err;
  EXPECT_NE(p.out.find("\"c2998\":\"v\",\"c2999\":\"v\",\"alpha\":\"23.62\""), std::string::npos);
}

// Blocks of rows computed on several threads come out as one thread writes them: the table, the
// count of rejections and the first of them, a fault's line and the rows before it.
TEST(Hilos, LaMismaTablaConCualquierNumero) {
  std::string csv = "caso;Idc;Nr;Rdc\n";
  for (int i = 0; i < 9000; ++i)
    csv += "c" + std::to_string(i) + ";" + std::to_string(500 + i) + ";" +
           (i % 1777 == 5 ? "0" : "2") + ";" + (i % 3001 == 7 ? "x" : "12") + "\n";
  const std::string archivo = Poner("hilos.csv", csv);
  const std::string roto = Poner("hilos-roto.csv", csv + "1;2\n");
  const std::vector<std::vector<std::string>> casos{
      {"--csv", archivo},
      {"--csv", archivo, "--format", "json", "--raw"},
      {"--csv", roto},
      {"--sweep", "Nr=-2:2:5", "--sweep", "Idc=1000:3000:2001"}};
  for (const auto& args : casos) {
    std::vector<std::string> uno = args;
    uno.insert(uno.end(), {"--hilos", "1"});
    const auto referencia = Ejecutar(kZelkCalc, uno, kEspanol);
    EXPECT_NE(referencia.err, "");
    for (const std::string hilos : {"2", "3", "8"}) {
      std::vector<std::string> varios = args;
      varios.insert(varios.end(), {"--hilos", hilos});
      const auto p = Ejecutar(kZelkCalc, varios, kEspanol);
      EXPECT_EQ(p.estado, referencia.estado) << args[1] << " " << hilos;
      EXPECT_EQ(p.err, referencia.err) << args[1] << " " << hilos;
      EXPECT_TRUE(p.out == referencia.out) << args[1] << " " << hilos;
    }
  }
  EXPECT_EQ(Ejecutar(kZelkCalc, {"--csv", archivo, "--hilos", "0"}, kC).estado, 2);
}

// The given texts of a row come back as they were read, a text a spreadsheet would take for a
// formula guarded, whether the row is echoed as its line or field by field.
TEST(Eco, TextosDadosComoSeLeyeron) {
  struct Caso {
    std::string fila, eco;
  };
  const Caso casos[] = {
      {"Idc;caso\n1000;nota\n", "1000;nota;"},
      {"Idc;caso\n1000;=1+1\n", "1000;'=1+1;"},
      {"Idc;caso\n1000;-5\n", "1000;-5;"},
      {"Idc;caso\n1000;@x\n", "1000;'@x;"},
      {"Idc;caso\n2000,5;a b\n", "2000,5;a b;"},
      {"Idc;caso\n1000;\xEF\xBB\xBFz\n", "1000;\xEF\xBB\xBFz;"},
      {"Idc;caso\n1000;\xEF\xBB\xBF=1\n", "1000;'\xEF\xBB\xBF=1;"},
      {"Idc;caso\n1000;\"x;y\"\n", "1000;\"x;y\";"},
      {"Idc;caso\n1000;\n", "1000;;"},
      {"Idc,caso\n1000,=1+1\n", "1000;'=1+1;"},
  };
  for (const auto& c : casos) {
    const auto p = Ejecutar(kZelkCalc, {"--locale", "es_ES", "--csv", "-"}, kC, c.fila);
    const auto fila = p.out.substr(p.out.find('\n') + 1);
    EXPECT_EQ(fila.substr(0, c.eco.size()), c.eco) << c.fila;
  }
}

}  // namespace
}  // namespace zelk
