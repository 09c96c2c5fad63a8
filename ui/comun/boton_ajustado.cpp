#include "ui/comun/boton_ajustado.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace zelk::ui {

void BotonAjustado::paintEvent(QPaintEvent* /*evento*/) {
  QStylePainter pintor(this);
  QStyleOptionButton opcion;
  initStyleOption(&opcion);
  const QString titulo = opcion.text;
  opcion.text.clear();
  pintor.drawControl(QStyle::CE_PushButton, opcion);
  QRect hueco = rect().adjusted(kMargen, 0, -kMargen, 0);
  if (isDown())
    hueco.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &opcion, this),
                    style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &opcion, this));
  pintor.drawItemText(hueco, Qt::AlignCenter | Qt::TextWordWrap | Qt::TextHideMnemonic, palette(),
                      isEnabled(), titulo, QPalette::ButtonText);
}

}  // namespace zelk::ui
