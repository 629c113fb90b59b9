#pragma once
// TGLabelObjectFiler writes and reads object lists for the private clipboard file and for cloning.
// Every file is opened, written or read in full and closed within one call.
#include <QObject>
#include <QString>
#include <vector>

#include "surface/object_read_report.h"

namespace plennix {

class TGGraphicControl;
class TGObjectList;

class TGLabelObjectFiler {
public:
    // New objects are named against the children of `namingOwner`.
    explicit TGLabelObjectFiler(QObject* namingOwner);

    // While true every object read moves 15 pixels right and down; LoadObjects turns it on,
    // CloneObject off.
    bool Pasting() const { return m_pasting; }
    void SetPasting(bool v) { m_pasting = v; }

    // Writes the selected objects in selection order; nothing when the selection is empty. Throws
    // StreamError with the system's message when the file cannot be written (the old file stays).
    void SaveSelection(const std::vector<TGGraphicControl*>& selection, const QString& path);
    void SaveObject(const TGGraphicControl* obj, const QString& path);
    // Reads an object list file with pasting on and returns the objects created. A missing file gives
    // nothing. On a failure the objects read before it stay in the list (having received Loaded)
    // and the StreamError is rethrown.
    // `report`, when given, receives what was read and left out.
    std::vector<TGGraphicControl*> LoadObjects(QObject* owner, TGObjectList* list, const QString& path,
                                               ObjectListReadReport* report = nullptr);
    // Writes the object into a memory stream and reads it back with pasting off; the copy gets a
    // fresh name. Throws StreamError when the object's class is not registered.
    TGGraphicControl* CloneObject(const TGGraphicControl* obj, QObject* owner, TGObjectList* list);

private:
    void writeList(const std::vector<const TGGraphicControl*>& objs, const QString& path);

    QObject* m_namingOwner;
    bool m_pasting = false;
};

}  // namespace plennix
