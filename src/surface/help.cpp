#include "surface/help.h"

#include <QFileInfo>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>

#include "platform/messages.h"
#include "platform/program_folder.h"

namespace plennix {
namespace {
// One help window serves every topic, as the help viewer did.
QPointer<QTextBrowser> g_helpWindow;
}  // namespace

QString HelpTopicFile(int topic) {
    QString dir = DataDir();
    if (dir.isEmpty()) return QString();
    return dir + "help/" + QString::number(topic) + ".html";
}

void ShowHelpTopic(int topic) {
    QString path = HelpTopicFile(topic);
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        ShowInformation(QStringLiteral("Help topic %1 is not available.").arg(topic));
        return;
    }
    if (!g_helpWindow) {
        g_helpWindow = new QTextBrowser();
        g_helpWindow->setObjectName("HelpWindow");
        g_helpWindow->setAttribute(Qt::WA_DeleteOnClose);
        g_helpWindow->setOpenExternalLinks(true);
        g_helpWindow->setWindowTitle(QStringLiteral("Help"));
        g_helpWindow->resize(560, 480);
    }
    g_helpWindow->setSearchPaths({QFileInfo(path).absolutePath()});
    g_helpWindow->setSource(QUrl::fromLocalFile(path));
    g_helpWindow->show();
    g_helpWindow->raise();
    g_helpWindow->activateWindow();
}

}  // namespace plennix
