#pragma once
// The font record shared by objects, the page and the canvas: face, size in points and height in
// pixels (negative = character height), style set, colour, pitch.
#include <QFont>
#include <QString>
#include <cstdint>

#include "platform/colors.h"

namespace plennix {

enum FontStyle : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using FontStyles = uint8_t;
enum class FontPitch : uint8_t { fpDefault, fpVariable, fpFixed };

int PointsToHeight(int points);  // -MulDiv(points, PPI, 72)
int HeightToPoints(int height);  // -MulDiv(height, 72, PPI)

struct FontRecord {
    QString name = QStringLiteral("Arial");
    int32_t height = -13;  // pixels; negative: character height (10 points at 96 PPI)
    FontStyles style = 0;
    TColor color = clWindowText;
    FontPitch pitch = FontPitch::fpDefault;

    int size() const { return HeightToPoints(height); }
    void setSize(int points) { height = PointsToHeight(points); }
    bool operator==(const FontRecord&) const = default;

    // A QFont whose pixel size matches this record at zoom 1.0 on the screen.
    QFont toQFont() const;
};

// A QFont for a GDI-style height in pixels (negative = character height, positive = cell height).
QFont MakeQFont(const QString& face, int height, FontStyles style, FontPitch pitch = FontPitch::fpDefault);

}  // namespace plennix
