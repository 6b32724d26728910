#pragma once
// Bringing a window that may already be open in front of the others.

#include <QWidget>

namespace veldra::gui {

// Shows `window` (again) on top and gives it the keyboard.
inline void bringToFront(QWidget& window) {
    window.show();
    window.raise();
    window.activateWindow();
}

}  // namespace veldra::gui
