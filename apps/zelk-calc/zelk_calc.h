// The command-line pass of zelk-calc: the start-up texts, some fields retyped, one press of
// "Calcular", the 13 result texts. No Qt here; the caller brings the regional settings.
#pragma once

#include <functional>
#include <istream>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/texto_numero.h"
#include "lote/pasada_inicio.h"

namespace zelk {

namespace lotes {  // in lote/lotes.h
struct Curvas;
enum class FormatoGrafico;
}  // namespace lotes

struct EntornoCalc {
  ConfiguracionRegional regional;  // the settings of the environment
  std::function<std::optional<ConfiguracionRegional>(std::string_view)> regionalPorNombre;
  std::istream* entrada = nullptr;  // standard input, for "--csv -"
  // Draws a sweep's curves as a picture of the given size in one of `formatos`: the file's
  // bytes, or empty with the reason in `error`.
  std::function<std::optional<std::string>(const lotes::Curvas&, lotes::FormatoGrafico, int ancho,
                                           int alto, std::string& error)>
      dibujar;
  std::span<const lotes::FormatoGrafico> formatos{};
};

inline constexpr int kSalidaBien = 0;
// A usage error, a malformed file, or a file that cannot be read or written.
inline constexpr int kSalidaUso = 2;
inline constexpr int kSalidaRechazo = 3;

// Why --plot is refused, before any work, where the build draws no plots (`dibujar` empty), or
// not SVG (`formatos` without it); the help says it too.
inline constexpr std::string_view kSinGraficos = "esta versión de zelk-calc no dibuja gráficos";
inline constexpr std::string_view kPorQueSinSvg = "su Qt no trae el módulo Qt Svg";

inline constexpr std::string_view kUsoCalc = "uso: zelk-calc [--locale NOMBRE] [NOMBRE=TEXTO]...";

// zelk-calc with its arguments (without the program's name); returns the exit status.
int EjecutarCalc(std::span<const std::string_view> args, const EntornoCalc& entorno,
                 std::ostream& out, std::ostream& err);

}  // namespace zelk
