#pragma once
// Plain value types shared by the whole engine: points, sizes, colours, alignments.
#include <cstdint>

#define NS_CC_BEGIN namespace cocos2d {
#define NS_CC_END }
#define USING_NS_CC using namespace cocos2d

namespace cocos2d {

struct Vec2 {
    float x = 0, y = 0;
    constexpr Vec2() = default;
    constexpr Vec2(float x_, float y_) : x(x_), y(y_) {}
    constexpr Vec2 operator+(const Vec2& o) const { return {x + o.x, y + o.y}; }
    constexpr Vec2 operator-(const Vec2& o) const { return {x - o.x, y - o.y}; }
    constexpr Vec2 operator*(float s) const { return {x * s, y * s}; }
    constexpr bool operator==(const Vec2& o) const { return x == o.x && y == o.y; }
    static const Vec2 ZERO;
    static const Vec2 ANCHOR_MIDDLE;
};

struct Size {
    float width = 0, height = 0;
    constexpr Size() = default;
    constexpr Size(float w, float h) : width(w), height(h) {}
    constexpr bool operator==(const Size& o) const { return width == o.width && height == o.height; }
    static const Size ZERO;
};

struct Rect {
    Vec2 origin;
    Size size;
    constexpr Rect() = default;
    constexpr Rect(float x, float y, float w, float h) : origin(x, y), size(w, h) {}
    constexpr bool containsPoint(const Vec2& p) const {
        return p.x >= origin.x && p.x <= origin.x + size.width && p.y >= origin.y &&
               p.y <= origin.y + size.height;
    }
};

struct Color3B {
    uint8_t r = 255, g = 255, b = 255;
    constexpr Color3B() = default;
    constexpr Color3B(uint8_t r_, uint8_t g_, uint8_t b_) : r(r_), g(g_), b(b_) {}
    constexpr bool operator==(const Color3B& o) const { return r == o.r && g == o.g && b == o.b; }
    static const Color3B WHITE, YELLOW, GREEN, BLUE, RED, MAGENTA, BLACK, ORANGE, GRAY;
};

enum class TextHAlignment { LEFT, CENTER, RIGHT };
enum class TextVAlignment { TOP, CENTER, BOTTOM };
enum class ResolutionPolicy { EXACT_FIT, NO_BORDER, SHOW_ALL, FIXED_HEIGHT, FIXED_WIDTH, UNKNOWN };

// A 2-D affine transform: (x, y) -> (a x + c y + tx, b x + d y + ty).
struct AffineTransform {
    float a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;
    Vec2 apply(const Vec2& p) const { return {a * p.x + c * p.y + tx, b * p.x + d * p.y + ty}; }
    // this * o: apply o first, then this.
    AffineTransform operator*(const AffineTransform& o) const {
        return {a * o.a + c * o.b, b * o.a + d * o.b,        a * o.c + c * o.d,
                b * o.c + d * o.d, a * o.tx + c * o.ty + tx, b * o.tx + d * o.ty + ty};
    }
    AffineTransform inverse() const;
    static const AffineTransform IDENTITY;
};

} // namespace cocos2d
