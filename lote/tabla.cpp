#include "lote/tabla.h"

#include <charconv>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstring>

#include "archivos/archivos.h"
#include "engine/calculo.h"
#include "engine/cifras.h"
#include "engine/motivos.h"
#include "lote/control_lote.h"
#include "lote/csv.h"

namespace zelk::lotes {

namespace {

constexpr std::size_t kVolcado = 1 << 16;

// A control datum's value in raw output, where the column gives a number the row has read.
std::optional<double> ValorControl(const Columna& c, const Punto& punto, bool crudo) {
  if (!crudo || c.control == nullptr || c.control->miembro == nullptr || !punto.control)
    return std::nullopt;
  return punto.control->datos.*(c.control->miembro);
}

// The warnings of a point solved under control data, in their order.
std::vector<std::string_view> Avisos(const Punto& punto) {
  std::vector<std::string_view> textos;
  if (punto.control)
    for (std::size_t a = 0; a < kNumAvisos; ++a)
      if (Tiene(punto.control->solucion.avisos, static_cast<Aviso>(a)))
        textos.push_back(TextoAviso(static_cast<Aviso>(a)));
  return textos;
}

// A row put together in a buffer of its own and appended to the table at once: most of its
// pieces are a few bytes, and each append to the table would check its room and call a copy.
// It appends under std::string's names, so that a writer made for either serves both. What it
// holds goes to the table at `Volcar`, never from a destructor, whose failure to allocate would
// end the program instead of reaching the caller.
class Renglon {
 public:
  explicit Renglon(std::string& salida) : salida_(salida) {}
  Renglon(const Renglon&) = delete;
  Renglon& operator=(const Renglon&) = delete;

  Renglon& append(const char* texto, std::size_t n) {
    if (n > Libre()) {
      Volcar();
      if (n > kTamano) {
        salida_.append(texto, n);
        return *this;
      }
    }
    std::memcpy(fin_, texto, n);
    fin_ += n;
    return *this;
  }
  Renglon& append(std::string_view texto) { return append(texto.data(), texto.size()); }
  void push_back(char c) {
    if (Libre() == 0)
      Volcar();
    *fin_++ = c;
  }
  // Room for `n` bytes (at most kTamano), written from the pointer given; `Hasta` says where they
  // end.
  char* Espacio(std::size_t n) {
    if (n > Libre())
      Volcar();
    return fin_;
  }
  void Hasta(char* fin) { fin_ = fin; }
  // The table itself, for what is written there directly.
  std::string& Tabla() {
    Volcar();
    return salida_;
  }
  // What the row holds, to the table.
  void Volcar() {
    salida_.append(buffer_.data(), static_cast<std::size_t>(fin_ - buffer_.data()));
    fin_ = buffer_.data();
  }

 private:
  static constexpr std::size_t kTamano = 1024;
  std::size_t Libre() const { return static_cast<std::size_t>(buffer_.data() + kTamano - fin_); }
  std::string& salida_;
  std::array<char, kTamano> buffer_;
  char* fin_ = buffer_.data();
};

// What a spreadsheet may take for the start of a formula.
constexpr std::string_view kAbrenFormula = "=+-@\t\r";

bool EmpiezaComoFormula(std::string_view texto) {
  return !texto.empty() && kAbrenFormula.find(texto.front()) != std::string_view::npos;
}

// The first bytes of a text that needs a closer look: a formula's, or a byte-order mark's.
constexpr auto kPrimerosDudosos = [] {
  std::array<bool, 256> dudoso{};
  for (const char c : kAbrenFormula)
    dudoso[static_cast<unsigned char>(c)] = true;
  dudoso[static_cast<unsigned char>(csv::kMarcaDeOrden.front())] = true;
  return dudoso;
}();

bool PareceFormula(std::string_view texto, const ConfiguracionRegional& r) {
  // A byte-order mark that opens the output is taken by every reader for the file's own mark, so
  // a spreadsheet reads what follows it: the text is judged by that.
  if (texto.empty())
    return false;
  if (texto.front() == csv::kMarcaDeOrden.front())
    while (texto.starts_with(csv::kMarcaDeOrden))
      texto.remove_prefix(csv::kMarcaDeOrden.size());
  return EmpiezaComoFormula(texto) && !EsNumerico(texto, r);
}

template <class Destino>
void EscribirTextoJson(Destino& salida, std::string_view texto) {
  // As JSON serializers write UTF-8: the quote, the backslash and control characters escaped,
  // everything else as it is, in runs.
  static constexpr char kHex[] = "0123456789abcdef";
  salida.push_back('"');
  std::size_t tramo = 0;
  for (std::size_t i = 0; i < texto.size(); ++i) {
    const char c = texto[i];
    if (c != '"' && c != '\\' && static_cast<unsigned char>(c) >= 0x20)
      continue;
    salida.append(texto.data() + tramo, i - tramo);
    tramo = i + 1;
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
        salida.append("\\u00");
        salida.push_back(kHex[(c >> 4) & 0xF]);
        salida.push_back(kHex[c & 0xF]);
    }
  }
  salida.append(texto.data() + tramo, texto.size() - tramo);
  salida.push_back('"');
}

}  // namespace

void AnadirMotivos(Punto& p, const ConfiguracionRegional& r) {
  if (!p.datos || p.sinSolucion)
    return;
  if (p.control) {
    p.motivos = Motivos(p.control->solucion.datos, p.control->solucion.resultados, r);
    return;
  }
  p.motivos = Motivos(*p.datos, p.resultados, r);
}

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

namespace {

void NumeroJson(std::string& salida, double v) {
  if (!std::isfinite(v)) {
    salida.append("null");
    return;
  }
  // The shortest form that reads back, with ".0" on whole numbers, as the JSON library writes it.
  char texto[64];
  const char* fin = nlohmann::detail::to_chars(texto, texto + sizeof texto, v);
  salida.append(texto, static_cast<std::size_t>(fin - texto));
}

// The shortest form that reads back, as --raw writes numbers in CSV.
std::string_view NumeroCrudo(double v, std::array<char, 32>& texto) {
  const auto fin = std::to_chars(texto.data(), texto.data() + texto.size(), v).ptr;
  return {texto.data(), static_cast<std::size_t>(fin - texto.data())};
}

}  // namespace

FormatoTabla::FormatoTabla(const ConfiguracionRegional& r, OpcionesSalida opciones,
                           std::vector<Columna> columnas)
    : regional_(r),
      opciones_(opciones),
      columnas_(std::move(columnas)),
      separador_(opciones.crudo ? ',' : SeparadorCsv(r)) {
  const std::string& decimal = r.Decimal();
  decimalSinComillas_ =
      decimal.find_first_of(std::string{separador_, '"', '\n', '\r'}) == std::string::npos;
  for (std::size_t i = 0; i < finDeFila_.size(); ++i) {
    finDeFila_[i].push_back(separador_);
    const std::array<std::string_view, 3> estados{kEstadoBien, kEstadoRechazo, kEstadoSinSolucion};
    csv::EscribirCampo(finDeFila_[i], estados[i], separador_);
    finDeFila_[i].append("\r\n");
  }
  decimalSinEscapes_ = std::none_of(decimal.begin(), decimal.end(), [](char c) {
    return c == '"' || c == '\\' || static_cast<unsigned char>(c) < 0x20;
  });
  if (opciones_.formato != Formato::Json)
    return;
  // The keys of every row, each with its colon and the comma before it: written once.
  const auto clave = [&](std::string_view nombre) {
    std::string k = claves_.empty() ? "" : ",";
    EscribirTextoJson(k, nombre);
    k.push_back(':');
    clavesComilla_.push_back(k + '"');
    claves_.push_back(std::move(k));
  };
  for (const auto& c : columnas_)
    clave(c.nombre);
  if (!opciones_.resuelta.empty())
    clave(opciones_.resuelta);
  if (opciones_.control)
    for (const auto n : kColumnasControl)
      clave(n);
  for (const auto& d : kResultados)
    clave(d.nombre);
  if (opciones_.control)
    clave(kColumnaAvisos);
  if (opciones_.motivos)
    clave(kColumnaMotivos);
  clave("estado");
}

void FormatoTabla::CampoCsv(std::string& salida, std::string_view campo, bool primero) const {
  if (!primero)
    salida.push_back(separador_);
  csv::EscribirCampo(salida, campo, separador_);
}

void FormatoTabla::TextoCsv(std::string& salida, std::string_view texto, bool primero,
                            bool limpio) const {
  // Most texts are not formulas: those go as they are, without a copy; a clean one, without a
  // look for what needs quotes.
  if (PareceFormula(texto, regional_)) {
    CampoCsv(salida, TextoSeguro(texto, regional_), primero);
  } else if (limpio) {
    if (!primero)
      salida.push_back(separador_);
    salida.append(texto);
  } else {
    CampoCsv(salida, texto, primero);
  }
}

std::string FormatoTabla::Cabecera() const {
  std::string salida;
  if (opciones_.formato == Formato::Json)
    return "[";
  if (opciones_.marca)
    salida.append(csv::kMarcaDeOrden);
  bool primero = true;
  for (const auto& c : columnas_) {
    TextoCsv(salida, c.nombre, primero);
    primero = false;
  }
  if (!opciones_.resuelta.empty()) {
    CampoCsv(salida, opciones_.resuelta, primero);
    primero = false;
  }
  if (opciones_.control) {
    for (const auto n : kColumnasControl) {
      CampoCsv(salida, n, primero);
      primero = false;
    }
  }
  for (const auto& d : kResultados) {
    CampoCsv(salida, d.nombre, primero);
    primero = false;
  }
  if (opciones_.control)
    CampoCsv(salida, kColumnaAvisos, false);
  if (opciones_.motivos)
    CampoCsv(salida, kColumnaMotivos, false);
  CampoCsv(salida, "estado", primero);
  salida.append("\r\n");
  return salida;
}

std::string_view FormatoTabla::Cierre(bool conFilas) const {
  if (opciones_.formato != Formato::Json)
    return {};
  return conFilas ? "\n]\n" : "]\n";
}

void FormatoTabla::Fila(std::string& salida, std::span<const std::string_view> textos,
                        const Punto& punto, bool primera, std::string_view linea) const {
  // Results are written for accepted data that reached their target, if they had one.
  const bool leida = punto.datos.has_value();
  const bool aceptada = leida && !punto.sinSolucion;
  const std::size_t estado = !punto.datos ? 1 : punto.sinSolucion ? 2 : 0;
  const std::array<std::string_view, 3> estados{kEstadoBien, kEstadoRechazo, kEstadoSinSolucion};
  std::array<char, 32> numero;
  if (opciones_.formato == Formato::Json) {
    Renglon fila(salida);
    fila.append(primera ? "\n{" : ",\n{");
    std::size_t clave = 0;
    // A line without quotes, backslashes or control bytes gives texts that need no escapes.
    unsigned char escapes = linea.empty();
    for (const char c : linea)
      escapes |= static_cast<unsigned char>(c == '\\' || static_cast<unsigned char>(c) < 0x20);
    for (std::size_t i = 0; i < columnas_.size(); ++i) {
      const auto* p = columnas_[i].parametro;
      const auto v = ValorControl(columnas_[i], punto, opciones_.crudo);
      if ((opciones_.crudo && leida && p != nullptr) || v || escapes != 0)
        fila.append(claves_[clave++]);
      if (opciones_.crudo && leida && p != nullptr) {
        NumeroJson(fila.Tabla(), (*punto.datos).*(p->miembro));
      } else if (v) {
        NumeroJson(fila.Tabla(), *v);
      } else if (escapes == 0) {
        fila.append(clavesComilla_[clave++]);
        fila.append(textos[i]);
        fila.push_back('"');
      } else {
        EscribirTextoJson(fila, textos[i]);
      }
    }
    if (!opciones_.resuelta.empty()) {
      fila.append(claves_[clave++]);
      if (!punto.resuelto)
        fila.append("null");
      else if (opciones_.crudo)
        NumeroJson(fila.Tabla(), *punto.resuelto);
      else
        EscribirTextoJson(fila, CifraCompleta(*punto.resuelto, regional_));
    }
    if (opciones_.control) {
      const SolucionControl* s = punto.control ? &punto.control->solucion : nullptr;
      fila.append(claves_[clave++]);
      if (s != nullptr)
        EscribirTextoJson(fila, TextoModo(s->modo));
      else
        fila.append("null");
      for (const auto& e : kElegidos) {
        fila.append(claves_[clave++]);
        if (s == nullptr)
          fila.append("null");
        else if (opciones_.crudo)
          NumeroJson(fila.Tabla(), s->datos.*e.miembro);
        else
          EscribirTextoJson(fila, TextoElegido(e, s->datos, regional_));
      }
    }
    const bool resultadosSinEscapes = aceptada && !opciones_.crudo && decimalSinEscapes_;
    for (std::size_t k = 0; k < kNumResultados; ++k, ++clave) {
      fila.append(resultadosSinEscapes ? clavesComilla_[clave] : claves_[clave]);
      const Resultado& v = punto.resultados.*kResultados[k].miembro;
      if (!aceptada) {
        fila.append("null");
      } else if (opciones_.crudo && v) {
        NumeroJson(fila.Tabla(), *v);
      } else if (opciones_.crudo) {
        EscribirTextoJson(fila, kMarcaError);
      } else if (resultadosSinEscapes) {
        const auto* patron = kResultados[k].patron;
        char* const fin =
            v && patron != nullptr
                ? EscribirConPatronDirecto(fila.Espacio(kLargoDirecto), *v, *patron, regional_)
                : nullptr;
        if (fin != nullptr)
          fila.Hasta(fin);
        else
          AnadirTextoResultado(fila.Tabla(), v, kResultados[k], regional_);
        fila.push_back('"');
      } else {
        EscribirTextoJson(fila, TextoResultado(v, kResultados[k], regional_));
      }
    }
    if (opciones_.control) {
      fila.append(claves_[clave++]);
      fila.push_back('[');
      bool primero = true;
      for (const auto a : Avisos(punto)) {
        if (!primero)
          fila.push_back(',');
        EscribirTextoJson(fila, a);
        primero = false;
      }
      fila.push_back(']');
    }
    if (opciones_.motivos) {
      fila.append(claves_[clave++]);
      fila.push_back('[');
      for (std::size_t m = 0; m < punto.motivos.size(); ++m) {
        if (m > 0)
          fila.push_back(',');
        EscribirTextoJson(fila, punto.motivos[m]);
      }
      fila.push_back(']');
    }
    fila.append(claves_.back());
    EscribirTextoJson(fila, estados[estado]);
    fila.push_back('}');
    fila.Volcar();
    return;
  }
  Renglon fila(salida);
  bool primero = true;
  // The given texts as they were read, when none of them can be taken for a formula.
  const auto dudoso = [](std::string_view t) {
    return !t.empty() && kPrimerosDudosos[static_cast<unsigned char>(t.front())];
  };
  if (!linea.empty() && !opciones_.crudo && std::none_of(textos.begin(), textos.end(), dudoso)) {
    fila.append(linea);
    primero = false;
  }
  for (std::size_t i = primero ? 0 : columnas_.size(); i < columnas_.size(); ++i) {
    const auto* p = columnas_[i].parametro;
    if (opciones_.crudo && leida && p != nullptr)
      CampoCsv(fila.Tabla(), NumeroCrudo((*punto.datos).*(p->miembro), numero), primero);
    else if (const auto v = ValorControl(columnas_[i], punto, opciones_.crudo))
      CampoCsv(fila.Tabla(), NumeroCrudo(*v, numero), primero);
    else
      TextoCsv(fila.Tabla(), textos[i], primero, !linea.empty());
    primero = false;
  }
  if (!opciones_.resuelta.empty()) {
    std::string& tabla = fila.Tabla();
    if (!punto.resuelto)
      CampoCsv(tabla, {}, primero);
    else if (opciones_.crudo)
      CampoCsv(tabla, NumeroCrudo(*punto.resuelto, numero), primero);
    else
      CampoCsv(tabla, CifraCompleta(*punto.resuelto, regional_), primero);
    primero = false;
  }
  if (opciones_.control) {
    std::string& tabla = fila.Tabla();
    CampoCsv(tabla, punto.control ? TextoModo(punto.control->solucion.modo) : "", primero);
    for (const auto& e : kElegidos) {
      const DatosEnlace* d = punto.control ? &punto.control->solucion.datos : nullptr;
      if (d == nullptr)
        CampoCsv(tabla, {}, false);
      else if (opciones_.crudo)
        CampoCsv(tabla, NumeroCrudo(d->*e.miembro, numero), false);
      else
        CampoCsv(tabla, TextoElegido(e, *d, regional_), false);
    }
    primero = false;
  }
  for (const auto& d : kResultados) {
    const Resultado& v = punto.resultados.*d.miembro;
    const char antes = primero ? '\0' : separador_;
    if (!aceptada) {
      CampoCsv(fila.Tabla(), {}, primero);
    } else if (opciones_.crudo) {
      CampoCsv(fila.Tabla(), v ? NumeroCrudo(*v, numero) : kMarcaError, primero);
    } else if (decimalSinComillas_) {
      // Digits, signs, "E", D or the marker: nothing to quote.
      char* const fin = v && d.patron ? EscribirConPatronDirecto(fila.Espacio(kLargoDirecto), *v,
                                                                 *d.patron, regional_, antes)
                                      : nullptr;
      if (fin != nullptr)
        fila.Hasta(fin);
      else
        AnadirTextoResultado(fila.Tabla(), v, d, regional_, antes);
    } else {
      CampoCsv(fila.Tabla(), TextoResultado(v, d, regional_), primero);
    }
    primero = false;
  }
  if (opciones_.control) {
    std::string avisos;
    for (const auto a : Avisos(punto))
      avisos.append(avisos.empty() ? "" : kSeparadorAvisos).append(a);
    CampoCsv(fila.Tabla(), avisos, false);
  }
  if (opciones_.motivos) {
    std::string motivos;
    for (const auto& m : punto.motivos)
      motivos.append(motivos.empty() ? "" : kSeparadorAvisos).append(m);
    CampoCsv(fila.Tabla(), TextoSeguro(motivos, regional_), false);
  }
  fila.append(finDeFila_[estado]);
  fila.Volcar();
}

Tabla::Tabla(std::ostream& salida, const ConfiguracionRegional& r, OpcionesSalida opciones,
             std::vector<Columna> columnas)
    : salida_(salida),
      formato_(r, opciones, std::move(columnas)),
      pendiente_(formato_.Cabecera()) {}

Tabla::~Tabla() {
  // What was complete before a fault is still written; a failure here has no one to tell.
  if (!terminada_) {
    salida_.write(pendiente_.data(), static_cast<std::streamsize>(pendiente_.size()));
    salida_.flush();
  }
}

void Tabla::Fila(std::span<const std::string_view> textos, const Punto& punto) {
  formato_.Fila(pendiente_, textos, punto, !filas_);
  filas_ = true;
  Volcar(false);
}

void Tabla::Filas(std::string_view filas) {
  if (filas.empty())
    return;
  filas_ = true;
  if (filas.size() < kVolcado) {
    pendiente_.append(filas);
    Volcar(false);
    return;
  }
  // A block of rows goes to the stream as it is, after what was pending: no copy in between.
  Volcar(true, false);
  errno = 0;
  salida_.write(filas.data(), static_cast<std::streamsize>(filas.size()));
  if (!salida_)
    throw archivos::ErrorEscritura{archivos::TextoDelError(errno)};
}

void Tabla::Terminar() {
  pendiente_.append(formato_.Cierre(filas_));
  Volcar(true);
  terminada_ = true;
}

void Tabla::Volcar(bool siempre, bool vaciar) {
  if (!siempre && pendiente_.size() < kVolcado)
    return;
  // Checked at every write, so that a full disk stops the run at once.
  errno = 0;
  salida_.write(pendiente_.data(), static_cast<std::streamsize>(pendiente_.size()));
  pendiente_.clear();
  if (siempre && vaciar && salida_)
    salida_.flush();
  if (!salida_)
    throw archivos::ErrorEscritura{archivos::TextoDelError(errno)};
}

}  // namespace zelk::lotes
