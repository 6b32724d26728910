#pragma once
// Long work (outside programs, big catalogs) off the UI thread, while the
// windows stay painted and the worker's questions are answered.

#include <functional>

class QWidget;

namespace veldra::gui {

// Runs `work` on a worker thread with `blocked` disabled and the busy pointer
// shown, serving UI events (and the worker's queued dialog calls) until it
// ends; an exception thrown by `work` is rethrown here, on the UI thread.
void runWhileResponsive(QWidget* blocked, const std::function<void()>& work);

}  // namespace veldra::gui
