// cgpsmapper.exe "X.mp": makes the overview map X.img beside X.mp (and for
// mapset.mp also mapset.tdb and mapset.mdx) with the program folder's mkgmap.jar.

#include <iostream>

#include "cgpsmapper/OverviewBuild.h"
#include "common/ToolArguments.h"
#include "common/ToolPaths.h"

int main(int argc, char** argv) {
    using namespace veldra::outside;
    const auto arguments = toolArguments(argc, argv);
    if (arguments.size() != 1) {
        std::cout << "usage: cgpsmapper.exe SOURCE.mp\n";
        return 2;
    }
    // The program folder holds Version97c, which holds this program.
    const auto programFolder = ownExecutable(argc > 0 ? argv[0] : nullptr).parent_path().parent_path();
    return buildOverview(nativeToolPath(arguments.front()), programFolder, std::cout) ? 0 : 1;
}
