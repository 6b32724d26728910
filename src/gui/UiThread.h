#pragma once
// Runs a piece of window work on the UI thread and hands its result back to
// the calling thread, which waits for it. On the UI thread it simply runs.

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

#include <type_traits>

namespace veldra::gui {

template <class Work>
auto onUiThread(Work&& work) -> decltype(work()) {
    QCoreApplication* application = QCoreApplication::instance();
    if (QThread::currentThread() == application->thread()) return work();
    using Answer = decltype(work());
    if constexpr (std::is_void_v<Answer>) {
        QMetaObject::invokeMethod(application, [&work] { work(); }, Qt::BlockingQueuedConnection);
    } else {
        Answer answer{};
        QMetaObject::invokeMethod(application, [&work, &answer] { answer = work(); }, Qt::BlockingQueuedConnection);
        return answer;
    }
}

}  // namespace veldra::gui
