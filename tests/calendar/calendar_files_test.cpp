// Calendar documents and style sheets: the bytes written, the three versions read back, every way a
// broken file fails (and what it leaves applied), the objects list's forgiving reader, and the dump.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <memory>

#include "surface/object_menus.h"
#include "calendar/calendar_dump.h"
#include "calendar/calendar_files.h"
#include "common/test_support.h"
#include "platform/file_io.h"
#include "platform/stream_error.h"
#include "surface/label.h"
#include "surface/object_host.h"

namespace plennix {
namespace {

QByteArray hex(const char* h) { return QByteArray::fromHex(h); }

QString errorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const StreamError& e) {
        return e.message();
    }
    return QStringLiteral("<no error>");
}

const char* const kEnglishMonths[12] = {"January", "February", "March",     "April",   "May",      "June",
                                        "July",    "August",   "September", "October", "November", "December"};

// The page of the format's own example: Letter, loFCMinisInTitleLS, 0.25 in margins, cbAll, llFull.
CalendarSettings examplePage() {
    CalendarSettings s;
    s.CalendarLayout = TCalendarLayout::loFCMinisInTitleLS;
    s.CalendarOrientation = TCalendarOrientation::coLandscape;
    for (int m = 1; m <= 12; ++m) s.SetMonthName(m, QString::fromLatin1(kEnglishMonths[m - 1]));
    return s;
}

// A page where every setting differs from the constructor's, the borders disagreeing with the presets.
CalendarSettings unusualPage() {
    CalendarSettings s = examplePage();
    s.PaperSize = 1;
    s.CalendarLayout = TCalendarLayout::loDay15;
    s.CalendarOrientation = TCalendarOrientation::coPortrait;
    s.LeftMarginInch = 0.29f;
    s.TopMarginInch = 1.25f;
    s.RightMarginInch = 0.1f;
    s.BottomMarginInch = 2.0f;
    s.CalendarLineLayout = TCalendarLineLayout::llCellsOnly;
    s.CalendarBorder = TCalBorderStyle::cbTopBottom;
    s.HeadersBorder = TCalBorderStyle::cbTop;
    s.CellBorder = TCalBorderStyle::cbBottom;
    s.SetMonthName(3, QStringLiteral("März"));
    s.SetDayName(1, QStringLiteral("Dimanche"));
    s.TitleBGColor = 0x123456;
    s.TitleFont = FontRecord{QStringLiteral("Arial"), PointsToHeight(30), fsItalic | fsUnderline, clRed};
    s.TitleShowYear = false;
    s.HeadersFont.style = fsStrikeOut;
    s.HeadersStyle = TCalHeadersStyle::dsWhole;
    s.HeadersBGColor = clBlack;
    s.CellFont.color = clWindowText;
    s.MiniCalendarLineLayout = TMiniCalendarLineLayout::mllMinimal;
    s.MiniCalBorder = TCalBorderStyle::cbTop;
    s.MiniHeadersBorder = TCalBorderStyle::cbNone;
    s.MiniCellBorder = TCalBorderStyle::cbAll;
    s.MiniCalBGColor = clYellow;
    s.MiniShowYear = false;
    s.MiniTitleFont.setSize(9);
    s.MiniHeadersFont.style = fsBold | fsItalic | fsUnderline | fsStrikeOut;
    s.MiniHeadersBGColor = clGray;
    s.MiniHeadersStyle = TCalHeadersStyle::dsThreeChars;
    s.MiniCellFont.name = QStringLiteral("Courier New");
    s.NumberPosition = TCalendarNumberPosition::cnpCenter;
    s.MainCalDay = 17;
    s.MainCalMonth = 9;
    s.MainCalYear = 2026;
    s.StartOfWeek = 2;
    s.DayStartTime = EncodeDayStartTime(6, 45);
    s.UserTitle = QStringLiteral("Team rota");
    return s;
}

// The style as bytes: two pages have the same style exactly when these are equal.
QByteArray styleBytes(const CalendarSettings& s) {
    QByteArray out;
    ValueWriter w(out);
    WriteStyle(w, s);
    return out;
}

// Position of the value after the first `integers` integers and `strings` strings of a style block.
qsizetype offsetAfter(const QByteArray& style, int integers, int strings) {
    StreamReader r(style);
    for (int i = 0; i < integers; ++i) r.ReadInteger();
    for (int i = 0; i < strings; ++i) r.ReadString();
    return r.Position();
}

QByteArray rtf(const char* text) { return QByteArray("{\\rtf1\\ansi ") + text + "\\par}"; }

class CalendarFilesTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterLabelClasses(); }

    TGPLabel* label(int left, const QString& caption) {
        auto* l = new TGPLabel(&sourceOwner);
        l->SetBounds(left, 50, 80, 20);
        l->SetCaption(caption);
        return l;
    }

    QByteArray document(const CalendarSettings& s, const std::vector<const TGGraphicControl*>& objects = {}) {
        return WriteDocument(s, cells, objects);
    }

    // Reads into `page`, `pageCells` and `host`.
    void read(const QByteArray& bytes) {
        StreamReader r(bytes);
        ReadDocument(r, page, pageCells, &owner, &host.ObjectList(), &owner);
    }

    QObject sourceOwner;
    CellStores cells;
    CalendarSettings page;
    CellStores pageCells;
    QObject owner;
    TGObjectHost host;
};

TEST_F(CalendarFilesTest, DocumentStartsWithTheExampleBytes) {
    const QByteArray doc = document(examplePage());
    EXPECT_EQ(doc.left(25).toHex(' '), hex("01 02 03 02 01 02 00 02 01 02 19 02 19 02 19 02 19 02 03 02 01 02 00 06 07")
                                           .toHex(' '));
    EXPECT_EQ(doc.mid(25, 7), QByteArray("January"));

    const QByteArray sheet = WriteStyleSheet(examplePage());
    EXPECT_EQ(sheet.left(5), hex("0102010202"));
    EXPECT_EQ(sheet.mid(5), styleBytes(examplePage()) + '\0');
}

TEST_F(CalendarFilesTest, ValuesTakeTheirSmallestEncoding) {
    CalendarSettings s = examplePage();
    s.LeftMarginInch = 1.25f;
    s.TopMarginInch = 0.29f;  // 0.28999999 as a float: the nearest hundredth, not the truncated 28
    s.TitleBGColor = clWhite;
    s.SetMonthName(1, QString(300, QLatin1Char('x')));
    s.SetMonthName(3, QStringLiteral("März"));
    const QByteArray style = styleBytes(s);
    EXPECT_EQ(style.mid(offsetAfter(style, 2, 0), 4), hex("027d021d"));

    const qsizetype month1 = offsetAfter(style, 9, 0);
    EXPECT_EQ(style.mid(month1, 5), hex("0c2c010000"));
    const qsizetype month3 = offsetAfter(style, 9, 2);
    EXPECT_EQ(style.mid(month3, 6), hex("06044de4727a"));

    const qsizetype bgColor = offsetAfter(style, 9, 19);
    EXPECT_EQ(style.mid(bgColor, 5), hex("04ffffff00"));
    s.TitleBGColor = clBlack;
    EXPECT_EQ(styleBytes(s).mid(bgColor, 3), hex("020006"));  // black, then the title font's name

    CalendarSettings back;
    StreamReader in(style);
    ReadStyle(in, back);
    EXPECT_TRUE(in.AtEnd());
    EXPECT_EQ(back.MonthName(1), QString(300, QLatin1Char('x')));
    EXPECT_EQ(back.MonthName(3), QStringLiteral("März"));
    EXPECT_FLOAT_EQ(back.TopMarginInch, 0.29f);
    EXPECT_EQ(styleBytes(back), style);  // no drift on a second save
}

TEST_F(CalendarFilesTest, MarginsRoundToTheNearestHundredth) {
    EXPECT_EQ(MarginToHundredths(0.57f), 57);
    EXPECT_EQ(MarginToHundredths(-0.29f), -29);
    // Every hundredth survives any number of saves.
    for (int h = 0; h <= 500; ++h) EXPECT_EQ(MarginToHundredths(static_cast<float>(h / 100.0)), h) << h;
}

TEST_F(CalendarFilesTest, DocumentRoundTripsEverySettingWithoutRunningPresets) {
    const CalendarSettings s = unusualPage();
    cells[4].SetRtfData(rtf("Dentist"));
    cells[41].SetRtfData(rtf("Notes"));
    pageCells[7].SetRtfData(rtf("left over"));
    read(document(s));

    EXPECT_EQ(styleBytes(page), styleBytes(s));
    EXPECT_EQ(page.CalendarBorder, TCalBorderStyle::cbTopBottom);  // llCellsOnly would make it cbNone
    EXPECT_EQ(page.MiniCellBorder, TCalBorderStyle::cbAll);
    EXPECT_EQ(page.TitleFont, s.TitleFont);
    EXPECT_EQ(page.MainCalDay, 17);
    EXPECT_EQ(page.MainCalMonth, 9);
    EXPECT_EQ(page.MainCalYear, 2026);
    EXPECT_EQ(page.StartOfWeek, 2);
    EXPECT_DOUBLE_EQ(page.DayStartTime, s.DayStartTime);
    EXPECT_EQ(page.UserTitle, QStringLiteral("Team rota"));
    EXPECT_EQ(pageCells[4].RtfData(), rtf("Dentist"));
    EXPECT_EQ(pageCells[41].RtfData(), rtf("Notes"));
    EXPECT_TRUE(pageCells[7].IsEmpty());  // the document's empty cell, not what the page held
    EXPECT_EQ(host.ObjectCount(), 0);
}

TEST_F(CalendarFilesTest, FontsKeepStyleFlagsAndCutLongNames) {
    CalendarSettings s = examplePage();
    s.CellFont.name = QString(300, QLatin1Char('F'));
    s.CellFont.style = fsBold | fsStrikeOut;
    page.CellFont.style = fsItalic | fsUnderline;
    read(document(s));
    EXPECT_EQ(page.CellFont.name, QString(255, QLatin1Char('F')));
    EXPECT_EQ(page.CellFont.style, fsBold | fsStrikeOut);
    EXPECT_EQ(page.CellFont.size(), 16);
}

TEST_F(CalendarFilesTest, CellRecordsAreExact) {
    cells[0].SetRtfData(rtf("Hi"));
    const QByteArray doc = document(examplePage());
    const QByteArray empty = QByteArray("TPF0\x0dTWPRtfStorage", 18) + hex("000000");
    const QByteArray data = rtf("Hi");
    QByteArray withText = QByteArray("TPF0\x0dTWPRtfStorage", 18) + hex("00") + "\x0cRtfText.Data" + '\x0a';
    withText += char(data.size()) + hex("000000") + data + hex("0000");

    const qsizetype first = doc.indexOf("TPF0");
    EXPECT_EQ(doc.mid(first, withText.size()), withText);
    EXPECT_EQ(doc.mid(first + withText.size(), empty.size()), empty);
    EXPECT_EQ(doc.count(empty), 41);
    // Title and end of the page list, then the empty objects list.
    EXPECT_TRUE(doc.endsWith(hex("0600000100")));
}

TEST_F(CalendarFilesTest, DayStartTimeKeepsHourAndMinute) {
    CalendarSettings s = examplePage();
    s.DayStartTime = (8 * 3600 + 30 * 60 + 45) / 86400.0;
    read(document(s));
    EXPECT_DOUBLE_EQ(page.DayStartTime, EncodeDayStartTime(8, 30));
    const HourMinute t = DecodeDayStartTime(page.DayStartTime);
    EXPECT_EQ(t.hour, 8);
    EXPECT_EQ(t.minute, 30);
    EXPECT_DOUBLE_EQ(EncodeDayStartTime(8, 0), 8.0 / 24.0);
    // A moment before midnight stays on its day, where a reader can take it.
    const HourMinute late = DecodeDayStartTime(1.0 - 1e-12);
    EXPECT_EQ(late.hour, 23);
    EXPECT_EQ(late.minute, 59);
}

TEST_F(CalendarFilesTest, VersionsOneTwoAndThree) {
    CalendarSettings s = unusualPage();
    const QByteArray v3 = document(s, {label(100, QStringLiteral("A"))});
    const qsizetype objects = v3.size() - document(s).size() + 2;  // bytes of the objects list
    const QByteArray v3Page = v3.chopped(objects);                  // ends with title and 00

    // Version 2: the title, and no objects even if a list follows.
    QByteArray v2 = v3;
    v2[2] = 2;
    page.UserTitle = QStringLiteral("old");
    read(v2);
    EXPECT_EQ(page.UserTitle, QStringLiteral("Team rota"));
    EXPECT_EQ(host.ObjectCount(), 0);

    // Version 1: neither title nor objects.
    const QByteArray title = hex("0609") + "Team rota";
    ASSERT_TRUE(v3Page.endsWith(title + '\0'));
    QByteArray v1 = v3Page.chopped(title.size() + 1) + '\0';
    v1[2] = 1;
    page = CalendarSettings();
    page.UserTitle = QStringLiteral("old");
    read(v1);
    EXPECT_EQ(styleBytes(page), styleBytes(s));
    EXPECT_EQ(page.MainCalYear, 2026);
    EXPECT_TRUE(page.UserTitle.isEmpty());
    EXPECT_EQ(host.ObjectCount(), 0);

    // Version 3 and anything later (read as 3), whatever the kind says.
    int expected = 0;
    for (char version : {char(3), char(4), char(100)}) {
        QByteArray v = v3;
        v[2] = version;
        v[4] = 7;
        read(v);
        EXPECT_EQ(host.ObjectCount(), ++expected) << int(version);
    }
    ASSERT_EQ(host.ObjectCount(), 3);
    auto* read3 = dynamic_cast<TGPLabel*>(host.ObjectAt(0));
    ASSERT_NE(read3, nullptr);
    EXPECT_EQ(read3->Caption(), QStringLiteral("A"));
    EXPECT_EQ(read3->Left(), 100);
}

TEST_F(CalendarFilesTest, EveryTruncationOfThePageFails) {
    cells[2].SetRtfData(rtf("x"));
    const CalendarSettings s = unusualPage();
    const QByteArray doc = document(s, {label(10, QStringLiteral("A")), label(20, QStringLiteral("B"))});
    const qsizetype pageEnd = document(s).size() - 2;
    for (qsizetype n = 0; n < pageEnd; ++n) {
        CalendarSettings p;
        CellStores c;
        StreamReader r(doc.left(n));
        EXPECT_EQ(errorOf([&] { ReadDocument(r, p, c, &owner, &host.ObjectList(), &owner); }),
                  QStringLiteral("Invalid stream format"))
            << n;
    }
    // Inside the objects list a cut costs objects only: the whole records before it stay.
    int lastCount = 0;
    for (qsizetype n = pageEnd; n <= doc.size(); ++n) {
        TGObjectHost h;
        QObject o;
        CalendarSettings p;
        CellStores c;
        StreamReader r(doc.left(n));
        EXPECT_NO_THROW(ReadDocument(r, p, c, &o, &h.ObjectList(), &o)) << n;
        EXPECT_EQ(p.UserTitle, s.UserTitle);
        EXPECT_GE(h.ObjectCount(), lastCount);
        lastCount = h.ObjectCount();
    }
    EXPECT_EQ(lastCount, 2);
}

TEST_F(CalendarFilesTest, WrongTagsAndMissingListMarksFail) {
    const CalendarSettings s = examplePage();
    const QByteArray doc = document(s);
    const qsizetype pageEnd = doc.size() - 3;  // the page's end of list

    QByteArray noBegin = doc;
    noBegin[0] = 0x02;
    EXPECT_EQ(errorOf([&] { read(noBegin); }), QStringLiteral("Invalid stream format"));

    QByteArray stringVersion = doc;
    stringVersion[1] = 0x06;
    EXPECT_EQ(errorOf([&] { read(stringVersion); }), QStringLiteral("Invalid property value"));

    QByteArray badTag = doc;
    badTag[1] = 0x42;
    EXPECT_EQ(errorOf([&] { read(badTag); }), QStringLiteral("Invalid stream format"));

    QByteArray noEnd = doc;
    noEnd[pageEnd] = 0x02;
    EXPECT_EQ(errorOf([&] { read(noEnd); }), QStringLiteral("Invalid stream format"));

    QByteArray badSignature = doc;
    badSignature[doc.indexOf("TPF0") + 3] = '1';
    EXPECT_EQ(errorOf([&] { read(badSignature); }), QStringLiteral("Invalid stream format"));

    QByteArray otherProperty = doc;
    const QByteArray emptyCell = QByteArray("TPF0\x0dTWPRtfStorage", 18) + hex("000000");
    otherProperty.replace(doc.indexOf(emptyCell), emptyCell.size(),
                          QByteArray("TPF0\x0dTWPRtfStorage", 18) + hex("00") + "\x04Text" + hex("0601780000"));
    EXPECT_EQ(errorOf([&] { read(otherProperty); }), QStringLiteral("Property does not exist"));

    // A child component inside a cell record.
    QByteArray child = doc;
    child.replace(doc.indexOf(emptyCell) + emptyCell.size() - 1, 1, "T");
    EXPECT_EQ(errorOf([&] { read(child); }), QStringLiteral("Invalid stream format"));

    // A list length beyond the file.
    cells[0].SetRtfData(rtf("x"));
    QByteArray hugeBinary = document(s);
    hugeBinary.replace(hugeBinary.indexOf("RtfText.Data") + 13, 4, hex("ffffff7f"));
    EXPECT_EQ(errorOf([&] { read(hugeBinary); }), QStringLiteral("Invalid stream format"));
}

TEST_F(CalendarFilesTest, OrdinalsOutOfRangeAreRefusedAndEarlierValuesStay) {
    const CalendarSettings s = unusualPage();
    const QByteArray style = styleBytes(s);
    struct Case {
        int integersBefore;
        const char* value;
    };
    // Paper size, orientation, layout 22, border 5, line layout 3, a negative border.
    for (const Case& c : {Case{0, "0202"}, Case{1, "0202"}, Case{6, "0216"}, Case{7, "0205"}, Case{8, "0203"},
                          Case{7, "02ff"}}) {
        QByteArray doc = document(s);
        const qsizetype at = 5 + offsetAfter(style, c.integersBefore, 0);
        doc.replace(at, 2, hex(c.value));
        page = CalendarSettings();
        EXPECT_EQ(errorOf([&] { read(doc); }), QStringLiteral("Invalid property value")) << c.integersBefore;
        if (c.integersBefore > 2) {
            EXPECT_FLOAT_EQ(page.LeftMarginInch, 0.29f);
        }
        if (c.integersBefore == 6) {
            EXPECT_EQ(page.CalendarLayout, TCalendarLayout::loFullCalendar);
        }
    }

    // The last item of the block, NumberPosition.
    QByteArray badLast = style;
    badLast[badLast.size() - 1] = 2;
    CalendarSettings p;
    StreamReader r(badLast);
    EXPECT_EQ(errorOf([&] { ReadStyle(r, p); }), QStringLiteral("Invalid property value"));
    EXPECT_EQ(p.MiniCellFont.name, QStringLiteral("Courier New"));
    EXPECT_EQ(p.NumberPosition, TCalendarNumberPosition::cnpUpperRight);

    // An hour of 24 or a minute of 60 is no time of day.
    for (const char* time : {"02180200", "02080260"}) {
        QByteArray doc = document(s);
        const qsizetype at = doc.indexOf("TPF0") - 4;
        ASSERT_EQ(doc.mid(at, 4), hex("0206022d"));
        doc.replace(at, 4, hex(time));
        page = CalendarSettings();
        EXPECT_EQ(errorOf([&] { read(doc); }), QStringLiteral("Invalid property value"));
        EXPECT_EQ(page.MainCalYear, 2026);
        EXPECT_DOUBLE_EQ(page.DayStartTime, 8.0 / 24.0);
    }
}

TEST_F(CalendarFilesTest, StyleSheetAndDocumentReadAsEachOther) {
    const CalendarSettings s = unusualPage();
    const QByteArray sheet = WriteStyleSheet(s);
    EXPECT_EQ(errorOf([&] { read(sheet); }), QStringLiteral("Invalid property value"));
    EXPECT_EQ(styleBytes(page), styleBytes(s));  // applied before the day should have come
    EXPECT_EQ(page.MainCalYear, 1997);

    CalendarSettings preview;
    StreamReader r(document(s));
    EXPECT_EQ(errorOf([&] { ReadStyleSheet(r, preview); }), QStringLiteral("Invalid stream format"));
    EXPECT_EQ(styleBytes(preview), styleBytes(s));

    CalendarSettings again;
    StreamReader good(sheet);
    ReadStyleSheet(good, again);
    EXPECT_TRUE(good.AtEnd());
    EXPECT_EQ(styleBytes(again), styleBytes(s));
    EXPECT_EQ(again.MainCalYear, 1997);  // a style sheet holds no date
}

TEST_F(CalendarFilesTest, UnregisteredClassKeepsTheObjectsBeforeIt) {
    cells[9].SetRtfData(rtf("kept"));
    QByteArray doc = document(unusualPage(), {label(10, QStringLiteral("one")), label(20, QStringLiteral("two")),
                                              label(30, QStringLiteral("three"))});
    const qsizetype second = doc.indexOf("TPF0\x08TGPLabel", doc.indexOf("TPF0\x08TGPLabel") + 1);
    ASSERT_GT(second, 0);
    doc.replace(second + 5, 8, "TGXLabel");
    read(doc);
    EXPECT_EQ(page.UserTitle, QStringLiteral("Team rota"));
    EXPECT_EQ(pageCells[9].RtfData(), rtf("kept"));
    ASSERT_EQ(host.ObjectCount(), 1);
    EXPECT_EQ(dynamic_cast<TGPLabel*>(host.ObjectAt(0))->Caption(), QStringLiteral("one"));
    // The surviving object is complete: it was given its menu.
    EXPECT_NE(ObjectContextMenu(*host.ObjectAt(0)), nullptr);
}

TEST_F(CalendarFilesTest, ReadObjectsTakeTheNextFreeComponentNames) {
    QObject taken0(&owner), taken1(&owner), taken3(&owner);
    taken0.setObjectName(QStringLiteral("Component0"));
    taken1.setObjectName(QStringLiteral("Component1"));
    taken3.setObjectName(QStringLiteral("Component3"));
    TGPLabel* a = label(10, QStringLiteral("a"));
    a->SetName(QStringLiteral("Heading"));
    read(document(examplePage(), {a, label(20, QStringLiteral("b"))}));
    ASSERT_EQ(host.ObjectCount(), 2);
    EXPECT_EQ(host.ObjectAt(0)->Name(), QStringLiteral("Component2"));
    EXPECT_EQ(host.ObjectAt(1)->Name(), QStringLiteral("Component4"));
    EXPECT_EQ(host.ObjectAt(0)->parent(), &owner);
}

TEST_F(CalendarFilesTest, FilesAreWrittenWholeAndChecked) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString doc = dir.filePath(QStringLiteral("Dec1997.PXF"));
    const QString sheet = dir.filePath(QStringLiteral("Style.PXS"));
    const CalendarSettings s = unusualPage();
    cells[0].SetRtfData(rtf("first"));
    SaveDocumentFile(doc, s, cells, {label(5, QStringLiteral("L"))});
    SaveStyleSheetFile(sheet, s);

    LoadDocumentFile(doc, page, pageCells, &owner, &host.ObjectList(), &owner);
    EXPECT_EQ(styleBytes(page), styleBytes(s));
    EXPECT_EQ(pageCells[0].RtfData(), rtf("first"));
    EXPECT_EQ(host.ObjectCount(), 1);
    CalendarSettings fromSheet;
    LoadStyleSheetFile(sheet, fromSheet);
    EXPECT_EQ(styleBytes(fromSheet), styleBytes(s));

    const QString missingDir = dir.filePath(QStringLiteral("nowhere/x.PXF"));
    EXPECT_TRUE(errorOf([&] { SaveDocumentFile(missingDir, s, cells, {}); }).startsWith("Unable to write"));
    EXPECT_EQ(errorOf([&] { LoadStyleSheetFile(missingDir, fromSheet); }),
              QStringLiteral("File %1 no longer exists").arg(missingDir));

    // A style sheet of many megabytes is refused before it is read.
    const QString huge = dir.filePath(QStringLiteral("huge.PXS"));
    {
        QFile f(huge);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize(kMaxStyleSheetFileBytes + 1));
    }
    EXPECT_TRUE(errorOf([&] { LoadStyleSheetFile(huge, fromSheet); }).contains("too large"));
}

// A document save that fails anywhere (the disk full after any byte, or the last rename refused) is
// reported and leaves the document saved before as it was, with nothing else beside it.
TEST_F(CalendarFilesTest, ASaveFailingAtAnyPointKeepsThePreviousDocument) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString doc = dir.filePath(QStringLiteral("Dec1997.PXF"));
    SaveDocumentFile(doc, examplePage(), cells, {});
    QFile previousFile(doc);
    ASSERT_TRUE(previousFile.open(QIODevice::ReadOnly));
    const QByteArray previous = previousFile.readAll();
    previousFile.close();

    const CalendarSettings s = unusualPage();
    cells[0].SetRtfData(rtf("changed"));
    const std::vector<const TGGraphicControl*> objects = {label(5, QStringLiteral("L")),
                                                          label(90, QStringLiteral("M"))};
    const qint64 size = WriteDocument(s, cells, objects).size();
    std::vector<WriteFault> faults;
    for (qint64 at = 0; at < size; ++at) faults.push_back({WriteFault::Stage::Write, at});
    faults.push_back({WriteFault::Stage::Rename, 0});
    for (const WriteFault& fault : faults) {
        QString error;
        {
            test::ScopedHook<std::optional<WriteFault>> injected(SetWriteFaultForTesting, fault);
            error = errorOf([&] { SaveDocumentFile(doc, s, cells, objects); });
        }
        const bool intact = ReadWholeFile(doc).value_or(QByteArray()) == previous &&
                            QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot).size() == 1;
        if (!error.startsWith(QStringLiteral("Unable to write")) || !intact) {
            ADD_FAILURE() << "failing at byte " << fault.atByte
                          << " (rename: " << (fault.stage == WriteFault::Stage::Rename) << ") gave \""
                          << error.toStdString() << "\", previous document intact: " << intact;
            break;
        }
    }
    SaveDocumentFile(doc, s, cells, objects);
    LoadDocumentFile(doc, page, pageCells, &owner, &host.ObjectList(), &owner);
    EXPECT_EQ(styleBytes(page), styleBytes(s));
    EXPECT_EQ(host.ObjectCount(), 2);
}

TEST_F(CalendarFilesTest, DumpShowsEveryPart) {
    CalendarSettings s = examplePage();
    s.UserTitle = QStringLiteral("Family");
    cells[4].SetRtfData(rtf("Dentist\\line 10:00"));
    TGPLabel* l = label(100, QStringLiteral("Hello"));
    l->SetName(QStringLiteral("Component0"));
    FontRecord bold = l->Font();
    bold.style = fsBold;
    l->SetFont(bold);
    const QString text = DumpCalendarBytes(document(s, {l}));
    EXPECT_TRUE(text.startsWith(QStringLiteral("Calendar document, format version 3, kind 1\n"))) << text.toStdString();
    for (const char* line : {"CalendarLayout = loFCMinisInTitleLS\n", "LeftMarginInch = 0.25\n",
                             "MonthNames[1] = 'January'\n", "TitleBGColor = clWhite\n",
                             "TitleFont = 'Times New Roman', 26 pt, [fsBold], clWindowText\n",
                             "MiniHeadersBorder = cbBottom\n", "NumberPosition = cnpUpperRight\n",
                             "MainCalYear = 1997\n", "StartOfWeek = 1\n", "DayStartTime = 8:00\n",
                             "Cell 5:\n    Dentist\n    10:00\n", "UserTitle = 'Family'\n", "Objects:\nobject Component0: TGPLabel\n",
                             "  Left = 100\n", "  Font.Style = [fsBold]\n", "end\n"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(line))) << line << "\n" << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("Cell 1:")));

    const QString sheet = DumpCalendarBytes(WriteStyleSheet(s));
    EXPECT_TRUE(sheet.startsWith(QStringLiteral("Calendar style sheet, format version 1, kind 2\n")));
    EXPECT_FALSE(sheet.contains(QStringLiteral("UserTitle")));

    QByteArray clip;
    WriteObjectList(clip, {l});
    const QString clipText = DumpCalendarBytes(clip);
    EXPECT_TRUE(clipText.startsWith(QStringLiteral("Clipboard file\nobject Component0: TGPLabel\n"))) << clipText.toStdString();

    QByteArray broken = document(s, {l});
    broken.chop(3);
    EXPECT_TRUE(DumpCalendarBytes(broken).contains(QStringLiteral("(objects list unreadable")));
    EXPECT_EQ(errorOf([&] { DumpCalendarBytes(WriteStyleSheet(s).left(40)); }), QStringLiteral("Invalid stream format"));
    EXPECT_EQ(errorOf([&] { DumpCalendarBytes(QByteArray()); }), QStringLiteral("Invalid stream format"));
    EXPECT_EQ(errorOf([&] { DumpCalendarFile(QStringLiteral("/nonexistent/x.PXF")); }),
              QStringLiteral("Cannot read /nonexistent/x.PXF: No such file or directory"));
}

// A small file whose 42 cells each hold a large picture decodes no more pixels than one document may
// hold, and the host's read report says how many pictures were left out, with the file's name.
TEST_F(CalendarFilesTest, CellPicturesShareOneBudgetAndWhatIsLeftOutIsReported) {
    QImage picture(3000, 3000, QImage::Format_RGB32);  // 9 megapixels: three fit in the 33 of a document
    picture.fill(Qt::red);
    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        picture.save(&buffer, "PNG");
    }
    const QByteArray cellText = "{\\rtf1\\ansi x{\\pict\\pngblip " + png.toHex() + "}\\par}";
    for (TWPRtfStorage& c : cells) c.SetRtfData(cellText);
    CalendarSettings s;
    read(document(s));
    int shown = 0;
    for (const TWPRtfStorage& c : pageCells)
        for (const RtfRun& r : c.Text().paragraphs.front().runs) shown += r.isPicture();
    EXPECT_EQ(shown, 3);
    const ObjectListReadReport& report = host.LastObjectReadReport();
    EXPECT_EQ(report.richText.picturesLeftOut, 39);
    EXPECT_FALSE(report.Complete());
    const QString message = ObjectListReadMessage(report, QStringLiteral("june.pxf"));
    EXPECT_TRUE(message.contains(QStringLiteral("39 picture(s) in the rich text of june.pxf were left out")))
        << message.toStdString();
    // The bytes stay as they were read: saving again loses no picture.
    EXPECT_EQ(pageCells[41].RtfData(), cellText);
    // The dump reads the cells within the same budget and says what it left out.
    EXPECT_TRUE(DumpCalendarBytes(document(s), QStringLiteral("june.pxf"))
                    .contains(QStringLiteral("Left out: 39 picture(s) in the rich text of june.pxf were left out")));
}

}  // namespace
}  // namespace plennix
