#pragma once
// The frame of the windows beside the main window: a title with a system menu, minimise and
// close, fixed in size and kept above the main window.

#include <Qt>

namespace wyk {

inline constexpr Qt::WindowFlags kToolWindowFlags =
    Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
    Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint |
    Qt::MSWindowsFixedSizeDialogHint;

}  // namespace wyk
