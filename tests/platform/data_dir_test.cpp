// Where the program finds its shipped data (icon libraries, clip art, textures, help): a build run finds
// the source tree it was built from wherever its build folder lies, an installed copy its share folder,
// and a program elsewhere no stranger's "data" folder.
#include <gtest/gtest.h>

#include "common/qstring_printer.h"

#include <QDir>
#include <QTemporaryDir>

#include "platform/program_folder.h"

using namespace plennix;

namespace {
QString Made(const QTemporaryDir& root, const QString& folder) {
    const QString path = root.filePath(folder);
    QDir().mkpath(path);
    return QDir(path).absolutePath() + QLatin1Char('/');
}
}  // namespace

TEST(DataDir, BuildRunsFindTheirSourceTreeAndInstalledCopiesTheirShareFolder) {
    QTemporaryDir root;
    const QString sourceData = Made(root, QStringLiteral("source/data"));
    // A build configured with "cmake -B" into a folder outside the source tree.
    const QString buildTree = Made(root, QStringLiteral("elsewhere/build"));
    const QString program = Made(root, QStringLiteral("elsewhere/build/src/app"));
    EXPECT_EQ(FindDataDir(program, QString(), buildTree, sourceData), sourceData);
    // The override comes first.
    const QString other = Made(root, QStringLiteral("other"));
    EXPECT_EQ(FindDataDir(program, other, buildTree, sourceData), other);

    // An installed copy reads its share folder, not the source tree it was once built in.
    const QString installed = Made(root, QStringLiteral("usr/bin"));
    const QString share = Made(root, QStringLiteral("usr/share/plennix"));
    EXPECT_EQ(FindDataDir(installed, QString(), buildTree, sourceData), share);
    // A portable copy reads the folder beside it.
    const QString portable = Made(root, QStringLiteral("stick/plennix"));
    const QString beside = Made(root, QStringLiteral("stick/plennix/data"));
    EXPECT_EQ(FindDataDir(portable, QString(), buildTree, sourceData), beside);

    // A program outside the build tree with nothing beside it finds nothing, and no "data" folder that
    // merely lies a few folders up.
    Made(root, QStringLiteral("data"));
    const QString stray = Made(root, QStringLiteral("a/b/c"));
    EXPECT_EQ(FindDataDir(stray, QString(), buildTree, sourceData), QString());
}

// The person's files (PX.ini, PXRECUR.DAX) go beside a build or a portable copy, but never into the
// folder of an installed copy, even for root, who may write there.
TEST(ProgramFolder, AnInstalledCopyKeepsThePersonsFilesInTheirOwnFolder) {
    QTemporaryDir root;
    const QString user = Made(root, QStringLiteral("home/.local/share/plennix"));
    const QString installed = Made(root, QStringLiteral("usr/bin"));
    Made(root, QStringLiteral("usr/share/plennix"));
    EXPECT_EQ(ChooseProgramDir(installed, user), user);
    const QString build = Made(root, QStringLiteral("build/src/app"));
    EXPECT_EQ(ChooseProgramDir(build, user), build);
    const QString portable = Made(root, QStringLiteral("stick/plennix"));
    Made(root, QStringLiteral("stick/plennix/data"));
    Made(root, QStringLiteral("stick/share/plennix"));
    EXPECT_EQ(ChooseProgramDir(portable, user), portable);
    const QString readOnly = Made(root, QStringLiteral("ro"));
    QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ExeOwner);
    if (!QFileInfo(readOnly).isWritable()) {
        EXPECT_EQ(ChooseProgramDir(readOnly, user), user);
    }
}

TEST(DataDir, TheTestsOwnBuildFindsTheShippedLibraries) {
    const QByteArray old = qgetenv("PLENNIX_DATA_DIR");
    qunsetenv("PLENNIX_DATA_DIR");
    ResetProgramDir();
    const QString found = DataDir();
    qputenv("PLENNIX_DATA_DIR", old);
    ResetProgramDir();
    EXPECT_FALSE(found.isEmpty());
    EXPECT_TRUE(QFileInfo::exists(found + QStringLiteral("activity.icl"))) << found.toStdString();
    EXPECT_TRUE(QFileInfo::exists(found + QStringLiteral("help"))) << found.toStdString();
}
