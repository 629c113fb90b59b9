#include "low/low_model.h"

#include <QImage>

int LowValue() { return QImage(2, 3, QImage::Format_RGB32).height(); }
