#include "calc/zelk_calc.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>

#include "calc/lotes.h"
#include "engine/calculo.h"
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
  out << kUsoCalc << "\n"
      << "       zelk-calc --csv ARCHIVO [OPCIONES] [NOMBRE=TEXTO]...\n"
         "       zelk-calc --sweep NOMBRE=DESDE:HASTA:PUNTOS [--sweep ...] [OPCIONES] "
         "[NOMBRE=TEXTO]...\n"
         "       zelk-calc --tap-for alpha=GRADOS|gamma=GRADOS [--tap-step PASO --tap-range "
         "MIN:MAX] [NOMBRE=TEXTO]...\n\n"
         "Calcula el punto de trabajo del enlace a partir de los valores del inicio, con los\n"
         "datos NOMBRE=TEXTO escritos como en la ventana, y muestra los 13 resultados.\n\n"
         "  --locale NOMBRE      configuración regional de los números (p. ej. es_ES)\n"
         "  --csv ARCHIVO        un punto por fila; la cabecera nombra los datos de las columnas\n"
         "                       (\"-\": la entrada estándar)\n"
         "  --sweep NOMBRE=DESDE:HASTA:PUNTOS\n"
         "                       barre un dato; dos veces, una rejilla\n"
         "  -o, --output ARCHIVO\n"
         "                       la tabla en ARCHIVO en vez de la salida estándar\n"
         "  --format csv|json    formato de la tabla (csv)\n"
         "  --raw                números para máquinas: precisión completa, \".\" decimal, \",\"\n"
         "                       entre campos\n"
         "  --plot ARCHIVO       con un barrido: ángulos y potencias en ARCHIVO.svg o .png\n"
         "  --plot-size ANCHOxALTO\n"
         "                       tamaño del gráfico en píxeles (900x700)\n"
         "  --tap-for alpha=GRADOS, --tap-for gamma=GRADOS\n"
         "                       el tap (tapr o tapi) con el que el ángulo vale GRADOS\n"
         "  --tap-step PASO, --tap-range MIN:MAX\n"
         "                       la posición del tap más cercana dentro del margen\n"
         "  -h, --help           esta ayuda\n\n"
         "Tabla: las columnas dadas, los 13 resultados y \"estado\" (OK o ERROR EN DATOS).\n"
         "Salida: 0 bien; 3 datos rechazados; 2 error de uso o archivo mal formado.\n\n"
         "Datos:\n";
  for (const auto& p : kParametros) {
    std::string nombre(p.nombre);
    nombre.resize(10, ' ');
    out << "  " << nombre << p.titulo << "  (inicio: " << p.valorCarga << ")\n";
  }
}

struct Opciones {
  bool ayuda = false, crudo = false;
  std::string locale, csv, salida, formato, tapPara, tapPaso, tapMargen, grafico, tamano;
  std::vector<std::string> barridos, asignaciones;
};

// CLI11 takes a lone "-" after an option for the end of the options; "--csv -" means standard
// input, so such a pair is joined first.
std::vector<std::string> Unir(std::span<const std::string_view> args) {
  std::vector<std::string> unidos;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i].starts_with("--") && args[i].find('=') == std::string_view::npos &&
        i + 1 < args.size() && args[i + 1] == "-") {
      unidos.push_back(std::string(args[i]) + "=-");
      ++i;
    } else {
      unidos.emplace_back(args[i]);
    }
  }
  return unidos;
}

bool Analizar(std::span<const std::string_view> args, Opciones& o) {
  CLI::App app{"", "zelk-calc"};
  app.set_help_flag();
  app.add_flag("-h,--help", o.ayuda);
  app.add_option("--locale", o.locale);
  app.add_option("--csv", o.csv);
  app.add_option("--sweep", o.barridos)->allow_extra_args(false);
  app.add_option("-o,--output", o.salida);
  app.add_option("--format", o.formato);
  app.add_flag("--raw", o.crudo);
  app.add_option("--plot", o.grafico);
  app.add_option("--plot-size", o.tamano);
  app.add_option("--tap-for", o.tapPara);
  app.add_option("--tap-step", o.tapPaso);
  app.add_option("--tap-range", o.tapMargen);
  app.add_option("asignaciones", o.asignaciones);
  const std::vector<std::string> unidos = Unir(args);
  std::vector<const char*> argv{"zelk-calc"};
  for (const auto& a : unidos)
    argv.push_back(a.c_str());
  try {
    app.parse(static_cast<int>(argv.size()), argv.data());
  } catch (const CLI::ParseError&) {
    return false;
  }
  return true;
}

std::optional<std::pair<int, int>> LeerTamano(std::string_view t) {
  const auto x = t.find('x');
  if (x == std::string_view::npos)
    return std::nullopt;
  int ancho = 0, alto = 0;
  const auto a = std::from_chars(t.data(), t.data() + x, ancho);
  const auto b = std::from_chars(t.data() + x + 1, t.data() + t.size(), alto);
  if (a.ec != std::errc() || a.ptr != t.data() + x || b.ec != std::errc() ||
      b.ptr != t.data() + t.size() || ancho < 100 || alto < 100 || ancho > 10000 || alto > 10000)
    return std::nullopt;
  return std::pair{ancho, alto};
}

// --tap-for: the exact tap, the position chosen when there are steps, and the pass there.
int ResolverTap(const Opciones& o, const lotes::Base& base, const ConfiguracionRegional& r,
                std::ostream& out, std::ostream& err, const std::function<int(std::string)>& uso) {
  const auto igual = o.tapPara.find('=');
  const std::string nombre = o.tapPara.substr(0, std::min(igual, o.tapPara.size()));
  if (igual == std::string::npos || (nombre != "alpha" && nombre != "gamma"))
    return uso("--tap-for: se espera alpha=GRADOS o gamma=GRADOS");
  const auto grados = TextoANumero(std::string_view(o.tapPara).substr(igual + 1), r);
  if (!grados)
    return uso("--tap-for: «" + o.tapPara.substr(igual + 1) + "» no es un número");
  std::optional<lotes::Escalones> escalones;
  if (!o.tapPaso.empty() || !o.tapMargen.empty()) {
    const auto dos = o.tapMargen.find(':');
    const std::string_view margen = o.tapMargen;
    const double paso = TextoANumero(o.tapPaso, r).value_or(0);
    const double minimo = TextoANumero(margen.substr(0, dos), r).value_or(NAN);
    const double maximo =
        dos == std::string::npos ? NAN : TextoANumero(margen.substr(dos + 1), r).value_or(NAN);
    if (!(paso > 0) || !(minimo <= maximo))
      return uso("--tap-step PASO y --tap-range MIN:MAX van juntos: PASO > 0, MIN <= MAX");
    escalones = lotes::Escalones{paso, minimo, maximo};
  }

  TextosEntrada textos;
  for (std::size_t i = 0; i < kNumParametros; ++i)
    textos[i] = base.textos[i];
  const auto datos = LeerDatos(textos, r);
  if (!datos) {
    err << kMensajeErrorDatos << '\n';
    return kSalidaRechazo;
  }
  const auto angulo = nombre == "alpha" ? lotes::Angulo::alpha : lotes::Angulo::gamma;
  const auto* tap = BuscarParametro(angulo == lotes::Angulo::alpha ? "tapr" : "tapi");
  const std::string objetivo = nombre + " = " + NumeroATexto(*grados, r);
  const auto exacto = lotes::TapPara(*datos, angulo, *grados);
  if (!exacto) {
    err << "zelk-calc: ningún " << tap->nombre << " da " << objetivo << '\n';
    return kSalidaRechazo;
  }
  double elegido = *exacto;
  if (escalones) {
    const auto posicion = lotes::PosicionMasCercana(*exacto, *escalones);
    if (!posicion) {
      err << "zelk-calc: ningún " << tap->nombre << " entre " << NumeroATexto(escalones->minimo, r)
          << " y " << NumeroATexto(escalones->maximo, r) << " da " << objetivo << " (haría falta "
          << tap->nombre << " = " << NumeroATexto(*exacto, r) << ")\n";
      return kSalidaRechazo;
    }
    elegido = *posicion;
  }
  DatosEnlace d = *datos;
  d.*tap->miembro = elegido;
  const ResultadosEnlace resultados = CalcularEnlace(d);
  out << tap->nombre << "_exacto\t" << NumeroATexto(*exacto, r) << '\n';
  out << tap->nombre << '\t' << NumeroATexto(elegido, r) << '\n';
  for (const auto& res : kResultados)
    out << res.nombre << '\t' << TextoResultado(resultados.*res.miembro, res, r) << '\n';
  return kSalidaBien;
}

}  // namespace

int EjecutarCalc(std::span<const std::string_view> args, const EntornoCalc& entorno,
                 std::ostream& out, std::ostream& err) {
  // The single pass's usage errors give the usage line alone; those of the other modes say why
  // first.
  const std::function<int(std::string)> uso = [&](std::string motivo) {
    if (!motivo.empty())
      err << "zelk-calc: " << motivo << '\n';
    err << kUsoCalc << '\n';
    return kSalidaUso;
  };
  Opciones o;
  if (!Analizar(args, o))
    return uso({});
  if (o.ayuda) {
    Ayuda(out);
    return kSalidaBien;
  }
  std::optional<ConfiguracionRegional> regional;
  if (!o.locale.empty() || std::find(args.begin(), args.end(), "--locale=") != args.end()) {
    regional = entorno.regionalPorNombre ? entorno.regionalPorNombre(o.locale) : std::nullopt;
    if (!regional)
      return uso({});
  }
  std::vector<Asignacion> asignaciones;
  for (const auto& a : o.asignaciones) {
    const auto igual = a.find('=');
    if (igual == std::string::npos)
      return uso({});
    const auto* p = BuscarParametro(std::string_view(a).substr(0, igual));
    if (!p)
      return uso({});
    asignaciones.push_back({p, a.substr(igual + 1)});
  }
  const ConfiguracionRegional& r = regional ? *regional : entorno.regional;

  const bool tabla = !o.csv.empty() || !o.barridos.empty();
  const bool tap = !o.tapPara.empty();
  if (!o.csv.empty() + !o.barridos.empty() + tap > 1)
    return uso("--csv, --sweep y --tap-for no van juntos");
  if (!tabla && (o.crudo || !o.formato.empty() || !o.salida.empty()))
    return uso("--raw, --format y --output son para --csv y --sweep");
  if (!tap && (!o.tapPaso.empty() || !o.tapMargen.empty()))
    return uso("--tap-step y --tap-range son para --tap-for");
  if ((!o.grafico.empty() || !o.tamano.empty()) && o.barridos.size() != 1)
    return uso("--plot es para un solo --sweep");
  if (o.barridos.size() > 2)
    return uso("a lo sumo dos --sweep");
  if (!o.formato.empty() && o.formato != "csv" && o.formato != "json")
    return uso("--format: csv o json");

  if (!tabla && !tap) {
    FormularioMemoria form;
    const bool aceptada = PasadaTrasInicio(form, r, asignaciones);
    for (const auto& m : form.Mensajes())
      err << m << '\n';
    for (const auto& d : kResultados)
      out << d.nombre << '\t' << form.Ver(d.campo) << '\n';
    return aceptada ? kSalidaBien : kSalidaRechazo;
  }

  std::vector<std::pair<const DescripcionParametro*, std::string>> pares;
  for (const auto& a : asignaciones)
    pares.emplace_back(a.parametro, a.texto);
  const lotes::Base base = lotes::BaseDeInicio(r, pares);
  if (tap)
    return ResolverTap(o, base, r, out, err, uso);

  lotes::OpcionesSalida salida;
  salida.crudo = o.crudo;
  salida.formato = o.formato == "json" ? lotes::Formato::Json : lotes::Formato::Csv;
  std::ofstream archivoSalida;
  std::ostream* destino = &out;
  if (!o.salida.empty() && o.salida != "-") {
    archivoSalida.open(o.salida, std::ios::binary);
    if (!archivoSalida)
      return uso("no se puede escribir «" + o.salida + "»");
    destino = &archivoSalida;
  }

  if (!o.csv.empty()) {
    std::ifstream archivo;
    std::istream* fuente = entorno.entrada;
    if (o.csv != "-") {
      archivo.open(o.csv, std::ios::binary);
      if (!archivo)
        return uso("no se puede leer «" + o.csv + "»");
      fuente = &archivo;
    }
    if (fuente == nullptr)
      return uso("no hay entrada estándar");
    return lotes::CalcularCsv(*fuente, base, r, salida, *destino, err);
  }

  std::vector<lotes::Barrido> barridos;
  for (const auto& texto : o.barridos) {
    std::string error;
    const auto b = lotes::LeerBarrido(texto, r, error);
    if (!b)
      return uso(error);
    barridos.push_back(*b);
  }
  if (barridos.size() == 2 && barridos[0].parametro == barridos[1].parametro)
    return uso("los dos --sweep barren el mismo dato");
  std::optional<std::pair<int, int>> tamano{{900, 700}};
  if (!o.tamano.empty())
    tamano = LeerTamano(o.tamano);
  if (!tamano)
    return uso("--plot-size: ANCHOxALTO, de 100 a 10000 píxeles");
  if (!o.grafico.empty() && !entorno.dibujar)
    return uso("--plot: no se pueden dibujar gráficos aquí");
  lotes::Curvas curvas;
  const int estado = lotes::CalcularBarrido(barridos, base, r, salida, *destino,
                                            o.grafico.empty() ? nullptr : &curvas);
  if (!o.grafico.empty()) {
    if (const auto error = entorno.dibujar(curvas, o.grafico, tamano->first, tamano->second)) {
      err << "zelk-calc: " << *error << '\n';
      return kSalidaUso;
    }
  }
  return estado;
}

}  // namespace zelk
