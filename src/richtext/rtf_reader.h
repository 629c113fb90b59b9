#pragma once
// Reading RTF into the text model. Reads the engine's own output and ordinary RTF written by other word
// processors: font and colour tables (both optional), character formatting, paragraphs with alignment,
// line breaks, tabs, Unicode characters with their fallbacks, and pictures (PNG, JPEG, device-independent
// and device-dependent bitmaps). Unknown destinations are skipped. Malformed input never fails: the text
// read up to the damage is kept.
#include <QByteArray>

#include "richtext/rtf_model.h"

namespace plennix {

// Pictures are decoded while their pixels fit in pictureBudget; the text's report counts what was left
// out and how many pixels were decoded.
RtfText ReadRtf(const QByteArray& bytes, qint64 pictureBudget = kMaxDocumentPicturePixels);
RtfText ReadRtf(const char* data, qsizetype size, qint64 pictureBudget = kMaxDocumentPicturePixels);

// True when the bytes start (after white space) with the RTF signature "{\rtf"; anything else is read as
// plain Windows-1252 text, one paragraph per line.
bool LooksLikeRtf(const char* data, qsizetype size);

}  // namespace plennix
