#include "gui/TaskRunner.h"

#include <QApplication>
#include <QEventLoop>
#include <QPointer>
#include <QThread>
#include <QWidget>

#include <exception>
#include <memory>

namespace veldra::gui {

void runWhileResponsive(QWidget* blocked, const std::function<void()>& work) {
    const QPointer<QWidget> window(blocked);
    const bool wasEnabled = window && window->isEnabled();
    if (window) window->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);

    std::exception_ptr failure;
    const std::unique_ptr<QThread> worker(QThread::create([&work, &failure] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
    }));
    QEventLoop loop;
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    worker->start();
    // Serves painting and the worker's queued calls until it has finished.
    loop.exec();
    worker->wait();

    QApplication::restoreOverrideCursor();
    if (window && wasEnabled) window->setEnabled(true);
    if (failure) std::rethrow_exception(failure);
}

}  // namespace veldra::gui
