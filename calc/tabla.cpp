#include "calc/tabla.h"

#include <charconv>
#include <nlohmann/json.hpp>

#include <cerrno>

#include "calc/archivos.h"
#include "calc/control_lote.h"
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

void Tabla::Cabecera() {
  if (opciones_.formato == Formato::Json) {
    pendiente_.push_back('[');
    return;
  }
  bool primero = true;
  for (const auto& c : columnas_) {
    TextoCsv(c.nombre, primero);
    primero = false;
  }
  if (opciones_.control) {
    for (const auto n : kColumnasControl) {
      CampoCsv(n, primero);
      primero = false;
    }
  }
  for (const auto& d : kResultados) {
    CampoCsv(d.nombre, primero);
    primero = false;
  }
  if (opciones_.control)
    CampoCsv(kColumnaAvisos, false);
  CampoCsv("estado", primero);
  pendiente_.append("\r\n");
}

void Tabla::Fila(std::span<const std::string_view> textos, const Punto& punto) {
  const bool aceptada = punto.datos.has_value();
  if (opciones_.formato == Formato::Json) {
    nlohmann::ordered_json fila;
    for (std::size_t i = 0; i < columnas_.size(); ++i) {
      const auto* p = columnas_[i].parametro;
      if (opciones_.crudo && aceptada && p != nullptr)
        fila[columnas_[i].nombre] = (*punto.datos).*(p->miembro);
      else if (const auto v = ValorControl(columnas_[i], punto, opciones_.crudo))
        fila[columnas_[i].nombre] = *v;
      else
        fila[columnas_[i].nombre] = std::string(textos[i]);
    }
    if (opciones_.control) {
      fila[std::string(kColumnasControl[0])] =
          punto.control ? nlohmann::ordered_json(TextoModo(punto.control->solucion.modo))
                        : nlohmann::ordered_json();
      for (const auto& e : kElegidos) {
        const std::string nombre(e.nombre);
        if (!punto.control)
          fila[nombre] = nullptr;
        else if (opciones_.crudo)
          fila[nombre] = punto.control->solucion.datos.*e.miembro;
        else
          fila[nombre] = TextoElegido(e, punto.control->solucion.datos, regional_);
      }
    }
    for (const auto& d : kResultados) {
      const std::string nombre(d.nombre);
      const Resultado& v = punto.resultados.*d.miembro;
      if (!aceptada)
        fila[nombre] = nullptr;
      else if (opciones_.crudo)
        fila[nombre] = v ? nlohmann::ordered_json(*v) : nlohmann::ordered_json(kMarcaError);
      else
        fila[nombre] = TextoResultado(v, d, regional_);
    }
    if (opciones_.control) {
      auto& avisos = fila[std::string(kColumnaAvisos)] = nlohmann::ordered_json::array();
      for (const auto a : Avisos(punto))
        avisos.push_back(a);
    }
    fila["estado"] = aceptada ? kEstadoBien : kEstadoRechazo;
    pendiente_.append(filas_ ? ",\n" : "\n");
    pendiente_.append(fila.dump());
  } else {
    bool primero = true;
    for (std::size_t i = 0; i < columnas_.size(); ++i) {
      const auto* p = columnas_[i].parametro;
      if (opciones_.crudo && aceptada && p != nullptr)
        CampoCsv(Numero((*punto.datos).*(p->miembro)), primero);
      else if (const auto v = ValorControl(columnas_[i], punto, opciones_.crudo))
        CampoCsv(Numero(*v), primero);
      else
        TextoCsv(textos[i], primero);
      primero = false;
    }
    if (opciones_.control) {
      CampoCsv(punto.control ? TextoModo(punto.control->solucion.modo) : "", primero);
      for (const auto& e : kElegidos) {
        const DatosEnlace* d = punto.control ? &punto.control->solucion.datos : nullptr;
        CampoCsv(d == nullptr      ? std::string()
                 : opciones_.crudo ? Numero(d->*e.miembro)
                                   : TextoElegido(e, *d, regional_),
                 false);
      }
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
    if (opciones_.control) {
      std::string avisos;
      for (const auto a : Avisos(punto))
        avisos.append(avisos.empty() ? "" : kSeparadorAvisos).append(a);
      CampoCsv(avisos, false);
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
