// The user's regional settings for numbers, taken from Qt's locale data. QLocale::system() follows
// LC_ALL, then LC_NUMERIC, then LANG, and needs no C-library locale to be generated.
#pragma once

#include <QLocale>
#include <optional>
#include <string_view>

#include "engine/texto_numero.h"

namespace zelk {

ConfiguracionRegional RegionalDe(const QLocale& locale);
ConfiguracionRegional RegionalDelSistema();

// The settings of a named locale ("es_ES", "es_ES.UTF-8", "C.UTF-8"); empty when Qt knows no
// such locale.
std::optional<ConfiguracionRegional> RegionalPorNombre(std::string_view nombre);

}  // namespace zelk
