// The texts of zelk Estudios' own window: its name, menus, groups, buttons and messages. The data's
// and results' captions and tool tips are the engine's (engine/enlace, engine/control).
#pragma once

#include <string_view>

namespace zelk::ui::estudios {

inline constexpr std::string_view kNombrePrograma = "zelk Estudios";
inline constexpr std::string_view kEjecutable = "zelk-estudios";
// The title's part between the program and the document.
inline constexpr std::string_view kSeparadorTitulo = " — ";
inline constexpr std::string_view kSinTitulo = "Sin título";
inline constexpr std::string_view kExtensionEstudio = ".zelk";

// Menus and their actions: caption with its mnemonic, and the object's name.
struct Accion {
  std::string_view titulo;
  std::string_view nombre;
};
inline constexpr Accion kMenuArchivo{"&Archivo", "mnuArchivo"};
inline constexpr Accion kNuevo{"&Nuevo", "accNuevo"};
inline constexpr Accion kAbrir{"&Abrir…", "accAbrir"};
inline constexpr Accion kRecientes{"Abrir &reciente", "mnuRecientes"};
inline constexpr Accion kVaciarRecientes{"&Vaciar la lista", "accVaciarRecientes"};
inline constexpr Accion kGuardar{"&Guardar", "accGuardar"};
inline constexpr Accion kGuardarComo{"Guardar &como…", "accGuardarComo"};
inline constexpr Accion kExportarTabla{"Exportar la &tabla…", "accExportarTabla"};
inline constexpr Accion kExportarGrafico{"Exportar el &gráfico…", "accExportarGrafico"};
inline constexpr Accion kCopiarResultados{"Co&piar los resultados", "accCopiarResultados"};
inline constexpr Accion kSalir{"&Salir", "accSalir"};
inline constexpr Accion kMenuEstudio{"&Estudio", "mnuEstudio"};
inline constexpr Accion kCalcularBarrido{"&Calcular el barrido", "accCalcularBarrido"};
inline constexpr Accion kBuscar{"&Buscar…", "accBuscar"};
inline constexpr Accion kValoresInicio{"&Valores del inicio", "accValoresInicio"};
inline constexpr Accion kMenuVer{"&Ver", "mnuVer"};
inline constexpr Accion kVerDatos{"&Datos del caso", "accVerDatos"};
inline constexpr Accion kVerResultados{"&Resultados", "accVerResultados"};
inline constexpr Accion kVerBarrido{"&Barrido", "accVerBarrido"};
inline constexpr Accion kVerPsse{"Caso &PSS/E", "accVerPsse"};
inline constexpr Accion kZoomInicial{"&Encuadrar el gráfico", "accEncuadrar"};
inline constexpr Accion kMenuAyuda{"A&yuda", "mnuAyuda"};
inline constexpr Accion kManual{"&Manual de zelk", "accManual"};
inline constexpr std::string_view kSinManual =
    "No se encuentra el manual de zelk: se instala con zelk, y en una construcción lo hace el "
    "objetivo «zelk_manual»";
inline constexpr std::string_view kManualNoSeAbre = "No se puede abrir el manual de zelk («%1»)";
inline constexpr Accion kAcercaDe{"&Acerca de zelk Estudios", "accAcercaDe"};

// The group of the control data, which can be switched off.
inline constexpr std::string_view kGrupoControl = "&Control";
inline constexpr std::string_view kAyudaGrupoControl =
    "Con el grupo activo, el enlace se resuelve bajo sus controles, como en un programa de flujo "
    "de cargas; sin él, la pasada de la calculadora";
inline constexpr std::string_view kFijadoPorControl = "lo fijan la orden y los taps";

// The tabs on the right.
inline constexpr std::string_view kPestanaResultados = "Resultados";
inline constexpr std::string_view kPestanaBarrido = "Barrido";
inline constexpr std::string_view kPestanaPsse = "Caso PSS/E";

// Results, by converter end.
inline constexpr std::string_view kResultadosRectificador = "Rectificador";
inline constexpr std::string_view kResultadosInversor = "Inversor";
inline constexpr std::string_view kTituloModo = "Modo";
inline constexpr std::string_view kTituloElegidos = "Punto de trabajo elegido por el control";
inline constexpr std::string_view kTituloAvisos = "Avisos";
inline constexpr std::string_view kSinAvisos = "Ninguno";
inline constexpr std::string_view kSinResultados = "Sin resultados";

// The sweep.
inline constexpr std::string_view kTituloBarrer = "&Barrer";
inline constexpr std::string_view kTituloDesde = "desde";
inline constexpr std::string_view kTituloHasta = "hasta";
inline constexpr std::string_view kTituloPuntos = "puntos";
inline constexpr std::string_view kTituloFamilia = "&Familia de curvas con";
inline constexpr std::string_view kTituloDibujar = "Resultados dibujados";
inline constexpr std::string_view kBotonCalcular = "Ca&lcular";
inline constexpr std::string_view kNombreGrafico = "Gráfico del barrido";
inline constexpr std::string_view kNombreTabla = "Tabla del barrido";
inline constexpr std::string_view kCalculando = "Calculando…";
inline constexpr std::string_view kColumnaEstado = "estado";

// "Buscar…".
inline constexpr std::string_view kTituloBuscar = "Buscar un dato";
inline constexpr std::string_view kTituloResultadoBuscado = "&Resultado";
inline constexpr std::string_view kTituloValorBuscado = "&Valor";
inline constexpr std::string_view kTituloDatoVariado = "&Dato variado";
inline constexpr std::string_view kMargenHabitual = "el margen habitual del dato";
inline constexpr std::string_view kBotonBuscar = "&Buscar";
inline constexpr std::string_view kTituloHallados = "Valores &hallados";
inline constexpr std::string_view kElegido = "elegido por el control";

// The PSS/E case.
inline constexpr std::string_view kBotonLlevarAlCaso = "&Llevar al caso";
inline constexpr std::string_view kAyudaLlevarAlCaso =
    "Pone los datos de la línea elegida en el caso, con sus datos de control";
inline constexpr std::string_view kNombreTablaPsse = "Líneas de continua del caso";
inline constexpr std::string_view kSinCaso = "Abra un caso PSS/E (.raw) con Archivo › Abrir…";

// Files.
inline constexpr std::string_view kFiltroAbrir =
    "Estudios y casos PSS/E (*.zelk *.raw *.RAW);;Estudios de zelk (*.zelk);;"
    "Casos PSS/E (*.raw *.RAW);;Todos los archivos (*)";
inline constexpr std::string_view kFiltroEstudio = "Estudios de zelk (*.zelk)";
inline constexpr std::string_view kFiltroCsv = "CSV como la hoja de cálculo (*.csv)";
inline constexpr std::string_view kFiltroCsvCrudo =
    "CSV con punto decimal, números exactos (*.csv)";
inline constexpr std::string_view kFiltroJson = "JSON (*.json)";
inline constexpr std::string_view kFiltroPng = "Imagen PNG (*.png)";
inline constexpr std::string_view kFiltroPdf = "Documento PDF (*.pdf)";
inline constexpr std::string_view kFiltroSvg = "Dibujo SVG (*.svg)";
inline constexpr std::string_view kPreguntaGuardar =
    "El estudio «%1» tiene cambios sin guardar. ¿Guardarlos antes de cerrarlo?";
inline constexpr std::string_view kNoSeAbre = "No se puede abrir «%1»: %2";
inline constexpr std::string_view kNoSeGuarda = "No se puede guardar «%1»: %2";
inline constexpr std::string_view kSinBarrido = "No hay ningún barrido calculado que exportar";
inline constexpr int kRecientesMaximos = 8;

inline constexpr std::string_view kLicencia =
    "Software libre bajo la GPL de GNU, versión 3 o posterior; sin ninguna garantía.";
inline constexpr std::string_view kDescripcion =
    "Estudios de un enlace HVDC monopolar: el caso, sus barridos con gráficos, la búsqueda de un "
    "dato y los casos PSS/E.";

}  // namespace zelk::ui::estudios
