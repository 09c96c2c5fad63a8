// The resident memory of the test process, as its system counts it; each system has its own
// source file.
#pragma once

namespace zelk::prueba {

long KilobytesResidentes();

}  // namespace zelk::prueba
