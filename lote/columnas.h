// What the name of a column in a table of operating points stands for: one of the 18 data, a
// column of the user's own (a case name, a note), or a name that cannot be taken because it is a
// result's or looks like a datum's written another way. zelk-calc and the Python module judge
// their columns here, so both refuse the same names with the same words.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "engine/control.h"
#include "engine/enlace.h"

namespace zelk::lotes {

// The datum a name looks like without being its name: the same letters in another case, blanks
// (also no-break spaces) around it, a unit or a suffix after it ("Idc (A)", "Idc[A]", "Idc_A",
// "Rdc [Ω]"), or its field's caption. Null when it looks like none.
const DescripcionParametro* Parecido(std::string_view nombre);

// Why a column of this name is refused: it bears a result's name (or that of the status column the
// output adds, `estado`), or it looks like a datum's; empty when it is a datum's own name or a
// column of the user's.
std::optional<std::string> MotivoColumna(std::string_view nombre,
                                         std::string_view estado = "estado");

// The control datum a name looks like without being its name, as Parecido judges the 18 data's.
const DescripcionControl* ParecidoControl(std::string_view nombre);

// Why a column of this name is refused where control data may be given: it looks like a control
// datum's name; or, in a table solved under control data (`control`), it bears the name of a
// column the solution adds ("modo", "avisos"). Empty otherwise.
std::optional<std::string> MotivoColumnaControl(std::string_view nombre, bool control);

// Said of a table none of whose columns is a datum: without one, every row would be the start-up
// values.
inline constexpr std::string_view kSinDatos =
    "ninguna columna es un dato (Uacr, tapr, Nr, Idc… como en la ventana); cada fila daría los "
    "valores del inicio";

}  // namespace zelk::lotes
