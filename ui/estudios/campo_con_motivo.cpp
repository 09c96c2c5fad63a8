#include "ui/estudios/campo_con_motivo.h"

#include <QEvent>
#include <QLabel>

namespace zelk::ui::estudios {

CampoConMotivo::CampoConMotivo(QWidget* padre) : QLineEdit(padre), motivo_(new QLabel(padre)) {
  motivo_->setWordWrap(true);
  motivo_->setTextFormat(Qt::PlainText);
  motivo_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  motivo_->setVisible(false);
}

CampoConMotivo::~CampoConMotivo() {
  // Without a parent of its own the label is the field's to free.
  if (motivo_ && motivo_->parent() == nullptr)
    delete motivo_;
}

QColor CampoConMotivo::ColorDeMotivo(const QPalette& paleta) {
  // A dark red on a light window, a light one on a dark window.
  return paleta.color(QPalette::Window).lightness() < 128 ? QColor(255, 140, 128)
                                                          : QColor(176, 0, 32);
}

void CampoConMotivo::PonerMotivo(const QString& motivo) {
  if (motivo == texto_)
    return;
  texto_ = motivo;
  motivo_->setText(motivo);
  motivo_->setVisible(!motivo.isEmpty());
  Pintar();
}

void CampoConMotivo::PonerDescripcion(const QString& descripcion) {
  descripcion_ = descripcion;
  Pintar();
}

void CampoConMotivo::Pintar() {
  pintando_ = true;
  setAccessibleDescription(texto_.isEmpty() ? descripcion_
                                            : descripcion_ + QStringLiteral(". ") + texto_);
  // Only the colours of the mark are set: the rest follows the window's palette, also when the
  // desktop changes it.
  setPalette(QPalette());
  motivo_->setPalette(QPalette());
  if (!texto_.isEmpty()) {
    const QPalette actual = palette();
    const QColor rojo = ColorDeMotivo(actual);
    const QColor base = actual.color(QPalette::Base);
    QPalette campo;
    // The field's background a quarter of the way to the reason's colour.
    campo.setColor(QPalette::Base,
                   QColor((3 * base.red() + rojo.red()) / 4, (3 * base.green() + rojo.green()) / 4,
                          (3 * base.blue() + rojo.blue()) / 4));
    setPalette(campo);
    QPalette etiqueta;
    etiqueta.setColor(QPalette::WindowText, rojo);
    motivo_->setPalette(etiqueta);
  }
  pintando_ = false;
}

void CampoConMotivo::changeEvent(QEvent* evento) {
  QLineEdit::changeEvent(evento);
  // The desktop's palette changed (a dark theme switched on): the marks follow it.
  if ((evento->type() == QEvent::PaletteChange ||
       evento->type() == QEvent::ApplicationPaletteChange) &&
      !pintando_ && !texto_.isEmpty())
    Pintar();
}

}  // namespace zelk::ui::estudios
