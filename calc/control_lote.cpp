#include "calc/control_lote.h"

#include <algorithm>

#include "calc/csv.h"
#include "calc/lotes.h"
#include "calc/tabla.h"

namespace zelk::lotes {

namespace {

std::string Dato(std::string_view nombre, std::string_view texto) {
  return std::string(nombre) + " = «" + std::string(texto) + "»";
}

TextosControl Vistas(const std::array<std::string, kNumControl>& textos) {
  TextosControl t;
  std::copy(textos.begin(), textos.end(), t.begin());
  return t;
}

std::size_t IndiceControl(const DescripcionControl& d) {
  return static_cast<std::size_t>(&d - kControl.data());
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
  const auto texto = [&](const DescripcionControl& d) {
    return Dato(d.nombre, control[IndiceControl(d)]);
  };
  std::string motivo = texto(*rechazo->dato) + ": " + std::string(rechazo->motivo);
  if (rechazo->otro != nullptr)
    motivo += " " + texto(*rechazo->otro);
  return motivo;
}

ControlDeTabla::ControlDeTabla(std::vector<Columna>& columnas, const BaseControl& base,
                               const ConfiguracionRegional& regional, std::size_t linea)
    : activo_(base.dada), textos_(Vistas(base.textos)) {
  for (std::size_t i = 0; i < columnas.size(); ++i) {
    auto& c = columnas[i];
    if (c.parametro == nullptr && c.control == nullptr)
      c.control = BuscarControl(c.nombre);
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
    const bool propia = std::find(kColumnasControl.begin(), kColumnasControl.end(), c.nombre) !=
                            kColumnasControl.end() ||
                        c.nombre == kColumnaAvisos ||
                        c.nombre == "tapr" + std::string(kSufijoInicial) ||
                        c.nombre == "tapi" + std::string(kSufijoInicial);
    if (c.control == nullptr && propia)
      throw csv::ErrorCsv{linea, "la columna «" + c.nombre +
                                     "» tiene el nombre de una columna que añaden los datos de "
                                     "control"};
  }
}

Punto ControlDeTabla::Evaluar(const TextosEntrada& textos, std::span<const std::string> campos,
                              const ConfiguracionRegional& r) {
  if (!base_) {
    TextosControl t = textos_;
    for (const auto& [campo, dato] : columnas_)
      t[dato] = campos[campo];
    return EvaluarControl(textos, t, r);
  }
  std::optional<DatosControl> c = base_;
  for (const auto& [campo, dato] : columnas_)
    if (LeerDatoControl(kControl[dato], campos[campo], r, *c))
      return Punto();
  return Resolver(textos, c, r);
}

int PasadaControl(const std::array<std::string, kNumParametros>& base, const BaseControl& control,
                  const ConfiguracionRegional& r, std::ostream& out, std::ostream& err,
                  MotivoDatos motivoDatos) {
  TextosEntrada textos;
  std::copy(base.begin(), base.end(), textos.begin());
  const TextosControl textosControl = Vistas(control.textos);
  const Punto p = EvaluarControl(textos, textosControl, r);
  if (!p.control) {
    err << "zelk-calc: ERROR EN DATOS: "
        << (LeerDatos(textos, r) ? MotivoControl(textos, textosControl, r) : motivoDatos(textos, r))
        << '\n';
    return 3;
  }
  const SolucionControl& s = p.control->solucion;
  out << kColumnasControl[0] << '\t' << TextoModo(s.modo) << '\n';
  for (const auto& e : kElegidos)
    out << e.nombre << '\t' << TextoElegido(e, s.datos, r) << '\n';
  for (const auto& d : kResultados)
    out << d.nombre << '\t' << TextoResultado(s.resultados.*d.miembro, d, r) << '\n';
  for (std::size_t a = 0; a < kNumAvisos; ++a)
    if (Tiene(s.avisos, static_cast<Aviso>(a)))
      out << "aviso\t" << TextoAviso(static_cast<Aviso>(a)) << '\n';
  return 0;
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
