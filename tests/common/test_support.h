#pragma once
// Helpers shared by the tests: message recording, scoped test hooks, error capture and pixel checks.
#include <QImage>
#include <QString>
#include <functional>
#include <ostream>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/colors.h"
#include "platform/messages.h"
#include "platform/rect.h"

// Lets GoogleTest show QString values in failure messages.
#include "qstring_printer.h"

namespace plennix::test {

// Records every message box; questions are answered with `answer`. Uninstalls itself on destruction.
class MessageRecorder {
public:
    explicit MessageRecorder(bool answer = true);
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;
    std::vector<ShownMessage> shown;
    bool answer;
    QString lastText() const { return shown.empty() ? QString() : shown.back().text; }
};

// Installs one of the program's replaceable hooks (the tick source, a chooser of the common dialogs,
// the modal dialog runner, ...) for the life of the guard and puts the real one back afterwards, also
// when a failed ASSERT leaves the test early:
//     ScopedHook fonts(SetFontChooser, [](const FontRecord& f, QWidget*) { return std::optional(f); });
template <typename Hook>
class ScopedHook {
public:
    ScopedHook(void (*install)(Hook), std::type_identity_t<Hook> hook) : m_install(install) {
        m_install(std::move(hook));
    }
    ~ScopedHook() { m_install(Hook{}); }
    ScopedHook(const ScopedHook&) = delete;
    ScopedHook& operator=(const ScopedHook&) = delete;

private:
    void (*m_install)(Hook);
};

// The message of the StreamError that `f` throws, or "<no error>" when it throws none.
QString StreamErrorOf(const std::function<void()>& f);

// The colour of a pixel as 0x00BBGGRR.
int PixelColor(const QImage& image, int x, int y);

// Pixels darker than middle grey inside `r` (the part of it that lies on the image).
int DarkPixels(const QImage& image, const Rect& r);
int DarkPixels(const QImage& image);

// The bounding box of all pixels that differ from `background`; empty when there are none.
Rect InkBounds(const QImage& image, TColor background = clWhite);

// The bounding box of the pixels of exactly `color`; empty when there are none.
Rect ColorBounds(const QImage& image, TColor color);

// How many pixels are exactly `color`.
int CountColor(const QImage& image, TColor color);

}  // namespace plennix::test
