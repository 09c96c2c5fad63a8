// The PNG file written band by band: its chunks, the rows' filters and zlib's deflate stream.
#include "grafico/png.h"

#include <zlib.h>

#include <QIODevice>
#include <QImage>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace zelk::grafico {

namespace {

constexpr std::size_t kBytesPixel = 3;      // RGB, 8 bits each
constexpr std::size_t kSalida = 64 * 1024;  // an IDAT chunk per this many deflated bytes

void BigEndian(std::vector<unsigned char>& v, std::uint32_t n) {
  for (int desplazamiento : {24, 16, 8, 0})
    v.push_back(static_cast<unsigned char>(n >> desplazamiento));
}

unsigned char Paeth(int a, int b, int c) {
  const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  return static_cast<unsigned char>(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
}

}  // namespace

struct EscritorPng::Estado {
  QIODevice& destino;
  int ancho, alto, escritas = 0;
  bool fallo = false;
  z_stream z{};
  bool zAbierto = false;
  std::vector<unsigned char> anterior, actual, salida;
  std::array<std::vector<unsigned char>, 5> filtradas;  // the filter byte, then the row

  Estado(QIODevice& d, int w, int h) : destino(d), ancho(w), alto(h) {}

  void Trozo(const char tipo[4], const unsigned char* datos, std::size_t n) {
    std::vector<unsigned char> cabeza;
    BigEndian(cabeza, static_cast<std::uint32_t>(n));
    cabeza.insert(cabeza.end(), tipo, tipo + 4);
    uLong crc = crc32(0, cabeza.data() + 4, 4);
    if (n > 0)  // zlib takes a null buffer for a request of the initial value
      crc = crc32(crc, datos, static_cast<uInt>(n));
    std::vector<unsigned char> cola;
    BigEndian(cola, static_cast<std::uint32_t>(crc));
    using Parte = std::pair<const unsigned char*, std::size_t>;
    for (const auto& [p, t] :
         {Parte{cabeza.data(), cabeza.size()}, Parte{datos, n}, Parte{cola.data(), cola.size()}})
      if (t > 0 && destino.write(reinterpret_cast<const char*>(p), static_cast<qint64>(t)) !=
                       static_cast<qint64>(t))
        fallo = true;
  }

  // Feeds `n` bytes to deflate, writing an IDAT chunk whenever its output fills up; with `fin`,
  // to the end of the stream.
  bool Deflactar(const unsigned char* datos, std::size_t n, bool fin) {
    z.next_in = const_cast<Bytef*>(datos);
    z.avail_in = static_cast<uInt>(n);
    for (;;) {
      const int r = deflate(&z, fin ? Z_FINISH : Z_NO_FLUSH);
      if (r == Z_STREAM_ERROR)
        return false;
      const std::size_t hechos = kSalida - z.avail_out;
      if (z.avail_out == 0 || (r == Z_STREAM_END && hechos > 0)) {
        Trozo("IDAT", salida.data(), hechos);
        z.next_out = salida.data();
        z.avail_out = static_cast<uInt>(kSalida);
      }
      if (r == Z_STREAM_END || (!fin && z.avail_in == 0 && z.avail_out > 0))
        return true;
    }
  }

  // The row in `actual` through the five filters; the one whose bytes, as signed, sum least.
  const std::vector<unsigned char>& Filtrar() {
    const std::size_t n = actual.size();
    std::size_t mejor = 0;
    long menor = -1;
    for (std::size_t f = 0; f < filtradas.size(); ++f) {
      auto& v = filtradas[f];
      v[0] = static_cast<unsigned char>(f);
      long suma = 0;
      for (std::size_t i = 0; i < n; ++i) {
        const int a = i >= kBytesPixel ? actual[i - kBytesPixel] : 0;
        const int b = anterior[i];
        const int c = i >= kBytesPixel ? anterior[i - kBytesPixel] : 0;
        const int prediccion = f == 0   ? 0
                               : f == 1 ? a
                               : f == 2 ? b
                               : f == 3 ? (a + b) / 2
                                        : Paeth(a, b, c);
        v[i + 1] = static_cast<unsigned char>(actual[i] - prediccion);
        suma += std::abs(static_cast<signed char>(v[i + 1]));
      }
      if (menor < 0 || suma < menor) {
        menor = suma;
        mejor = f;
      }
    }
    return filtradas[mejor];
  }
};

EscritorPng::EscritorPng(QIODevice& destino, int ancho, int alto)
    : e_(std::make_unique<Estado>(destino, ancho, alto)) {
  const std::size_t fila = static_cast<std::size_t>(ancho) * kBytesPixel;
  e_->anterior.assign(fila, 0);
  e_->actual.assign(fila, 0);
  for (auto& v : e_->filtradas)
    v.assign(fila + 1, 0);
  e_->salida.assign(kSalida, 0);
  e_->zAbierto = deflateInit(&e_->z, Z_DEFAULT_COMPRESSION) == Z_OK;
  e_->fallo = !e_->zAbierto;
  e_->z.next_out = e_->salida.data();
  e_->z.avail_out = static_cast<uInt>(kSalida);

  static constexpr unsigned char kFirma[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  if (destino.write(reinterpret_cast<const char*>(kFirma), sizeof kFirma) != sizeof kFirma)
    e_->fallo = true;
  std::vector<unsigned char> cabecera;
  BigEndian(cabecera, static_cast<std::uint32_t>(ancho));
  BigEndian(cabecera, static_cast<std::uint32_t>(alto));
  // 8 bits per sample, RGB; deflate, the five filters, not interlaced.
  cabecera.insert(cabecera.end(), {8, 2, 0, 0, 0});
  e_->Trozo("IHDR", cabecera.data(), cabecera.size());
}

EscritorPng::~EscritorPng() {
  if (e_->zAbierto)
    deflateEnd(&e_->z);
}

std::optional<std::string> EscritorPng::Filas(const QImage& banda, int filas) {
  if (filas < 0 || filas > banda.height() || filas > e_->alto - e_->escritas ||
      banda.width() != e_->ancho)
    return "las filas no caben en el PNG";
  const QImage rgb =
      banda.format() == QImage::Format_RGB32 || banda.format() == QImage::Format_ARGB32
          ? banda
          : banda.convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < filas && !e_->fallo; ++y) {
    const auto* pixeles = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    for (int x = 0; x < e_->ancho; ++x) {
      auto* p = &e_->actual[static_cast<std::size_t>(x) * kBytesPixel];
      p[0] = static_cast<unsigned char>(qRed(pixeles[x]));
      p[1] = static_cast<unsigned char>(qGreen(pixeles[x]));
      p[2] = static_cast<unsigned char>(qBlue(pixeles[x]));
    }
    const auto& filtrada = e_->Filtrar();
    if (!e_->Deflactar(filtrada.data(), filtrada.size(), false))
      e_->fallo = true;
    e_->anterior.swap(e_->actual);
    ++e_->escritas;
  }
  if (e_->fallo)
    return "no se puede escribir el gráfico PNG";
  return std::nullopt;
}

std::optional<std::string> EscritorPng::Terminar() {
  if (e_->escritas != e_->alto)
    return "faltan filas del gráfico PNG";
  if (!e_->fallo && !e_->Deflactar(nullptr, 0, true))
    e_->fallo = true;
  if (!e_->fallo)
    e_->Trozo("IEND", nullptr, 0);
  if (e_->fallo)
    return "no se puede escribir el gráfico PNG";
  return std::nullopt;
}

}  // namespace zelk::grafico
