#include "low/low_model.h"
#ifdef HIGH_WIDGET
#include <QtWidgets/QWidget>
#endif

int HighValue() { return LowValue() + 1; }
