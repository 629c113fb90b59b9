#include "test_support.h"

#include <algorithm>

#include "platform/stream_error.h"

namespace plennix::test {

MessageRecorder::MessageRecorder(bool a) : answer(a) {
    SetMessageAnswerer([this](const ShownMessage& m) {
        shown.push_back(m);
        return answer;
    });
}

MessageRecorder::~MessageRecorder() { SetMessageAnswerer(nullptr); }

QString StreamErrorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const StreamError& e) {
        return e.message();
    }
    return QStringLiteral("<no error>");
}

int PixelColor(const QImage& image, int x, int y) { return fromQColor(image.pixelColor(x, y)); }

int DarkPixels(const QImage& image, const Rect& r) {
    int n = 0;
    for (int y = std::max(0, r.top); y < std::min(image.height(), r.bottom); ++y)
        for (int x = std::max(0, r.left); x < std::min(image.width(), r.right); ++x)
            if (qGray(image.pixel(x, y)) < 128) ++n;
    return n;
}

int DarkPixels(const QImage& image) { return DarkPixels(image, Rect(0, 0, image.width(), image.height())); }

namespace {

template <typename Matches>
Rect BoundsOf(const QImage& image, Matches matches) {
    Rect r{image.width(), image.height(), 0, 0};
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (matches(PixelColor(image, x, y))) {
                r.left = std::min(r.left, x);
                r.top = std::min(r.top, y);
                r.right = std::max(r.right, x + 1);
                r.bottom = std::max(r.bottom, y + 1);
            }
    return r.isEmpty() ? Rect{} : r;
}

}  // namespace

Rect InkBounds(const QImage& image, TColor background) {
    return BoundsOf(image, [background](int c) { return c != background; });
}

Rect ColorBounds(const QImage& image, TColor color) {
    return BoundsOf(image, [color](int c) { return c == color; });
}

int CountColor(const QImage& image, TColor color) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += PixelColor(image, x, y) == color;
    return n;
}

}  // namespace plennix::test
