// The names of the temporary files that a signal handler removes: fixed room and atomic flags, so
// that the handler, which may run at any moment and on any thread, touches no memory that may be
// freed or moved under it.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <string>

namespace zelk::archivos {

template <typename Caracter, std::size_t kLargo>
class Vigilados {
 public:
  static constexpr int kCuantos = 8;  // a few output files at a time

  // The name's place, from 1; 0 when it is too long or the table is full.
  int Anadir(const std::basic_string<Caracter>& nombre) {
    if (nombre.size() >= kLargo)
      return 0;
    for (std::size_t i = 0; i < kCuantos; ++i) {
      if (ocupados_[i].load())
        continue;
      std::char_traits<Caracter>::copy(nombres_[i].data(), nombre.c_str(), nombre.size() + 1);
      ocupados_[i].store(true);
      return static_cast<int>(i) + 1;
    }
    return 0;
  }

  void Quitar(int lugar) {
    if (lugar > 0 && lugar <= kCuantos)
      ocupados_[static_cast<std::size_t>(lugar - 1)].store(false);
  }

  // `borrar(nombre)` for every name in the table; safe inside a signal handler.
  template <typename Borrar>
  void ParaCada(Borrar borrar) const {
    for (std::size_t i = 0; i < kCuantos; ++i)
      if (ocupados_[i].load())
        borrar(nombres_[i].data());
  }

 private:
  std::array<std::array<Caracter, kLargo>, kCuantos> nombres_{};
  std::array<std::atomic<bool>, kCuantos> ocupados_{};
};

}  // namespace zelk::archivos
