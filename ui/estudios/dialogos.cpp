// The toolkit's message boxes, file dialogs and the desktop's viewer of documents.
#include "ui/estudios/dialogos.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

#include "ui/comun/texto_qt.h"
#include "ui/estudios/textos_estudios.h"

namespace zelk::ui::estudios {

void DialogosQt::Avisar(QWidget* padre, const QString& texto) {
  QMessageBox::warning(padre, Q(kNombrePrograma), texto);
}

void DialogosQt::Informar(QWidget* padre, const QString& titulo, const QString& texto) {
  QMessageBox::about(padre, titulo, texto);
}

Dialogos::Respuesta DialogosQt::PreguntarGuardar(QWidget* padre, const QString& texto) {
  QMessageBox caja(QMessageBox::Warning, Q(kNombrePrograma), texto,
                   QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, padre);
  caja.setDefaultButton(QMessageBox::Save);
  caja.setEscapeButton(QMessageBox::Cancel);
  switch (caja.exec()) {
    case QMessageBox::Save:
      return Respuesta::Guardar;
    case QMessageBox::Discard:
      return Respuesta::Descartar;
    default:
      return Respuesta::Cancelar;
  }
}

QString DialogosQt::ArchivoParaAbrir(QWidget* padre, const QString& titulo,
                                     const QString& filtros) {
  return QFileDialog::getOpenFileName(padre, titulo, QString(), filtros);
}

QString DialogosQt::ArchivoParaGuardar(QWidget* padre, const QString& titulo,
                                       const QString& propuesto, const QStringList& filtros,
                                       int& elegido) {
  QString filtro = filtros.value(elegido);
  const QString archivo = QFileDialog::getSaveFileName(padre, titulo, propuesto,
                                                       filtros.join(QStringLiteral(";;")), &filtro);
  elegido = std::max<int>(0, static_cast<int>(filtros.indexOf(filtro)));
  return archivo;
}

bool DialogosQt::AbrirDocumento(const QString& ruta) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(ruta));
}

}  // namespace zelk::ui::estudios
