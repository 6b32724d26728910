#pragma once
// Pictures of the windows for doc/: with VELDRA_SCREENSHOT_DIR set, a window
// is saved there as <name>-en.png or <name>-de.png.

#include <QCoreApplication>
#include <QString>
#include <QTest>
#include <QWidget>

#include <string>

namespace veldra::testing {

inline void saveScreenshot(QWidget& window, const QString& name, const std::string& language) {
    const QString pictures = qEnvironmentVariable("VELDRA_SCREENSHOT_DIR");
    if (pictures.isEmpty()) return;
    QCoreApplication::processEvents();
    QVERIFY(window.grab().save(QString("%1/%2-%3.png").arg(pictures, name, language == "Eng" ? "en" : "de")));
}

}  // namespace veldra::testing
