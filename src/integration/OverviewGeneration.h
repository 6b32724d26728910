#pragma once
// Making the TDB file and the overview map of a tile set with the outside
// tools: gmt.exe writes the TDB and the overview source, cgpsmapper.exe
// compiles it, and mkgmap.jar under Java is offered when that fails. Every
// step is judged only by the files it leaves.

#include <filesystem>
#include <string>

#include "integration/IntegrationJob.h"

namespace veldra::app {
class Session;
}

namespace veldra::integration {

class ConsoleRunner;

class OverviewGeneration {
public:
    OverviewGeneration(app::Session& session, ConsoleRunner& runner, IntegrationJob job);

    // gmt.exe: the TDB and the overview source, then the two edits of the source.
    void writeOverviewSource();
    // The TDB gmt.exe should have left beside the tiles.
    bool tdbExists() const;
    // cgpsmapper.exe, then the Java fall-back for as long as the user wants it.
    // True when the overview map exists at the end.
    bool makeOverviewMap();

    const std::string& baseName() const { return baseName_; }
    // The parent folder of the first tile.
    const std::filesystem::path& tileFolder() const { return tileFolder_; }
    std::filesystem::path overviewMap() const;

    // The command lines, exactly as they are run.
    std::string gmtCommandLine() const;
    std::string compileCommandLine() const;
    std::string javaCommandLine() const;

private:
    std::filesystem::path programFile(const char* name) const;
    void writeListFile() const;
    void editOverviewSource() const;
    bool javaInstalled();
    void writeJavaInputs() const;

    app::Session& session_;
    ConsoleRunner& runner_;
    IntegrationJob job_;
    std::string baseName_;
    std::filesystem::path tileFolder_;
    std::string javaVersion_;
};

}  // namespace veldra::integration
