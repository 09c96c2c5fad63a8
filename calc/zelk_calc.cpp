#include "calc/zelk_calc.h"

#include "engine/pasada.h"

namespace zelk {

bool PasadaTrasInicio(FormularioMemoria& form, const ConfiguracionRegional& regional,
                      std::span<const Asignacion> asignaciones) {
  Calculadora calc(form, regional);
  calc.Inicio();
  form.OlvidarMensajes();
  for (const auto& a : asignaciones)
    form.PonerTexto(a.parametro->campo, a.texto);
  return calc.Calcular();
}

namespace {

void Ayuda(std::ostream& out) {
  out << kUsoCalc << "\n\n"
      << "Calcula el punto de trabajo del enlace a partir de los valores del inicio, con los\n"
         "datos NOMBRE=TEXTO escritos como en la ventana, y muestra los 13 resultados.\n\n"
         "  --locale NOMBRE  configuración regional de los números (p. ej. es_ES)\n\n"
         "Datos:\n";
  for (const auto& p : kParametros) {
    std::string nombre(p.nombre);
    nombre.resize(10, ' ');
    out << "  " << nombre << p.titulo << "  (inicio: " << p.valorCarga << ")\n";
  }
}

}  // namespace

int EjecutarCalc(std::span<const std::string_view> args, const EntornoCalc& entorno,
                 std::ostream& out, std::ostream& err) {
  const auto uso = [&] {
    err << kUsoCalc << '\n';
    return kSalidaUso;
  };
  std::optional<ConfiguracionRegional> regional;
  std::vector<Asignacion> asignaciones;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (arg == "--help" || arg == "-h") {
      Ayuda(out);
      return kSalidaBien;
    }
    if (arg == "--locale" || arg.starts_with("--locale=")) {
      std::string_view nombre;
      if (arg == "--locale") {
        if (++i == args.size())
          return uso();
        nombre = args[i];
      } else {
        nombre = arg.substr(std::string_view("--locale=").size());
      }
      regional = entorno.regionalPorNombre ? entorno.regionalPorNombre(nombre) : std::nullopt;
      if (!regional)
        return uso();
      continue;
    }
    if (arg.starts_with("-"))
      return uso();
    const auto igual = arg.find('=');
    if (igual == std::string_view::npos)
      return uso();
    const auto* p = BuscarParametro(arg.substr(0, igual));
    if (!p)
      return uso();
    asignaciones.push_back({p, std::string(arg.substr(igual + 1))});
  }

  FormularioMemoria form;
  const bool aceptada = PasadaTrasInicio(form, regional.value_or(entorno.regional), asignaciones);
  for (const auto& m : form.Mensajes())
    err << m << '\n';
  for (const auto& d : kResultados)
    out << d.nombre << '\t' << form.Ver(d.campo) << '\n';
  return aceptada ? kSalidaBien : kSalidaRechazo;
}

}  // namespace zelk
