#pragma once
// The shared QString printer, so that a test including this and common/test_support.h defines it once.
#include "common/qstring_printer.h"
