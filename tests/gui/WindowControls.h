#pragma once
// Finding a window's controls by their names and clicking them, as the
// window tests do throughout.

#include <QCoreApplication>
#include <QTest>
#include <QWidget>

namespace veldra::testing {

template <class Control = QWidget>
Control* control(QWidget& window, const char* name) {
    auto* found = window.findChild<Control*>(name);
    if (!found) qFatal("no control %s", name);
    return found;
}

inline void click(QWidget& window, const char* name) {
    QCoreApplication::processEvents();  // a control just shown gets its place once the layout has run
    QTest::mouseClick(control(window, name), Qt::LeftButton);
}

}  // namespace veldra::testing
