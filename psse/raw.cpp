// The sections of a RAW case followed in their order, and the records a two-terminal DC link needs
// read field by field in each version's layout.
#include "psse/raw.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>

#include "engine/texto_numero.h"
#include "psse/registro.h"

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

// Sections whose records are read, or counted to pass over them: taken for another section,
// their records would be lost or misread.
bool SeLee(Seccion s) {
  return s == Seccion::Barras || s == Seccion::Transformadores || s == Seccion::DosTerminales ||
         s == Seccion::Vsc || s == Seccion::Multiterminal;
}

std::string_view NombreSeccion(Seccion s) {
  switch (s) {
    case Seccion::General:
      return "los datos generales del sistema";
    case Seccion::Barras:
      return "los datos de barras";
    case Seccion::Cargas:
      return "los datos de cargas";
    case Seccion::Shunts:
      return "los datos de compensadores fijos";
    case Seccion::Generadores:
      return "los datos de generadores";
    case Seccion::Ramas:
      return "los datos de ramas";
    case Seccion::Interruptores:
      return "los datos de interruptores";
    case Seccion::Transformadores:
      return "los datos de transformadores";
    case Seccion::Areas:
      return "los datos de áreas";
    case Seccion::DosTerminales:
      return "los datos de líneas de continua de dos terminales";
    case Seccion::Vsc:
      return "los datos de líneas de continua VSC";
    case Seccion::Impedancias:
      return "los datos de corrección de impedancia";
    case Seccion::Multiterminal:
      return "los datos de líneas de continua multiterminal";
    case Seccion::Resto:
      break;
  }
  return "los datos que siguen";
}

std::string Mayusculas(std::string_view t) {
  std::string m(t);
  for (char& c : m)
    if (c >= 'a' && c <= 'z')
      c = static_cast<char>(c - 'a' + 'A');
  return m;
}

// The section a terminator's comment names ("BUS DATA", "TWO-TERMINAL DC DATA"), if any.
std::optional<Seccion> Clasificar(std::string_view nombre) {
  while (!nombre.empty() && nombre.front() == ' ')
    nombre.remove_prefix(1);
  const auto empieza = [&](std::string_view p) { return nombre.starts_with(p); };
  const auto contiene = [&](std::string_view p) {
    return nombre.find(p) != std::string_view::npos;
  };
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
  return std::nullopt;
}

// The section a terminator's comment begins ("0 / END OF BUS DATA, BEGIN LOAD DATA"), when it
// names one; files whose writers leave a section out are read right through it.
std::optional<Seccion> SeccionQueEmpieza(std::string_view comentario) {
  const std::string m = Mayusculas(comentario);
  const auto begin = m.find("BEGIN");
  if (begin == std::string::npos)
    return std::nullopt;
  return Clasificar(std::string_view(m).substr(begin + 5)).value_or(Seccion::Resto);
}

// The section a terminator's comment ends ("0 / END OF BUS DATA, ..."), when it names one.
std::optional<Seccion> SeccionQueTermina(std::string_view comentario) {
  const std::string m = Mayusculas(comentario);
  const auto end = m.find("END OF");
  if (end == std::string::npos)
    return std::nullopt;
  std::string_view nombre = std::string_view(m).substr(end + 6);
  nombre = nombre.substr(0, std::min(nombre.find(','), nombre.find("BEGIN")));
  return Clasificar(nombre);
}

std::string Numero(double v) {
  return NumeroATexto(v, ConfiguracionRegional::EstadosUnidos());
}

constexpr long kMaximoBarra = 999'999'999;
// Areas, zones, owners, counts: any whole number the format could hold.
constexpr long kMaximoEntero = 999'999'999;

// Where the fields after STP lie in a converter record. Version 33 has IC, IF, IT, ID, XCAP;
// PSS/E 34 writes ND after them ("ICR, IFR, ITR, 'IDR', XCAPR, NDR" in its column headings);
// version 35 puts ND after IC ("ICR, NDR, IFR, ITR, 'IDR', XCAPR").
struct Disposicion {
  std::size_t ic, nd, if_, it, id, xcap;
};
constexpr std::size_t kNoEsta = SIZE_MAX;
constexpr Disposicion kConvertidor33{12, kNoEsta, 13, 14, 15, 16};
constexpr Disposicion kConvertidor34{12, 17, 13, 14, 15, 16};
constexpr Disposicion kConvertidor35{12, 13, 14, 15, 16, 17};

// The end of a line in the names and texts of its converter record.
struct Extremo {
  char letra;               // 'R' or 'I'
  std::string_view angulo;  // which angle its band limits
};
constexpr Extremo kRectificador{'R', "de disparo"};
constexpr Extremo kInversor{'I', "de extinción"};

class Lector {
 public:
  explicit Lector(Fuente& fuente) : lineas_(fuente) {}

  Caso Leer();

 private:
  // The next record of a section; throws at the end of the file.
  void Continuacion(Registro& r, std::string_view que, std::size_t desde) {
    if (!lineas_.Siguiente(r))
      throw ErrorRaw{lineas_.Numero(), std::string(que) + " que empieza en la línea " +
                                           std::to_string(desde) + " está incompleto"};
  }
  void LeerIdentificacion(const Registro& r);
  void LeerBarra(const Registro& r);
  void LeerDosTerminales(const Registro& r);
  Convertidor LeerConvertidor(const Registro& r, const Extremo& e, const std::string& linea,
                              double dcvmin);
  bool LeerOmitida(const Registro& r, Seccion s);
  // Which section a terminator at line `linea` closes, when its comment says; throws, or ends the
  // reading with a note past the two-terminal lines, when that is not the one being read.
  bool Terminar(std::string_view comentario, std::size_t linea);

  Lineas lineas_;
  Caso caso_;
  Disposicion disposicion_ = kConvertidor33;
  std::span<const Seccion> orden_;
  std::size_t indice_ = 0;
  std::size_t primerRegistro_ = 0;  // of the section being read; 0 while it has none
  std::array<std::size_t, static_cast<std::size_t>(Seccion::Resto) + 1> cierres_{};
  std::unordered_map<std::string, std::size_t> nombres_;  // two-terminal lines read
};

void Lector::LeerIdentificacion(const Registro& r) {
  if (r.campos.size() < 3 || r.campos[2].texto.empty())
    throw ErrorRaw{r.linea,
                   "la identificación del caso no dice la versión del formato (IC, SBASE, REV)"};
  const long version = Entero(r, 2, "REV", 0, 1000);
  if (version < 33 || version > 35)
    throw ErrorRaw{r.linea, "versión " + std::to_string(version) +
                                " del formato RAW: se leen las versiones 33, 34 y 35"};
  caso_.version = static_cast<int>(version);
  disposicion_ = version == 33 ? kConvertidor33 : version == 34 ? kConvertidor34 : kConvertidor35;
  const long ic = Entero(r, 0, "IC", 0, 1, 0);
  Real(r, 1, "SBASE");
  Real(r, 3, "XFRRAT");
  Real(r, 4, "NXFRAT");
  Real(r, 5, "BASFRQ");
  if (ic == 1)
    caso_.notas.push_back(
        {r.linea,
         "IC = 1: el archivo es un caso de cambios sobre otro; se lee como un caso "
         "entero, con los valores por defecto donde no da uno"});
}

void Lector::LeerBarra(const Registro& r) {
  const long numero = Entero(r, 0, "I", 1, kMaximoBarra);
  Barra b;
  b.baskv = Real(r, 2, "BASKV", 0.0);
  b.ide = Entero(r, 3, "IDE", 1, 4, 1);
  for (const auto& [i, nombre] :
       {std::pair<std::size_t, const char*>{4, "AREA"}, {5, "ZONE"}, {6, "OWNER"}})
    Entero(r, i, nombre, 0, kMaximoEntero, 1);
  b.vm = Real(r, 7, "VM", 1.0);
  for (const auto& [i, nombre] : {std::pair<std::size_t, const char*>{8, "VA"},
                                  {9, "NVHI"},
                                  {10, "NVLO"},
                                  {11, "EVHI"},
                                  {12, "EVLO"}})
    Real(r, i, nombre);
  b.linea = r.linea;
  const auto [donde, nueva] = caso_.barras.emplace(numero, b);
  if (!nueva)
    throw ErrorRaw{r.linea, "la barra " + std::to_string(numero) + " ya está en la línea " +
                                std::to_string(donde->second.linea)};
}

Convertidor Lector::LeerConvertidor(const Registro& r, const Extremo& e, const std::string& linea,
                                    double dcvmin) {
  const auto n = [&](std::string_view base) { return std::string(base) + e.letra; };
  const Disposicion& d = disposicion_;
  Convertidor c;
  c.linea = r.linea;
  c.ip = Entero(r, 0, n("IP"), 1, kMaximoBarra);
  c.nb = EnteroCualquiera(r, 1, n("NB"));
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
  const long ic = Entero(r, d.ic, n("IC"), 0, kMaximoBarra, 0);
  if (d.nd != kNoEsta)
    Entero(r, d.nd, n("ND"), 0, kMaximoBarra, 0);
  const long desde = Entero(r, d.if_, n("IF"), 0, kMaximoBarra, 0);
  const long hasta = Entero(r, d.it, n("IT"), 0, kMaximoBarra, 0);
  const std::string_view id = Texto(r, d.id, "1");
  if (caso_.version == 34 && d.xcap < r.campos.size() && r.campos[d.xcap].comillas)
    throw ErrorRaw{r.linea, n("XCAP") + " = " + Mostrar(r.campos[d.xcap].texto) +
                                " no es un número: la versión 34 lleva tras " + n("STP") + " " +
                                n("IC") + ", " + n("IF") + ", " + n("IT") + ", " + n("ID") + ", " +
                                n("XCAP") + ", " + n("ND") + "; la 35, " + n("IC") + ", " +
                                n("ND") + ", " + n("IF") + ", " + n("IT") + ", " + n("ID") + ", " +
                                n("XCAP")};
  c.xcap = Real(r, d.xcap, n("XCAP"), 0.0);

  const std::string de = "«" + linea + "»: ";
  if (ic != 0 && ic != c.ip)
    caso_.notas.push_back({r.linea, de + n("IC") + " = " + std::to_string(ic) +
                                        ": el caso mide el ángulo " + std::string(e.angulo) +
                                        " en la barra " + std::to_string(ic) +
                                        "; aquí se mide en la del convertidor, la " +
                                        std::to_string(c.ip) + " (" + n("IP") + ")"});
  if (desde != 0 || hasta != 0) {
    std::string nota = de + n("IF") + " = " + std::to_string(desde) + ", " + n("IT") + " = " +
                       std::to_string(hasta) + ", " + n("ID") + " = " + Mostrar(id) +
                       ": en el caso, " + n("TAP") +
                       " queda fijo y regula el transformador de alterna entre esas barras, que "
                       "aquí no se modela; aquí regula " +
                       n("TAP");
    if (dcvmin != 0)
      nota += "; DCVMIN = " + Numero(dcvmin) + " no se aplica";
    caso_.notas.push_back({r.linea, std::move(nota)});
  }
  return c;
}

void Lector::LeerDosTerminales(const Registro& r) {
  LineaDosTerminales l;
  l.linea = r.linea;
  if (r.campos.empty() || r.campos[0].texto.empty())
    throw ErrorRaw{r.linea, "la línea de continua no tiene nombre"};
  l.nombre = Nombre(r.campos[0].texto);
  const auto [donde, nueva] = nombres_.emplace(l.nombre, r.linea);
  if (!nueva)
    throw ErrorRaw{r.linea, "la línea de continua «" + l.nombre + "» ya está en la línea " +
                                std::to_string(donde->second)};
  l.mdc = EnteroCualquiera(r, 1, "MDC", 0);
  l.rdc = Obligatorio(r, 2, "RDC");
  l.setvl = Obligatorio(r, 3, "SETVL");
  l.vschd = Obligatorio(r, 4, "VSCHD");
  l.vcmod = Real(r, 5, "VCMOD", 0.0);
  l.rcomp = Real(r, 6, "RCOMP", 0.0);
  l.delti = Real(r, 7, "DELTI", 0.0);
  const std::string_view meter = Texto(r, 8, "I");
  if (meter != "R" && meter != "I" && meter != "r" && meter != "i")
    throw ErrorRaw{r.linea, "METER = " + Mostrar(meter) + ": ha de ser «R» o «I»"};
  const double dcvmin = Real(r, 9, "DCVMIN", 0.0);
  Entero(r, 10, "CCCITMX", 0, kMaximoEntero, 20);
  Real(r, 11, "CCCACC");
  const std::string que = "el registro de la línea de continua «" + l.nombre + "»";
  Registro conv;
  Continuacion(conv, que, r.linea);
  l.rectificador = LeerConvertidor(conv, kRectificador, l.nombre, 0);
  Continuacion(conv, que, r.linea);
  l.inversor = LeerConvertidor(conv, kInversor, l.nombre, dcvmin);
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

bool Lector::Terminar(std::string_view comentario, std::size_t linea) {
  const Seccion s = orden_[indice_];
  const auto terminada = SeccionQueTermina(comentario);
  const auto donde = terminada ? std::find(orden_.begin(), orden_.end(), *terminada) : orden_.end();
  if (donde == orden_.end() || *terminada == s)
    return true;
  const auto otra = static_cast<std::size_t>(donde - orden_.begin());
  // A section without records may have been left out by the writer, or may follow a "0" too many
  // that closed nothing; and sections that are passed over lose nothing when taken for another.
  if (primerRegistro_ == 0 || (!SeLee(s) && !SeLee(*terminada))) {
    indice_ = otra;
    return true;
  }
  std::string motivo = "este «0» cierra " + std::string(NombreSeccion(*terminada));
  if (otra > indice_)
    motivo += ", pero se leían " + std::string(NombreSeccion(s)) + " (desde la línea " +
              std::to_string(primerRegistro_) + "): falta antes el «0» que los cierra";
  else if (const std::size_t cierre = cierres_[static_cast<std::size_t>(*terminada)]; cierre != 0)
    motivo += ", que ya se cerraron en la línea " + std::to_string(cierre) + "; aquí se leían " +
              std::string(NombreSeccion(s)) + " (desde la línea " +
              std::to_string(primerRegistro_) + ")";
  else
    motivo += ", que no van aquí: se leían " + std::string(NombreSeccion(s)) + " (desde la línea " +
              std::to_string(primerRegistro_) + ")";
  if (s <= Seccion::DosTerminales)
    throw ErrorRaw{linea, motivo};
  caso_.notaFinal =
      "línea " + std::to_string(linea) + ": " + motivo + "; no se lee nada más del archivo";
  return false;
}

Caso Lector::Leer() {
  Registro r;
  if (!lineas_.Siguiente(r))
    throw ErrorRaw{1, "la identificación del caso no dice la versión del formato (IC, SBASE, REV)"};
  LeerIdentificacion(r);
  // Two lines of titles, whatever they hold.
  for (int t = 0; t < 2; ++t)
    if (!lineas_.Siguiente(r, true))
      throw ErrorRaw{lineas_.Numero(), "el archivo termina en los títulos del caso"};

  orden_ =
      caso_.version == 33 ? std::span<const Seccion>(kOrden33) : std::span<const Seccion>(kOrden34);
  bool primero = true;
  while (true) {
    if (!lineas_.Siguiente(r)) {
      const Seccion s = orden_[indice_];
      // Without its "Q", a file may end once the two-terminal lines are complete.
      if (s > Seccion::DosTerminales)
        break;
      throw ErrorRaw{lineas_.Numero(), "el archivo termina en " + std::string(NombreSeccion(s)) +
                                           ": falta su «0» final o la «Q»"};
    }
    if (r.Es("Q") || r.Es("q"))
      break;
    // Versions 34 and 35 begin with system-wide data, which some writers leave out.
    if (primero && orden_[indice_] == Seccion::General && !r.Es("0") &&
        !EmpiezaPorLetra(r.campos[0]))
      ++indice_;
    primero = false;
    if (r.Es("0")) {
      if (!Terminar(r.comentario, r.linea))
        return std::move(caso_);
      cierres_[static_cast<std::size_t>(orden_[indice_])] = r.linea;
      std::size_t siguiente = indice_ + 1;
      if (const auto nombrada = SeccionQueEmpieza(r.comentario)) {
        const auto donde = std::find(orden_.begin(), orden_.end(), *nombrada);
        if (donde != orden_.end() && donde > orden_.begin() + static_cast<std::ptrdiff_t>(indice_))
          siguiente = static_cast<std::size_t>(donde - orden_.begin());
      }
      // Sections passed over are closed here too.
      for (; indice_ < siguiente; ++indice_)
        cierres_[static_cast<std::size_t>(orden_[indice_])] = r.linea;
      primerRegistro_ = 0;
      if (orden_[indice_] == Seccion::Resto)
        break;
      continue;
    }
    if (primerRegistro_ == 0)
      primerRegistro_ = r.linea;
    switch (const Seccion s = orden_[indice_]) {
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

// The bytes of a text already in memory.
class Memoria : public Fuente {
 public:
  explicit Memoria(std::string_view texto) : texto_(texto) {}
  std::size_t Leer(char* destino, std::size_t n) override {
    n = std::min(n, texto_.size());
    if (n != 0)
      std::memcpy(destino, texto_.data(), n);
    texto_.remove_prefix(n);
    return n;
  }

 private:
  std::string_view texto_;
};

}  // namespace

void ComprobarTamano(std::uint64_t bytes) {
  if (bytes > kTamanoMaximo)
    throw ErrorRaw{0, "el archivo tiene más de " + std::to_string(kTamanoMaximo >> 20) +
                          " MB: no es un caso RAW"};
}

Caso LeerCaso(Fuente& fuente) {
  return Lector(fuente).Leer();
}

Caso LeerCaso(std::string_view texto) {
  ComprobarTamano(texto.size());
  Memoria memoria(texto);
  return LeerCaso(memoria);
}

}  // namespace zelk::psse
