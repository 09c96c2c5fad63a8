// A plot laid out in a QCustomPlot written as a PNG, PDF or SVG file of a given size. A PNG is
// drawn in bands of rows, so that its memory stays that of one band whatever its size.
#pragma once

#include <QSize>
#include <cstddef>
#include <optional>
#include <string>

#include "grafico/formatos.h"

class QCustomPlot;
class QIODevice;

namespace zelk::grafico {

// The picture of a band of a PNG holds at most this many bytes (four per pixel; at least 16 rows).
inline constexpr std::size_t kBytesPorBanda = std::size_t{32} << 20;

// Writes `grafico` into `destino` as a file of `formato`, `tamano` pixels (a PDF page of as many
// pixels at 96 per inch, as the picture shows on a screen). The reason when it cannot: a format
// this build does not write (Escribe), a size that is not positive, a failed write.
std::optional<std::string> Escribir(QCustomPlot& grafico, lotes::FormatoGrafico formato,
                                    QSize tamano, QIODevice& destino,
                                    std::size_t bytesPorBanda = kBytesPorBanda);

}  // namespace zelk::grafico
