#pragma once
// The millisecond tick counter; tests replace its source to drive the time rules of the design surface.
#include <cstdint>
#include <functional>

namespace plennix {
uint32_t TickCount();
void SetTickSource(std::function<uint32_t()> source);  // empty restores the real clock
}  // namespace plennix
