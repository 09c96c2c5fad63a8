// Names of table-driven cases: each case carries its own `nombre`.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace zelk::prueba {

struct PorNombre {
  template <class Caso>
  std::string operator()(const testing::TestParamInfo<Caso>& caso) const {
    return caso.param.nombre;
  }
};

}  // namespace zelk::prueba

namespace zelk {
namespace {
// Shows a case by its name in test listings, instead of its bytes. The test files define their
// cases in this same unnamed namespace, where the lookup of gtest finds this.
template <class Caso>
requires requires(const Caso& c) {
  c.nombre;
}
void PrintTo(const Caso& caso, std::ostream* os) {
  *os << caso.nombre;
}
}  // namespace
}  // namespace zelk
