// The questions zelk Estudios asks its user (a message, whether to save a change, a file to open
// or to save) go through this seam, so that tests can answer them instead of a person.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace zelk::ui::estudios {

class Dialogos {
 public:
  virtual ~Dialogos() = default;

  // A message with an OK button; returns when it has been closed.
  virtual void Avisar(QWidget* padre, const QString& texto) = 0;
  // What the program is, under `titulo`; returns when it has been closed.
  virtual void Informar(QWidget* padre, const QString& titulo, const QString& texto) = 0;

  enum class Respuesta { Guardar, Descartar, Cancelar };
  virtual Respuesta PreguntarGuardar(QWidget* padre, const QString& texto) = 0;

  // A file to open; empty when the user gave none.
  virtual QString ArchivoParaAbrir(QWidget* padre, const QString& titulo,
                                   const QString& filtros) = 0;

  // Opens the local document `ruta` (the manual) as the desktop opens it; false when it cannot.
  virtual bool AbrirDocumento(const QString& ruta) = 0;

  // A file to write, starting from `propuesto`, with the filter chosen among `filtros` in
  // `elegido`; empty when the user gave none.
  virtual QString ArchivoParaGuardar(QWidget* padre, const QString& titulo,
                                     const QString& propuesto, const QStringList& filtros,
                                     int& elegido) = 0;
};

// The toolkit's own message box and file dialogs.
class DialogosQt final : public Dialogos {
 public:
  void Avisar(QWidget* padre, const QString& texto) override;
  void Informar(QWidget* padre, const QString& titulo, const QString& texto) override;
  Respuesta PreguntarGuardar(QWidget* padre, const QString& texto) override;
  QString ArchivoParaAbrir(QWidget* padre, const QString& titulo, const QString& filtros) override;
  QString ArchivoParaGuardar(QWidget* padre, const QString& titulo, const QString& propuesto,
                             const QStringList& filtros, int& elegido) override;
  bool AbrirDocumento(const QString& ruta) override;
};

}  // namespace zelk::ui::estudios
