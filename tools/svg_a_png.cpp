// Build tool: renders an SVG drawing into a square PNG of the given size.
//   svg_a_png DIBUJO.svg LADO SALIDA.png
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "uso: svg_a_png DIBUJO.svg LADO SALIDA.png\n");
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication aplicacion(argc, argv);
  QSvgRenderer dibujo(QString::fromLocal8Bit(argv[1]));
  bool bien = false;
  const int lado = QString::fromLatin1(argv[2]).toInt(&bien);
  if (!dibujo.isValid() || !bien || lado <= 0 || lado > 4096) {
    std::fprintf(stderr, "svg_a_png: no se puede dibujar %s a %s pixeles\n", argv[1], argv[2]);
    return 1;
  }
  QImage imagen(lado, lado, QImage::Format_ARGB32);
  imagen.fill(Qt::transparent);
  QPainter pintor(&imagen);
  dibujo.render(&pintor, QRectF(0, 0, lado, lado));
  pintor.end();
  return imagen.save(QString::fromLocal8Bit(argv[3]), "PNG") ? 0 : 1;
}
