#pragma once
// The system's rectangle: left, top, right, bottom as 32-bit integers; right and bottom are
// exclusive edges as in the window system, never QRect's inclusive right().
#include <QRect>
#include <QRectF>
#include <algorithm>
#include <cstdint>

namespace plennix {

struct Point {
    int32_t x = 0, y = 0;
    bool operator==(const Point&) const = default;
};

struct Rect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;

    constexpr Rect() = default;
    constexpr Rect(int32_t l, int32_t t, int32_t r, int32_t b) : left(l), top(t), right(r), bottom(b) {}
    static constexpr Rect fromBounds(int32_t l, int32_t t, int32_t w, int32_t h) { return {l, t, l + w, t + h}; }

    constexpr int32_t width() const { return right - left; }
    constexpr int32_t height() const { return bottom - top; }
    constexpr bool isEmpty() const { return right <= left || bottom <= top; }
    constexpr bool isNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    constexpr bool contains(int32_t x, int32_t y) const { return x >= left && x < right && y >= top && y < bottom; }
    constexpr bool contains(Point p) const { return contains(p.x, p.y); }
    constexpr Rect translated(int32_t dx, int32_t dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    constexpr Rect inflated(int32_t dx, int32_t dy) const { return {left - dx, top - dy, right + dx, bottom + dy}; }
    constexpr Rect normalized() const {
        return {std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
    }
    // The window system's IntersectRect: true when the overlap is not empty.
    constexpr bool intersects(const Rect& o) const {
        return std::max(left, o.left) < std::min(right, o.right) && std::max(top, o.top) < std::min(bottom, o.bottom);
    }
    constexpr Rect intersected(const Rect& o) const {
        Rect r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right), std::min(bottom, o.bottom)};
        return r.isEmpty() ? Rect{} : r;
    }
    bool operator==(const Rect&) const = default;
};

// The one place where system rectangles cross into Qt.
inline QRect toQRect(const Rect& r) { return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top); }
inline QRectF toQRectF(const Rect& r) { return QRectF(r.left, r.top, r.right - r.left, r.bottom - r.top); }
inline Rect fromQRect(const QRect& q) { return Rect(q.x(), q.y(), q.x() + q.width(), q.y() + q.height()); }

}  // namespace plennix
