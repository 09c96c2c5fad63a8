// Answers zelk Estudios' questions instead of a person: the messages kept, the answers and the
// files given in turn.
#pragma once

#include <QStringList>
#include <deque>

#include "ui/estudios/dialogos.h"

namespace zelk::prueba {

class DialogosPrueba final : public ui::estudios::Dialogos {
 public:
  void Avisar(QWidget* /*padre*/, const QString& texto) override { mensajes.append(texto); }
  void Informar(QWidget* /*padre*/, const QString& titulo, const QString& texto) override {
    mensajes.append(titulo + u'\n' + texto);
  }
  Respuesta PreguntarGuardar(QWidget* /*padre*/, const QString& texto) override {
    preguntas.append(texto);
    if (respuestas.empty())
      return Respuesta::Cancelar;
    const Respuesta r = respuestas.front();
    respuestas.pop_front();
    return r;
  }
  QString ArchivoParaAbrir(QWidget* /*padre*/, const QString& /*titulo*/,
                           const QString& /*filtros*/) override {
    return Siguiente();
  }
  QString ArchivoParaGuardar(QWidget* /*padre*/, const QString& /*titulo*/,
                             const QString& /*propuesto*/, const QStringList& filtros,
                             int& elegido) override {
    ofrecidos = filtros;
    elegido = filtro;
    return Siguiente();
  }
  bool AbrirDocumento(const QString& ruta) override {
    documentos.append(ruta);
    return true;
  }

  QStringList mensajes, preguntas, ofrecidos, documentos;
  std::deque<Respuesta> respuestas;
  std::deque<QString> archivos;
  int filtro = 0;

 private:
  QString Siguiente() {
    if (archivos.empty())
      return {};
    const QString a = archivos.front();
    archivos.pop_front();
    return a;
  }
};

}  // namespace zelk::prueba
