#include "ui/about/frm_about.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <vector>

#include "ui/comun/dibujos.h"
#include "ui/comun/fuente.h"
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
QFrame* NuevaLinea(QWidget* padre, const char* nombre, const QRect& lugar, QColor color) {
  auto* linea = new QFrame(padre);
  linea->setObjectName(QLatin1String(nombre));
  linea->setAccessibleName(Q(kNombreSeparador));
  linea->setFrameShape(QFrame::NoFrame);
  linea->setAutoFillBackground(true);
  QPalette paleta = linea->palette();
  paleta.setColor(QPalette::Window, color);
  linea->setPalette(paleta);
  linea->setGeometry(lugar);
  return linea;
}

// A palette is dark when its text is lighter than its window.
bool Oscura(const QPalette& paleta) {
  return paleta.color(QPalette::WindowText).lightness() >
         paleta.color(QPalette::Window).lightness();
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
  auto* credito =
      NuevaEtiqueta(this, "lblDisclaimer", kTextoCredito, Pixeles(240, 2625, 3870, 825), true);
  lblTitle_ = NuevaEtiqueta(this, "lblTitle", {}, Pixeles(1050, 240, 3885, 480), true);
  lblVersion_ = NuevaEtiqueta(this, "lblVersion", {}, Pixeles(1080, 720, 1125, 225), false);

  // The etched separator: grey on top, white one pixel lower and one further right.
  auto* gris = NuevaLinea(this, "Line1_1", QRect(Px(90), Px(2445), Px(5654 - 90) + 1, 1),
                          QColor(128, 128, 128));
  auto* blanca = NuevaLinea(this, "Line1_0", QRect(Px(105), Px(2460), Px(5654 - 105) + 1, 2),
                            QColor(255, 255, 255));

  // A screen reader goes through the controls in the order of their stacking, which becomes the
  // order of reading, top to bottom; the focus keeps the order of the tab index. Nothing overlaps,
  // so nothing drawn changes.
  for (QWidget* control : {static_cast<QWidget*>(lblTitle_), static_cast<QWidget*>(lblVersion_),
                           static_cast<QWidget*>(descripcion), static_cast<QWidget*>(gris),
                           static_cast<QWidget*>(blanca), static_cast<QWidget*>(credito),
                           static_cast<QWidget*>(ok), static_cast<QWidget*>(sysInfo)})
    control->raise();
  AjustarPaleta();
  AjustarFuente();

  // cmdOK is the cancel button too: Esc rejects the dialog, which closes it like OK.
  connect(ok, &QPushButton::clicked, this, &QDialog::close);
  connect(sysInfo, &QPushButton::clicked, this, [this] {
    if (lanzador_)
      lanzador_();
  });

  Cargar();
  ok->setFocus(Qt::OtherFocusReason);
}

void FrmAbout::AjustarPaleta() {
  // Under a dark palette the black texts would not read: the window keeps its look as drawn, on
  // the style's light palette (black text on a light window, the etched separator as designed).
  QPalette paleta = QApplication::palette();
  if (Oscura(paleta)) {
    paleta = style()->standardPalette();
    if (Oscura(paleta))
      paleta = QPalette(QColor(240, 240, 240));
  }
  setPalette(paleta);
}

void FrmAbout::AjustarFuente() {
  // Every text whole in its box: the labels' lines (the version's, 15 pixels high, the lowest),
  // the description wrapped in its box, and the buttons' captions within their bevels.
  std::vector<Hueco> huecos;
  for (auto* etiqueta : findChildren<QLabel*>()) {
    const QString texto = etiqueta == lblTitle_     ? Q(kTextoTitulo)
                          : etiqueta == lblVersion_ ? Q(kTextoVersion)
                                                    : etiqueta->text();
    huecos.push_back({texto, etiqueta->width(), etiqueta->wordWrap() ? etiqueta->height() : 0});
  }
  for (auto* boton : findChildren<QPushButton*>()) {
    QStyleOptionButton opcion;
    opcion.initFrom(boton);
    const QRect dentro = style()->subElementRect(QStyle::SE_PushButtonContents, &opcion, boton);
    huecos.push_back({boton->text().remove(u'&'), dentro.width()});
  }
  setFont(FuenteQueCabe(QApplication::font(), Px(225), huecos));
}

bool FrmAbout::event(QEvent* evento) {
  if (evento->type() == QEvent::ApplicationPaletteChange)
    AjustarPaleta();
  if (evento->type() == QEvent::ApplicationFontChange)
    AjustarFuente();
  AjustarFuente();
  return QDialog::event(evento);
}

void FrmAbout::Cargar() {
  setWindowTitle(Q(kTituloAcerca));
  lblVersion_->setText(Q(kTextoVersion));
  lblTitle_->setText(Q(kTextoTitulo));
}

}  // namespace zelk::ui
