// A PNG file written a band of rows at a time: the memory of a picture of any size is that of one
// band. 8-bit RGB, each row with the filter whose bytes sum least (as encoders usually choose),
// deflated by zlib.
#pragma once

#include <memory>
#include <optional>
#include <string>

class QImage;
class QIODevice;

namespace zelk::grafico {

class EscritorPng {
 public:
  // Writes the header; `ancho` and `alto` are positive.
  EscritorPng(QIODevice& destino, int ancho, int alto);
  ~EscritorPng();
  EscritorPng(const EscritorPng&) = delete;
  EscritorPng& operator=(const EscritorPng&) = delete;

  // The next `filas` rows of the picture, from the top of `banda` (RGB32, as wide as the picture).
  // The reason when the write fails or the rows are more than the picture has.
  std::optional<std::string> Filas(const QImage& banda, int filas);
  // Once every row is written: the end of the file, or why it cannot be.
  std::optional<std::string> Terminar();

 private:
  struct Estado;
  std::unique_ptr<Estado> e_;
};

}  // namespace zelk::grafico
