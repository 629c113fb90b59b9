#pragma once
// Lets GoogleTest show QString values in failure messages (found by argument-dependent look-up).
#include <QString>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
