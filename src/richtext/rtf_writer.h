#pragma once
// Writing the text model as RTF: a font table and a colour table of what the text uses, character
// formatting as changes from run to run, every paragraph closed by \par, pictures as PNG. Text is
// Windows-1252 (\'hh above 0x7F) with \uN for everything else. Reading the output gives the same model, and
// writing that again gives the same bytes.
#include <QByteArray>

#include "richtext/rtf_model.h"

namespace plennix {

QByteArray WriteRtf(const RtfText& text);

}  // namespace plennix
