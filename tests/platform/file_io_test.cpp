// The atomic write under injected failures: at every byte of a whole document, and at the rename, the
// old file survives byte for byte, no temporary file is left behind, and the failure is reported.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "common/test_support.h"
#include "platform/file_io.h"
#include "platform/program_folder.h"

using namespace plennix;

namespace {

// A failure injected for the life of the guard.
struct FaultGuard : test::ScopedHook<std::optional<WriteFault>> {
    explicit FaultGuard(WriteFault f) : ScopedHook(SetWriteFaultForTesting, f) {}
};

QByteArray sampleDocument() {
    const auto bytes = ReadWholeFile(DataDir() + QStringLiteral("samples/Sample.PXF"));
    return bytes.value_or(QByteArray());
}

QStringList entries(const QTemporaryDir& dir) {
    return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

}  // namespace

TEST(AtomicWrite, NoFailurePointOfADocumentSaveLosesTheOldFile) {
    const QByteArray document = sampleDocument();
    ASSERT_GT(document.size(), 1000) << "the sample calendar was not found";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Calendar.PXF"));
    const QByteArray old = "the calendar as it was saved before";
    ASSERT_TRUE(WriteFileAtomically(path, old));

    auto expectIntact = [&](const QString& where) {
        SCOPED_TRACE(where.toStdString());
        EXPECT_EQ(ReadWholeFile(path).value_or(QByteArray()), old);
        EXPECT_EQ(entries(dir), QStringList{QStringLiteral("Calendar.PXF")});
    };
    for (qint64 at = 0; at <= document.size(); ++at) {
        FaultGuard fault({WriteFault::Stage::Write, at});
        QString error;
        const bool ok = WriteFileAtomically(path, document, &error);
        if (ok || error.isEmpty()) {
            ADD_FAILURE() << "a write failing at byte " << at << " was reported as " << (ok ? "success" : "no error");
            break;
        }
        if (ReadWholeFile(path).value_or(QByteArray()) != old || entries(dir).size() != 1) {
            expectIntact(QStringLiteral("write failing at byte %1").arg(at));
            break;
        }
    }
    {
        FaultGuard fault({WriteFault::Stage::Rename, 0});
        QString error;
        EXPECT_FALSE(WriteFileAtomically(path, document, &error));
        EXPECT_FALSE(error.isEmpty());
        expectIntact(QStringLiteral("rename failing"));
    }
    // Without a fault the same save replaces the file.
    QString error;
    EXPECT_TRUE(WriteFileAtomically(path, document, &error)) << error.toStdString();
    EXPECT_EQ(ReadWholeFile(path).value_or(QByteArray()), document);
}

TEST(AtomicWrite, AFailedFirstSaveCreatesNoFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("New.PXF"));
    for (const WriteFault fault : {WriteFault{WriteFault::Stage::Write, 3}, WriteFault{WriteFault::Stage::Rename, 0}}) {
        FaultGuard guard(fault);
        QString error;
        EXPECT_FALSE(WriteFileAtomically(path, QByteArray("content"), &error));
        EXPECT_FALSE(error.isEmpty());
        EXPECT_TRUE(entries(dir).isEmpty());
    }
}
