#pragma once
// Test classes register themselves by name, so that each one is its own CTest
// entry of the one GUI test program:
//   class MainWindowTest : public QObject { Q_OBJECT ... };
//   VELDRA_GUI_TEST(MainWindowTest)
//   #include "MainWindowTest.moc"

#include <QObject>

#include <functional>
#include <map>
#include <memory>
#include <string>

namespace veldra::testing {

using GuiTestFactory = std::function<std::unique_ptr<QObject>()>;

std::map<std::string, GuiTestFactory>& guiTests();
bool registerGuiTest(const std::string& name, GuiTestFactory factory);

}  // namespace veldra::testing

#define VELDRA_GUI_TEST(Class) \
    static const bool Class##Registered = \
        ::veldra::testing::registerGuiTest(#Class, [] { return std::make_unique<Class>(); });
