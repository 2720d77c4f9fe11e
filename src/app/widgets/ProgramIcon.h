#pragma once

#include <QIcon>

namespace app {

// The program's icon, as packaging/tessary.svg draws it (a clipboard with a
// green cross), painted here at the sizes windows use: the SVG image plugin
// is not among what a workstation installs.
QIcon ProgramIcon();

} // namespace app
