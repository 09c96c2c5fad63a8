// Blocks of work made in order by one thread, worked on by several, and handed back in order: a
// batch's rows read, computed and written at the speed of every core, with the output as one
// thread alone would write it and a bounded number of blocks in memory.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace zelk::lotes {

// `llenar(bloque)` fills the next block and says whether there was one; `trabajar(bloque)` works
// on a block and must not throw; `entregar(bloque)` takes the blocks back in the order they were
// filled. `llenar` and `entregar` run on the calling thread, `trabajar` on any of `hilos` threads,
// the caller among them. An exception from `llenar` comes out after every block filled before it
// is handed back; one from `entregar` at once.
template <typename Bloque, typename Llenar, typename Trabajar, typename Entregar>
void EnOrden(std::size_t hilos, Llenar llenar, Trabajar trabajar, Entregar entregar) {
  if (hilos <= 1) {
    Bloque bloque;
    while (true) {
      std::exception_ptr fallo;
      bool hay = false;
      try {
        hay = llenar(bloque);
      } catch (...) {
        fallo = std::current_exception();
      }
      if (hay || fallo) {
        trabajar(bloque);
        entregar(bloque);
      }
      if (fallo)
        std::rethrow_exception(fallo);
      if (!hay)
        return;
    }
  }

  enum class Estado { Libre, Pendiente, EnCurso, Hecho };
  struct Hueco {
    Bloque bloque;
    Estado estado = Estado::Libre;
  };
  // Enough blocks that no thread waits for another's while the oldest one is written.
  std::vector<Hueco> huecos(2 * hilos + 2);
  std::mutex cerrojo;
  std::condition_variable cambio;
  std::size_t siguienteLleno = 0;    // blocks filled so far
  std::size_t siguienteTomado = 0;   // blocks taken by a thread
  std::size_t siguienteEntrega = 0;  // blocks handed back
  bool fin = false;

  const auto hueco = [&](std::size_t n) -> Hueco& { return huecos[n % huecos.size()]; };
  // Takes the oldest block waiting and works on it; false when there was none.
  const auto trabajarUno = [&](std::unique_lock<std::mutex>& l) {
    if (siguienteTomado == siguienteLleno)
      return false;
    Hueco& h = hueco(siguienteTomado++);
    h.estado = Estado::EnCurso;
    l.unlock();
    trabajar(h.bloque);
    l.lock();
    h.estado = Estado::Hecho;
    cambio.notify_all();
    return true;
  };

  std::vector<std::thread> otros;
  const auto parar = [&] {
    {
      std::lock_guard l(cerrojo);
      fin = true;
    }
    cambio.notify_all();
    for (auto& t : otros)
      t.join();
  };
  for (std::size_t i = 1; i < hilos; ++i)
    otros.emplace_back([&] {
      std::unique_lock l(cerrojo);
      while (true) {
        cambio.wait(l, [&] { return fin || siguienteTomado < siguienteLleno; });
        if (!trabajarUno(l) && fin)
          return;
      }
    });

  // Hands back every block that is done, oldest first.
  const auto entregarHechos = [&](std::unique_lock<std::mutex>& l) {
    while (siguienteEntrega < siguienteLleno && hueco(siguienteEntrega).estado == Estado::Hecho) {
      Hueco& h = hueco(siguienteEntrega);
      l.unlock();
      entregar(h.bloque);
      l.lock();
      h.estado = Estado::Libre;
      ++siguienteEntrega;
    }
  };

  std::exception_ptr fallo;
  try {
    bool quedan = true;
    std::unique_lock l(cerrojo);
    while (true) {
      entregarHechos(l);
      if (quedan && hueco(siguienteLleno).estado == Estado::Libre) {
        Hueco& h = hueco(siguienteLleno);
        l.unlock();
        try {
          quedan = llenar(h.bloque);
        } catch (...) {
          // What was read before the fault is still computed and handed back.
          fallo = std::current_exception();
          quedan = false;
        }
        l.lock();
        if (quedan || fallo) {
          h.estado = Estado::Pendiente;
          ++siguienteLleno;
          cambio.notify_all();
        }
        quedan = quedan && !fallo;
        continue;
      }
      if (!quedan && siguienteEntrega == siguienteLleno)
        break;
      // The window is full, or the input is over: help with the work, or wait for it.
      if (!trabajarUno(l))
        cambio.wait(l, [&] {
          return hueco(siguienteEntrega).estado == Estado::Hecho ||
                 siguienteTomado < siguienteLleno;
        });
    }
  } catch (...) {
    parar();
    throw;
  }
  parar();
  if (fallo)
    std::rethrow_exception(fallo);
}

}  // namespace zelk::lotes
