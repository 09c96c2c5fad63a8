#include "calc/tabla.h"

#include <charconv>
#include <nlohmann/json.hpp>

#include "calc/csv.h"
#include "engine/calculo.h"

namespace zelk::lotes {

namespace {
constexpr std::size_t kVolcado = 1 << 16;
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

Tabla::Tabla(std::ostream& salida, const ConfiguracionRegional& r, OpcionesSalida opciones,
             std::vector<const DescripcionParametro*> columnas)
    : salida_(salida),
      regional_(r),
      opciones_(opciones),
      columnas_(std::move(columnas)),
      separador_(opciones.crudo ? ',' : SeparadorCsv(r)) {
  Cabecera();
}

Tabla::~Tabla() {
  if (!terminada_)
    Volcar(true);
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

void Tabla::Cabecera() {
  if (opciones_.formato == Formato::Json) {
    pendiente_.push_back('[');
    return;
  }
  bool primero = true;
  for (const auto* p : columnas_) {
    CampoCsv(p->nombre, primero);
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
    nlohmann::ordered_json fila;
    for (std::size_t i = 0; i < columnas_.size(); ++i) {
      const std::string nombre(columnas_[i]->nombre);
      if (opciones_.crudo && aceptada)
        fila[nombre] = (*punto.datos).*(columnas_[i]->miembro);
      else
        fila[nombre] = std::string(textos[i]);
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
    fila["estado"] = aceptada ? kEstadoBien : kEstadoRechazo;
    pendiente_.append(filas_ ? ",\n" : "\n");
    pendiente_.append(fila.dump());
  } else {
    bool primero = true;
    for (std::size_t i = 0; i < columnas_.size(); ++i) {
      if (opciones_.crudo && aceptada)
        CampoCsv(Numero((*punto.datos).*(columnas_[i]->miembro)), primero);
      else
        CampoCsv(textos[i], primero);
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
  salida_.write(pendiente_.data(), static_cast<std::streamsize>(pendiente_.size()));
  pendiente_.clear();
  if (siempre)
    salida_.flush();
}

}  // namespace zelk::lotes
