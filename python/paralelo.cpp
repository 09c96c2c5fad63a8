#include "python/paralelo.h"

#include <pybind11/pybind11.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace zelk::python {

namespace {

using Reloj = std::chrono::steady_clock;

// How often the calling thread looks at Python's signals.
constexpr auto kCadaCuanto = std::chrono::milliseconds(40);

// The GIL given up by the calling thread, and taken back now and then to run the signal handlers.
class SinGil {
 public:
  SinGil() : estado_(PyEval_SaveThread()) {}
  ~SinGil() { PyEval_RestoreThread(estado_); }
  SinGil(const SinGil&) = delete;
  SinGil& operator=(const SinGil&) = delete;

  // False when a handler raised: the exception is left set for the thread, to be thrown once the
  // GIL is held again.
  bool SinSenales() {
    PyEval_RestoreThread(estado_);
    const bool bien = PyErr_CheckSignals() == 0;
    estado_ = PyEval_SaveThread();
    return bien;
  }

 private:
  PyThreadState* estado_;
};

}  // namespace

void EnParalelo(std::size_t n, std::size_t hilos,
                const std::function<void(std::size_t, std::size_t)>& tramo) {
  const std::size_t partes = std::clamp<std::size_t>(n / kFilasPorHilo, 1, hilos);
  const auto limite = [&](std::size_t k) { return n * k / partes; };
  std::atomic<bool> parar{false};
  const auto bloques = [&](std::size_t desde, std::size_t hasta) {
    for (std::size_t i = desde; i < hasta && !parar.load(std::memory_order_relaxed);
         i += kFilasPorBloque)
      tramo(i, std::min(hasta, i + kFilasPorBloque));
  };

  std::mutex mutex;
  std::condition_variable terminado;
  std::size_t enMarcha = 0;
  std::vector<std::thread> otros;
  std::vector<std::size_t> propias;  // the parts this thread does itself
  propias.push_back(0);
  bool interrumpido = false;
  {
    SinGil sinGil;
    otros.reserve(partes - 1);
    propias.reserve(partes);
    for (std::size_t k = 1; k < partes; ++k) {
      {
        const std::lock_guard<std::mutex> cerrado(mutex);
        ++enMarcha;
      }
      try {
        otros.emplace_back([&, k] {
          bloques(limite(k), limite(k + 1));
          const std::lock_guard<std::mutex> cerrado(mutex);
          --enMarcha;
          terminado.notify_one();
        });
      } catch (const std::system_error&) {
        const std::lock_guard<std::mutex> cerrado(mutex);
        --enMarcha;
        propias.push_back(k);  // no thread to be had: this one does that part too
      }
    }
    auto ultimaMirada = Reloj::now();
    const auto mirar = [&] {
      if (Reloj::now() - ultimaMirada < kCadaCuanto)
        return;
      ultimaMirada = Reloj::now();
      if (!interrumpido && !sinGil.SinSenales()) {
        interrumpido = true;
        parar = true;
      }
    };
    for (std::size_t k : propias) {
      for (std::size_t i = limite(k); i < limite(k + 1) && !parar; i += kFilasPorBloque) {
        tramo(i, std::min(limite(k + 1), i + kFilasPorBloque));
        mirar();
      }
    }
    std::unique_lock<std::mutex> cerrado(mutex);
    while (enMarcha > 0) {
      terminado.wait_for(cerrado, kCadaCuanto);
      cerrado.unlock();
      mirar();
      cerrado.lock();
    }
    cerrado.unlock();
    for (auto& t : otros)
      t.join();
  }
  if (interrumpido)
    throw pybind11::error_already_set();
}

}  // namespace zelk::python
