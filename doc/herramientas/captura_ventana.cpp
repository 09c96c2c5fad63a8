// Build tool of the manual: a picture of the calculator window on the offscreen platform, as it
// opens under the given regional settings, or after typing some fields and pressing "Calcular".
//   captura_ventana LOCALE SALIDA.png [NOMBRE=TEXTO]...
#include <QApplication>
#include <QLineEdit>
#include <QString>
#include <cstdio>
#include <string>

#include "engine/enlace.h"
#include "regional/regional_qt.h"
#include "ui/comun/avisador.h"
#include "ui/comun/plataforma.h"
#include "ui/main/aplicacion.h"
#include "ui/main/frm_inicio.h"

namespace {

// The message of rejected data is shown by the window itself; the picture is of the window.
class SinCaja final : public zelk::ui::Avisador {
 public:
  void Avisar(const QString&) override {}
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "uso: captura_ventana LOCALE SALIDA.png [NOMBRE=TEXTO]...\n");
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  zelk::ui::PrepararPlataforma();
  QApplication aplicacion(argc, argv);
  aplicacion.setAttribute(Qt::AA_Use96Dpi, true);
  zelk::ui::PrepararAplicacion();
  const auto regional = zelk::RegionalPorNombre(argv[1]);
  if (!regional) {
    std::fprintf(stderr, "captura_ventana: no se conoce «%s»\n", argv[1]);
    return 2;
  }
  SinCaja avisador;
  zelk::ui::FrmInicio ventana(*regional, avisador);
  ventana.show();
  for (int i = 3; i < argc; ++i) {
    const std::string asignacion = argv[i];
    const auto igual = asignacion.find('=');
    const auto* p =
        igual == std::string::npos ? nullptr : zelk::BuscarParametro(asignacion.substr(0, igual));
    if (p == nullptr) {
      std::fprintf(stderr, "captura_ventana: «%s» no es NOMBRE=TEXTO\n", argv[i]);
      return 2;
    }
    ventana.CampoTexto(p->campo)->setText(QString::fromStdString(asignacion.substr(igual + 1)));
  }
  if (argc > 3)
    ventana.Calcular();
  QApplication::processEvents();
  if (!ventana.grab().save(QString::fromLocal8Bit(argv[2]))) {
    std::fprintf(stderr, "captura_ventana: no se puede escribir «%s»\n", argv[2]);
    return 2;
  }
  return 0;
}
