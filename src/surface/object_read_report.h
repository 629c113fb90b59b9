#pragma once
// What reading one object list achieved: how many objects were read and how many were left out,
// either because the list holds more than a page may carry or because a record could not be read
// (an unknown class, a damaged or cut-off record: that object and every one after it are lost).
#include <QString>

#include "richtext/rtf_model.h"

namespace plennix {

// A page never needs more objects than this; a list that holds more is read up to it and the rest
// are skipped, so that a small file cannot make the program build objects without bound.
constexpr int kMaxObjectsPerList = 10000;

struct ObjectListReadReport {
    int read = 0;        // objects created
    int overLimit = 0;   // whole records after the first kMaxObjectsPerList, skipped
    int unreadable = 0;  // the record that failed and the records after it (counted by signature)
    QString error;       // the reader's message when a record failed, else empty
    RtfReadReport richText;  // what the document's rich texts left out (pictures, deep groups)

    bool Complete() const { return overLimit == 0 && unreadable == 0 && error.isEmpty() && richText.Complete(); }
};

// The message that tells the person what was left out of `what` (a file name or "the clipboard");
// empty when the list was read completely.
QString ObjectListReadMessage(const ObjectListReadReport& report, const QString& what);

}  // namespace plennix
