#include "regional/regional_qt.h"

#include <QString>

namespace zelk {

ConfiguracionRegional RegionalDe(const QLocale& locale) {
  // Only the separators are taken from Qt; every number is read and written by the engine.
  return {locale.decimalPoint().toStdString(), locale.groupSeparator().toStdString()};
}

ConfiguracionRegional RegionalDelSistema() {
  return RegionalDe(QLocale::system());
}

std::optional<ConfiguracionRegional> RegionalPorNombre(std::string_view nombre) {
  // Names as the environment gives them ("es_ES.UTF-8", "C.UTF-8", "ca_ES@valencia"): the
  // character set and the variant say nothing of the numbers.
  nombre = nombre.substr(0, nombre.find_first_of(".@"));
  const auto texto = QString::fromUtf8(nombre.data(), static_cast<qsizetype>(nombre.size()));
  const QLocale locale(texto);
  // Qt falls back to the C locale for names it does not know.
  if (locale.language() == QLocale::C && texto != u"C" && texto != u"POSIX")
    return std::nullopt;
  return RegionalDe(locale);
}

}  // namespace zelk
