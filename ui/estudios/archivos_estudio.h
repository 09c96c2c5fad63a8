// What zelk Estudios reads and writes: a study or a PSS/E case read whole, and every file it
// writes (a study, a table, a picture) written beside its name and put in its place only when
// complete, so that a failure never leaves half a file nor spoils the one it would replace.
#pragma once

#include <QString>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "lote/estudio.h"
#include "lote/psse_calc.h"
#include "lote/tabla.h"

namespace zelk::ui::estudios {

struct DefinicionBarrido;

// Whether the file is taken for a PSS/E case rather than a study: by its extension, and without
// one a study's file starts with "{".
bool EsCasoPsse(const QString& ruta, std::string_view principio);

// The file's bytes, at most `maximo`; why not.
std::variant<std::string, std::string> LeerArchivo(const QString& ruta, std::size_t maximo);

// `bytes` as the file `ruta`; why not.
std::optional<std::string> EscribirArchivo(const QString& ruta, std::string_view bytes);

// The sweep's table as zelk-calc writes it, in CSV or JSON; why not.
std::optional<std::string> ExportarTabla(const QString& ruta, const DefinicionBarrido& d,
                                         const ConfiguracionRegional& r,
                                         lotes::OpcionesSalida opciones);

}  // namespace zelk::ui::estudios
