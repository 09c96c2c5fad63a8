#include "psse/raw.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <optional>
#include <span>

#include "engine/texto_numero.h"

namespace zelk::psse {

namespace {

// The data sections of a case, as they follow each other.
enum class Seccion {
  General,  // system-wide data, versions 34 and 35
  Barras,
  Cargas,
  Shunts,
  Generadores,
  Ramas,
  Interruptores,  // system switching devices, versions 34 and 35
  Transformadores,
  Areas,
  DosTerminales,
  Vsc,
  Impedancias,
  Multiterminal,
  Resto,  // nothing after this is read
};

constexpr std::array<Seccion, 12> kOrden33{
    Seccion::Barras, Seccion::Cargas,          Seccion::Shunts,        Seccion::Generadores,
    Seccion::Ramas,  Seccion::Transformadores, Seccion::Areas,         Seccion::DosTerminales,
    Seccion::Vsc,    Seccion::Impedancias,     Seccion::Multiterminal, Seccion::Resto};
constexpr std::array<Seccion, 14> kOrden34{Seccion::General,       Seccion::Barras,
                                           Seccion::Cargas,        Seccion::Shunts,
                                           Seccion::Generadores,   Seccion::Ramas,
                                           Seccion::Interruptores, Seccion::Transformadores,
                                           Seccion::Areas,         Seccion::DosTerminales,
                                           Seccion::Vsc,           Seccion::Impedancias,
                                           Seccion::Multiterminal, Seccion::Resto};

std::string_view NombreSeccion(Seccion s) {
  switch (s) {
    case Seccion::General:
      return "los datos generales del sistema";
    case Seccion::Barras:
      return "los datos de barras";
    case Seccion::Transformadores:
      return "los datos de transformadores";
    case Seccion::DosTerminales:
      return "los datos de líneas de continua de dos terminales";
    default:
      return "los datos anteriores a las líneas de continua de dos terminales";
  }
}

// The section a terminator's comment begins ("0 / END OF BUS DATA, BEGIN LOAD DATA"), when it
// names one; files whose writers leave a section out are read right through it.
std::optional<Seccion> SeccionNombrada(std::string_view comentario) {
  std::string mayusculas(comentario);
  for (char& c : mayusculas)
    if (c >= 'a' && c <= 'z')
      c = static_cast<char>(c - 'a' + 'A');
  const auto begin = mayusculas.find("BEGIN");
  if (begin == std::string::npos)
    return std::nullopt;
  std::string_view resto = std::string_view(mayusculas).substr(begin + 5);
  while (!resto.empty() && resto.front() == ' ')
    resto.remove_prefix(1);
  const auto empieza = [&](std::string_view p) { return resto.starts_with(p); };
  const auto contiene = [&](std::string_view p) { return resto.find(p) != std::string_view::npos; };
  if (empieza("SYSTEM-WIDE") || empieza("SYSTEM WIDE"))
    return Seccion::General;
  if (empieza("BUS"))
    return Seccion::Barras;
  if (empieza("LOAD"))
    return Seccion::Cargas;
  if (empieza("FIXED"))
    return Seccion::Shunts;
  if (empieza("GENERATOR"))
    return Seccion::Generadores;
  if (empieza("SYSTEM SWITCHING"))
    return Seccion::Interruptores;
  if (contiene("IMPEDANCE") || contiene("IMP. CORR"))
    return Seccion::Impedancias;
  if (empieza("TRANSFORMER"))
    return Seccion::Transformadores;
  if (contiene("BRANCH"))
    return Seccion::Ramas;
  if (empieza("AREA"))
    return Seccion::Areas;
  if (empieza("TWO-TERMINAL") || empieza("TWO TERMINAL"))
    return Seccion::DosTerminales;
  if (empieza("VSC") || empieza("VOLTAGE SOURCE"))
    return Seccion::Vsc;
  if (empieza("MULTI-TERMINAL") || empieza("MULTI TERMINAL"))
    return Seccion::Multiterminal;
  return Seccion::Resto;
}

struct Campo {
  std::string_view texto;
  bool comillas = false;
};

// One record line split into fields: a comma, or blanks, separate them; text in single or double
// quotes is one field; "/" outside quotes starts a comment. A field left empty between commas
// takes its default.
struct Registro {
  std::vector<Campo> campos;
  std::string_view comentario;
  std::size_t linea = 0;

  // The first field, unquoted, is exactly `t` ("0" ends a section, "Q" the data).
  bool Es(std::string_view t) const {
    return !campos.empty() && !campos[0].comillas && campos[0].texto == t;
  }
};

void Partir(std::string_view texto, Registro& r) {
  r.campos.clear();
  r.comentario = {};
  const auto blanco = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  std::size_t i = 0;
  bool trasComa = false;
  while (true) {
    while (i < texto.size() && blanco(texto[i]))
      ++i;
    if (i == texto.size())
      break;
    const char c = texto[i];
    if (c == '/') {
      r.comentario = texto.substr(i + 1);
      break;
    }
    if (c == ',') {
      if (trasComa || r.campos.empty())
        r.campos.push_back({});
      trasComa = true;
      ++i;
      continue;
    }
    trasComa = false;
    if (c == '\'' || c == '"') {
      const auto cierre = texto.find(c, i + 1);
      if (cierre == std::string_view::npos)
        throw ErrorRaw{r.linea, "comillas sin cerrar"};
      r.campos.push_back({texto.substr(i + 1, cierre - i - 1), true});
      i = cierre + 1;
      continue;
    }
    const std::size_t inicio = i;
    while (i < texto.size() && !blanco(texto[i]) && texto[i] != ',' && texto[i] != '/')
      ++i;
    r.campos.push_back({texto.substr(inicio, i - inicio), false});
  }
}

bool EmpiezaPorLetra(const Campo& c) {
  if (c.comillas || c.texto.empty())
    return false;
  const char x = c.texto.front();
  return (x >= 'A' && x <= 'Z') || (x >= 'a' && x <= 'z');
}

std::string Mostrar(std::string_view t) {
  return "«" + std::string(t) + "»";
}

// A real number as the file writes it ("1.05", "-.5", "0.1110000E-01", "1.0D+00"); empty for a
// field left out. Throws when the text is not one.
std::optional<double> Real(const Registro& r, std::size_t i, std::string_view nombre) {
  if (i >= r.campos.size() || r.campos[i].texto.empty())
    return std::nullopt;
  std::string t(r.campos[i].texto);
  if (!r.campos[i].comillas) {
    if (t.front() == '+')
      t.erase(0, 1);
    for (char& c : t)
      if (c == 'D' || c == 'd')
        c = 'E';
    double v = 0;
    const auto fin = std::from_chars(t.data(), t.data() + t.size(), v);
    if (fin.ec == std::errc() && fin.ptr == t.data() + t.size() && std::isfinite(v))
      return v;
  }
  throw ErrorRaw{r.linea,
                 std::string(nombre) + " = " + Mostrar(r.campos[i].texto) + " no es un número"};
}

double Real(const Registro& r, std::size_t i, std::string_view nombre, double porDefecto) {
  return Real(r, i, nombre).value_or(porDefecto);
}

double Obligatorio(const Registro& r, std::size_t i, std::string_view nombre) {
  const auto v = Real(r, i, nombre);
  if (!v)
    throw ErrorRaw{r.linea,
                   std::string(nombre) + ": falta el valor, que no tiene valor por defecto"};
  return *v;
}

// A whole number such as a bus number or a count, within `maximo`.
long Entero(const Registro& r, std::size_t i, std::string_view nombre, long minimo, long maximo,
            std::optional<long> porDefecto = std::nullopt) {
  if (i < r.campos.size() && r.campos[i].comillas)
    throw ErrorRaw{r.linea, std::string(nombre) + " = " + Mostrar(r.campos[i].texto) +
                                ": se espera un número (los nombres de barra no se admiten)"};
  const auto v = Real(r, i, nombre);
  if (!v) {
    if (porDefecto)
      return *porDefecto;
    throw ErrorRaw{r.linea,
                   std::string(nombre) + ": falta el valor, que no tiene valor por defecto"};
  }
  if (!(*v == std::floor(*v) && *v >= static_cast<double>(minimo) &&
        *v <= static_cast<double>(maximo)))
    throw ErrorRaw{r.linea, std::string(nombre) + " = " + Mostrar(r.campos[i].texto) +
                                ": se espera un número entero entre " + std::to_string(minimo) +
                                " y " + std::to_string(maximo)};
  return static_cast<long>(*v);
}

constexpr long kMaximoBarra = 999'999'999;

// A name as UTF-8: the file's bytes when they are UTF-8, else read as Latin-1.
std::string Nombre(std::string_view t) {
  while (!t.empty() && t.back() == ' ')
    t.remove_suffix(1);
  while (!t.empty() && t.front() == ' ')
    t.remove_prefix(1);
  if (EsUtf8(t))
    return std::string(t);
  std::string u;
  for (const unsigned char c : t) {
    if (c < 0x80) {
      u.push_back(static_cast<char>(c));
    } else {
      u.push_back(static_cast<char>(0xC0 | (c >> 6)));
      u.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return u;
}

// The lines of the file, with their numbers, skipping the column headings ("@!") of versions 34
// and 35 and blank lines.
class Lineas {
 public:
  explicit Lineas(std::string_view texto) : texto_(texto) {}

  // The next line into `r` (split unless `crudo`); false at the end of the file.
  bool Siguiente(Registro& r, bool crudo = false) {
    while (!fin_) {
      const auto salto = texto_.find('\n', pos_);
      std::string_view linea;
      if (salto == std::string_view::npos) {
        linea = texto_.substr(pos_);
        fin_ = true;
        if (linea.empty())
          break;  // what follows the last line break is no line
      } else {
        linea = texto_.substr(pos_, salto - pos_);
        pos_ = salto + 1;
      }
      ++numero_;
      if (!linea.empty() && linea.back() == '\r')
        linea.remove_suffix(1);
      r.linea = numero_;
      if (crudo) {
        r.campos.assign(1, {linea, false});
        return true;
      }
      std::size_t i = 0;
      while (i < linea.size() && (linea[i] == ' ' || linea[i] == '\t'))
        ++i;
      if (i == linea.size() || linea.substr(i).starts_with("@!"))
        continue;
      Partir(linea, r);
      if (r.campos.empty())
        continue;  // a comment alone
      return true;
    }
    return false;
  }

  std::size_t Numero() const { return numero_; }

 private:
  std::string_view texto_;
  std::size_t pos_ = 0;
  std::size_t numero_ = 0;
  bool fin_ = false;
};

class Lector {
 public:
  explicit Lector(std::string_view texto) : lineas_(texto) {}

  Caso Leer();

 private:
  // The next record of a section; throws at the end of the file.
  void Continuacion(Registro& r, std::string_view que, std::size_t desde) {
    if (!lineas_.Siguiente(r))
      throw ErrorRaw{lineas_.Numero(), std::string(que) + " que empieza en la línea " +
                                           std::to_string(desde) + " está incompleto"};
  }
  void LeerBarra(const Registro& r);
  void LeerDosTerminales(const Registro& r);
  Convertidor LeerConvertidor(const Registro& r, char extremo);
  bool LeerOmitida(const Registro& r, Seccion s);

  Lineas lineas_;
  Caso caso_;
};

void Lector::LeerBarra(const Registro& r) {
  const long numero = Entero(r, 0, "I", 1, kMaximoBarra);
  Barra b;
  b.baskv = Real(r, 2, "BASKV", 0.0);
  b.vm = Real(r, 7, "VM", 1.0);
  b.linea = r.linea;
  const auto [donde, nueva] = caso_.barras.emplace(numero, b);
  if (!nueva)
    throw ErrorRaw{r.linea, "la barra " + std::to_string(numero) + " ya está en la línea " +
                                std::to_string(donde->second.linea)};
}

Convertidor Lector::LeerConvertidor(const Registro& r, char extremo) {
  const auto n = [&](std::string_view base) { return std::string(base) + extremo; };
  Convertidor c;
  c.linea = r.linea;
  c.ip = Entero(r, 0, n("IP"), 1, kMaximoBarra);
  c.nb = Obligatorio(r, 1, n("NB"));
  c.anmx = Obligatorio(r, 2, n("ANMX"));
  c.anmn = Obligatorio(r, 3, n("ANMN"));
  c.rc = Obligatorio(r, 4, n("RC"));
  c.xc = Obligatorio(r, 5, n("XC"));
  c.ebas = Obligatorio(r, 6, n("EBAS"));
  c.tr = Real(r, 7, n("TR"), 1.0);
  c.tap = Real(r, 8, n("TAP"), 1.0);
  c.tmx = Real(r, 9, n("TMX"), 1.5);
  c.tmn = Real(r, 10, n("TMN"), 0.51);
  c.stp = Real(r, 11, n("STP"), 0.00625);
  // Version 33 has IC, IF, IT, ID before XCAP; 34 and 35 add ND after IC.
  c.xcap = Real(r, caso_.version == 33 ? 16 : 17, n("XCAP"), 0.0);
  return c;
}

void Lector::LeerDosTerminales(const Registro& r) {
  LineaDosTerminales l;
  l.linea = r.linea;
  if (r.campos.empty() || r.campos[0].texto.empty())
    throw ErrorRaw{r.linea, "la línea de continua no tiene nombre"};
  l.nombre = Nombre(r.campos[0].texto);
  l.mdc = Real(r, 1, "MDC", 0.0);
  l.rdc = Obligatorio(r, 2, "RDC");
  l.setvl = Obligatorio(r, 3, "SETVL");
  l.vschd = Obligatorio(r, 4, "VSCHD");
  l.vcmod = Real(r, 5, "VCMOD", 0.0);
  l.rcomp = Real(r, 6, "RCOMP", 0.0);
  l.delti = Real(r, 7, "DELTI", 0.0);
  const std::string que = "el registro de la línea de continua «" + l.nombre + "»";
  Registro conv;
  Continuacion(conv, que, r.linea);
  l.rectificador = LeerConvertidor(conv, 'R');
  Continuacion(conv, que, r.linea);
  l.inversor = LeerConvertidor(conv, 'I');
  caso_.lineas.push_back(std::move(l));
}

// Names a line of another kind and passes over its records; false when its records cannot be
// followed, with the reason in the case's final note.
bool Lector::LeerOmitida(const Registro& r, Seccion s) {
  try {
    LineaOmitida o;
    o.linea = r.linea;
    o.nombre = r.campos.empty() ? std::string() : Nombre(r.campos[0].texto);
    long resto = 2;  // the two converters of a VSC line
    if (s == Seccion::Multiterminal) {
      o.tipo = "multiterminal";
      constexpr long kMaximo = 100'000;
      resto = Entero(r, 1, "NCONV", 0, kMaximo) + Entero(r, 2, "NDCBS", 0, kMaximo) +
              Entero(r, 3, "NDCLN", 0, kMaximo);
    } else {
      o.tipo = "VSC";
    }
    const std::string que = "el registro de la línea de continua «" + o.nombre + "»";
    Registro siguiente;
    for (long k = 0; k < resto; ++k)
      Continuacion(siguiente, que, r.linea);
    caso_.omitidas.push_back(std::move(o));
    return true;
  } catch (const ErrorRaw& e) {
    caso_.notaFinal =
        "línea " + std::to_string(e.linea) + ": " + e.motivo + "; no se lee nada más del archivo";
    return false;
  }
}

Caso Lector::Leer() {
  Registro r;
  if (!lineas_.Siguiente(r) || r.campos.size() < 3 || r.campos[2].texto.empty())
    throw ErrorRaw{r.linea == 0 ? 1 : r.linea,
                   "la identificación del caso no dice la versión del formato (IC, SBASE, REV)"};
  const long version = Entero(r, 2, "REV", 0, 1000);
  if (version < 33 || version > 35)
    throw ErrorRaw{r.linea, "versión " + std::to_string(version) +
                                " del formato RAW: se leen las versiones 33, 34 y 35"};
  caso_.version = static_cast<int>(version);
  // Two lines of titles, whatever they hold.
  for (int t = 0; t < 2; ++t)
    if (!lineas_.Siguiente(r, true))
      throw ErrorRaw{lineas_.Numero(), "el archivo termina en los títulos del caso"};

  const std::span<const Seccion> orden =
      version == 33 ? std::span<const Seccion>(kOrden33) : std::span<const Seccion>(kOrden34);
  std::size_t indice = 0;
  bool primero = true;
  while (true) {
    Seccion s = orden[indice];
    if (!lineas_.Siguiente(r)) {
      // Without its "Q", a file may end once the two-terminal lines are complete.
      if (s > Seccion::DosTerminales)
        break;
      throw ErrorRaw{lineas_.Numero(), "el archivo termina en " + std::string(NombreSeccion(s)) +
                                           ": falta su «0» final o la «Q»"};
    }
    if (r.Es("Q") || r.Es("q"))
      break;
    // Versions 34 and 35 begin with system-wide data, which some writers leave out.
    if (primero && s == Seccion::General && !r.Es("0") && !EmpiezaPorLetra(r.campos[0]))
      s = orden[++indice];
    primero = false;
    if (r.Es("0")) {
      const auto nombrada = SeccionNombrada(r.comentario);
      if (nombrada) {
        const auto donde = std::find(orden.begin(), orden.end(), *nombrada);
        if (donde != orden.end() && donde > orden.begin() + static_cast<std::ptrdiff_t>(indice)) {
          indice = static_cast<std::size_t>(donde - orden.begin());
          if (orden[indice] == Seccion::Resto)
            break;
          continue;
        }
      }
      if (orden[++indice] == Seccion::Resto)
        break;
      continue;
    }
    switch (s) {
      case Seccion::Barras:
        LeerBarra(r);
        break;
      case Seccion::Transformadores: {
        // Four records for a two-winding transformer (K = 0), five for a three-winding one.
        const long k = Entero(r, 2, "K", 0, kMaximoBarra, 0);
        Registro siguiente;
        for (int n = 0; n < (k == 0 ? 3 : 4); ++n)
          Continuacion(siguiente, "el registro del transformador", r.linea);
        break;
      }
      case Seccion::DosTerminales:
        LeerDosTerminales(r);
        break;
      case Seccion::Vsc:
      case Seccion::Multiterminal:
        if (!LeerOmitida(r, s))
          return std::move(caso_);
        break;
      default:
        break;  // one record per line, not needed
    }
  }
  return std::move(caso_);
}

}  // namespace

Caso LeerCaso(std::string_view texto) {
  if (texto.size() > kTamanoMaximo)
    throw ErrorRaw{1, "el archivo tiene más de " + std::to_string(kTamanoMaximo >> 20) +
                          " MB: no es un caso RAW"};
  return Lector(texto).Leer();
}

}  // namespace zelk::psse
