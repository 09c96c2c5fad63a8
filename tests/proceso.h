// Runs a program as a child process with a chosen environment and collects what it writes.
#pragma once

#include <string>
#include <vector>

namespace zelk::prueba {

struct Proceso {
  int estado = -1;  // exit status, or -1 when it did not exit normally
  std::string out, err;
};

// `entorno` entries ("LANG=es_ES.UTF-8") replace the locale variables of the caller's
// environment, which are dropped; the rest of it is kept.
Proceso Ejecutar(const std::string& programa, const std::vector<std::string>& args,
                 const std::vector<std::string>& entorno);

}  // namespace zelk::prueba
