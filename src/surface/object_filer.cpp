#include "surface/object_filer.h"

#include <QDir>
#include <QFileInfo>

#include "platform/file_io.h"
#include "platform/stream_error.h"
#include "surface/graphic_control.h"
#include "surface/object_list.h"
#include "surface/object_stream.h"

namespace plennix {

namespace {
// The clipboard file holds a selection of objects; pictures included, it stays far below this.
constexpr qint64 kMaxClipboardFileBytes = 256LL * 1024 * 1024;
}  // namespace

TGLabelObjectFiler::TGLabelObjectFiler(QObject* namingOwner) : m_namingOwner(namingOwner) {}

void TGLabelObjectFiler::writeList(const std::vector<const TGGraphicControl*>& objs, const QString& path) {
    QByteArray bytes;
    WriteObjectList(bytes, objs);
    QString error;
    if (!WriteFileAtomically(path, bytes, &error)) throw FileError(error);
}

void TGLabelObjectFiler::SaveSelection(const std::vector<TGGraphicControl*>& selection, const QString& path) {
    if (selection.empty()) return;
    const std::vector<const TGGraphicControl*> objs(selection.begin(), selection.end());
    writeList(objs, path);
}

void TGLabelObjectFiler::SaveObject(const TGGraphicControl* obj, const QString& path) {
    std::vector<const TGGraphicControl*> objs;
    if (obj) objs.push_back(obj);
    writeList(objs, path);
}

std::vector<TGGraphicControl*> TGLabelObjectFiler::LoadObjects(QObject* owner, TGObjectList* list,
                                                               const QString& path, ObjectListReadReport* report) {
    if (!QFileInfo::exists(path)) return {};
    const QByteArray bytes = ReadWholeFileOrThrow(path, kMaxClipboardFileBytes);
    m_pasting = true;
    StreamReader in(bytes);
    return ReadObjectList(in, owner, list, m_namingOwner, m_pasting, report);
}

TGGraphicControl* TGLabelObjectFiler::CloneObject(const TGGraphicControl* obj, QObject* owner,
                                                  TGObjectList* list) {
    if (!obj) return nullptr;
    QByteArray bytes;
    WriteObjectList(bytes, {obj});
    m_pasting = false;
    StreamReader in(bytes);
    const auto created = ReadObjectList(in, owner, list, m_namingOwner, m_pasting);
    return created.empty() ? nullptr : created.front();
}

}  // namespace plennix
