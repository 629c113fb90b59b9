#pragma once
// The main window's zoom arithmetic: preference percents to page factors and back, and the steps of
// the zoom buttons on the 4-byte factor.
namespace plennix {
float PercentToZoom(int percent);
// The percent stored for a factor: the one the caption shows, on its step of ten, so that
// PercentToZoom gives back a factor shown the same.
int ZoomToPercent(float factor);
// The next factor for Zoom In / Zoom Out, or the same factor when the step is not allowed.
float ZoomInStep(float factor);
float ZoomOutStep(float factor);
}  // namespace plennix
