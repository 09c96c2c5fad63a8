#include "calc/tabla.h"

#include <charconv>
#include <nlohmann/json.hpp>

#include <cerrno>
#include <cmath>

#include "calc/archivos.h"
#include "calc/csv.h"
#include "engine/calculo.h"

namespace zelk::lotes {

namespace {

constexpr std::size_t kVolcado = 1 << 16;

bool PareceFormula(std::string_view texto, const ConfiguracionRegional& r) {
  static constexpr std::string_view kInicioDeFormula = "=+-@\t\r";
  // A byte-order mark that opens the output is taken by every reader for the file's own mark, so
  // a spreadsheet reads what follows it: the text is judged by that.
  while (texto.starts_with(csv::kMarcaDeOrden))
    texto.remove_prefix(csv::kMarcaDeOrden.size());
  return !texto.empty() && kInicioDeFormula.find(texto.front()) != std::string_view::npos &&
         !EsNumerico(texto, r);
}

void EscribirTextoJson(std::string& salida, std::string_view texto) {
  // As JSON serializers write UTF-8: the quote, the backslash and control characters escaped,
  // everything else as it is.
  static constexpr char kHex[] = "0123456789abcdef";
  salida.push_back('"');
  for (char c : texto) {
    switch (c) {
      case '"':
        salida.append("\\\"");
        break;
      case '\\':
        salida.append("\\\\");
        break;
      case '\b':
        salida.append("\\b");
        break;
      case '\f':
        salida.append("\\f");
        break;
      case '\n':
        salida.append("\\n");
        break;
      case '\r':
        salida.append("\\r");
        break;
      case '\t':
        salida.append("\\t");
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          salida.append("\\u00");
          salida.push_back(kHex[(c >> 4) & 0xF]);
          salida.push_back(kHex[c & 0xF]);
        } else {
          salida.push_back(c);
        }
    }
  }
  salida.push_back('"');
}

}  // namespace

Punto Evaluar(const TextosEntrada& textos, const ConfiguracionRegional& r) {
  Punto p;
  p.datos = LeerDatos(textos, r);
  if (p.datos)
    p.resultados = CalcularEnlace(*p.datos);
  return p;
}

char SeparadorCsv(const ConfiguracionRegional& r) {
  return r.Decimal() == "," ? ';' : ',';
}

std::string TextoSeguro(std::string_view texto, const ConfiguracionRegional& r) {
  std::string seguro;
  if (PareceFormula(texto, r))
    seguro.push_back('\'');
  seguro.append(texto);
  return seguro;
}

Tabla::Tabla(std::ostream& salida, const ConfiguracionRegional& r, OpcionesSalida opciones,
             std::vector<Columna> columnas)
    : salida_(salida),
      regional_(r),
      opciones_(opciones),
      columnas_(std::move(columnas)),
      separador_(opciones.crudo ? ',' : SeparadorCsv(r)) {
  Cabecera();
}

Tabla::~Tabla() {
  // What was complete before a fault is still written; a failure here has no one to tell.
  if (!terminada_) {
    salida_.write(pendiente_.data(), static_cast<std::streamsize>(pendiente_.size()));
    salida_.flush();
  }
}

std::string Tabla::Numero(double v) const {
  char texto[32];
  const auto fin = std::to_chars(texto, texto + sizeof texto, v).ptr;
  return {texto, fin};
}

void Tabla::CampoCsv(std::string_view campo, bool primero) {
  if (!primero)
    pendiente_.push_back(separador_);
  csv::EscribirCampo(pendiente_, campo, separador_);
}

void Tabla::TextoCsv(std::string_view texto, bool primero) {
  // Most texts are not formulas: those go as they are, without a copy.
  if (PareceFormula(texto, regional_))
    CampoCsv(TextoSeguro(texto, regional_), primero);
  else
    CampoCsv(texto, primero);
}

void Tabla::TextoJson(std::string_view texto) {
  EscribirTextoJson(pendiente_, texto);
}

void Tabla::NumeroJson(double v) {
  if (!std::isfinite(v)) {
    pendiente_.append("null");
    return;
  }
  // The shortest form that reads back, with ".0" on whole numbers, as the JSON library writes it.
  char texto[64];
  const char* fin = nlohmann::detail::to_chars(texto, texto + sizeof texto, v);
  pendiente_.append(texto, static_cast<std::size_t>(fin - texto));
}

void Tabla::Cabecera() {
  if (opciones_.formato == Formato::Json) {
    // The keys of every row, each with its colon and the comma before it: written once.
    const auto clave = [&](std::string_view nombre, bool primera) {
      std::string k = primera ? "" : ",";
      EscribirTextoJson(k, nombre);
      k.push_back(':');
      claves_.push_back(std::move(k));
    };
    for (const auto& c : columnas_)
      clave(c.nombre, claves_.empty());
    for (const auto& d : kResultados)
      clave(d.nombre, claves_.empty());
    clave("estado", false);
    pendiente_.push_back('[');
    return;
  }
  if (opciones_.marca)
    pendiente_.append(csv::kMarcaDeOrden);
  bool primero = true;
  for (const auto& c : columnas_) {
    TextoCsv(c.nombre, primero);
    primero = false;
  }
  for (const auto& d : kResultados) {
    CampoCsv(d.nombre, primero);
    primero = false;
  }
  CampoCsv("estado", primero);
  pendiente_.append("\r\n");
}

void Tabla::Fila(std::span<const std::string_view> textos, const Punto& punto) {
  const bool aceptada = punto.datos.has_value();
  if (opciones_.formato == Formato::Json) {
    pendiente_.append(filas_ ? ",\n{" : "\n{");
    for (std::size_t i = 0; i < columnas_.size(); ++i) {
      pendiente_.append(claves_[i]);
      const auto* p = columnas_[i].parametro;
      if (opciones_.crudo && aceptada && p != nullptr)
        NumeroJson((*punto.datos).*(p->miembro));
      else
        TextoJson(textos[i]);
    }
    for (std::size_t k = 0; k < kNumResultados; ++k) {
      pendiente_.append(claves_[columnas_.size() + k]);
      const Resultado& v = punto.resultados.*kResultados[k].miembro;
      if (!aceptada)
        pendiente_.append("null");
      else if (opciones_.crudo && v)
        NumeroJson(*v);
      else if (opciones_.crudo)
        TextoJson(kMarcaError);
      else
        TextoJson(TextoResultado(v, kResultados[k], regional_));
    }
    pendiente_.append(claves_.back());
    TextoJson(aceptada ? kEstadoBien : kEstadoRechazo);
    pendiente_.push_back('}');
  } else {
    bool primero = true;
    for (std::size_t i = 0; i < columnas_.size(); ++i) {
      const auto* p = columnas_[i].parametro;
      if (opciones_.crudo && aceptada && p != nullptr)
        CampoCsv(Numero((*punto.datos).*(p->miembro)), primero);
      else
        TextoCsv(textos[i], primero);
      primero = false;
    }
    for (const auto& d : kResultados) {
      const Resultado& v = punto.resultados.*d.miembro;
      if (!aceptada)
        CampoCsv({}, primero);
      else if (opciones_.crudo)
        CampoCsv(v ? Numero(*v) : std::string(kMarcaError), primero);
      else
        CampoCsv(TextoResultado(v, d, regional_), primero);
      primero = false;
    }
    CampoCsv(aceptada ? kEstadoBien : kEstadoRechazo, false);
    pendiente_.append("\r\n");
  }
  filas_ = true;
  Volcar(false);
}

void Tabla::Terminar() {
  if (opciones_.formato == Formato::Json)
    pendiente_.append(filas_ ? "\n]\n" : "]\n");
  Volcar(true);
  terminada_ = true;
}

void Tabla::Volcar(bool siempre) {
  if (!siempre && pendiente_.size() < kVolcado)
    return;
  // Checked at every write, so that a full disk stops the run at once.
  errno = 0;
  salida_.write(pendiente_.data(), static_cast<std::streamsize>(pendiente_.size()));
  pendiente_.clear();
  if (siempre && salida_)
    salida_.flush();
  if (!salida_)
    throw archivos::ErrorEscritura{archivos::TextoDelError(errno)};
}

}  // namespace zelk::lotes
