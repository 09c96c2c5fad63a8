// A push button whose caption wraps at word boundaries over as many lines as its height holds,
// as "Valores del inicio" must in a button 65 pixels wide.
#pragma once

#include <QPushButton>

namespace zelk::ui {

class BotonAjustado : public QPushButton {
 public:
  using QPushButton::QPushButton;

  // Room left for the caption on each side of the bevel.
  static constexpr int kMargen = 4;

 protected:
  void paintEvent(QPaintEvent* evento) override;
};

}  // namespace zelk::ui
