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
    QString dir = appDir();
    QFileInfo fi(dir);
    if (fi.isDir() && fi.isWritable()) return g_programDir = withSlash(dir);
    QString user = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (user.isEmpty()) user = QDir::homePath() + "/.local/share/plennix";
    QDir().mkpath(user);
    return g_programDir = withSlash(user);
}

QString ProgramFile(const QString& name) { return ProgramDir() + name; }

QString DataDir() {
    if (g_dataDirKnown) return g_dataDir;
    g_dataDirKnown = true;
    QStringList candidates;
    QString env = qEnvironmentVariable("PLENNIX_DATA_DIR");
    if (!env.isEmpty()) candidates << env;
    QString dir = appDir();
    // Beside the program, in a build tree (build/src/app) or an installed share folder.
    candidates << dir + "/data" << dir + "/../data" << dir + "/../../data" << dir + "/../../../data"
               << dir + "/../share/plennix";
    for (const QString& c : candidates)
        if (QFileInfo(c).isDir()) return g_dataDir = withSlash(QDir(c).absolutePath());
    return g_dataDir = QString();
}

void ResetProgramDir() {
    g_programDir.clear();
    g_dataDir.clear();
    g_dataDirKnown = false;
}
}  // namespace plennix
