#pragma once
// Pictures of the program's views: Qt GUI for the text drawer and the PNG encoder.

#include <QGuiApplication>
#include <QImage>
#include <memory>

#include "Arguments.h"
#include "Files.h"
#include "app/RecorderState.h"
#include "view/Canvas.h"

namespace wyk::cli {

// The QGuiApplication for the text drawer, on the offscreen platform unless another is set.
// Keep it while drawing; it must end before the program's static objects do.
std::unique_ptr<QGuiApplication> StartGui();

// Colours and adapter type from the settings file given by --settings, or the defaults the
// program takes when it has no settings file.
void LoadViewSettings(RecorderState& state, const Arguments& arguments);

// The area of the canvas as a picture, and as a PNG file.
QImage PictureOf(const Canvas& canvas, Rect area);
void WritePng(const QImage& picture, OutputFile& output);
void WritePng(const Canvas& canvas, Rect area, OutputFile& output);

// The main window's plot with its scales at the state's view, as render draws it.
QImage ViewPicture(RecorderState& state, bool absoluteTime);
// The spectrum window's plot with its axes, as spectrum draws it.
QImage SpectrumPicture(const RecorderState& state);

}  // namespace wyk::cli
