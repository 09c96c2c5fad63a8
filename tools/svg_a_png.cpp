// Build tool: renders an SVG drawing into a PNG of the given size in pixels (or of its own size
// times N), or gathers PNGs into a Windows icon file.
//   svg_a_png DIBUJO.svg ANCHO[xALTO]|@N SALIDA.png
//   svg_a_png --ico SALIDA.ico IMAGEN.png...
#include <QByteArray>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>
#include <vector>

namespace {

void Poner16(QByteArray& b, int v) {
  b.append(static_cast<char>(v & 0xff));
  b.append(static_cast<char>((v >> 8) & 0xff));
}

void Poner32(QByteArray& b, qint64 v) {
  Poner16(b, static_cast<int>(v & 0xffff));
  Poner16(b, static_cast<int>((v >> 16) & 0xffff));
}

// One image of an icon file: a 32-bit bitmap with its alpha, bottom row first, and the 1-bit
// mask that older readers use for transparency.
QByteArray MapaDeIcono(const QImage& origen) {
  const QImage imagen = origen.convertToFormat(QImage::Format_ARGB32);
  const int ancho = imagen.width(), alto = imagen.height();
  const int bytesMascara = (ancho + 31) / 32 * 4;
  QByteArray b;
  Poner32(b, 40);
  Poner32(b, ancho);
  Poner32(b, 2 * alto);  // the colours and the mask, one above the other
  Poner16(b, 1);
  Poner16(b, 32);
  Poner32(b, 0);
  Poner32(b, static_cast<qint64>(ancho) * alto * 4 + static_cast<qint64>(bytesMascara) * alto);
  for (int i = 0; i < 4; ++i)
    Poner32(b, 0);
  for (int y = alto - 1; y >= 0; --y)
    for (int x = 0; x < ancho; ++x) {
      const QRgb p = imagen.pixel(x, y);
      b.append(static_cast<char>(qBlue(p)));
      b.append(static_cast<char>(qGreen(p)));
      b.append(static_cast<char>(qRed(p)));
      b.append(static_cast<char>(qAlpha(p)));
    }
  for (int y = alto - 1; y >= 0; --y) {
    QByteArray fila(bytesMascara, '\0');
    for (int x = 0; x < ancho; ++x)
      if (qAlpha(imagen.pixel(x, y)) == 0)
        fila[x / 8] = static_cast<char>(fila[x / 8] | (0x80 >> (x % 8)));
    b.append(fila);
  }
  return b;
}

int EscribirIcono(const char* salida, const std::vector<const char*>& pngs) {
  std::vector<QByteArray> mapas;
  std::vector<QSize> tamanos;
  for (const char* png : pngs) {
    const QImage imagen(QString::fromLocal8Bit(png));
    if (imagen.isNull() || imagen.width() > 256 || imagen.height() > 256) {
      std::fprintf(stderr, "svg_a_png: %s no sirve para un icono\n", png);
      return 1;
    }
    // The largest image as the PNG file itself, as Windows Vista and later read it: a bitmap of
    // 256 pixels would weigh a quarter of a megabyte.
    QFile archivo(QString::fromLocal8Bit(png));
    if (imagen.width() == 256 && archivo.open(QIODevice::ReadOnly))
      mapas.push_back(archivo.readAll());
    else
      mapas.push_back(MapaDeIcono(imagen));
    tamanos.push_back(imagen.size());
  }
  QByteArray icono;
  Poner16(icono, 0);
  Poner16(icono, 1);  // an icon, not a cursor
  Poner16(icono, static_cast<int>(mapas.size()));
  qint64 lugar = 6 + 16 * static_cast<qint64>(mapas.size());
  for (std::size_t i = 0; i < mapas.size(); ++i) {
    // 256 pixels are written as 0.
    icono.append(static_cast<char>(tamanos[i].width() & 0xff));
    icono.append(static_cast<char>(tamanos[i].height() & 0xff));
    icono.append(2, '\0');
    Poner16(icono, 1);
    Poner16(icono, 32);
    Poner32(icono, mapas[i].size());
    Poner32(icono, lugar);
    lugar += mapas[i].size();
  }
  for (const auto& mapa : mapas)
    icono.append(mapa);
  QFile archivo(QString::fromLocal8Bit(salida));
  return archivo.open(QIODevice::WriteOnly) && archivo.write(icono) == icono.size() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 4 && QByteArray(argv[1]) == "--ico")
    return EscribirIcono(argv[2], std::vector<const char*>(argv + 3, argv + argc));
  if (argc != 4) {
    std::fprintf(stderr,
                 "uso: svg_a_png DIBUJO.svg ANCHO[xALTO]|@N SALIDA.png\n"
                 "     svg_a_png --ico SALIDA.ico IMAGEN.png...\n");
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication aplicacion(argc, argv);
  QSvgRenderer dibujo(QString::fromLocal8Bit(argv[1]));
  const QString medidas = QString::fromLatin1(argv[2]);
  bool bien = false;
  int ancho = 0, alto = 0;
  if (medidas.startsWith(QLatin1Char('@'))) {
    const int veces = medidas.mid(1).toInt(&bien);
    bien = bien && veces > 0 && veces <= 16;
    ancho = dibujo.defaultSize().width() * veces;
    alto = dibujo.defaultSize().height() * veces;
  } else {
    const QStringList partes = medidas.split(QLatin1Char('x'));
    bool bienAlto = partes.size() == 1;
    ancho = partes.value(0).toInt(&bien);
    alto = partes.size() == 1 ? ancho : partes.value(1).toInt(&bienAlto);
    bien = bien && bienAlto && partes.size() <= 2;
  }
  if (!dibujo.isValid() || !bien || ancho <= 0 || alto <= 0 || ancho > 8192 || alto > 8192) {
    std::fprintf(stderr, "svg_a_png: no se puede dibujar %s a %s pixeles\n", argv[1], argv[2]);
    return 1;
  }
  QImage imagen(ancho, alto, QImage::Format_ARGB32_Premultiplied);
  imagen.fill(Qt::transparent);
  QPainter pintor(&imagen);
  dibujo.render(&pintor, QRectF(0, 0, ancho, alto));
  pintor.end();
  return imagen.save(QString::fromLocal8Bit(argv[3]), "PNG") ? 0 : 1;
}
