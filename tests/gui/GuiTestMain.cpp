// Runs one registered test class (the first argument) or, without one, all of
// them, inside one QApplication.

#include <QApplication>
#include <QTest>

#include <cstring>
#include <iostream>
#include <vector>

#include "gui/GuiTestRegistry.h"

namespace veldra::testing {

std::map<std::string, GuiTestFactory>& guiTests() {
    static std::map<std::string, GuiTestFactory> tests;
    return tests;
}

bool registerGuiTest(const std::string& name, GuiTestFactory factory) {
    guiTests().emplace(name, std::move(factory));
    return true;
}

}  // namespace veldra::testing

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const auto& tests = veldra::testing::guiTests();
    std::vector<char*> qtArguments{argv[0]};
    std::string chosen;
    if (argc > 1 && argv[1][0] != '-') {
        chosen = argv[1];
        for (int i = 2; i < argc; ++i) qtArguments.push_back(argv[i]);
    } else {
        for (int i = 1; i < argc; ++i) qtArguments.push_back(argv[i]);
    }
    if (!chosen.empty() && tests.find(chosen) == tests.end()) {
        std::cerr << "no GUI test class " << chosen << '\n';
        return 2;
    }
    int failures = 0;
    for (const auto& [name, factory] : tests) {
        if (!chosen.empty() && name != chosen) continue;
        const auto test = factory();
        failures += QTest::qExec(test.get(), static_cast<int>(qtArguments.size()), qtArguments.data());
    }
    return failures == 0 ? 0 : 1;
}
