#pragma once
// The bundled sample calendar (data/samples/Sample.PXF), made by the program itself on a page apart from
// any window: --create-sample.
#include <QString>

namespace plennix {

// Writes the sample calendar to `path`; false with the message to show in *error.
bool CreateSampleCalendar(const QString& path, QString* error);

}  // namespace plennix
