#include "lote/control_lote.h"

#include <algorithm>

#include "lote/columnas.h"
#include "lote/csv.h"
#include "lote/lectura.h"
#include "lote/lotes.h"
#include "lote/tabla.h"

namespace zelk::lotes {

namespace {

// As the reasons for the 18 data name a datum: "«margen» = «1,5»".
std::string Dato(std::string_view nombre, std::string_view texto) {
  return "«" + std::string(nombre) + "» = «" + std::string(texto) + "»";
}

TextosControl Vistas(const std::array<std::string, kNumControl>& textos) {
  TextosControl t;
  std::copy(textos.begin(), textos.end(), t.begin());
  return t;
}

std::size_t IndiceControl(const DescripcionControl& d) {
  return static_cast<std::size_t>(&d - kControl.data());
}

// A check's rejection with the texts of the data it names.
std::string Explicar(const RechazoControl& rechazo, const TextosControl& textos) {
  const auto texto = [&](const DescripcionControl& d) {
    return Dato(d.nombre, textos[IndiceControl(d)]);
  };
  std::string motivo = texto(*rechazo.dato) + ": " + std::string(rechazo.motivo);
  if (rechazo.otro != nullptr)
    motivo += " " + texto(*rechazo.otro);
  return motivo;
}

std::string DadoDosVeces(const DescripcionControl& d) {
  return "«" + std::string(d.nombre) + "» se da dos veces: como NOMBRE=TEXTO y en la tabla";
}

}  // namespace

BaseControl BaseControlDeInicio(
    const ConfiguracionRegional& r,
    std::span<const std::pair<const DescripcionControl*, std::string>> asignaciones,
    std::span<const std::pair<const DescripcionParametro*, std::string>> datos) {
  BaseControl b;
  for (std::size_t i = 0; i < kNumControl; ++i)
    b.textos[i] = TextoDeCarga(kControl[i].valorDefault, r);
  for (const auto& [d, texto] : asignaciones) {
    b.textos[IndiceControl(*d)] = texto;
    b.asignado[IndiceControl(*d)] = true;
  }
  b.dada = !asignaciones.empty();
  for (const auto& [p, texto] : datos)
    if (!b.fijado)
      b.fijado = DatoFijadoPorElControl(*p);
  return b;
}

std::optional<std::string> AnadirControl(
    std::vector<std::pair<const DescripcionControl*, std::string>>& asignaciones,
    const DescripcionControl* dato, std::string texto) {
  for (const auto& [d, t] : asignaciones)
    if (d == dato)
      return std::string(dato->nombre) + "=TEXTO: dado más de una vez";
  asignaciones.emplace_back(dato, std::move(texto));
  return std::nullopt;
}

std::optional<std::string> DatoFijadoPorElControl(const DescripcionParametro& p) {
  if (p.miembro != &DatosEnlace::Idc && p.miembro != &DatosEnlace::Vdci)
    return std::nullopt;
  return "con datos de control, " + std::string(p.nombre) +
         " no se da: lo fijan la orden y los taps";
}

std::optional<std::string> ComprobarBarridosConControl(std::span<const Barrido> barridos,
                                                       const BaseControl& base) {
  const bool conControl =
      base.dada || std::any_of(barridos.begin(), barridos.end(),
                               [](const Barrido& b) { return b.control != nullptr; });
  if (!conControl)
    return std::nullopt;
  if (base.fijado)
    return base.fijado;
  for (const auto& b : barridos) {
    if (b.parametro != nullptr)
      if (auto motivo = DatoFijadoPorElControl(*b.parametro))
        return motivo;
    if (b.control != nullptr && base.asignado[IndiceControl(*b.control)])
      return DadoDosVeces(*b.control);
  }
  return std::nullopt;
}

namespace {

Punto Resolver(const TextosEntrada& textos, const std::optional<DatosControl>& c,
               const ConfiguracionRegional& r) {
  Punto p;
  const auto datos = LeerDatos(textos, r);
  if (!datos || !c || ComprobarControl(*c, datos->Rdc))
    return p;
  p.datos = datos;
  p.control = PuntoControl{*c, ResolverControl(*datos, *c)};
  p.resultados = p.control->solucion.resultados;
  return p;
}

std::optional<DatosControl> Leidos(const TextosControl& control, const ConfiguracionRegional& r) {
  auto leido = LeerControl(control, r);
  if (auto* c = std::get_if<DatosControl>(&leido))
    return *c;
  return std::nullopt;
}

}  // namespace

Punto EvaluarControl(const TextosEntrada& textos, const TextosControl& control,
                     const ConfiguracionRegional& r) {
  return Resolver(textos, Leidos(control, r), r);
}

std::string MotivoControl(const TextosEntrada& textos, const TextosControl& control,
                          const ConfiguracionRegional& r) {
  const auto leido = LeerControl(control, r);
  std::optional<RechazoControl> rechazo;
  if (const auto* c = std::get_if<RechazoControl>(&leido)) {
    rechazo = *c;
  } else if (const auto datos = LeerDatos(textos, r)) {
    rechazo = ComprobarControl(std::get<DatosControl>(leido), datos->Rdc);
  }
  if (!rechazo)
    return "los datos no pasan las comprobaciones";
  return Explicar(*rechazo, control);
}

ControlDeTabla::ControlDeTabla(std::vector<Columna>& columnas, const BaseControl& base,
                               const ConfiguracionRegional& regional, std::size_t linea,
                               bool deTabla)
    : activo_(base.dada), deTabla_(deTabla), textos_(Vistas(base.textos)) {
  for (std::size_t i = 0; i < columnas.size(); ++i) {
    auto& c = columnas[i];
    if (c.parametro == nullptr && c.control == nullptr) {
      c.control = BuscarControl(c.nombre);
      if (const auto motivo = c.control ? std::nullopt : MotivoColumnaControl(c.nombre, false))
        throw csv::ErrorCsv{linea, *motivo};
    }
    if (c.control != nullptr) {
      if (base.asignado[IndiceControl(*c.control)])
        throw csv::ErrorCsv{linea, DadoDosVeces(*c.control)};
      columnas_.emplace_back(i, IndiceControl(*c.control));
      activo_ = true;
    }
  }
  if (!activo_)
    return;
  base_ = Leidos(textos_, regional);
  if (base.fijado)
    throw csv::ErrorCsv{linea, *base.fijado};
  for (auto& c : columnas) {
    if (c.parametro != nullptr) {
      if (const auto motivo = DatoFijadoPorElControl(*c.parametro))
        throw csv::ErrorCsv{linea, "columna «" + c.nombre + "»: " + *motivo};
      if (c.parametro->miembro == &DatosEnlace::tapr || c.parametro->miembro == &DatosEnlace::tapi)
        c.nombre += kSufijoInicial;
      continue;
    }
    if (c.control == nullptr)
      if (const auto motivo = MotivoColumnaControl(c.nombre, true))
        throw csv::ErrorCsv{linea, *motivo};
  }
}

std::optional<std::string> ControlDeTabla::LeerColumnas(std::span<const std::string_view> campos,
                                                        const ConfiguracionRegional& r,
                                                        DatosControl& c) const {
  for (const auto& [campo, dato] : columnas_) {
    const auto& d = kControl[dato];
    const std::string_view texto = campos[campo];
    if (deTabla_ && d.miembro != nullptr) {
      const auto v = NumeroDeHoja(texto, r);
      if (!v)
        return "«" + std::string(d.nombre) + "» = " + NoEsNumero(texto, r);
      c.*d.miembro = *v;
    } else if (const auto rechazo = LeerDatoControl(d, texto, r, c)) {
      return Dato(d.nombre, texto) + ": " + std::string(rechazo->motivo);
    }
  }
  return std::nullopt;
}

Punto ControlDeTabla::Evaluar(const TextosEntrada& textos,
                              const std::array<bool, kNumParametros>& deTabla,
                              std::span<const std::string_view> campos,
                              const ConfiguracionRegional& r, Rechazos& rechazos,
                              const std::function<std::string()>& donde) const {
  Punto p;
  const auto datos = LeerFila(textos, deTabla, r);
  std::optional<std::string> motivo;
  DatosControl c;
  if (!datos) {
    motivo = MotivosDeRechazo(textos, deTabla, r).front();
  } else if (!base_) {
    motivo = MotivoControl(textos, textos_, r);
  } else {
    c = *base_;
    motivo = LeerColumnas(campos, r, c);
    if (!motivo) {
      if (const auto rechazo = ComprobarControl(c, datos->Rdc)) {
        TextosControl t = textos_;
        for (const auto& [campo, dato] : columnas_)
          t[dato] = campos[campo];
        motivo = Explicar(*rechazo, t);
      }
    }
  }
  if (motivo) {
    if (rechazos.Anotar())
      rechazos.Primero(donde(), *motivo);
    p.motivos = {std::move(*motivo)};
    return p;
  }
  p.datos = datos;
  p.control = PuntoControl{c, ResolverControl(*datos, c)};
  p.resultados = p.control->solucion.resultados;
  return p;
}

void AvisosDeLectura(const BaseControl& control, const ConfiguracionRegional& r,
                     std::ostream& err) {
  for (std::size_t i = 0; i < kNumControl; ++i)
    if (control.asignado[i] && kControl[i].miembro != nullptr)
      if (const auto aviso = AvisoDeLectura(kControl[i].nombre, control.textos[i], r))
        err << "zelk-calc: " << *aviso << '\n';
}

void AyudaControl(std::ostream& out, const ConfiguracionRegional& r) {
  for (const auto& d : kControl) {
    std::string nombre(d.nombre);
    nombre.resize(10, ' ');
    out << "  " << nombre << d.titulo << "  (por defecto: " << TextoDeCarga(d.valorDefault, r)
        << ")\n";
  }
}

}  // namespace zelk::lotes
