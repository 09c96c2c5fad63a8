#include "ui/main/aplicacion.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "engine/enlace.h"
#include "engine/formulario_memoria.h"
#include "engine/pasada.h"
#include "regional/regional_qt.h"
#include "ui/comun/boton_ajustado.h"
#include "ui/comun/dibujos.h"
#include "ui/comun/fuente.h"
#include "ui/comun/texto_qt.h"
#include "ui/main/disposicion.h"

namespace zelk::ui {

namespace {

// A text field of 19 pixels keeps 14 for its line inside the frame; a label of 17 has more.
constexpr int kAltoLinea = 14;

// What the font must fit besides the rows' height: the inputs' captions, tight between the frame's
// edge and their fields; the results shown at start-up, in the room their fields leave for text,
// so that the numbers read first show whole; and each word of a button's caption, which may wrap.
// The results' captions stand on the window and take the room their text needs (see FrmInicio):
// fitting the font to their narrow boxes would make every text of the window too small to read.
std::vector<Hueco> HuecosDeLaVentana() {
  std::vector<Hueco> huecos;
  for (std::size_t i = 0; i < kNumParametros; ++i)
    huecos.push_back({Q(kParametros[i].titulo), Px(kFilasEntrada[i].anchoEtiqueta)});
  FormularioMemoria inicio;
  Calculadora(inicio, RegionalDelSistema()).Inicio();
  for (std::size_t i = 0; i < kNumResultados; ++i)
    huecos.push_back({Q(inicio.Ver(kResultados[i].campo)),
                      Px(kPosicionesResultado[i].anchoCampo) - kMargenesCampo});
  for (const auto& b : kBotones)
    for (const auto& palabra : Q(b.titulo).split(' '))
      huecos.push_back({palabra, Px(kAnchoBoton) - 2 * BotonAjustado::kMargen});
  return huecos;
}

// Qt's own texts (the fields' context menu, the message box's button) in Spanish, as every text of
// the program is, whatever the user's locale. Looked for where Qt keeps its translations, then
// beside the program, where a program folder carries them; without them Qt's texts stay English.
void CargarTraduccionesDeQt() {
  static bool cargadas = false;
  if (cargadas)
    return;
  cargadas = true;
  auto* traductor = new QTranslator(QCoreApplication::instance());
  for (const QString& carpeta :
       {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
        QCoreApplication::applicationDirPath() + QStringLiteral("/translations")}) {
    if (traductor->load(QStringLiteral("qtbase_es"), carpeta)) {
      QCoreApplication::installTranslator(traductor);
      return;
    }
  }
  delete traductor;
}

}  // namespace

void PrepararAplicacion() {
  QApplication::setApplicationName(Q(kTituloAplicacion));
  QGuiApplication::setDesktopFileName(QStringLiteral(ZELK_ID));
  CargarTraduccionesDeQt();
  QApplication::setWindowIcon(IconoAplicacion());
  QApplication::setFont(FuenteQueCabe(QApplication::font(), kAltoLinea, HuecosDeLaVentana()));
}

std::unique_ptr<Ventanas> IniciarPrograma(Avisador& avisador) {
  PrepararAplicacion();
  auto ventanas = std::make_unique<Ventanas>(RegionalDelSistema(), avisador);
  ventanas->MostrarInicio();
  return ventanas;
}

}  // namespace zelk::ui
