#include "richtext/rtf_model.h"

#include "platform/numbers.h"
#include "platform/ppi.h"

#include <QStringList>

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

QString RtfReadMessage(const RtfReadReport& report, const QString& what) {
    QStringList parts;
    if (report.picturesLeftOut > 0)
        parts << QStringLiteral("%1 picture(s) in the rich text of %2 were left out: each picture may hold at most "
                                "%3 megapixels and all pictures of one text or document together at most %4.")
                     .arg(report.picturesLeftOut)
                     .arg(what)
                     .arg(kMaxPicturePixels / 1000000)
                     .arg(kMaxDocumentPicturePixels / 1000000);
    if (report.deepGroups > 0)
        parts << QStringLiteral("%1 part(s) of the rich text of %2 were left out: they are nested deeper than %3 "
                                "groups.")
                     .arg(report.deepGroups)
                     .arg(what)
                     .arg(kMaxRtfGroupDepth);
    return parts.join(QLatin1Char('\n'));
}

}  // namespace plennix
