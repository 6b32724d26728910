// The change journal reader: any bytes give a journal or "damaged", never a
// crash. A journal it takes names only whole absolute paths (each is written
// over when the change is undone) and is written again byte for byte as read.

#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "platform/PathText.h"
#include "registration/ChangeJournal.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const auto contents = veldra::registration::parseJournal(bytes);
    if (!contents) return 0;
    for (const auto& copy : contents->copies)
        if (!copy.file.is_absolute() || veldra::platform::pathText(copy.file).find('\0') != std::string::npos)
            std::abort();
    if (veldra::registration::journalBytes(*contents) != std::vector<std::uint8_t>(bytes.begin(), bytes.end()))
        std::abort();
    return 0;
}
