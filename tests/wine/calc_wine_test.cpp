// zelk-calc's core on Windows: the single pass, a sweep and a CSV batch give the same texts as on
// Linux.
#include <cstdio>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "calc/zelk_calc.h"

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

  std::printf(fallos == 0 ? "zelk-calc bajo Wine: bien\n" : "zelk-calc bajo Wine: %d fallos\n",
              fallos);
  return fallos == 0 ? 0 : 1;
}
