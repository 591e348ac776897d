#pragma once
// The program's pictures, drawn in code: tool-bar icons, the knob with its pointer dot,
// the coupling switch, the cursor pins and the dashed cursor lines.

#include <QColor>
#include <QPixmap>
#include <QString>

namespace wyk::pictures {

enum class Zoom { All, Off, In, Out, Selection };
QPixmap ZoomIcon(Zoom kind);
QPixmap TimeScaleIcon(const QString& text);  // "REL" or "ABS" over a dial
QPixmap CursorsIcon();
QPixmap SnapIcon(QChar cursor);  // 'A' or 'B'
QPixmap FftIcon();

QPixmap Knob();        // 80 × 80
QPixmap PointerDot();  // 7 × 7

enum class Lever { Up, Middle, Down };  // AC, GND, DC
QPixmap Switch(Lever lever);            // 16 × 64

QPixmap CursorPin(const QColor& centre);  // 11 × 10, pointing down
// Three coloured pixels and one see-through pixel, repeating.
QPixmap DashedLine(const QColor& colour, int width, int height);

// 75 × 19: a trace on a small screen beside the maker's name.
QPixmap Logo();

}  // namespace wyk::pictures
