// Linux: arguments and terminals are bytes, UTF-8 under the users' locales.
#include "apps/zelk-calc/consola.h"

namespace zelk {

std::vector<std::string> ArgumentosUtf8(int argc, char** argv) {
  return std::vector<std::string>(argv + 1, argv + argc);
}

void PrepararConsola() {}

}  // namespace zelk
