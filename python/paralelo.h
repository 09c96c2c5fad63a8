// Work over many rows on several threads, without the GIL, that Ctrl+C can stop.
#pragma once

#include <cstddef>
#include <functional>

namespace zelk::python {

// Rows per thread below which starting a thread costs more than it saves.
inline constexpr std::size_t kFilasPorHilo = 16384;
// Rows done between two looks at whether to stop: a few milliseconds of work.
inline constexpr std::size_t kFilasPorBloque = 8192;

// `tramo(desde, hasta)` over [0, n), in blocks, on at most `hilos` threads, the calling thread
// among them. Called with the GIL held; it is released while the rows are done. Every few tens
// of milliseconds the calling thread takes the GIL back for a moment to run Python's signal
// handlers: when one raises (Ctrl+C's KeyboardInterrupt), every thread stops at the end of its
// block and the exception is thrown from here, with the GIL held, once they all have.
void EnParalelo(std::size_t n, std::size_t hilos,
                const std::function<void(std::size_t, std::size_t)>& tramo);

}  // namespace zelk::python
