#pragma once
#include <QWidget>

QWidget* MakeLowDialog();
