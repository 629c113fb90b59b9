#pragma once
// Helpers shared by the tests: a message answerer that records what was shown, and pixel access.
#include <QImage>
#include <QString>
#include <vector>

#include "platform/messages.h"

namespace plennix::test {

// Records every message box; questions are answered with `answer`. Uninstalls itself on destruction.
class MessageRecorder {
public:
    explicit MessageRecorder(bool answer = true);
    ~MessageRecorder();
    std::vector<ShownMessage> shown;
    bool answer;
    QString lastText() const { return shown.empty() ? QString() : shown.back().text; }
};

// The colour of a pixel as 0x00BBGGRR.
int PixelColor(const QImage& image, int x, int y);

}  // namespace plennix::test
