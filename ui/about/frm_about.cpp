#include "ui/about/frm_about.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "ui/comun/dibujos.h"
#include "ui/comun/texto_qt.h"
#include "ui/comun/twips.h"

namespace zelk::ui {

namespace {

QLabel* NuevaEtiqueta(QWidget* padre, const char* nombre, std::string_view texto,
                      const QRect& lugar, bool negro) {
  auto* etiqueta = new QLabel(Q(texto), padre);
  etiqueta->setObjectName(QLatin1String(nombre));
  etiqueta->setTextFormat(Qt::PlainText);
  etiqueta->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  etiqueta->setGeometry(lugar);
  if (negro) {
    QPalette paleta = etiqueta->palette();
    paleta.setColor(QPalette::WindowText, Qt::black);
    etiqueta->setPalette(paleta);
  }
  return etiqueta;
}

// One line of the etched separator: a filled strip of the given colour.
void NuevaLinea(QWidget* padre, const char* nombre, const QRect& lugar, QColor color) {
  auto* linea = new QFrame(padre);
  linea->setObjectName(QLatin1String(nombre));
  linea->setFrameShape(QFrame::NoFrame);
  linea->setAutoFillBackground(true);
  QPalette paleta = linea->palette();
  paleta.setColor(QPalette::Window, color);
  linea->setPalette(paleta);
  linea->setGeometry(lugar);
}

}  // namespace

FrmAbout::FrmAbout(std::function<void()> lanzador)
    : QDialog(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      lanzador_(std::move(lanzador)) {
  setObjectName(Q(kNombreAcerca));
  setWindowIcon(IconoAplicacion());
  setModal(false);
  // Dismissing the window unloads it; the next opening builds and loads it afresh.
  setAttribute(Qt::WA_DeleteOnClose);
  setFixedSize(Px(5730), Px(3555));

  // In the order of the tab index: only the two buttons take the focus.
  auto* ok = new QPushButton(Q(kTextoOK), this);
  ok->setObjectName(QStringLiteral("cmdOK"));
  ok->setGeometry(Pixeles(4245, 2625, 1260, 345));
  ok->setDefault(true);
  auto* sysInfo = new QPushButton(Q(kTextoSysInfo), this);
  sysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
  sysInfo->setGeometry(Pixeles(4260, 3075, 1245, 345));
  setTabOrder(ok, sysInfo);

  auto* descripcion = NuevaEtiqueta(this, "lblDescription", kTextoDescripcion,
                                    Pixeles(1050, 1125, 3885, 1170), true);
  descripcion->setWordWrap(true);
  NuevaEtiqueta(this, "lblDisclaimer", kTextoCredito, Pixeles(240, 2625, 3870, 825), true);
  lblTitle_ = NuevaEtiqueta(this, "lblTitle", {}, Pixeles(1050, 240, 3885, 480), true);
  lblVersion_ = NuevaEtiqueta(this, "lblVersion", {}, Pixeles(1080, 720, 1125, 225), false);

  // The etched separator: grey on top, white one pixel lower and one further right.
  NuevaLinea(this, "Line1_1", QRect(Px(90), Px(2445), Px(5654 - 90) + 1, 1), QColor(128, 128, 128));
  NuevaLinea(this, "Line1_0", QRect(Px(105), Px(2460), Px(5654 - 105) + 1, 2),
             QColor(255, 255, 255));

  // cmdOK is the cancel button too: Esc rejects the dialog, which closes it like OK.
  connect(ok, &QPushButton::clicked, this, &QDialog::close);
  connect(sysInfo, &QPushButton::clicked, this, [this] {
    if (lanzador_)
      lanzador_();
  });

  Cargar();
  ok->setFocus(Qt::OtherFocusReason);
}

void FrmAbout::Cargar() {
  setWindowTitle(Q(kTituloAcerca));
  lblVersion_->setText(Q(kTextoVersion));
  lblTitle_->setText(Q(kTextoTitulo));
}

}  // namespace zelk::ui
