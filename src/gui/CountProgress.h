#pragma once
// A progress bar that shows "done / total" files, fed by a task's progress
// callback on the worker thread.

#include "core/Progress.h"

class QProgressBar;
class QWidget;

namespace veldra::gui {

// Hidden until it is fed.
QProgressBar* countProgressBar(QWidget* parent, const char* objectName);

// Passes each count to `bar` on the UI thread and shows it; harmless once the bar is gone.
Progress feedProgressBar(QProgressBar* bar);

}  // namespace veldra::gui
