// zelk-calc --psse: the case read from a stream, its lines solved and written as a table.
#include "lote/psse_calc.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <nlohmann/json.hpp>
#include <system_error>
#include <variant>
#include <vector>

#include "archivos/archivos.h"
#include "lote/control_lote.h"
#include "lote/csv.h"
#include "psse/caso.h"
#include "psse/raw.h"

namespace zelk::lotes {

namespace {

// The input a block at a time, as the CSV reader reads it: a failed read says why.
class Entrada : public psse::Fuente {
 public:
  explicit Entrada(std::istream& entrada) : fuente_(entrada.rdbuf()) {}

  std::size_t Leer(char* destino, std::size_t n) override {
    if (fuente_ == nullptr)
      return 0;
    try {
      const std::streamsize leidos = fuente_->sgetn(destino, static_cast<std::streamsize>(n));
      return static_cast<std::size_t>(std::max<std::streamsize>(leidos, 0));
    } catch (const std::ios_base::failure& e) {
      // The file buffer reports a failed read (a folder, an unreadable device) this way.
      const int numero = errno;
      const std::error_code codigo = e.code();
      if (codigo && codigo.category() != std::iostream_category())
        throw archivos::ErrorLectura{archivos::TextoDelError(codigo)};
      throw archivos::ErrorLectura{archivos::TextoDelError(numero)};
    }
  }

 private:
  std::streambuf* fuente_;
};

// "«caso.raw», línea 57", or the file alone for what concerns all of it.
std::string Donde(const std::string& nombre, std::size_t linea) {
  return linea == 0 ? nombre : nombre + ", línea " + std::to_string(linea);
}

std::string Numero(double v) {
  char texto[32];
  const auto fin = std::to_chars(texto, texto + sizeof texto, v).ptr;
  return {texto, fin};
}

// One row: the line's name, and its solution or why its data were refused.
struct Fila {
  std::string linea;
  std::optional<SolucionControl> solucion;
  std::vector<std::string> avisos;
};

class Escritor {
 public:
  Escritor(std::ostream& salida, const ConfiguracionRegional& r, OpcionesSalida opciones)
      : salida_(salida),
        regional_(r),
        opciones_(opciones),
        separador_(opciones.crudo ? ',' : SeparadorCsv(r)) {}

  void Escribir(const std::vector<Fila>& filas) {
    std::string texto;
    if (opciones_.formato == Formato::Json) {
      texto = "[";
      for (std::size_t i = 0; i < filas.size(); ++i)
        texto.append(i ? ",\n" : "\n").append(Json(filas[i]).dump());
      texto.append(filas.empty() ? "]\n" : "\n]\n");
    } else {
      if (opciones_.marca)
        texto.append(csv::kMarcaDeOrden);
      std::vector<std::string> cabecera{std::string(kColumnaLinea)};
      for (const auto n : kColumnasControl)
        cabecera.emplace_back(n);
      for (const auto& d : kResultados)
        cabecera.emplace_back(d.nombre);
      cabecera.emplace_back(kColumnaAvisos);
      Linea(texto, cabecera);
      for (const auto& f : filas)
        Linea(texto, Campos(f));
    }
    errno = 0;
    salida_.write(texto.data(), static_cast<std::streamsize>(texto.size()));
    salida_.flush();
    if (!salida_)
      throw archivos::ErrorEscritura{archivos::TextoDelError(errno)};
  }

 private:
  void Linea(std::string& texto, const std::vector<std::string>& campos) {
    for (std::size_t i = 0; i < campos.size(); ++i) {
      if (i)
        texto.push_back(separador_);
      csv::EscribirCampo(texto, campos[i], separador_);
    }
    texto.append("\r\n");
  }

  std::vector<std::string> Campos(const Fila& f) {
    std::vector<std::string> c{TextoSeguro(f.linea, regional_)};
    const std::size_t vacios = kColumnasControl.size() + kNumResultados;
    if (!f.solucion) {
      c.resize(1 + vacios);
    } else {
      const SolucionControl& s = *f.solucion;
      c.emplace_back(TextoModo(s.modo));
      for (const auto& e : kElegidos)
        c.push_back(opciones_.crudo ? Numero(s.datos.*e.miembro)
                                    : TextoElegido(e, s.datos, regional_));
      for (const auto& d : kResultados) {
        const Resultado& v = s.resultados.*d.miembro;
        if (psse::SinResultado(s, d))
          c.emplace_back();
        else
          c.push_back(opciones_.crudo ? (v ? Numero(*v) : std::string(kMarcaError))
                                      : TextoResultado(v, d, regional_));
      }
    }
    std::string avisos;
    for (const auto& a : f.avisos)
      avisos.append(avisos.empty() ? "" : kSeparadorAvisos).append(a);
    c.push_back(TextoSeguro(avisos, regional_));
    return c;
  }

  nlohmann::ordered_json Json(const Fila& f) {
    nlohmann::ordered_json j;
    j[std::string(kColumnaLinea)] = f.linea;
    const SolucionControl* s = f.solucion ? &*f.solucion : nullptr;
    j[std::string(kColumnasControl[0])] =
        s ? nlohmann::ordered_json(TextoModo(s->modo)) : nlohmann::ordered_json();
    for (const auto& e : kElegidos) {
      auto& v = j[std::string(e.nombre)];
      if (s && opciones_.crudo)
        v = s->datos.*e.miembro;
      else if (s)
        v = TextoElegido(e, s->datos, regional_);
    }
    for (const auto& d : kResultados) {
      auto& v = j[std::string(d.nombre)];
      const Resultado* r = s && !psse::SinResultado(*s, d) ? &(s->resultados.*d.miembro) : nullptr;
      if (r && opciones_.crudo && *r)
        v = **r;
      else if (r && !opciones_.crudo)
        v = TextoResultado(*r, d, regional_);
    }
    j[std::string(kColumnaAvisos)] = f.avisos;
    return j;
  }

  std::ostream& salida_;
  const ConfiguracionRegional& regional_;
  OpcionesSalida opciones_;
  char separador_;
};

}  // namespace

int CalcularPsse(std::istream& entrada, const ConfiguracionRegional& r, OpcionesSalida opciones,
                 std::ostream& salida, std::ostream& err, const std::string& nombre,
                 std::optional<std::uintmax_t> tamano) {
  psse::Caso caso;
  try {
    if (tamano)
      psse::ComprobarTamano(*tamano);
    Entrada fuente(entrada);
    caso = psse::LeerCaso(fuente);
  } catch (const psse::ErrorRaw& e) {
    err << "zelk-calc: " << Donde(nombre, e.linea) << ": " << e.motivo << '\n';
    return 2;
  }
  for (const auto& n : caso.notas)
    err << "zelk-calc: nota: línea " << n.linea << ": " << n.texto << '\n';
  for (const auto& o : caso.omitidas)
    err << "zelk-calc: nota: línea " << o.linea << ": se omite «" << o.nombre
        << "», línea de continua " << o.tipo << "; solo se resuelven las de dos terminales\n";
  if (!caso.notaFinal.empty())
    err << "zelk-calc: nota: " << caso.notaFinal << '\n';
  if (caso.lineas.empty())
    err << "zelk-calc: nota: " << nombre << " no tiene líneas de continua de dos terminales\n";

  bool rechazo = false;
  std::vector<Fila> filas;
  for (const auto& l : caso.lineas) {
    Fila f;
    f.linea = l.nombre;
    const auto enlace = psse::EnlaceDeLinea(caso, l);
    if (const auto* motivo = std::get_if<psse::Rechazo>(&enlace)) {
      rechazo = true;
      err << "zelk-calc: " << Donde(nombre, motivo->linea) << ": «" << l.nombre
          << "» no se resuelve: " << motivo->motivo << '\n';
      f.avisos.push_back(psse::TextoRechazo(*motivo));
    } else {
      const auto& e = std::get<psse::EnlaceDelCaso>(enlace);
      f.solucion = ResolverControl(e.datos, e.control);
      for (std::size_t a = 0; a < kNumAvisos; ++a)
        if (Tiene(f.solucion->avisos, static_cast<Aviso>(a)))
          f.avisos.emplace_back(TextoAviso(static_cast<Aviso>(a)));
    }
    filas.push_back(std::move(f));
  }
  Escritor(salida, r, opciones).Escribir(filas);
  return rechazo ? 3 : 0;
}

}  // namespace zelk::lotes
