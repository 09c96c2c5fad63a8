// Runs a program as a child process with a chosen environment and collects what it writes.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zelk::prueba {

struct Proceso {
  int estado = -1;  // exit status, or -1 when it did not exit normally
  std::string out, err;
  long memoriaKb = 0;  // the most memory it held at once (resident), its own children's included
};

// `entorno` entries ("LANG=es_ES.UTF-8") replace the locale variables of the caller's
// environment, which are dropped; the rest of it is kept.
// `entrada`, when given, is what the program reads on standard input (a few kilobytes at most).
Proceso Ejecutar(const std::string& programa, const std::vector<std::string>& args,
                 const std::vector<std::string>& entorno,
                 const std::optional<std::string>& entrada = std::nullopt);

}  // namespace zelk::prueba
