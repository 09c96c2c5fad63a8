#include "lote/columnas.h"

#include <algorithm>
#include <array>

#include "engine/control.h"
#include "lote/control_lote.h"
#include "lote/plegado.h"

namespace zelk::lotes {

namespace {

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

// Marks around a name: the apostrophe a spreadsheet puts before a text, quotes, brackets.
constexpr std::array<std::string_view, 12> kAperturas{
    "'", "\"", "`", "(", "[", "{", "<", "\u00AB", "\u2039", "\u2018", "\u201C", "\u201E"};
constexpr std::array<std::string_view, 12> kCierres{
    "'", "\"", "`", ")", "]", "}", ">", "\u00BB", "\u203A", "\u2019", "\u201D", "\u201C"};

template <typename Marcas>
std::size_t MarcaAlPrincipio(std::string_view t, const Marcas& marcas) {
  for (std::string_view m : marcas)
    if (t.starts_with(m))
      return m.size();
  return 0;
}

template <typename Marcas>
std::size_t MarcaAlFinal(std::string_view t, const Marcas& marcas) {
  for (std::string_view m : marcas)
    if (t.ends_with(m))
      return m.size();
  return 0;
}

// The name as it is compared: folded (every blank a space), without blanks around it nor the
// marks that enclose it or open it ("'Idc", "[Idc]").
std::string Comparable(std::string_view nombre) {
  std::string texto = Plegar(nombre).texto;
  std::string_view t = texto;
  const auto sinBlancos = [&] {
    while (!t.empty() && (t.front() == ' ' || t.front() == '\t'))
      t.remove_prefix(1);
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t'))
      t.remove_suffix(1);
  };
  sinBlancos();
  while (std::size_t n = MarcaAlPrincipio(t, kAperturas)) {
    t.remove_prefix(n);
    t.remove_suffix(MarcaAlFinal(t, kCierres));
    sinBlancos();
  }
  return std::string(t);
}

std::string Pista(std::string_view dato, bool control, std::string_view nombre) {
  return std::string(control ? "¿es el dato de control «" : "¿es el dato «") + std::string(dato) +
         "»?" + NotaDeCaracteres(nombre);
}

}  // namespace

std::string NotaDeCaracteres(std::string_view nombre) {
  const auto raros = Plegar(nombre).raros;
  if (raros.empty())
    return {};
  constexpr std::size_t kHasta = 4;
  std::string nota = " (el nombre lleva ";
  for (std::size_t i = 0; i < raros.size() && i < kHasta; ++i) {
    nota += i > 0 ? ", U+" : "U+";
    int cifras = 4;
    while (cifras < 6 && (raros[i] >> (4 * cifras)) != 0)
      ++cifras;
    while (cifras-- > 0)
      nota.push_back("0123456789ABCDEF"[(raros[i] >> (4 * cifras)) & 0xF]);
  }
  return nota + (raros.size() > kHasta ? ", …)" : ")");
}

const DescripcionParametro* Parecido(std::string_view nombre) {
  if (BuscarParametro(nombre) != nullptr)
    return nullptr;
  const std::string t = Comparable(nombre);
  for (const auto& p : kParametros)
    if (t == p.titulo)
      return &p;
  return Prefijo(t, kParametros);
}

std::optional<std::string> MotivoColumna(std::string_view nombre, std::string_view estado) {
  if (BuscarParametro(nombre) != nullptr || BuscarControl(nombre) != nullptr)
    return std::nullopt;
  const std::string n(nombre);
  const std::string t = Comparable(nombre);
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
    return "columna «" + n + "»: " + Pista(parecido->nombre, false, nombre);
  return std::nullopt;
}

const DescripcionControl* ParecidoControl(std::string_view nombre) {
  if (BuscarControl(nombre) != nullptr)
    return nullptr;
  const std::string t = Comparable(nombre);
  for (const auto& d : kControl)
    if (t == d.titulo)
      return &d;
  return Prefijo(t, kControl);
}

std::optional<std::string> PistaDeDato(std::string_view nombre) {
  if (const auto* p = Parecido(nombre))
    return Pista(p->nombre, false, nombre);
  if (const auto* c = ParecidoControl(nombre))
    return Pista(c->nombre, true, nombre);
  return std::nullopt;
}

std::optional<std::string> MotivoColumnaControl(std::string_view nombre, bool control) {
  const std::string n(nombre);
  if (const auto* parecido = ParecidoControl(nombre))
    return "columna «" + n + "»: " + Pista(parecido->nombre, true, nombre);
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
