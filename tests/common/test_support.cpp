#include "test_support.h"

#include "platform/colors.h"

namespace plennix::test {

MessageRecorder::MessageRecorder(bool a) : answer(a) {
    SetMessageAnswerer([this](const ShownMessage& m) {
        shown.push_back(m);
        return answer;
    });
}

MessageRecorder::~MessageRecorder() { SetMessageAnswerer(nullptr); }

int PixelColor(const QImage& image, int x, int y) { return fromQColor(image.pixelColor(x, y)); }

}  // namespace plennix::test
