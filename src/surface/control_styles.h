#pragma once
// Enumerations that several placed objects and controls share, with the value names that object
// records store for them (in ordinal order).
#include <QStringList>
#include <cstdint>

namespace plennix {

enum TAlignment : uint8_t { taLeftJustify, taRightJustify, taCenter };
enum TBorderStyle : uint8_t { bsNone, bsSingle };

inline QStringList AlignmentNames() { return {"taLeftJustify", "taRightJustify", "taCenter"}; }
inline QStringList BorderStyleNames() { return {"bsNone", "bsSingle"}; }

}  // namespace plennix
