#include "richtext/rtf_model.h"

#include "platform/numbers.h"
#include "platform/ppi.h"

namespace plennix {

QString RtfText::plainText() const {
    QString out;
    for (size_t i = 0; i < paragraphs.size(); ++i) {
        if (i > 0) out += u'\n';
        for (const RtfRun& r : paragraphs[i].runs) {
            if (r.isPicture()) {
                out += QChar(0xFFFC);
            } else {
                QString t = r.text;
                t.replace(QChar(0x2028), u'\n');
                out += t;
            }
        }
    }
    return out;
}

double TwipsToPixels(double twips) { return twips * ScreenPixelsPerInch() / 1440.0; }

int PixelsToTwips(double pixels) { return roundHalfEven(pixels * 1440.0 / ScreenPixelsPerInch()); }

}  // namespace plennix
