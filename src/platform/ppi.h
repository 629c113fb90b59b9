#pragma once
namespace plennix {
// Screen pixels per inch: PLENNIX_PPI when set (tests run at 96), else the primary screen's logical DPI.
int ScreenPixelsPerInch();
}  // namespace plennix
