#pragma once
// Whether a picture file holds all the data its headers promise. Qt's readers decode a cut-off bitmap
// without complaint (the missing rows come out as whatever memory held), so every picture reader asks
// here first and treats an incomplete file as one it cannot load.
#include <QByteArray>

namespace plennix {

// A bitmap file ("BM"): the headers, the colour table and every pixel row (or, compressed, the run-length
// data up to its end mark or its last row) lie inside the bytes.
bool BmpDataComplete(const QByteArray& bytes);

// An icon file: the directory and every image it lists lie inside the bytes.
bool IconDataComplete(const QByteArray& bytes);

// Dispatches on the file's signature; kinds without a check here count as complete.
bool PictureDataComplete(const QByteArray& bytes);

}  // namespace plennix
