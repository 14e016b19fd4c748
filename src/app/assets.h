#pragma once
// The pictures compiled into the program, and whether a control shows.
#include <QFile>
#include <QImage>
#include <QWidget>

#include "media/jpeg_decoder.h"

namespace app {

// JPEG pictures go through the launcher's own decoder, as the toolkit may be built without its
// JPEG plugin (the static Windows one is); the others are PNG, which the toolkit always reads.
inline QImage Asset(const char* name) {
  const QString path = QStringLiteral(":/assets/") + QLatin1String(name);
  if (!path.endsWith(QLatin1String(".jpg"))) return QImage(path);
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return QImage();
  const QByteArray bytes = file.readAll();
  platform::Result<QImage> image = media::DecodeJpegBytes(bytes.toStdString());
  return image ? std::move(*image) : QImage();
}

// Whether the window shows the control once it is shown itself.
inline bool Shown(const QWidget* widget) { return !widget->isHidden(); }

}  // namespace app
