#include "lote/columnas.h"

#include <algorithm>

#include "engine/control.h"
#include "lote/control_lote.h"

namespace zelk::lotes {

namespace {

// Blanks a spreadsheet may leave around a name: space, tab, no-break and narrow no-break space.
std::size_t BlancoAlPrincipio(std::string_view t) {
  if (!t.empty() && (t.front() == ' ' || t.front() == '\t'))
    return 1;
  for (std::string_view b : {"\u00A0", "\u202F", "\u2007"})
    if (t.starts_with(b))
      return b.size();
  return 0;
}

std::size_t BlancoAlFinal(std::string_view t) {
  if (!t.empty() && (t.back() == ' ' || t.back() == '\t'))
    return 1;
  for (std::string_view b : {"\u00A0", "\u202F", "\u2007"})
    if (t.ends_with(b))
      return b.size();
  return 0;
}

char Minuscula(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IgualesSinCaja(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return Minuscula(x) == Minuscula(y);
         });
}

bool EsLetraOCifra(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// The longest of `nombres` that `t` is, or begins with before something that is not a letter or a
// digit (a unit in brackets, "_A"), in any letter case. "Idcaso" is not "Idc".
template <typename Tabla>
auto Prefijo(std::string_view t, const Tabla& tabla) -> decltype(&tabla[0]) {
  decltype(&tabla[0]) mejor = nullptr;
  for (const auto& d : tabla) {
    const std::string_view n = d.nombre;
    if (t.size() < n.size() || !IgualesSinCaja(t.substr(0, n.size()), n))
      continue;
    if (t.size() > n.size() && EsLetraOCifra(t[n.size()]))
      continue;
    if (mejor == nullptr || n.size() > mejor->nombre.size())
      mejor = &d;
  }
  return mejor;
}

std::string_view SinBlancos(std::string_view t) {
  while (std::size_t n = BlancoAlPrincipio(t))
    t.remove_prefix(n);
  while (std::size_t n = BlancoAlFinal(t))
    t.remove_suffix(n);
  return t;
}

}  // namespace

const DescripcionParametro* Parecido(std::string_view nombre) {
  if (BuscarParametro(nombre) != nullptr)
    return nullptr;
  const std::string_view t = SinBlancos(nombre);
  for (const auto& p : kParametros)
    if (t == p.titulo)
      return &p;
  return Prefijo(t, kParametros);
}

std::optional<std::string> MotivoColumna(std::string_view nombre, std::string_view estado) {
  if (BuscarParametro(nombre) != nullptr || BuscarControl(nombre) != nullptr)
    return std::nullopt;
  const std::string n(nombre);
  const std::string_view t = SinBlancos(nombre);
  // A result's name with a unit after it ("Pr (MW)") is a result too, unless it is a datum's
  // ("Vdcr" begins no datum's name, but the longer match wins either way).
  const auto* parecido = Parecido(nombre);
  const auto* resultado = Prefijo(t, kResultados);
  for (const auto& r : kResultados)
    if (t == r.titulo)
      resultado = &r;
  const bool esEstado = IgualesSinCaja(t, estado);
  if ((resultado != nullptr || esEstado) &&
      (parecido == nullptr ||
       (resultado != nullptr && resultado->nombre.size() > parecido->nombre.size())))
    return "la columna «" + n + "» tiene el nombre de un resultado";
  if (parecido != nullptr)
    return "columna «" + n + "»: ¿es el dato «" + std::string(parecido->nombre) + "»?";
  return std::nullopt;
}

const DescripcionControl* ParecidoControl(std::string_view nombre) {
  if (BuscarControl(nombre) != nullptr)
    return nullptr;
  const std::string_view t = SinBlancos(nombre);
  for (const auto& d : kControl)
    if (t == d.titulo)
      return &d;
  return Prefijo(t, kControl);
}

std::optional<std::string> MotivoColumnaControl(std::string_view nombre, bool control) {
  const std::string n(nombre);
  if (const auto* parecido = ParecidoControl(nombre))
    return "columna «" + n + "»: ¿es el dato de control «" + std::string(parecido->nombre) + "»?";
  const auto inicial = [&](std::string_view tap) {
    return nombre == std::string(tap) + std::string(kSufijoInicial);
  };
  const bool anadida = std::find(kColumnasControl.begin(), kColumnasControl.end(), nombre) !=
                           kColumnasControl.end() ||
                       nombre == kColumnaAvisos || inicial("tapr") || inicial("tapi");
  if (control && anadida && BuscarParametro(nombre) == nullptr)
    return "la columna «" + n + "» tiene el nombre de una columna que añaden los datos de control";
  return std::nullopt;
}

}  // namespace zelk::lotes
