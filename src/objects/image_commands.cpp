// The clip art image's load command.
#include <QDir>
#include <new>

#include "objects/image_browser.h"
#include "objects/image_object.h"
#include "objects/object_commands.h"
#include "platform/common_dialogs.h"
#include "platform/messages.h"
#include "platform/stream_error.h"
#include "surface/object_menus.h"

namespace plennix {

bool LoadImageFromDisk(TGImage& image) {
    const QString loadError = QStringLiteral("Error loading file!");
    const QString workingFolder = QDir::currentPath();
    bool taken = false;
    {
        TGImageBrowser browser(ObjectWindow(image));
        browser.SetStretchChecked(image.Stretch());
        browser.SetAutoSizeChecked(image.AutoSize());
        if (RunModalDialog(browser) == QDialog::Accepted && !browser.SelectedFile().isEmpty()) {
            try {
                image.TakeLoadedPicture(browser.PreviewPicture(), browser.StretchChecked(), browser.AutoSizeChecked());
                taken = true;
            } catch (const std::bad_alloc&) {
                ShowError(loadError, ObjectWindow(image));
                image.SetPicture(nullptr);
            } catch (const StreamError&) {
                ShowError(loadError, ObjectWindow(image));
                image.SetPicture(nullptr);
            }
        }
    }
    QDir::setCurrent(workingFolder);
    return taken;
}

}  // namespace plennix
