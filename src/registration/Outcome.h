#pragma once
// How a management command ended, for callers that report it (the command line's exit code).

namespace veldra::registration {

enum class Outcome {
    Done,
    Declined,  // the user answered a question with no or cancel
    Failed     // stopped by an error the user was told about
};

}  // namespace veldra::registration
