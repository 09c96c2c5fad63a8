// The modal messages of both windows go through this seam, so that tests can take them instead of
// a real message box.
#pragma once

#include <QString>

namespace zelk::ui {

class Avisador {
 public:
  virtual ~Avisador() = default;
  // Shows the text and returns when the user has closed the message.
  virtual void Avisar(const QString& texto) = 0;
};

// The real message box: the text, the application's title, an OK button only, no icon, modal to
// the whole application.
class AvisadorCaja final : public Avisador {
 public:
  void Avisar(const QString& texto) override;
};

}  // namespace zelk::ui
