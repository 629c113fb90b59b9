#pragma once
// The program's own hand cursors: HANDGRAB (a closed hand, over the selection frame) and HANDPOINT
// (a pointing hand, over objects and during the rubber band).
#include <QCursor>

namespace plennix {
QCursor HandGrabCursor();
QCursor HandPointCursor();
}  // namespace plennix
