// Tool-bar and menu pictures, drawn by code so that they stay crisp at any
// screen resolution and need no image files.
#pragma once

#include <QIcon>

namespace tracemont {

// The picture of a command; a null icon for commands without one.
QIcon CommandIcon(int commandId);

}  // namespace tracemont
