// A text field whose text may be refused: then it is marked, and why is said in a label the
// caller places beside it and in what the field tells assistive technology.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPointer>

namespace zelk::ui::estudios {

class CampoConMotivo final : public QLineEdit {
 public:
  // The label of the reason is a child of `padre`, where the caller places it.
  explicit CampoConMotivo(QWidget* padre = nullptr);
  ~CampoConMotivo() override;
  CampoConMotivo(const CampoConMotivo&) = delete;
  CampoConMotivo& operator=(const CampoConMotivo&) = delete;

  QLabel* Motivo() const { return motivo_; }
  // Empty: the text is taken, nothing is marked.
  void PonerMotivo(const QString& motivo);
  bool Marcado() const { return !texto_.isEmpty(); }
  // What the field is, for assistive technology; the reason is added to it while there is one.
  void PonerDescripcion(const QString& descripcion);

  // The colour a reason is written in, readable on the window's background under this palette.
  static QColor ColorDeMotivo(const QPalette& paleta);

 protected:
  void changeEvent(QEvent* evento) override;

 private:
  void Pintar();

  QPointer<QLabel> motivo_;
  QString texto_;
  QString descripcion_;
  bool pintando_ = false;
};

}  // namespace zelk::ui::estudios
