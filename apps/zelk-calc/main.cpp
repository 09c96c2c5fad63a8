#include <clocale>
#include <iostream>
#include <string_view>
#include <vector>

#include "calc/grafico_qt.h"
#include "calc/zelk_calc.h"
#include "regional/regional_qt.h"

int main(int argc, char** argv) {
  // Like the window program, whose application object does the same: the C library's locale
  // follows the environment. No number of ours passes through it.
  std::setlocale(LC_ALL, "");
  // The standard streams on file buffers of their own, which report a failed read (a folder or a
  // closed descriptor as standard input) instead of taking it for the end of the input.
  std::ios::sync_with_stdio(false);
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  const zelk::EntornoCalc entorno{zelk::RegionalDelSistema(), zelk::RegionalPorNombre, &std::cin,
                                  zelk::DibujarCurvas};
  return zelk::EjecutarCalc(args, entorno, std::cout, std::cerr);
}
