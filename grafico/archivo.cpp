// A plot written as a file: PNG in bands, PDF through QPdfWriter, SVG through QSvgGenerator.
#include "grafico/archivo.h"

#include <qcustomplot.h>

#include <QIODevice>
#include <QImage>
#include <QPageSize>
#include <QPdfWriter>
#include <algorithm>

#include "grafico/png.h"

#if ZELK_GRAFICO_SVG
#include <QSvgGenerator>
#endif

namespace zelk::grafico {

namespace {

// Texts in points take as many pixels in every format as on a screen of 96 dots per inch, where
// the pictures are seen.
constexpr int kPuntosPorPulgada = 96;

std::optional<std::string> Png(QCustomPlot& grafico, QSize tamano, QIODevice& destino,
                               std::size_t bytesPorBanda) {
  // At least a few rows: bands of a row or two round the edges of some antialiased lines a shade
  // differently from a picture drawn whole.
  constexpr std::size_t kFilasMinimas = 16;
  const auto bytesFila = static_cast<std::size_t>(tamano.width()) * 4;
  const int filas = static_cast<int>(std::min(std::max(bytesPorBanda / bytesFila, kFilasMinimas),
                                              static_cast<std::size_t>(tamano.height())));
  QImage banda(tamano.width(), filas, QImage::Format_RGB32);
  if (banda.isNull())
    return "no hay memoria para una banda de " + std::to_string(tamano.width()) + "x" +
           std::to_string(filas) + " píxeles del gráfico";
  EscritorPng png(destino, tamano.width(), tamano.height());
  for (int y = 0; y < tamano.height(); y += filas) {
    banda.fill(Qt::white);
    QCPPainter pintor(&banda);
    pintor.translate(0, -y);
    grafico.toPainter(&pintor, tamano.width(), tamano.height());
    pintor.end();
    if (auto motivo = png.Filas(banda, std::min(filas, tamano.height() - y)))
      return motivo;
  }
  return png.Terminar();
}

// QCustomPlot's drawing for a device of lines and texts rather than pixels.
bool DibujarVectores(QCustomPlot& grafico, QPaintDevice& dispositivo, QSize tamano) {
  QCPPainter pintor;
  if (!pintor.begin(&dispositivo))
    return false;
  pintor.setMode(QCPPainter::pmVectorized);
  grafico.toPainter(&pintor, tamano.width(), tamano.height());
  return pintor.end();
}

}  // namespace

std::optional<std::string> Escribir(QCustomPlot& grafico, lotes::FormatoGrafico formato,
                                    QSize tamano, QIODevice& destino, std::size_t bytesPorBanda) {
  if (!Escribe(formato))
    return "esta versión no escribe gráficos SVG: su Qt no trae el módulo Qt Svg";
  if (tamano.width() <= 0 || tamano.height() <= 0)
    return "el gráfico ha de medir al menos un píxel de ancho y uno de alto";
  switch (formato) {
    case lotes::FormatoGrafico::Png:
      return Png(grafico, tamano, destino, bytesPorBanda);
    case lotes::FormatoGrafico::Pdf: {
      QPdfWriter pdf(&destino);
      pdf.setResolution(kPuntosPorPulgada);
      pdf.setPageSize(QPageSize(QSizeF(tamano) / kPuntosPorPulgada, QPageSize::Inch, QString(),
                                QPageSize::ExactMatch));
      pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
      pdf.setCreator(QStringLiteral("zelk"));
      if (!DibujarVectores(grafico, pdf, tamano))
        return "no se puede dibujar el gráfico PDF";
      return std::nullopt;
    }
    case lotes::FormatoGrafico::Svg: {
#if ZELK_GRAFICO_SVG
      QSvgGenerator svg;
      svg.setOutputDevice(&destino);
      svg.setSize(tamano);
      svg.setViewBox(QRect(QPoint(0, 0), tamano));
      svg.setResolution(kPuntosPorPulgada);
      svg.setTitle(QStringLiteral("zelk"));
      if (!DibujarVectores(grafico, svg, tamano))
        return "no se puede dibujar el gráfico SVG";
#endif
      return std::nullopt;
    }
  }
  return "formato de gráfico desconocido";
}

}  // namespace zelk::grafico
