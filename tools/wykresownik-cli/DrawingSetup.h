#pragma once
// What the commands that draw pictures need besides the pictures: Qt GUI for the text drawer,
// and the colours.

#include <QGuiApplication>
#include <memory>

#include "Arguments.h"
#include "config/Settings.h"

namespace wyk::cli {

// The QGuiApplication for the text drawer, on the offscreen platform unless another is set.
// Keep it while drawing; it must end before the program's static objects do.
std::unique_ptr<QGuiApplication> StartGui();

// Colours and adapter type from the settings file given by --settings, or the defaults the
// program takes when it has no settings file.
void LoadViewSettings(Settings& settings, const Arguments& arguments);

}  // namespace wyk::cli
