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
// "Rdc [Ω]"), its field's caption, quotes or brackets around it ("'Idc", "[Idc]"), characters
// that cannot be seen in it (a second byte-order mark, U+200B, U+202A, a soft hyphen), or Greek,
// Cyrillic or full-width letters drawn like its own ("Іdc" with a Cyrillic І). Null when it looks
// like none.
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

// The hint for a name that looks like one of the 18 data or a control datum: "¿es el dato «Xcr»?",
// "¿es el dato de control «Vprog»?", with NotaDeCaracteres. Empty when it looks like none.
std::optional<std::string> PistaDeDato(std::string_view nombre);

// What a name holds that its reader may not see: " (el nombre lleva U+200B, U+0406)", the code
// points of the characters that cannot be seen and of the look-alikes of Latin letters, at most
// four; empty when there is none. Every hint ends with it.
std::string NotaDeCaracteres(std::string_view nombre);

// Said of a table none of whose columns is a datum: without one, every row would be the start-up
// values.
inline constexpr std::string_view kSinDatos =
    "ninguna columna es un dato (Uacr, tapr, Nr, Idc… como en la ventana); cada fila daría los "
    "valores del inicio";

}  // namespace zelk::lotes
