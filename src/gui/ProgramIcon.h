#pragma once
// The program's icon (the installed desktop entry shows veldra.svg, the same picture).

#include <QIcon>

namespace veldra::gui {

QIcon programIcon();

}  // namespace veldra::gui
