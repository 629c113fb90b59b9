#pragma once

namespace plennix {

// Registers the record classes of the decorative objects (SuperText, floating mini calendar, clip art
// image, rich-text label) so that documents, the clipboard file and clones can re-create them by name.
void RegisterDecorativeObjectClasses();

}  // namespace plennix
