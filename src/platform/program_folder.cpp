#include "platform/program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace plennix {
namespace {
QString g_programDir;
QString g_dataDir;
bool g_dataDirKnown = false;

QString withSlash(QString s) {
    if (!s.endsWith('/')) s += '/';
    return s;
}

QString appDir() {
    if (QCoreApplication::instance()) return QCoreApplication::applicationDirPath();
    return QDir::currentPath();
}
}  // namespace

QString ProgramDir() {
    if (!g_programDir.isEmpty()) return g_programDir;
    QString env = qEnvironmentVariable("PLENNIX_PROGRAM_DIR");
    if (!env.isEmpty()) {
        QDir().mkpath(env);
        return g_programDir = withSlash(QDir(env).absolutePath());
    }
    QString user = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (user.isEmpty()) user = QDir::homePath() + "/.local/share/plennix";
    const QString chosen = ChooseProgramDir(appDir(), user);
    if (chosen == withSlash(user)) QDir().mkpath(user);
    return g_programDir = chosen;
}

QString ChooseProgramDir(const QString& executableFolder, const QString& userFolder) {
    const QFileInfo fi(executableFolder);
    // An installed copy keeps the person's files in their own folder even where it could write beside
    // itself: root may write into /usr/bin, and a package's files must be all that is left there.
    const bool installed = QFileInfo(executableFolder + "/../share/plennix").isDir() &&
                           !QFileInfo(executableFolder + "/data").isDir();
    if (fi.isDir() && fi.isWritable() && !installed) return withSlash(executableFolder);
    return withSlash(userFolder);
}

QString ProgramFile(const QString& name) { return ProgramDir() + name; }

QString FindDataDir(const QString& programFolder, const QString& override, const QString& buildTree,
                    const QString& sourceData) {
    QStringList candidates;
    if (!override.isEmpty()) candidates << override;
    candidates << programFolder + "/data" << programFolder + "/../share/plennix";
    // A build run reads the data of the source tree it was configured from, recorded at configure time,
    // so that a build folder anywhere (cmake -B /some/other/folder) works like one inside the tree.
    const QString program = QDir(programFolder).absolutePath() + '/';
    const QString build = buildTree.isEmpty() ? QString() : QDir(buildTree).absolutePath() + '/';
    if (!build.isEmpty() && !sourceData.isEmpty() && program.startsWith(build)) candidates << sourceData;
    for (const QString& c : candidates)
        if (QFileInfo(c).isDir()) return withSlash(QDir(c).absolutePath());
    return QString();
}

QString DataDir() {
    if (g_dataDirKnown) return g_dataDir;
    g_dataDirKnown = true;
    return g_dataDir = FindDataDir(appDir(), qEnvironmentVariable("PLENNIX_DATA_DIR"),
                                   QStringLiteral(PLENNIX_BUILD_TREE), QStringLiteral(PLENNIX_SOURCE_DATA_DIR));
}

void ResetProgramDir() {
    g_programDir.clear();
    g_dataDir.clear();
    g_dataDirKnown = false;
}
}  // namespace plennix
