#pragma once
// The pictures of the option pair `Optiontdbno` / `Optiontdbja`: each option
// shows whether it is chosen and what it stands for (files still to be made,
// or TDB and overview map already there).

#include <QIcon>

namespace veldra::gui {

enum class OptionKind { MakeFiles, FilesExist };

QIcon optionPicture(OptionKind kind, bool chosen);

}  // namespace veldra::gui
