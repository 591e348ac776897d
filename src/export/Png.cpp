#include "export/Png.h"

#include <QBuffer>
#include <QByteArray>

namespace wyk {

QImage PictureOf(const Canvas& canvas, Rect area) {
  const QImage whole(canvas.Bits(), canvas.Width(), canvas.Height(), canvas.BytesPerLine(),
                     QImage::Format_RGB32);
  return whole.copy(area.left, area.top, area.right - area.left, area.bottom - area.top);
}

void WritePng(const Canvas& canvas, Rect area, OutputFile& output) {
  WritePng(PictureOf(canvas, area), output);
}

void WritePng(const QImage& picture, OutputFile& output) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!picture.save(&buffer, "PNG")) throw OutputError("Nie mogę zakodować obrazu PNG");
  output.Write(bytes.constData(), static_cast<size_t>(bytes.size()));
}

}  // namespace wyk
