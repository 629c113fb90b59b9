#include "richtext/rtf_reader.h"

#include <QHash>
#include <QStringDecoder>
#include <algorithm>
#include <map>
#include <string_view>
#include <unordered_map>

#include "platform/numbers.h"
#include "platform/win1252.h"
#include "richtext/rtf_pictures.h"

namespace plennix {

namespace {

constexpr size_t kMaxGroupDepth = kMaxRtfGroupDepth;
constexpr int kMaxControlWordLength = 32;
constexpr int kMinHalfPoints = 2;
constexpr int kMaxHalfPoints = 3276;

enum class Dest : uint8_t { Text, FontTable, FontEntry, ColorTable, Picture, Skip };

enum class Kw : uint8_t {
    Unknown,
    // destinations
    FontTbl, ColorTbl, Pict, SkipDest, TextDest,
    // document
    Ansi, Mac, Pc, Pca, AnsiCpg, Deff, Uc, U, Bin,
    // fonts and colours
    F, FCharset, Cpg, Red, Green, Blue,
    // characters
    Plain, B, I, Ul, UlNone, Strike, StrikeD, Fs, Cf, V,
    // paragraphs
    Pard, Par, Sect, Line, Tab, Ql, Qr, Qc, Qj, Cell, Row,
    // special characters
    Char,
    // pictures
    PngBlip, JpegBlip, DiBitmap, WBitmap, OtherPictureForm, PicW, PicH, PicWGoal, PicHGoal, PicScaleX,
    PicScaleY, WbmBitsPixel, WbmWidthBytes,
};

struct KwEntry {
    Kw kw;
    char16_t ch = 0;  // for Kw::Char
};

const std::unordered_map<std::string_view, KwEntry>& Keywords() {
    static const std::unordered_map<std::string_view, KwEntry> table = [] {
        std::unordered_map<std::string_view, KwEntry> t;
        auto add = [&](std::string_view w, Kw k) { t[w] = KwEntry{k}; };
        auto chr = [&](std::string_view w, char16_t c) { t[w] = KwEntry{Kw::Char, c}; };
        add("fonttbl", Kw::FontTbl);
        add("colortbl", Kw::ColorTbl);
        add("pict", Kw::Pict);
        for (std::string_view w :
             {"stylesheet", "info", "header", "headerl", "headerr", "headerf", "footer", "footerl", "footerr",
              "footerf", "footnote", "annotation", "fldinst", "nonshppict", "xe", "tc", "txe", "rxe", "bkmkstart",
              "bkmkend", "atnid", "atnauthor", "atndate", "atnref", "template", "revtbl", "listtable",
              "listoverridetable", "rsidtbl", "generator", "pgdsctbl", "filetbl", "private", "pn", "pnseclvl",
              "themedata", "colorschememapping", "datastore", "latentstyles", "xmlnstbl", "docvar", "objdata",
              "objclass", "objname", "shpinst", "sp", "sn", "sv", "fchars", "lchars", "panose", "falt", "ftnsep",
              "ftnsepc", "aftnsep", "aftnsepc", "ftncn", "aftncn", "userprops", "formfield", "picprop",
              "blipuid", "do", "background", "upr", "fname", "ftnalt", "pgptbl", "protusertbl", "wgrffmtfilter",
              "mmathPr", "defchp", "defpap", "subject", "title", "author", "operator", "keywords", "comment",
              "doccomm", "company", "category", "manager", "hlinkbase", "buptim", "creatim", "revtim",
              "printim", "password", "passwordhash", "ud", "pntxta", "pntxtb", "headerfirst", "footerfirst"})
            add(w, Kw::SkipDest);
        // Destinations whose text is shown: pictures in shapes, field results, list numbers.
        for (std::string_view w : {"shppict", "fldrslt", "shprslt", "pntext", "listtext", "result", "field"})
            add(w, Kw::TextDest);
        add("ansi", Kw::Ansi);
        add("mac", Kw::Mac);
        add("pc", Kw::Pc);
        add("pca", Kw::Pca);
        add("ansicpg", Kw::AnsiCpg);
        add("deff", Kw::Deff);
        add("uc", Kw::Uc);
        add("u", Kw::U);
        add("bin", Kw::Bin);
        add("f", Kw::F);
        add("fcharset", Kw::FCharset);
        add("cpg", Kw::Cpg);
        add("red", Kw::Red);
        add("green", Kw::Green);
        add("blue", Kw::Blue);
        add("plain", Kw::Plain);
        add("b", Kw::B);
        add("i", Kw::I);
        for (std::string_view w : {"ul", "uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave", "ulldash",
                                   "ulth", "ulthd", "ulthdash", "ulthdashd", "ulthdashdd", "ulthldash",
                                   "ululdbwave", "ulw", "ulwave"})
            add(w, Kw::Ul);
        add("ulnone", Kw::UlNone);
        add("strike", Kw::Strike);
        add("striked", Kw::StrikeD);
        add("fs", Kw::Fs);
        add("cf", Kw::Cf);
        add("v", Kw::V);
        add("pard", Kw::Pard);
        add("par", Kw::Par);
        add("sect", Kw::Sect);
        add("line", Kw::Line);
        add("tab", Kw::Tab);
        add("ql", Kw::Ql);
        add("qr", Kw::Qr);
        add("qc", Kw::Qc);
        add("qj", Kw::Qj);
        add("qd", Kw::Qj);
        add("cell", Kw::Cell);
        add("nestcell", Kw::Cell);
        add("row", Kw::Row);
        add("nestrow", Kw::Row);
        chr("emdash", 0x2014);
        chr("endash", 0x2013);
        chr("bullet", 0x2022);
        chr("lquote", 0x2018);
        chr("rquote", 0x2019);
        chr("ldblquote", 0x201C);
        chr("rdblquote", 0x201D);
        chr("emspace", 0x2003);
        chr("enspace", 0x2002);
        chr("qmspace", 0x2005);
        chr("zwj", 0x200D);
        chr("zwnj", 0x200C);
        chr("zwbo", 0x200B);
        add("pngblip", Kw::PngBlip);
        add("jpegblip", Kw::JpegBlip);
        add("dibitmap", Kw::DiBitmap);
        add("wbitmap", Kw::WBitmap);
        for (std::string_view w : {"emfblip", "wmetafile", "pmmetafile", "macpict", "omfpict"})
            add(w, Kw::OtherPictureForm);
        add("picw", Kw::PicW);
        add("pich", Kw::PicH);
        add("picwgoal", Kw::PicWGoal);
        add("pichgoal", Kw::PicHGoal);
        add("picscalex", Kw::PicScaleX);
        add("picscaley", Kw::PicScaleY);
        add("wbmbitspixel", Kw::WbmBitsPixel);
        add("wbmwidthbytes", Kw::WbmWidthBytes);
        return t;
    }();
    return table;
}

struct CharState {
    int font = -1;  // -1: the default font
    int halfPoints = 24;
    FontStyles style = 0;
    int color = 0;
    bool hidden = false;
    bool operator==(const CharState&) const = default;
};

struct GroupState {
    Dest dest = Dest::Text;
    CharState chr;
    RtfAlignment align = RtfAlignment::raLeft;
    int uc = 1;
};

struct FontDef {
    QString name;
    int codepage = 0;  // 0: the document's code page
};

enum class PictForm : uint8_t { None, Png, Jpeg, Dib, Ddb };

struct PictState {
    PictForm form = PictForm::None;
    QByteArray data;
    int nibble = -1;
    int picw = 0, pich = 0, goalw = 0, goalh = 0, scalex = 100, scaley = 100, bitsPixel = 1, widthBytes = 0;
};

int CodepageOfCharset(int charset) {
    switch (charset) {
    case 0: case 1: return 0;
    case 2: return 1252;
    case 77: return 10000;
    case 128: return 932;
    case 129: return 949;
    case 130: return 1361;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    case 255: return 437;
    default: return 0;
    }
}

QByteArray DecoderName(int codepage) {
    switch (codepage) {
    case 932: return "Shift_JIS";
    case 936: return "GBK";
    case 949: return "windows-949";
    case 950: return "Big5";
    case 437: return "IBM437";
    case 850: return "IBM850";
    case 10000: return "macintosh";
    case 1361: return "johab";
    default: return "windows-" + QByteArray::number(codepage);
    }
}

bool IsAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

class Reader {
public:
    Reader(const char* data, qsizetype size, qint64 pictureBudget)
        : m_p(data), m_end(data + size), m_pixelBudget(std::max<qint64>(0, pictureBudget)) {}

    RtfText read() {
        while (m_p < m_end && !m_done) {
            const char c = *m_p++;
            switch (c) {
            case '{': openGroup(); break;
            case '}': closeGroup(); break;
            case '\\': controlWord(); break;
            case '\r': case '\n': break;
            default:
                if (skipping()) break;
                if (m_cur.dest == Dest::Text && m_skipChars == 0 && !m_cur.chr.hidden &&
                    static_cast<unsigned char>(c) >= 0x20 && currentCodepage() == 1252) {
                    plainText(m_p - 1);
                    break;
                }
                textByte(static_cast<unsigned char>(c));
            }
        }
        return finish();
    }

private:
    bool skipping() const { return m_overflow > 0 || m_cur.dest == Dest::Skip; }

    // ---- groups ----
    void openGroup() {
        m_skipChars = 0;
        if (m_overflow > 0 || m_stack.size() >= kMaxGroupDepth) {
            if (m_overflow == 0 && !skipping()) ++m_out.report.deepGroups;
            ++m_overflow;
            return;
        }
        m_stack.push_back(m_cur);
        switch (m_cur.dest) {
        case Dest::FontTable: m_cur.dest = Dest::FontEntry; break;
        case Dest::FontEntry: case Dest::ColorTable: case Dest::Picture: m_cur.dest = Dest::Skip; break;
        default: break;
        }
        m_groupStart = true;
        m_star = false;
    }

    void closeGroup() {
        m_skipChars = 0;
        m_groupStart = false;
        m_star = false;
        if (m_overflow > 0) {
            --m_overflow;
            return;
        }
        if (m_stack.empty()) {
            m_done = true;
            return;
        }
        if (m_cur.dest == Dest::Picture) finishPicture();
        if (m_cur.dest == Dest::FontEntry || m_cur.dest == Dest::FontTable) finishFontEntry();
        flushBytes();
        if (m_stack.size() == 1) {
            // The document's own group: its state stays for the last paragraph.
            m_done = true;
            return;
        }
        m_cur = m_stack.back();
        m_stack.pop_back();
    }

    // ---- control words ----
    void controlWord() {
        if (m_p >= m_end) return;
        const char c = *m_p;
        if (!IsAlpha(c)) {
            ++m_p;
            controlSymbol(c);
            return;
        }
        const char* start = m_p;
        while (m_p < m_end && IsAlpha(*m_p)) ++m_p;
        const qsizetype len = m_p - start;
        bool hasParam = false;
        bool negative = false;
        int64_t value = 0;
        if (m_p + 1 < m_end && *m_p == '-' && IsDigit(m_p[1])) {
            negative = true;
            ++m_p;
        }
        while (m_p < m_end && IsDigit(*m_p)) {
            hasParam = true;
            if (value < 100000000000LL) value = value * 10 + (*m_p - '0');
            ++m_p;
        }
        if (m_p < m_end && *m_p == ' ') ++m_p;
        if (negative) value = -value;
        const int param = static_cast<int>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));

        const bool first = m_groupStart;
        const bool star = m_star;
        m_groupStart = false;
        m_star = false;

        KwEntry entry{Kw::Unknown};
        if (len <= kMaxControlWordLength) {
            auto it = Keywords().find(std::string_view(start, static_cast<size_t>(len)));
            if (it != Keywords().end()) entry = it->second;
        }
        if (entry.kw == Kw::Bin) {
            binary(hasParam ? param : 0);
            return;
        }
        if (skipping()) return;
        if (star && first && entry.kw != Kw::TextDest && entry.kw != Kw::Pict) {
            flushBytes();
            m_cur.dest = Dest::Skip;
            return;
        }
        if (m_skipChars > 0 && m_cur.dest == Dest::Text) {
            // A control word stands for one fallback character after \u.
            --m_skipChars;
            return;
        }
        handle(entry, hasParam, param);
    }

    void controlSymbol(char c) {
        if (c == '*') {
            m_star = true;
            return;
        }
        m_groupStart = false;
        if (c == '\'') {
            int hi = m_p < m_end ? HexValue(*m_p) : -1;
            int lo = (hi >= 0 && m_p + 1 < m_end) ? HexValue(m_p[1]) : -1;
            if (hi < 0) return;
            if (lo < 0) {
                ++m_p;  // a truncated escape: drop it
                return;
            }
            m_p += 2;
            if (!skipping()) textByte(static_cast<unsigned char>(hi * 16 + lo), true);
            return;
        }
        if (skipping()) return;
        if (m_skipChars > 0 && m_cur.dest == Dest::Text) {
            --m_skipChars;
            return;
        }
        switch (c) {
        case '\\': case '{': case '}': textByte(static_cast<unsigned char>(c), true); break;
        case '~': appendChar(0x00A0); break;
        case '_': appendChar(0x2011); break;
        case '\r': case '\n': if (m_cur.dest == Dest::Text) endParagraph(); break;
        case '\t': appendChar('\t'); break;
        default: break;  // \- optional hyphen, \| \: and unknown symbols
        }
    }

    void binary(int count) {
        const qint64 n = std::clamp<qint64>(count, 0, m_end - m_p);
        if (!skipping() && m_cur.dest == Dest::Picture) m_pict.data.append(m_p, n);
        m_p += n;
    }

    void handle(const KwEntry& e, bool hasParam, int param) {
        const int on = hasParam ? param : 1;
        CharState& chr = m_cur.chr;
        switch (e.kw) {
        case Kw::Unknown: case Kw::Bin: break;
        case Kw::FontTbl: flushBytes(); m_cur.dest = Dest::FontTable; m_entryName.clear(); m_entryCodepage = 0; break;
        case Kw::ColorTbl:
            flushBytes();
            m_cur.dest = Dest::ColorTable;
            m_colors.clear();
            m_colorSet = false;
            m_r = m_g = m_b = 0;
            break;
        case Kw::Pict:
            if (m_cur.dest != Dest::Text) {
                m_cur.dest = Dest::Skip;
                break;
            }
            flushBytes();
            m_cur.dest = Dest::Picture;
            m_pict = PictState{};
            break;
        case Kw::SkipDest: flushBytes(); m_cur.dest = Dest::Skip; break;
        case Kw::TextDest: break;
        case Kw::Ansi: m_codepage = 1252; break;
        case Kw::Mac: m_codepage = 10000; break;
        case Kw::Pc: m_codepage = 437; break;
        case Kw::Pca: m_codepage = 850; break;
        case Kw::AnsiCpg: if (param > 0 && param < 100000) m_codepage = param; break;
        case Kw::Deff: m_deff = param; break;
        case Kw::Uc: m_cur.uc = std::clamp(param, 0, 16); break;
        case Kw::U: {
            int v = param;
            if (v < 0) v += 65536;
            if (v >= 0 && v <= 0xFFFF && v != 0) appendChar(static_cast<char16_t>(v));
            m_skipChars = m_cur.uc;
            break;
        }
        case Kw::F:
            if (m_cur.dest == Dest::FontTable || m_cur.dest == Dest::FontEntry) {
                if (!m_entryName.isEmpty()) finishFontEntry();
                m_entryFont = param;
                m_entryCodepage = 0;
            } else {
                chr.font = param;
            }
            break;
        case Kw::FCharset:
            if (m_cur.dest == Dest::FontTable || m_cur.dest == Dest::FontEntry) m_entryCodepage = CodepageOfCharset(param);
            break;
        case Kw::Cpg:
            if ((m_cur.dest == Dest::FontTable || m_cur.dest == Dest::FontEntry) && param > 0 && param < 100000)
                m_entryCodepage = param;
            break;
        case Kw::Red: m_r = std::clamp(param, 0, 255); m_colorSet = true; break;
        case Kw::Green: m_g = std::clamp(param, 0, 255); m_colorSet = true; break;
        case Kw::Blue: m_b = std::clamp(param, 0, 255); m_colorSet = true; break;
        case Kw::Plain: chr = CharState{}; break;
        case Kw::B: setStyle(fsBold, on != 0); break;
        case Kw::I: setStyle(fsItalic, on != 0); break;
        case Kw::Ul: setStyle(fsUnderline, on != 0); break;
        case Kw::UlNone: setStyle(fsUnderline, false); break;
        case Kw::Strike: case Kw::StrikeD: setStyle(fsStrikeOut, on != 0); break;
        case Kw::Fs: chr.halfPoints = hasParam ? std::clamp(param, kMinHalfPoints, kMaxHalfPoints) : 24; break;
        case Kw::Cf: chr.color = std::max(param, 0); break;
        case Kw::V: chr.hidden = on != 0; break;
        case Kw::Pard: m_cur.align = RtfAlignment::raLeft; break;
        case Kw::Par: case Kw::Sect: case Kw::Row: if (m_cur.dest == Dest::Text) endParagraph(); break;
        case Kw::Line: appendChar(0x2028); break;
        case Kw::Tab: case Kw::Cell: appendChar('\t'); break;
        case Kw::Ql: m_cur.align = RtfAlignment::raLeft; break;
        case Kw::Qr: m_cur.align = RtfAlignment::raRight; break;
        case Kw::Qc: m_cur.align = RtfAlignment::raCenter; break;
        case Kw::Qj: m_cur.align = RtfAlignment::raJustify; break;
        case Kw::Char: appendChar(e.ch); break;
        case Kw::PngBlip: m_pict.form = PictForm::Png; break;
        case Kw::JpegBlip: m_pict.form = PictForm::Jpeg; break;
        case Kw::DiBitmap: m_pict.form = PictForm::Dib; break;
        case Kw::WBitmap: m_pict.form = PictForm::Ddb; break;
        case Kw::OtherPictureForm: m_pict.form = PictForm::None; break;
        case Kw::PicW: m_pict.picw = param; break;
        case Kw::PicH: m_pict.pich = param; break;
        case Kw::PicWGoal: m_pict.goalw = param; break;
        case Kw::PicHGoal: m_pict.goalh = param; break;
        case Kw::PicScaleX: m_pict.scalex = param; break;
        case Kw::PicScaleY: m_pict.scaley = param; break;
        case Kw::WbmBitsPixel: m_pict.bitsPixel = param; break;
        case Kw::WbmWidthBytes: m_pict.widthBytes = param; break;
        }
    }

    void setStyle(FontStyles bit, bool on) {
        if (on)
            m_cur.chr.style |= bit;
        else
            m_cur.chr.style &= static_cast<FontStyles>(~bit);
    }

    // ---- text ----
    int currentCodepage() {
        if (m_cur.dest != Dest::Text) return m_entryCodepage ? m_entryCodepage : m_codepage;
        const int font = m_cur.chr.font < 0 ? m_deff : m_cur.chr.font;
        if (font != m_cachedFont) {
            auto it = m_fonts.find(font);
            m_cachedFontCodepage = it != m_fonts.end() ? it->second.codepage : 0;
            m_cachedFont = font;
        }
        return m_cachedFontCodepage ? m_cachedFontCodepage : m_codepage;
    }

    // A byte of text: a literal character or an \'hh escape.
    void textByte(unsigned char b, bool escaped = false) {
        if (m_skipChars > 0) {
            --m_skipChars;
            return;
        }
        switch (m_cur.dest) {
        case Dest::Text: {
            if (m_cur.chr.hidden) return;
            if (!escaped && b < 0x20) {
                if (b == '\t') appendChar('\t');
                return;
            }
            startRun();
            const int cp = currentCodepage();
            if (cp == 1252) {
                flushBytes();
                m_runText.append(QChar(Win1252Char(b)));
            } else {
                if (cp != m_bytesCodepage) flushBytes();
                m_bytesCodepage = cp;
                m_bytes.append(static_cast<char>(b));
            }
            break;
        }
        case Dest::FontTable: case Dest::FontEntry:
            if (b == ';') {
                finishFontEntry();
            } else if (b >= 0x20 || escaped) {
                m_entryName.append(QChar(Win1252Char(b)));
            }
            break;
        case Dest::ColorTable:
            if (b == ';') {
                m_colors.push_back(m_colorSet ? RGB(m_r, m_g, m_b) : kAutoTextColor);
                m_colorSet = false;
                m_r = m_g = m_b = 0;
            }
            break;
        case Dest::Picture: {
            const int h = HexValue(static_cast<char>(b));
            if (h < 0) return;
            if (m_pict.nibble < 0) {
                m_pict.nibble = h;
            } else {
                m_pict.data.append(static_cast<char>(m_pict.nibble * 16 + h));
                m_pict.nibble = -1;
            }
            break;
        }
        case Dest::Skip: break;
        }
    }

    // A stretch of literal Windows-1252 text starting at `start`, up to the next special character.
    void plainText(const char* start) {
        bool ascii = static_cast<unsigned char>(*start) < 0x80;
        while (m_p < m_end) {
            const unsigned char b = static_cast<unsigned char>(*m_p);
            if (b < 0x20 || b == '\\' || b == '{' || b == '}') break;
            ascii &= b < 0x80;
            ++m_p;
        }
        startRun();
        flushBytes();
        const qsizetype n = m_p - start;
        if (ascii) {
            m_runText.append(QLatin1StringView(start, n));
        } else {
            for (qsizetype i = 0; i < n; ++i) m_runText.append(QChar(Win1252Char(static_cast<unsigned char>(start[i]))));
        }
    }

    void appendChar(char16_t ch) {
        if (m_cur.dest == Dest::FontTable || m_cur.dest == Dest::FontEntry) {
            if (ch >= 0x20) m_entryName.append(QChar(ch));
            return;
        }
        if (m_cur.dest != Dest::Text || m_cur.chr.hidden) return;
        if ((ch < 0x20 && ch != u'\t') || ch == 0xFFFC) return;  // no text of ours holds these
        startRun();
        flushBytes();
        m_runText.append(QChar(ch));
    }

    // Makes sure the open run has the current character format.
    void startRun() {
        if (m_runOpen && m_runState == m_cur.chr) return;
        closeRun();
        m_runOpen = true;
        m_runState = m_cur.chr;
    }

    void flushBytes() {
        if (m_bytes.isEmpty()) return;
        m_runText.append(decode(m_bytesCodepage, m_bytes));
        m_bytes.clear();
    }

    QString decode(int codepage, const QByteArray& bytes) {
        auto it = m_decoders.find(codepage);
        if (it == m_decoders.end()) {
            auto decoder = std::make_unique<QStringDecoder>(DecoderName(codepage).constData());
            if (!decoder->isValid()) decoder.reset();
            it = m_decoders.emplace(codepage, std::move(decoder)).first;
        }
        if (!it->second) return FromWin1252(bytes);
        it->second->resetState();
        return it->second->decode(bytes);
    }

    void closeRun() {
        flushBytes();
        if (!m_runOpen) return;
        m_runOpen = false;
        if (m_runText.isEmpty()) return;
        RtfRun run;
        run.format = resolve(m_runState);
        run.text = std::move(m_runText);
        m_runText = QString();
        m_para.runs.push_back(std::move(run));
    }

    RtfCharFormat resolve(const CharState& s) const {
        RtfCharFormat f;
        auto it = m_fonts.find(s.font < 0 ? m_deff : s.font);
        if (it == m_fonts.end()) it = m_fonts.find(m_deff);
        if (it != m_fonts.end() && !it->second.name.isEmpty()) f.font = it->second.name;
        f.halfPoints = s.halfPoints;
        f.style = s.style;
        f.color = (s.color > 0 && static_cast<size_t>(s.color) < m_colors.size()) ? m_colors[s.color] : kAutoTextColor;
        return f;
    }

    void endParagraph() {
        closeRun();
        m_para.alignment = m_cur.align;
        m_para.markFormat = resolve(m_cur.chr);
        m_out.paragraphs.push_back(std::move(m_para));
        m_para = RtfParagraph{};
    }

    void finishFontEntry() {
        // The writer cannot give a name control characters or ';': leave them out here already.
        m_entryName.removeIf([](QChar c) { return c.unicode() < 0x20 || c == u';'; });
        QString name = m_entryName.trimmed();
        m_entryName.clear();
        if (name.isEmpty()) return;
        if (m_fonts.find(m_entryFont) == m_fonts.end()) m_fonts[m_entryFont] = FontDef{name, m_entryCodepage};
        m_cachedFont = INT32_MIN;
    }

    void finishPicture() {
        PictState p = std::move(m_pict);
        m_pict = PictState{};
        QImage image;
        QByteArray png;
        const qint64 budget = m_pixelBudget;
        bool tooLarge = false;
        switch (p.form) {
        case PictForm::Png:
            image = DecodePngOrJpeg(p.data, "PNG", budget, &tooLarge);
            if (!image.isNull()) png = p.data;
            break;
        case PictForm::Jpeg: image = DecodePngOrJpeg(p.data, "JPEG", budget, &tooLarge); break;
        case PictForm::Dib: image = DecodeDib(p.data, budget, &tooLarge); break;
        case PictForm::Ddb:
            image = DecodeDdb(p.data, p.picw, p.pich, p.bitsPixel, p.widthBytes, budget, &tooLarge);
            break;
        case PictForm::None: break;
        }
        if (tooLarge) ++m_out.report.picturesLeftOut;
        if (image.isNull()) return;
        const qint64 pixels = static_cast<qint64>(image.width()) * image.height();
        m_pixelBudget -= pixels;
        m_out.report.picturePixels += pixels;
        auto pic = std::make_shared<RtfPicture>();
        pic->png = png.isEmpty() ? EncodePng(image) : png;
        pic->image = image;
        auto scaled = [](int goal, int pixels, int scale) {
            double twips = goal > 0 ? goal : PixelsToTwips(pixels);
            if (scale > 0 && scale != 100) twips = twips * std::min(scale, 10000) / 100.0;
            return std::clamp(truncToInt(twips), 1, 144000);
        };
        pic->widthTwips = scaled(p.goalw, image.width(), p.scalex);
        pic->heightTwips = scaled(p.goalh, image.height(), p.scaley);
        closeRun();
        RtfRun run;
        run.format = resolve(m_cur.chr);
        run.picture = std::move(pic);
        m_para.runs.push_back(std::move(run));
    }

    RtfText finish() {
        // Whatever is still open at the end (also of damaged input) is kept.
        if (m_cur.dest == Dest::Picture) finishPicture();
        while (!m_stack.empty() && m_cur.dest != Dest::Text) {
            m_cur = m_stack.back();
            m_stack.pop_back();
        }
        closeRun();
        if (!m_para.runs.empty() || m_out.paragraphs.empty()) {
            m_para.alignment = m_cur.align;
            m_para.markFormat = resolve(m_cur.chr);
            m_out.paragraphs.push_back(std::move(m_para));
        }
        return std::move(m_out);
    }

    const char* m_p;
    const char* m_end;
    bool m_done = false;
    std::vector<GroupState> m_stack;
    GroupState m_cur;
    int m_overflow = 0;
    bool m_groupStart = false;
    bool m_star = false;
    int m_skipChars = 0;

    int m_codepage = 1252;
    int m_deff = 0;
    std::map<int, FontDef> m_fonts;
    int m_cachedFont = INT32_MIN;
    int m_cachedFontCodepage = 0;
    int m_entryFont = 0;
    int m_entryCodepage = 0;
    QString m_entryName;
    std::vector<TColor> m_colors;
    bool m_colorSet = false;
    int m_r = 0, m_g = 0, m_b = 0;
    PictState m_pict;
    // All pictures of one text together decode to at most this many pixels (a small file can claim huge ones).
    qint64 m_pixelBudget;
    std::map<int, std::unique_ptr<QStringDecoder>> m_decoders;

    RtfText m_out{{}, {}};
    RtfParagraph m_para;
    bool m_runOpen = false;
    CharState m_runState;
    QString m_runText;
    QByteArray m_bytes;
    int m_bytesCodepage = 1252;
};

RtfText ReadPlainText(const char* data, qsizetype size) {
    RtfText text{{}, {}};
    const QString all = FromWin1252(data, size);
    qsizetype start = 0;
    for (qsizetype i = 0; i <= all.size(); ++i) {
        if (i < all.size() && all[i] != u'\r' && all[i] != u'\n') continue;
        RtfParagraph p;
        QString line = all.mid(start, i - start);
        if (!line.isEmpty()) p.runs.push_back(RtfRun{RtfCharFormat{}, line, nullptr});
        text.paragraphs.push_back(std::move(p));
        if (i + 1 < all.size() && all[i] == u'\r' && all[i + 1] == u'\n') ++i;
        start = i + 1;
    }
    if (text.paragraphs.size() > 1 && text.paragraphs.back().isEmpty()) text.paragraphs.pop_back();
    return text;
}

}  // namespace

bool LooksLikeRtf(const char* data, qsizetype size) {
    qsizetype i = 0;
    while (i < size && (data[i] == ' ' || data[i] == '\t' || data[i] == '\r' || data[i] == '\n')) ++i;
    return size - i >= 5 && std::string_view(data + i, 5) == "{\\rtf";
}

RtfText ReadRtf(const char* data, qsizetype size, qint64 pictureBudget) {
    if (size <= 0) return RtfText{};
    if (!LooksLikeRtf(data, size)) return ReadPlainText(data, size);
    return Reader(data, size, pictureBudget).read();
}

RtfText ReadRtf(const QByteArray& bytes, qint64 pictureBudget) {
    return ReadRtf(bytes.constData(), bytes.size(), pictureBudget);
}

}  // namespace plennix
