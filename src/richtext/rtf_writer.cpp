#include "richtext/rtf_writer.h"

#include <algorithm>

#include "platform/win1252.h"

namespace plennix {

namespace {

bool Writable(char16_t ch) { return ch == u'\t' || (ch >= 0x20 && ch != 0xFFFC); }

bool HasWritableText(const QString& text) {
    for (QChar c : text)
        if (Writable(c.unicode())) return true;
    return false;
}

class Writer {
public:
    explicit Writer(const RtfText& text) : m_text(text) {}

    QByteArray write() {
        collectTables();
        m_body.reserve(4096);
        for (const RtfParagraph& p : m_text.paragraphs) writeParagraph(p);

        QByteArray out;
        out.reserve(m_body.size() + 256);
        out += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n{\\fonttbl";
        for (qsizetype i = 0; i < m_fonts.size(); ++i) {
            out += "{\\f" + QByteArray::number(i) + "\\fnil\\fcharset0 ";
            QString name = m_fonts[i];
            name.remove(u';');
            appendText(out, name);
            out += ";}";
        }
        out += "}\n";
        if (!m_colors.empty()) {
            out += "{\\colortbl;";
            for (TColor c : m_colors) {
                out += "\\red" + QByteArray::number(c & 0xFF) + "\\green" + QByteArray::number((c >> 8) & 0xFF) +
                       "\\blue" + QByteArray::number((c >> 16) & 0xFF) + ';';
            }
            out += "}\n";
        }
        out += m_body;
        out += "}\n";
        return out;
    }

private:
    void collectTables() {
        auto addFormat = [&](const RtfCharFormat& f) {
            if (!m_fonts.contains(f.font)) m_fonts.append(f.font);
            const TColor c = f.color;
            if (c != kAutoTextColor && std::find(m_colors.begin(), m_colors.end(), ColorToRGB(c)) == m_colors.end())
                m_colors.push_back(ColorToRGB(c));
        };
        for (const RtfParagraph& p : m_text.paragraphs) {
            for (const RtfRun& r : p.runs)
                if (!r.isPicture() && HasWritableText(r.text)) addFormat(r.format);
            addFormat(p.markFormat);
        }
        if (m_fonts.isEmpty()) m_fonts.append(RtfCharFormat{}.font);
    }

    int fontIndex(const QString& name) const { return std::max<int>(0, static_cast<int>(m_fonts.indexOf(name))); }

    int colorIndex(TColor c) const {
        if (c == kAutoTextColor) return 0;
        auto it = std::find(m_colors.begin(), m_colors.end(), ColorToRGB(c));
        return it == m_colors.end() ? 0 : static_cast<int>(it - m_colors.begin()) + 1;
    }

    void word(const char* w) {
        m_body += w;
        m_pendingDelimiter = true;
    }
    void word(const char* w, int n) {
        m_body += w;
        m_body += QByteArray::number(n);
        m_pendingDelimiter = true;
    }

    // Writes the control words that take the current state to f.
    void setFormat(const RtfCharFormat& f) {
        const int font = fontIndex(f.font);
        if (font != m_font) word("\\f", m_font = font);
        if (f.halfPoints != m_halfPoints) word("\\fs", m_halfPoints = f.halfPoints);
        const FontStyles changed = f.style ^ m_style;
        if (changed & fsBold) word(f.style & fsBold ? "\\b" : "\\b0");
        if (changed & fsItalic) word(f.style & fsItalic ? "\\i" : "\\i0");
        if (changed & fsUnderline) word(f.style & fsUnderline ? "\\ul" : "\\ulnone");
        if (changed & fsStrikeOut) word(f.style & fsStrikeOut ? "\\strike" : "\\strike0");
        m_style = f.style;
        const int color = colorIndex(f.color);
        if (color != m_color) word("\\cf", m_color = color);
    }

    void writeParagraph(const RtfParagraph& p) {
        m_body += "\\pard";
        m_pendingDelimiter = true;
        switch (p.alignment) {
        case RtfAlignment::raLeft: break;
        case RtfAlignment::raRight: word("\\qr"); break;
        case RtfAlignment::raCenter: word("\\qc"); break;
        case RtfAlignment::raJustify: word("\\qj"); break;
        }
        for (const RtfRun& r : p.runs) {
            if (r.isPicture()) {
                writePicture(*r.picture);
                continue;
            }
            if (!HasWritableText(r.text)) continue;  // its format words alone would not read back
            setFormat(r.format);
            writeText(r.text);
        }
        setFormat(p.markFormat);
        m_body += "\\par\n";
        m_pendingDelimiter = false;
    }

    void writeText(const QString& text) {
        if (text.isEmpty()) return;
        if (m_pendingDelimiter) {
            m_body += ' ';
            m_pendingDelimiter = false;
        }
        const char16_t* d = reinterpret_cast<const char16_t*>(text.utf16());
        const qsizetype n = text.size();
        qsizetype i = 0;
        while (i < n) {
            // Plain ASCII goes out in one piece.
            qsizetype j = i;
            while (j < n && d[j] >= 0x20 && d[j] < 0x7F && d[j] != u'\\' && d[j] != u'{' && d[j] != u'}') ++j;
            if (j > i) {
                const qsizetype old = m_body.size();
                m_body.resize(old + (j - i));
                char* out = m_body.data() + old;
                for (qsizetype k = i; k < j; ++k) *out++ = static_cast<char>(d[k]);
                i = j;
                continue;
            }
            const char16_t ch = d[i++];
            if (ch == u'\t') {
                m_body += "\\tab ";
            } else if (ch == 0x2028) {
                m_body += "\\line ";
            } else if (ch < 0x20 || ch == 0xFFFC) {
                // control characters and stray object marks carry no text
            } else {
                appendChar(m_body, ch);
            }
        }
    }

    static void appendChar(QByteArray& out, char16_t ch) {
        static const char hex[] = "0123456789abcdef";
        if (ch == u'\\' || ch == u'{' || ch == u'}') {
            out += '\\';
            out += static_cast<char>(ch);
        } else if (ch >= 0x20 && ch < 0x7F) {
            out += static_cast<char>(ch);
        } else {
            unsigned char b;
            if (Win1252Byte(ch, &b)) {
                out += "\\'";
                out += hex[b >> 4];
                out += hex[b & 15];
            } else {
                out += "\\u" + QByteArray::number(static_cast<int16_t>(ch)) + '?';
            }
        }
    }

    static void appendText(QByteArray& out, const QString& text) {
        for (QChar c : text)
            if (c.unicode() >= 0x20) appendChar(out, c.unicode());
    }

    void writePicture(const RtfPicture& pic) {
        static const char hex[] = "0123456789abcdef";
        m_body += "{\\pict\\pngblip\\picw" + QByteArray::number(pic.image.width()) + "\\pich" +
                  QByteArray::number(pic.image.height()) + "\\picwgoal" + QByteArray::number(pic.widthTwips) +
                  "\\pichgoal" + QByteArray::number(pic.heightTwips) + '\n';
        const auto* b = reinterpret_cast<const unsigned char*>(pic.png.constData());
        for (qsizetype i = 0; i < pic.png.size(); ++i) {
            m_body += hex[b[i] >> 4];
            m_body += hex[b[i] & 15];
            if (i % 64 == 63) m_body += '\n';
        }
        m_body += "}";
        m_pendingDelimiter = false;
    }

    const RtfText& m_text;
    QStringList m_fonts;
    std::vector<TColor> m_colors;
    QByteArray m_body;
    bool m_pendingDelimiter = false;
    // The reader's state at the start of the text: the default font, 12 points, no style, automatic colour.
    int m_font = 0;
    int m_halfPoints = 24;
    FontStyles m_style = 0;
    int m_color = 0;
};

}  // namespace

QByteArray WriteRtf(const RtfText& text) { return Writer(text).write(); }

}  // namespace plennix
