// zelk-calc's core on Windows: the single pass, a sweep and a CSV batch give the same texts as on
// Linux; output files replace earlier ones only when the run succeeds, and never the input.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "apps/zelk-calc/zelk_calc.h"

namespace {

int fallos = 0;

void Comprobar(bool condicion, const char* que) {
  if (!condicion) {
    std::printf("FALLO: %s\n", que);
    ++fallos;
  }
}

struct Salida {
  int estado;
  std::string out, err;
};

Salida Ejecutar(std::vector<std::string_view> args, std::istream* entrada = nullptr) {
  const zelk::EntornoCalc entorno{zelk::ConfiguracionRegional(",", "."),
                                  [](std::string_view) { return std::nullopt; }, entrada, nullptr};
  std::ostringstream out, err;
  const int estado = zelk::EjecutarCalc(args, entorno, out, err);
  return {estado, out.str(), err.str()};
}

}  // namespace

int main() {
  const auto pasada = Ejecutar({"Idc=1.000"});
  Comprobar(pasada.estado == 0, "una pasada sale con 0");
  Comprobar(pasada.out.find("Vdcr\t537\n") != std::string::npos, "Vdcr 537");
  Comprobar(pasada.out.find("Iacr\t686,13\n") != std::string::npos, "Iacr 686,13");

  const auto barrido = Ejecutar({"--sweep", "Idc=1000:2000:3"});
  Comprobar(barrido.estado == 0, "un barrido sale con 0");
  Comprobar(barrido.out.find("2000;18,40;7,57;") != std::string::npos, "el último punto");

  std::istringstream csv("Idc;Rdc\r\n1000;12\r\nabc;5\r\n");
  const auto lote = Ejecutar({"--csv", "-"}, &csv);
  Comprobar(lote.estado == 3, "una fila rechazada sale con 3");
  Comprobar(lote.out.find("abc;5;;;;;;;;;;;;;;ERROR EN DATOS") != std::string::npos,
            "la fila rechazada");

  const auto tap = Ejecutar({"--tap-for", "alpha=15"});
  Comprobar(tap.out.find("alpha\t15,00\n") != std::string::npos, "el tap da alpha 15,00");

  std::istringstream hoja(
      "\xEF\xBB\xBF"
      "caso;Idc\r1;1000\r");
  const auto conMarca = Ejecutar({"--csv", "-"}, &hoja);
  Comprobar(conMarca.estado == 0, "marca de orden y fines de línea CR");
  Comprobar(conMarca.out.find("1;1000;23,62;") != std::string::npos, "la columna propia pasa");

  namespace fs = std::filesystem;
  const fs::path carpeta = fs::temp_directory_path() / "zelk-calc-wine";
  fs::remove_all(carpeta);
  fs::create_directories(carpeta);
  const auto leer = [](const fs::path& ruta) {
    std::ifstream f(ruta, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
  };
  const std::string entrada = (carpeta / "entrada.csv").string();
  const std::string salida = (carpeta / "salida.csv").string();
  std::ofstream(entrada, std::ios::binary) << "Idc\n1000\n";
  std::ofstream(salida, std::ios::binary) << "anterior";
  const auto misma = Ejecutar({"--csv", entrada, "-o", entrada});
  Comprobar(misma.estado == 2 && leer(entrada) == "Idc\n1000\n", "la entrada no es la salida");
  const std::string otroNombre = (carpeta / "." / "entrada.csv").string();
  const auto otra = Ejecutar({"--csv", entrada, "-o", otroNombre});
  Comprobar(otra.estado == 2 && leer(entrada) == "Idc\n1000\n", "ni con otro nombre");
  const auto falta = Ejecutar({"--csv", (carpeta / "no-hay.csv").string(), "-o", salida});
  Comprobar(falta.estado == 2 && leer(salida) == "anterior", "sin entrada, la salida sigue");
  const auto bien = Ejecutar({"--csv", entrada, "-o", salida});
  Comprobar(bien.estado == 0 && leer(salida).rfind("Idc;alpha;", 0) == 0,
            "la tabla sustituye a la anterior");
  std::size_t archivos = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(carpeta))
    ++archivos;
  Comprobar(archivos == 2, "ningún archivo temporal queda");

  // Names no ANSI code page holds, given as UTF-8 as the program's arguments arrive: written and
  // read under their own names, and no other file made.
  const std::string omega = "\xCE\xA9";
  const std::string puntos = (carpeta / "puntos ").string() + omega + ".csv";
  const std::string resultados = (carpeta / "resultados ").string() + omega + ".csv";
  const auto puntosAncho = carpeta / L"puntos \u03A9.csv";
  const auto resultadosAncho = carpeta / L"resultados \u03A9.csv";
  std::ofstream(puntosAncho, std::ios::binary) << "Idc\n1000\n";
  const auto unicode = Ejecutar({"--csv", puntos, "-o", resultados});
  Comprobar(unicode.estado == 0, "nombres con Ω: estado 0");
  Comprobar(leer(resultadosAncho).rfind("Idc;alpha;", 0) == 0, "la tabla, con su nombre");
  archivos = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(carpeta))
    ++archivos;
  Comprobar(archivos == 4, "ningún archivo de otro nombre");
  Comprobar(Ejecutar({"--csv", puntos, "-o", puntos}).estado == 2, "Ω: la entrada no es la salida");
  fs::remove_all(carpeta);

  std::printf(fallos == 0 ? "zelk-calc bajo Wine: bien\n" : "zelk-calc bajo Wine: %d fallos\n",
              fallos);
  return fallos == 0 ? 0 : 1;
}
