#include "platform/ConfinedPath.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/PathText.h"
#include "platform/Text.h"

namespace veldra::platform {
namespace fs = std::filesystem;
namespace {

bool isSeparator(char c) { return c == '/' || c == '\\'; }

bool isAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// What a path text or a base folder consists of: drive, root, names.
struct PathParts {
    std::string drive;  // "C:" or empty
    bool rooted = false;
    std::vector<std::string> names;
};

// The names between separators; empty names and "." go.
std::vector<std::string> namesOf(std::string_view text) {
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start <= text.size()) {
        const auto at = std::find_if(text.begin() + static_cast<std::ptrdiff_t>(start), text.end(), isSeparator);
        const auto end = static_cast<std::size_t>(at - text.begin());
        const std::string_view name = text.substr(start, end - start);
        if (!name.empty() && name != ".") names.emplace_back(name);
        start = end + 1;
    }
    return names;
}

PathParts textParts(std::string_view text) {
    PathParts parts;
    if (text.size() >= 2 && text[1] == ':' && isAsciiLetter(text[0])) {
        parts.drive = std::string(text.substr(0, 2));
        text.remove_prefix(2);
    }
    parts.rooted = !text.empty() && isSeparator(text.front());
    parts.names = namesOf(text);
    return parts;
}

PathParts baseParts(const fs::path& base) {
    PathParts parts;
    parts.drive = pathText(base.root_name());
    parts.rooted = base.has_root_directory();
    parts.names = namesOf(pathText(base.relative_path().lexically_normal()));
    return parts;
}

// Windows trims trailing dots and blanks from a name: "..." and ".. " are not
// the names they look like.
bool onlyDotsAndBlanks(std::string_view name) {
    return name != ".." && name.find_first_not_of(". ") == std::string_view::npos;
}

bool isShare(std::string_view text) { return text.size() >= 2 && isSeparator(text[0]) && isSeparator(text[1]); }

}  // namespace

Result<fs::path> confinedPath(const fs::path& base, std::string_view text) {
    const Failure outside = fail("The path \"" + std::string(text) + "\" does not stay inside the folder " +
                                 pathText(base));
    if (text.find('\0') != std::string_view::npos || isShare(text)) return outside;
    const PathParts parts = textParts(text);
    if (!parts.drive.empty() && !parts.rooted) return outside;

    auto steps = parts.names.begin();
    if (parts.rooted) {
        // An absolute text first names the base itself, exactly.
        const PathParts folder = baseParts(base);
        if (!folder.rooted || !equalsIgnoringAsciiCase(parts.drive, folder.drive) ||
            parts.names.size() < folder.names.size() ||
            !std::equal(folder.names.begin(), folder.names.end(), parts.names.begin()))
            return outside;
        steps += static_cast<std::ptrdiff_t>(folder.names.size());
    }

    std::vector<std::string> inside;
    for (; steps != parts.names.end(); ++steps) {
        if (onlyDotsAndBlanks(*steps)) return outside;
        if (*steps != "..") {
            inside.push_back(*steps);
        } else if (inside.empty()) {
            return outside;
        } else {
            inside.pop_back();
        }
    }
    fs::path result = base;
    for (const std::string& name : inside) {
        const fs::path step = pathFromText(name);
        // "a:b" is a drive-qualified path to Windows, not a name.
        if (step.has_root_path()) return outside;
        result /= step;
    }
    return result;
}

}  // namespace veldra::platform
