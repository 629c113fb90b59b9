#include "low/low_dialog.h"

#include "low/low_model.h"

QWidget* MakeLowDialog() { return LowValue() > 0 ? new QWidget : nullptr; }
