// Cursor pictures of the view's tools, drawn by code so that no image files
// are needed.
#pragma once

#include <QCursor>

#include "acquire/canvas.h"

namespace tracemont {

// The cursor for a canvas cursor kind; kArrow and kMove are the system's.
// Pictures are made once and cached.
QCursor CanvasCursorPicture(CanvasCursor kind);

}  // namespace tracemont
