#pragma once
// Pictures of the program's views: Qt GUI for the text drawer and the PNG encoder.

#include <QGuiApplication>
#include <QImage>
#include <memory>

#include "Arguments.h"
#include "Files.h"
#include "config/Settings.h"
#include "spectrum/SpectrumState.h"
#include "storage/OpenRecording.h"
#include "view/Canvas.h"
#include "view/Scales.h"
#include "view/ViewWindow.h"

namespace wyk::cli {

// The QGuiApplication for the text drawer, on the offscreen platform unless another is set.
// Keep it while drawing; it must end before the program's static objects do.
std::unique_ptr<QGuiApplication> StartGui();

// Colours and adapter type from the settings file given by --settings, or the defaults the
// program takes when it has no settings file.
void LoadViewSettings(Settings& settings, const Arguments& arguments);

// The area of the canvas as a picture, and as a PNG file.
QImage PictureOf(const Canvas& canvas, Rect area);
void WritePng(const QImage& picture, OutputFile& output);
void WritePng(const Canvas& canvas, Rect area, OutputFile& output);

// The main window's plot with its scales at the state's view, as render draws it.
QImage ViewPicture(const Settings& settings, const Scales& scales, const OpenRecording& recording,
                   ViewWindow& view, bool absoluteTime);
// The spectrum window's plot with its axes, as spectrum draws it.
QImage SpectrumPicture(const SpectrumState& spectrum);

}  // namespace wyk::cli
