#pragma once
// Pictures of the program's views: Qt GUI for the text drawer and the PNG encoder.

#include <QGuiApplication>
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

// The area of the canvas as a PNG file.
void WritePng(const Canvas& canvas, Rect area, OutputFile& output);

}  // namespace wyk::cli
