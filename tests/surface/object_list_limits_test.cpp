// Object lists are bounded and tell what they lost: records after the per-list bound are skipped and
// counted, a failed record reports itself and the records after it, and reading builds no menus.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QObject>

#include "surface/object_menus.h"
#include "object_test_shape.h"
#include "platform/stream_error.h"
#include "surface/label.h"
#include "surface/object_host.h"
#include "surface/object_stream.h"
#include "test_support.h"

namespace plennix {
namespace {

QByteArray str(const QByteArray& s) { return char(s.size()) + s; }

// A record of a test shape at `left` with a caption (the caption makes skipping read a string too).
QByteArray shapeRecord(int left) {
    QByteArray out;
    ValueWriter w(out);
    w.WriteSignature();
    w.WriteShortString(QStringLiteral("TTestShape"));
    w.WriteShortString(QString());
    w.WriteShortString(QStringLiteral("Left"));
    w.WriteInteger(left);
    w.WriteShortString(QStringLiteral("Caption"));
    w.WriteString(QStringLiteral("x"));
    w.WriteByte(vaNull);
    w.WriteByte(vaNull);
    return out;
}

QByteArray listOf(int count, const QByteArray& tail = QByteArray()) {
    QByteArray out("\x01", 1);
    for (int i = 0; i < count; ++i) out += shapeRecord(i);
    return out + tail;
}

int countMenus() {
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<QMenu*>(w)) ++n;
    return n;
}

class ObjectListLimits : public ::testing::Test {
protected:
    void SetUp() override { test::RegisterTestShape(); }
    QObject owner;
    TGObjectHost host;
};

TEST_F(ObjectListLimits, RecordsBeyondTheBoundAreSkippedAndCounted) {
    const QByteArray bytes = listOf(kMaxObjectsPerList + 3, QByteArray(1, '\0') + "after");
    StreamReader in(bytes);
    ObjectListReadReport report;
    const auto objs = ReadObjectList(in, &owner, &host.ObjectList(), &owner, false, &report);
    EXPECT_EQ(static_cast<int>(objs.size()), kMaxObjectsPerList);
    EXPECT_EQ(host.ObjectCount(), kMaxObjectsPerList);
    EXPECT_EQ(report.read, kMaxObjectsPerList);
    EXPECT_EQ(report.overLimit, 3);
    EXPECT_EQ(report.unreadable, 0);
    EXPECT_TRUE(report.error.isEmpty());
    // The skipped records were read past exactly: what follows the list is next.
    EXPECT_EQ(in.ReadRawBytes(5), QByteArray("after"));
    // The last object read is the last one before the bound.
    EXPECT_EQ(objs.back()->Left(), kMaxObjectsPerList - 1);
    EXPECT_EQ(host.LastObjectReadReport().overLimit, 3);
    const QString message = ObjectListReadMessage(report, QStringLiteral("Big.PXF"));
    EXPECT_TRUE(message.contains(QStringLiteral("Big.PXF"))) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("3 were left out"))) << message.toStdString();
}

TEST_F(ObjectListLimits, DamageBeyondTheBoundIsStillReported) {
    const QByteArray bytes = listOf(kMaxObjectsPerList + 1, "TPF0" + str("TTestShape") + str("") + str("Left"));
    StreamReader in(bytes);
    ObjectListReadReport report;
    EXPECT_THROW(ReadObjectList(in, &owner, &host.ObjectList(), &owner, false, &report), StreamError);
    EXPECT_EQ(report.read, kMaxObjectsPerList);
    EXPECT_EQ(report.overLimit, 1);
    EXPECT_EQ(report.unreadable, 1);
    EXPECT_EQ(report.error, QStringLiteral("Invalid stream format"));
}

TEST_F(ObjectListLimits, AFailedRecordCountsItselfAndEveryRecordAfterIt) {
    struct Case {
        QByteArray bad;
        int unreadable;
        QString error;
    };
    const Case cases[] = {
        {"TPF0" + str("TGNothing") + str("") + QByteArray(2, '\0'), 3, QStringLiteral("Class TGNothing not found")},
        {"TPF0" + str("TTestShape") + str("") + str("Colour") + "\x02\x01" + QByteArray(2, '\0'), 3,
         QStringLiteral("Property does not exist")},
        // Garbage where a record should start: the two whole records after it are still counted.
        {QByteArray("garbage"), 2, QStringLiteral("Invalid stream format")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.error.toStdString());
        QObject o;
        TGObjectHost h;
        StreamReader in(listOf(3) + c.bad + shapeRecord(7) + shapeRecord(8) + QByteArray(1, '\0'));
        ObjectListReadReport report;
        EXPECT_THROW(ReadObjectList(in, &o, &h.ObjectList(), &o, false, &report), StreamError);
        EXPECT_EQ(report.read, 3);
        EXPECT_EQ(h.ObjectCount(), 3);
        EXPECT_EQ(report.unreadable, c.unreadable);
        EXPECT_EQ(report.error, c.error);
        EXPECT_FALSE(report.Complete());
        // The host keeps the same account for the command that opened the document.
        EXPECT_EQ(h.LastObjectReadReport().unreadable, c.unreadable);
        const QString message = ObjectListReadMessage(report, QStringLiteral("Damaged.PXF"));
        EXPECT_TRUE(message.startsWith(QString::number(c.unreadable) + QStringLiteral(" object(s) in Damaged.PXF")))
            << message.toStdString();
        EXPECT_TRUE(message.contains(c.error));
    }
}

TEST_F(ObjectListLimits, AListThatOnlyLacksItsEndLosesNothingButSaysSo) {
    StreamReader in(listOf(2));
    ObjectListReadReport report;
    EXPECT_THROW(ReadObjectList(in, &owner, &host.ObjectList(), &owner, false, &report), StreamError);
    EXPECT_EQ(report.read, 2);
    EXPECT_EQ(report.unreadable, 0);
    EXPECT_FALSE(report.Complete());
    EXPECT_TRUE(ObjectListReadMessage(report, QStringLiteral("Short.PXF")).contains(QStringLiteral("every object")));
}

TEST_F(ObjectListLimits, ACompleteListNeedsNoMessageAndClearsAnOldAccount) {
    ObjectListReadReport stale;
    stale.unreadable = 4;
    host.SetLastObjectReadReport(stale);
    StreamReader in(listOf(2, QByteArray(1, '\0')));
    ObjectListReadReport report;
    ReadObjectList(in, &owner, &host.ObjectList(), &owner, false, &report);
    EXPECT_TRUE(report.Complete());
    EXPECT_TRUE(host.LastObjectReadReport().Complete());
    EXPECT_TRUE(ObjectListReadMessage(report, QStringLiteral("Fine.PXF")).isEmpty());
}

TEST_F(ObjectListLimits, ReadingLabelsBuildsNoMenusUntilOneIsOpened) {
    RegisterLabelClasses();
    QObject source;
    std::vector<const TGGraphicControl*> labels;
    for (int i = 0; i < 50; ++i) {
        auto* label = new TGPLabel(&source);
        label->SetCaption(QStringLiteral("L%1").arg(i));
        labels.push_back(label);
    }
    QByteArray bytes;
    WriteObjectList(bytes, labels);
    const int before = countMenus();
    StreamReader in(bytes);
    const auto objs = ReadObjectList(in, &owner, &host.ObjectList(), &owner, false);
    ASSERT_EQ(objs.size(), 50u);
    EXPECT_EQ(countMenus(), before);
    // The first use builds the whole menu, the label's own entries included.
    QAction* rotation = ObjectMenuAction(*objs[3], QStringLiteral("90 Degrees"));
    ASSERT_NE(rotation, nullptr);
    const int built = countMenus();
    EXPECT_GT(built, before);  // the menu and its sub-menus, for this one label only
    EXPECT_NE(ObjectMenuAction(*objs[3], QStringLiteral("Locked")), nullptr);
    EXPECT_EQ(countMenus(), built);
    rotation->trigger();
    EXPECT_EQ(static_cast<TGPLabel*>(objs[3])->Angle(), 90);
}

}  // namespace
}  // namespace plennix
