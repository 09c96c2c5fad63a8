#include "apps/zelk-calc/zelk_calc.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>

#include "archivos/archivos.h"
#include "archivos/plataforma.h"
#include "engine/calculo.h"
#include "engine/pasada.h"
#include "lote/columnas.h"
#include "lote/csv.h"
#include "lote/lectura.h"
#include "lote/lotes.h"
#include "lote/psse_calc.h"

namespace zelk {

namespace {

void Ayuda(std::ostream& out, const ConfiguracionRegional& r, bool dibuja) {
  out << kUsoCalc << "\n"
      << "       zelk-calc --csv ARCHIVO [OPCIONES] [NOMBRE=TEXTO]...\n"
         "       zelk-calc --sweep NOMBRE=DESDE:HASTA:PUNTOS [--sweep ...] [OPCIONES] "
         "[NOMBRE=TEXTO]...\n"
         "       zelk-calc --tap-for alpha=GRADOS|gamma=GRADOS [--tap-step PASO --tap-range "
         "MIN:MAX] [NOMBRE=TEXTO]...\n"
         "       zelk-calc --psse CASO.raw [OPCIONES]\n\n"
         "Calcula el punto de trabajo del enlace a partir de los valores del inicio, con los\n"
         "datos NOMBRE=TEXTO escritos como en la ventana, y muestra los 13 resultados.\n\n"
         "  --locale NOMBRE      configuración regional de los números (p. ej. es_ES)\n"
         "  --csv ARCHIVO        un punto por fila; la cabecera nombra las columnas: las que\n"
         "                       llevan el nombre de un dato lo dan, las demás (un caso, una\n"
         "                       nota) pasan a la tabla tal cual (\"-\": la entrada estándar)\n"
         "  --sweep NOMBRE=DESDE:HASTA:PUNTOS\n"
         "                       barre un dato; dos veces, una rejilla; a lo sumo "
      << lotes::kPuntosMaximos
      << " puntos\n"
         "  -o, --output ARCHIVO\n"
         "                       la tabla en ARCHIVO en vez de la salida estándar; el archivo\n"
         "                       se sustituye solo cuando todo ha ido bien\n"
         "  --format csv|json    formato de la tabla (csv)\n"
         "  --hilos N            hilos que calculan la tabla (todos los núcleos que el proceso\n"
         "                       puede usar); la tabla es la misma con cualquier N\n"
         "  --raw                números para máquinas: precisión completa, \".\" decimal, \",\"\n"
         "                       entre campos\n"
         "  --bom                la tabla CSV empieza por la marca de orden de UTF-8, que Excel\n"
         "                       necesita para leerla bien (también si la entrada la lleva)\n"
      << (dibuja ? "  --plot ARCHIVO       con un barrido: ángulos y potencias en ARCHIVO.svg o "
                   ".png; de\n"
                   "                       cada columna de píxeles quedan el primer punto, el "
                   "último, el\n"
                   "                       menor y el mayor\n"
                   "  --plot-size ANCHOxALTO\n"
                   "                       tamaño del gráfico en píxeles, de 100 a 10000 "
                   "(900x700)\n"
                 : "  --plot ARCHIVO       " + std::string(kSinGraficos) + "\n")
      << "  --tap-for alpha=GRADOS, --tap-for gamma=GRADOS\n"
         "                       el tap (tapr o tapi) con el que el ángulo vale GRADOS\n"
         "  --tap-step PASO, --tap-range MIN:MAX\n"
         "                       la posición del tap más cercana dentro del margen; 0 < MIN,\n"
         "                       a lo sumo "
      << static_cast<long>(lotes::kPosicionesMaximas)
      << " posiciones\n"
         "  --psse CASO.raw      cada línea de continua de dos terminales de un caso PSS/E\n"
         "                       (versiones 33, 34 y 35) bajo sus datos de control, desde las\n"
         "                       tensiones de sus barras: una fila por línea\n"
         "  -h, --help           esta ayuda\n"
         "  --version            la versión\n\n"
         "Tabla: las columnas dadas, los 13 resultados y \"estado\" (OK o ERROR EN DATOS). En\n"
         "CSV, un texto que empieza por =, +, - o @ y no es un número lleva delante \"'\", para\n"
         "que la hoja de cálculo no lo tome por una fórmula.\n"
         "Archivos CSV: UTF-8, con o sin marca de orden; campos separados por \";\", \",\" o un\n"
         "tabulador, el que en la cabecera nombra datos (con una sola columna, \";\" bajo coma\n"
         "decimal); líneas terminadas en CRLF, LF o CR. Una columna que parece un dato sin serlo\n"
         "(\"Idc (A)\", \"idc\") se rechaza; un archivo sin ningún dato también.\n"
         "Números de los archivos y de --sweep, --tap-for, --tap-step y --tap-range: como los\n"
         "escribe una hoja de cálculo con la configuración regional, el separador de miles solo\n"
         "entre grupos de tres cifras (1.000,5 con es_ES; 1,000.5 con en_US). Cualquier otro "
         "texto\n"
         "en una columna de datos rechaza la fila, y el mensaje dice con qué --locale se leería.\n"
         "NOMBRE=TEXTO se lee como en la ventana; si un separador de miles mal puesto cambia el\n"
         "número, lo dice un aviso. Un dato se da una sola vez: en el archivo, en un barrido o\n"
         "como NOMBRE=TEXTO.\n"
         "Mensajes en la salida de errores: \"N de M filas rechazadas; la primera, línea L:\n"
         "«dato» = «texto» motivo\", \"nota: N filas sin datos (solo separadores) saltadas\",\n"
         "\"aviso: dato: «texto» se lee número\"; tras el mensaje de la ventana, los datos\n"
         "rechazados de una pasada.\n"
         "Salida: 0 bien; 3 datos rechazados; 2 error de uso, archivo mal formado o que no se\n"
         "puede leer o escribir.\n\n"
         "Datos:\n";
  for (const auto& p : kParametros) {
    std::string nombre(p.nombre);
    nombre.resize(10, ' ');
    out << "  " << nombre << p.titulo << "  (inicio: " << TextoDeCarga(p, r) << ")\n";
  }
  out << lotes::kAyudaControl;
  lotes::AyudaControl(out, r);
}

// More threads than this share the cores and gain nothing.
constexpr std::size_t kHilosMaximos = 256;

struct Opciones {
  bool ayuda = false, version = false, crudo = false, marca = false;
  // Empty when not given: an empty value is refused.
  std::string locale, csv, salida, formato, tapPara, tapPaso, tapMargen, grafico, tamano, hilos,
      psse;
  std::vector<std::string> barridos, asignaciones;
};

// The command line, GNU style: "--opción VALOR", "--opción=VALOR", "-o VALOR" or "-oVALOR"; "--"
// ends the options. The reason when it is not well formed.
std::optional<std::string> Analizar(std::span<const std::string_view> args, Opciones& o) {
  struct ConValor {
    std::string_view nombre;
    std::string Opciones::*destino;
  };
  static constexpr std::array<ConValor, 12> kConValor{{{"--locale", &Opciones::locale},
                                                       {"--csv", &Opciones::csv},
                                                       {"-o", &Opciones::salida},
                                                       {"--output", &Opciones::salida},
                                                       {"--format", &Opciones::formato},
                                                       {"--plot", &Opciones::grafico},
                                                       {"--plot-size", &Opciones::tamano},
                                                       {"--tap-for", &Opciones::tapPara},
                                                       {"--tap-step", &Opciones::tapPaso},
                                                       {"--tap-range", &Opciones::tapMargen},
                                                       {"--hilos", &Opciones::hilos},
                                                       {"--psse", &Opciones::psse}}};
  struct Bandera {
    std::string_view nombre;
    bool Opciones::*destino;
  };
  static constexpr std::array<Bandera, 5> kBanderas{{{"-h", &Opciones::ayuda},
                                                     {"--help", &Opciones::ayuda},
                                                     {"--version", &Opciones::version},
                                                     {"--raw", &Opciones::crudo},
                                                     {"--bom", &Opciones::marca}}};
  bool soloDatos = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view a = args[i];
    if (soloDatos || a.size() < 2 || a.front() != '-') {
      o.asignaciones.emplace_back(a);
      continue;
    }
    if (a == "--") {
      soloDatos = true;
      continue;
    }
    std::string_view nombre = a;
    std::optional<std::string_view> valor;
    if (a.starts_with("--")) {
      if (const auto igual = a.find('='); igual != std::string_view::npos) {
        nombre = a.substr(0, igual);
        valor = a.substr(igual + 1);
      }
    } else if (a.size() > 2) {
      nombre = a.substr(0, 2);
      valor = a.substr(2);
    }
    const std::string n(nombre);
    if (const auto b = std::find_if(kBanderas.begin(), kBanderas.end(),
                                    [&](const Bandera& x) { return x.nombre == nombre; });
        b != kBanderas.end()) {
      if (valor)
        return nombre.starts_with("--") ? n + " no lleva valor"
                                        : "opción desconocida: " + std::string(a);
      o.*b->destino = true;
      continue;
    }
    // --sweep may come twice, for a grid; every other option once.
    const bool barrido = nombre == "--sweep";
    const auto c = std::find_if(kConValor.begin(), kConValor.end(),
                                [&](const ConValor& x) { return x.nombre == nombre; });
    if (!barrido && c == kConValor.end())
      return "opción desconocida: " + n;
    if (!valor && i + 1 < args.size())
      valor = args[++i];
    if (!valor)
      return n + ": falta el valor";
    if (valor->empty())
      return n + ": el valor está vacío";
    if (barrido) {
      o.barridos.emplace_back(*valor);
      continue;
    }
    std::string& destino = o.*c->destino;
    if (!destino.empty())
      return n + ": dada más de una vez";
    destino = *valor;
  }
  return std::nullopt;
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

// The plot's format, from the end of its name.
std::optional<lotes::FormatoGrafico> FormatoDe(std::string_view archivo) {
  const auto termina = [&](std::string_view fin) {
    return archivo.size() >= fin.size() &&
           std::equal(fin.begin(), fin.end(), archivo.end() - fin.size(), [](char a, char b) {
             return a == b || (a >= 'a' && a <= 'z' && b == a - 'a' + 'A');
           });
  };
  if (termina(".svg"))
    return lotes::FormatoGrafico::Svg;
  if (termina(".png"))
    return lotes::FormatoGrafico::Png;
  return std::nullopt;
}

// --tap-for: the exact tap, the position chosen when there are steps, and the pass there.
int ResolverTap(const Opciones& o, const lotes::Base& base, const ConfiguracionRegional& r,
                std::ostream& out, std::ostream& err, const std::function<int(std::string)>& uso) {
  const auto igual = o.tapPara.find('=');
  const std::string nombre = o.tapPara.substr(0, std::min(igual, o.tapPara.size()));
  if (igual == std::string::npos || (nombre != "alpha" && nombre != "gamma"))
    return uso("--tap-for: se espera alpha=GRADOS o gamma=GRADOS");
  std::string error;
  const auto grados = lotes::LeerNumero(std::string_view(o.tapPara).substr(igual + 1), r, error);
  if (!grados)
    return uso("--tap-for: " + error);
  std::optional<lotes::Escalones> escalones;
  if (!o.tapPaso.empty() || !o.tapMargen.empty()) {
    if (o.tapPaso.empty() || o.tapMargen.empty() || o.tapMargen.find(':') == std::string::npos)
      return uso("--tap-step PASO y --tap-range MIN:MAX van juntos, con números");
    const auto dos = o.tapMargen.find(':');
    const std::string_view margen = o.tapMargen;
    const auto paso = lotes::LeerNumero(o.tapPaso, r, error);
    if (!paso)
      return uso("--tap-step: " + error);
    const auto minimo = lotes::LeerNumero(margen.substr(0, dos), r, error);
    const auto maximo = minimo ? lotes::LeerNumero(margen.substr(dos + 1), r, error) : minimo;
    if (!minimo || !maximo)
      return uso("--tap-range: " + error);
    escalones = lotes::Escalones{*paso, *minimo, *maximo};
    if (const auto motivo = lotes::ComprobarEscalones(*escalones, r))
      return uso(*motivo);
  }

  const auto angulo = nombre == "alpha" ? lotes::Angulo::alpha : lotes::Angulo::gamma;
  const auto* tap = &lotes::TapDe(angulo);
  const auto* resultado = BuscarResultado(nombre);
  // The tap sought needs no text of its own: any usable one stands in for the checks.
  lotes::Base comprobada = base;
  comprobada.textos[Indice(tap->campo)] = "1";
  TextosEntrada textos;
  for (std::size_t i = 0; i < kNumParametros; ++i)
    textos[i] = comprobada.textos[i];
  const auto datos = LeerDatos(textos, r);
  if (!datos) {
    err << "zelk-calc: ERROR EN DATOS: " << lotes::MotivosDeRechazo(textos, {}, r).front()
        << "; no se busca ningún " << tap->nombre << '\n';
    return kSalidaRechazo;
  }
  const auto hallado = lotes::HallarTap(*datos, angulo, *grados, escalones, r);
  if (const auto* motivo = std::get_if<std::string>(&hallado)) {
    err << "zelk-calc: " << *motivo << '\n';
    return kSalidaRechazo;
  }
  const auto [exacto, elegido] = std::get<lotes::TapHallado>(hallado);
  // The pass there, on the tap's text as printed: what the user gets by typing it.
  const std::string textoTap = NumeroATexto(elegido, r);
  textos[Indice(tap->campo)] = textoTap;
  const lotes::Punto punto = lotes::Evaluar(textos, r);
  if (!punto.datos || !(punto.resultados.*resultado->miembro) ||
      !std::isfinite(*(punto.resultados.*resultado->miembro))) {
    err << "zelk-calc: " << lotes::MotivoTapInservible(angulo, textoTap, !punto.datos) << '\n';
    return kSalidaRechazo;
  }
  out << tap->nombre << "_exacto\t" << NumeroATexto(exacto, r) << '\n';
  out << tap->nombre << '\t' << textoTap << '\n';
  for (const auto& res : kResultados)
    out << res.nombre << '\t' << TextoResultado(punto.resultados.*res.miembro, res, r) << '\n';
  return kSalidaBien;
}

// The run once the options are read; file errors come as messages with status 2.
class Ejecucion {
 public:
  Ejecucion(const Opciones& o, const EntornoCalc& entorno, std::ostream& out, std::ostream& err)
      : o_(o), entorno_(entorno), out_(out), err_(err) {}

  int Ejecutar();

  // True when a failure to write standard output has already been told.
  bool SalidaEstandarInformada() const { return salidaEstandarInformada_; }

 private:
  int Uso(const std::string& motivo) {
    err_ << "zelk-calc: " << motivo << '\n' << kUsoCalc << '\n';
    return kSalidaUso;
  }
  int Fallo(const std::string& motivo) {
    err_ << "zelk-calc: " << motivo << '\n';
    return kSalidaUso;
  }
  static std::string Nombre(const std::string& archivo) { return "«" + archivo + "»"; }
  int Tabla(const ConfiguracionRegional& r, const lotes::Base& base);

  const Opciones& o_;
  const EntornoCalc& entorno_;
  std::ostream& out_;
  std::ostream& err_;
  bool salidaEstandarInformada_ = false;
};

int Ejecucion::Ejecutar() {
  std::optional<ConfiguracionRegional> regional;
  if (!o_.locale.empty()) {
    regional = entorno_.regionalPorNombre ? entorno_.regionalPorNombre(o_.locale) : std::nullopt;
    if (!regional)
      return Uso("--locale: no se conoce la configuración regional «" + o_.locale + "»");
  }
  const ConfiguracionRegional& r = regional ? *regional : entorno_.regional;
  if (o_.version) {
    out_ << "zelk-calc " << ZELK_VERSION << '\n';
    return kSalidaBien;
  }
  if (o_.ayuda) {
    // Longer than the stream's buffer: a failed write is caught where it happens.
    errno = 0;
    Ayuda(out_, r, static_cast<bool>(entorno_.dibujar));
    if (!out_) {
      err_ << "zelk-calc: no se puede escribir en la salida estándar: "
           << archivos::TextoDelError(errno) << '\n';
      salidaEstandarInformada_ = true;
      return kSalidaUso;
    }
    return kSalidaBien;
  }
  std::vector<Asignacion> asignaciones;
  std::vector<std::pair<const DescripcionControl*, std::string>> control;
  for (const auto& a : o_.asignaciones) {
    const auto igual = a.find('=');
    if (igual == std::string::npos || igual == 0)
      return Uso("argumento mal formado: «" + a + "» (se espera NOMBRE=TEXTO)");
    const auto* p = BuscarParametro(std::string_view(a).substr(0, igual));
    if (const auto* c = p ? nullptr : BuscarControl(std::string_view(a).substr(0, igual))) {
      if (const auto motivo = lotes::AnadirControl(control, c, a.substr(igual + 1)))
        return Uso(*motivo);
      continue;
    }
    if (!p) {
      const auto pista = lotes::PistaDeDato(std::string_view(a).substr(0, igual));
      return Uso("no hay ningún dato «" + a.substr(0, igual) + "»" + (pista ? "; " + *pista : ""));
    }
    if (std::any_of(asignaciones.begin(), asignaciones.end(),
                    [&](const Asignacion& x) { return x.parametro == p; }))
      return Uso(std::string(p->nombre) + "=TEXTO: dado más de una vez");
    asignaciones.push_back({p, a.substr(igual + 1)});
  }
  // The window's reading stays, but a number it reads through a misplaced group separator is
  // likely not the one meant.
  for (const auto& a : asignaciones)
    if (const auto aviso = lotes::AvisoDeLectura(*a.parametro, a.texto, r))
      err_ << "zelk-calc: " << *aviso << '\n';

  const bool psse = !o_.psse.empty();
  const bool tabla = !o_.csv.empty() || !o_.barridos.empty() || psse;
  const bool tap = !o_.tapPara.empty();
  if (!o_.csv.empty() + !o_.barridos.empty() + tap + psse > 1)
    return Uso("--csv, --sweep, --tap-for y --psse no van juntos");
  if (!tabla &&
      (o_.crudo || o_.marca || !o_.formato.empty() || !o_.salida.empty() || !o_.hilos.empty()))
    return Uso("--raw, --bom, --format, --output y --hilos son para --csv, --sweep y --psse");
  if (psse && !o_.asignaciones.empty())
    return Uso("--psse no lleva datos NOMBRE=TEXTO: cada línea trae los suyos");
  if (tap && !control.empty())
    return Uso("--tap-for no va con datos de control");
  if (o_.marca && o_.formato == "json")
    return Uso("--bom es para CSV: JSON no lleva marca de orden");
  if (!tap && (!o_.tapPaso.empty() || !o_.tapMargen.empty()))
    return Uso("--tap-step y --tap-range son para --tap-for");
  if ((!o_.grafico.empty() || !o_.tamano.empty()) && o_.barridos.size() != 1)
    return Uso("--plot es para un solo --sweep");
  if (!o_.tamano.empty() && o_.grafico.empty())
    return Uso("--plot-size va con --plot");
  if (o_.barridos.size() > 2)
    return Uso("a lo sumo dos --sweep");
  if (!o_.formato.empty() && o_.formato != "csv" && o_.formato != "json")
    return Uso("--format: csv o json");

  std::vector<std::pair<const DescripcionParametro*, std::string>> pares;
  for (const auto& a : asignaciones)
    pares.emplace_back(a.parametro, a.texto);
  lotes::Base base = lotes::BaseDeInicio(r, pares);
  base.control = lotes::BaseControlDeInicio(r, control, pares);
  lotes::AvisosDeLectura(base.control, r, err_);
  if (base.control.dada && base.control.fijado)
    return Uso(*base.control.fijado);
  if (!tabla && !tap && base.control.dada)
    return lotes::PasadaControl(base.textos, base.control, r, out_, err_);
  if (!tabla && !tap) {
    FormularioMemoria form;
    const bool aceptada = PasadaTrasInicio(form, r, asignaciones);
    for (const auto& m : form.Mensajes())
      err_ << m << '\n';
    if (!aceptada) {
      TextosEntrada textos;
      for (std::size_t i = 0; i < kNumParametros; ++i)
        textos[i] = base.textos[i];
      for (const auto& motivo : lotes::MotivosDeRechazo(textos, {}, r))
        err_ << "zelk-calc: " << motivo << '\n';
    }
    for (const auto& d : kResultados)
      out_ << d.nombre << '\t' << form.Ver(d.campo) << '\n';
    return aceptada ? kSalidaBien : kSalidaRechazo;
  }

  if (tap)
    return ResolverTap(o_, base, r, out_, err_, [this](std::string m) { return Uso(m); });
  return Tabla(r, base);
}

int Ejecucion::Tabla(const ConfiguracionRegional& r, const lotes::Base& base) {
  // Everything that can be checked is checked before any work, and before any file is touched.
  std::size_t hilos = archivos::NucleosDisponibles();
  if (!o_.hilos.empty()) {
    const auto leido = std::from_chars(o_.hilos.data(), o_.hilos.data() + o_.hilos.size(), hilos);
    if (leido.ec != std::errc() || leido.ptr != o_.hilos.data() + o_.hilos.size() || hilos < 1 ||
        hilos > kHilosMaximos)
      return Uso("--hilos: un número entero de 1 a " + std::to_string(kHilosMaximos));
  }
  std::vector<lotes::Barrido> barridos;
  for (const auto& texto : o_.barridos) {
    std::string error;
    const auto b = lotes::LeerBarrido(texto, r, error);
    if (!b)
      return Uso(error);
    barridos.push_back(*b);
  }
  if (const auto motivo = lotes::ComprobarBarridosConControl(barridos, base.control))
    return Uso(*motivo);
  if (barridos.size() == 2 && barridos[0].parametro == barridos[1].parametro &&
      barridos[0].control == barridos[1].control)
    return Uso("los dos --sweep barren el mismo dato");
  for (const auto& b : barridos)
    if (b.parametro != nullptr && base.asignado[Indice(b.parametro->campo)])
      return Uso("--sweep " + std::string(b.parametro->nombre) + ": el dato se da también como " +
                 std::string(b.parametro->nombre) + "=TEXTO; quite uno de los dos");
  if (barridos.size() == 2 && barridos[0].puntos * barridos[1].puntos > lotes::kPuntosMaximos)
    return Uso("la rejilla tendría " + std::to_string(barridos[0].puntos * barridos[1].puntos) +
               " puntos; a lo sumo " + std::to_string(lotes::kPuntosMaximos));
  std::pair<int, int> tamano{900, 700};
  if (!o_.tamano.empty()) {
    const auto leido = LeerTamano(o_.tamano);
    if (!leido)
      return Uso("--plot-size: ANCHOxALTO, de 100 a 10000 píxeles");
    tamano = *leido;
  }
  std::optional<lotes::FormatoGrafico> formatoGrafico;
  if (!o_.grafico.empty()) {
    formatoGrafico = FormatoDe(o_.grafico);
    if (!formatoGrafico)
      return Uso("el gráfico ha de ser .svg o .png: " + Nombre(o_.grafico));
    if (!entorno_.dibujar)
      return Uso("--plot: " + std::string(kSinGraficos));
  }

  const bool aSalidaEstandar = o_.salida.empty() || o_.salida == "-";
  const std::string& entrada = o_.psse.empty() ? o_.csv : o_.psse;
  const bool deEntradaEstandar = entrada == "-";
  if (!aSalidaEstandar && !entrada.empty() && !deEntradaEstandar &&
      archivos::MismoArchivo(archivos::RutaUtf8(entrada), archivos::RutaUtf8(o_.salida)))
    return Fallo(Nombre(o_.salida) + " es a la vez la entrada y la salida: no se escribe nada");
  for (const std::string* salida : {&o_.salida, &o_.grafico})
    if (deEntradaEstandar && !salida->empty() && *salida != "-" &&
        archivos::EsLaEntradaEstandar(archivos::RutaUtf8(*salida)))
      return Fallo(Nombre(*salida) +
                   " es a la vez la entrada estándar y la salida: no se escribe nada");
  if (!aSalidaEstandar && !o_.grafico.empty() &&
      archivos::MismoArchivo(archivos::RutaUtf8(o_.salida), archivos::RutaUtf8(o_.grafico)))
    return Fallo("-o y --plot son el mismo archivo " + Nombre(o_.salida));

  std::ifstream archivoEntrada;
  std::istream* fuente = entorno_.entrada;
  std::optional<std::uintmax_t> tamanoEntrada;  // a file's, not a pipe's or a device's
  if (!entrada.empty() && !deEntradaEstandar) {
    std::error_code ec;
    if (std::filesystem::is_regular_file(archivos::RutaUtf8(entrada), ec)) {
      const auto bytes = std::filesystem::file_size(archivos::RutaUtf8(entrada), ec);
      if (!ec)
        tamanoEntrada = bytes;
    }
    errno = 0;
    archivoEntrada.open(archivos::RutaUtf8(entrada), std::ios::binary);
    if (!archivoEntrada)
      return Fallo("no se puede leer " + Nombre(entrada) + ": " + archivos::TextoDelError(errno));
    fuente = &archivoEntrada;
  }
  if (!entrada.empty() && fuente == nullptr)
    return Fallo("no hay entrada estándar");

  std::unique_ptr<archivos::ArchivoSalida> salida, grafico;
  if (!aSalidaEstandar) {
    salida = std::make_unique<archivos::ArchivoSalida>(archivos::RutaUtf8(o_.salida));
    if (const auto motivo = salida->Abrir())
      return Fallo("no se puede escribir " + Nombre(o_.salida) + ": " + *motivo);
  }
  if (formatoGrafico) {
    grafico = std::make_unique<archivos::ArchivoSalida>(archivos::RutaUtf8(o_.grafico));
    if (const auto motivo = grafico->Abrir())
      return Fallo("no se puede escribir " + Nombre(o_.grafico) + ": " + *motivo);
  }
  const std::string nombreEntrada = deEntradaEstandar ? "la entrada estándar" : Nombre(entrada);
  const std::string nombreSalida = aSalidaEstandar ? "en la salida estándar" : Nombre(o_.salida);

  lotes::OpcionesSalida opciones;
  opciones.crudo = o_.crudo;
  opciones.marca = o_.marca;
  opciones.formato = o_.formato == "json" ? lotes::Formato::Json : lotes::Formato::Csv;
  std::ostream& destino = salida ? salida->Flujo() : out_;
  lotes::Curvas curvas;
  curvas.columnas = static_cast<std::size_t>(tamano.first);
  int estado = kSalidaBien;
  try {
    if (!o_.psse.empty())
      estado =
          lotes::CalcularPsse(*fuente, r, opciones, destino, err_, nombreEntrada, tamanoEntrada);
    else if (!o_.csv.empty())
      estado = lotes::CalcularCsv(*fuente, base, r, opciones, destino, err_, hilos);
    else
      estado = lotes::CalcularBarrido(barridos, base, r, opciones, destino, err_,
                                      grafico ? &curvas : nullptr, hilos);
  } catch (const archivos::ErrorLectura& e) {
    return Fallo("no se puede leer " + nombreEntrada + ": " + e.motivo);
  } catch (const archivos::ErrorEscritura& e) {
    salidaEstandarInformada_ = aSalidaEstandar;
    return Fallo("no se puede escribir " + nombreSalida + ": " + e.motivo);
  }
  if (estado != kSalidaBien && estado != kSalidaRechazo)
    return estado;  // a malformed file: any earlier output file stays as it was
  if (grafico) {
    std::string error;
    const auto bytes =
        entorno_.dibujar(curvas, *formatoGrafico, tamano.first, tamano.second, error);
    if (!bytes)
      return Fallo(error);
    if (const auto motivo = grafico->Escribir(*bytes))
      return Fallo("no se puede escribir " + Nombre(o_.grafico) + ": " + *motivo);
  }
  // Both files are complete before either takes its place.
  const std::pair<archivos::ArchivoSalida*, const std::string*> salidas[] = {
      {salida.get(), &o_.salida}, {grafico.get(), &o_.grafico}};
  for (const auto paso : {&archivos::ArchivoSalida::Cerrar, &archivos::ArchivoSalida::Confirmar})
    for (const auto& [archivo, ruta] : salidas)
      if (archivo != nullptr)
        if (const auto motivo = (archivo->*paso)())
          return Fallo("no se puede escribir " + Nombre(*ruta) + ": " + *motivo);
  for (const auto& par : salidas)
    if (par.first != nullptr)
      for (const auto& nota : par.first->Notas())
        err_ << "zelk-calc: nota: " << nota << '\n';
  return estado;
}

}  // namespace

int EjecutarCalc(std::span<const std::string_view> args, const EntornoCalc& entorno,
                 std::ostream& out, std::ostream& err) {
  Opciones o;
  if (const auto error = Analizar(args, o)) {
    err << "zelk-calc: " << *error << '\n' << kUsoCalc << '\n';
    return kSalidaUso;
  }
  Ejecucion ejecucion(o, entorno, out, err);
  const int estado = ejecucion.Ejecutar();
  // Whatever went to standard output must have got there. A write that failed earlier (a text
  // longer than the stream's buffer) left its reason in errno already.
  if (out)
    errno = 0;
  out.flush();
  if (!out && !ejecucion.SalidaEstandarInformada()) {
    err << "zelk-calc: no se puede escribir en la salida estándar: "
        << archivos::TextoDelError(errno) << '\n';
    return kSalidaUso;
  }
  return estado;
}

}  // namespace zelk
