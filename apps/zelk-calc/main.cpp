#include <clocale>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "apps/zelk-calc/consola.h"
#include "apps/zelk-calc/grafico_qt.h"
#include "apps/zelk-calc/zelk_calc.h"
#include "grafico/formatos.h"
#include "regional/regional_qt.h"

int main(int argc, char** argv) {
  // Like the window program, whose application object does the same: the C library's locale
  // follows the environment. No number of ours passes through it.
  std::setlocale(LC_ALL, "");
  // The standard streams on file buffers of their own, which report a failed read (a folder or a
  // closed descriptor as standard input) instead of taking it for the end of the input.
  std::ios::sync_with_stdio(false);
  zelk::PrepararConsola();
  const std::vector<std::string> argumentos = zelk::ArgumentosUtf8(argc, argv);
  const std::vector<std::string_view> args(argumentos.begin(), argumentos.end());
  // The formats this build does not write are refused before any work, and the help names those
  // it does.
  const zelk::EntornoCalc entorno{zelk::RegionalDelSistema(), zelk::RegionalPorNombre, &std::cin,
                                  zelk::DibujarCurvas, zelk::grafico::kFormatos};
  return zelk::EjecutarCalc(args, entorno, std::cout, std::cerr);
}
