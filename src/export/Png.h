#pragma once
// Pictures of the canvas as PNG files: Qt GUI for the encoder.

#include <QImage>

#include "export/OutputFile.h"
#include "view/Canvas.h"

namespace wyk {

// The area of the canvas as a picture, and as a PNG file.
QImage PictureOf(const Canvas& canvas, Rect area);
void WritePng(const QImage& picture, OutputFile& output);
void WritePng(const Canvas& canvas, Rect area, OutputFile& output);

}  // namespace wyk
