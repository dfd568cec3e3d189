#include "engine/window/WindowIcon.h"

#include "engine/base/Log.h"
#include "engine/platform/IconList.h"

#include <SDL.h>
#include <SDL_image.h>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>

namespace cocos2d {

namespace {

// Task bars, menus and switchers draw icons this small; larger sizes come as pictures.
constexpr int kSmallSizes[] = {16, 24, 32};

using Square = IconPicture;

std::optional<Square> load(const std::string& file) {
    SDL_Surface* loaded = IMG_Load(file.c_str());
    if (!loaded) {
        warn("cannot load the icon %s: %s", file.c_str(), IMG_GetError());
        return std::nullopt;
    }
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(loaded);
    if (!argb) return std::nullopt;
    std::optional<Square> square;
    if (argb->w == argb->h && argb->w > 0) {
        square = Square{argb->w, std::vector<std::uint32_t>(std::size_t(argb->w) * argb->w)};
        for (int y = 0; y < argb->h; ++y)
            std::memcpy(square->argb.data() + std::size_t(y) * argb->w,
                        static_cast<const std::uint8_t*>(argb->pixels) + std::size_t(y) * argb->pitch,
                        std::size_t(argb->w) * 4);
    } else {
        warn("the icon %s is not square", file.c_str());
    }
    SDL_FreeSurface(argb);
    return square;
}

// Each pixel the mean of its block, the colours weighted by their cover so that clear pixels
// lend no colour to an edge.
Square shrink(const Square& from, int factor) {
    Square out{from.size / factor, {}};
    out.argb.resize(std::size_t(out.size) * out.size);
    const std::uint32_t count = std::uint32_t(factor) * factor;
    for (int y = 0; y < out.size; ++y) {
        for (int x = 0; x < out.size; ++x) {
            std::uint32_t alpha = 0, red = 0, green = 0, blue = 0;
            for (int dy = 0; dy < factor; ++dy) {
                for (int dx = 0; dx < factor; ++dx) {
                    const std::uint32_t p =
                        from.argb[std::size_t(y * factor + dy) * from.size + x * factor + dx];
                    const std::uint32_t a = p >> 24;
                    alpha += a;
                    red += ((p >> 16) & 0xff) * a;
                    green += ((p >> 8) & 0xff) * a;
                    blue += (p & 0xff) * a;
                }
            }
            const auto mean = [alpha](std::uint32_t sum) { return alpha ? (sum + alpha / 2) / alpha : 0; };
            out.argb[std::size_t(y) * out.size + x] =
                ((alpha + count / 2) / count) << 24 | mean(red) << 16 | mean(green) << 8 | mean(blue);
        }
    }
    return out;
}

} // namespace

std::vector<int> WindowIcon::sizesFor(std::vector<int> widths) {
    std::vector<int> sizes = widths;
    for (const int small : kSmallSizes) {
        if (std::find(widths.begin(), widths.end(), small) != widths.end()) continue;
        if (std::any_of(widths.begin(), widths.end(), [small](int w) { return w > small && w % small == 0; }))
            sizes.push_back(small);
    }
    std::sort(sizes.begin(), sizes.end());
    sizes.erase(std::unique(sizes.begin(), sizes.end()), sizes.end());
    return sizes;
}

bool WindowIcon::apply(SDL_Window* window, const std::vector<std::string>& files) {
    std::vector<Square> squares;
    std::vector<int> widths;
    for (const std::string& file : files) {
        if (auto square = load(file)) {
            widths.push_back(square->size);
            squares.push_back(std::move(*square));
        }
    }
    if (squares.empty()) {
        if (!files.empty()) warn("the window has no icon: none of its pictures loads");
        return false;
    }
    std::sort(squares.begin(), squares.end(),
              [](const Square& a, const Square& b) { return a.size < b.size; });
    for (const int size : sizesFor(widths)) {
        if (std::find(widths.begin(), widths.end(), size) != widths.end()) continue;
        // The smallest picture an exact multiple larger shrinks with the least lost.
        const auto source = std::find_if(squares.begin(), squares.end(), [size](const Square& s) {
            return s.size > size && s.size % size == 0;
        });
        squares.push_back(shrink(*source, source->size / size));
    }
    std::sort(squares.begin(), squares.end(),
              [](const Square& a, const Square& b) { return a.size < b.size; });

    // SDL takes one picture, the largest; a desktop that takes them all is given them all.
    Square& largest = squares.back();
    if (SDL_Surface* surface =
            SDL_CreateRGBSurfaceWithFormatFrom(largest.argb.data(), largest.size, largest.size, 32,
                                               largest.size * 4, SDL_PIXELFORMAT_ARGB8888)) {
        SDL_SetWindowIcon(window, surface);
        SDL_FreeSurface(surface);
    }
    IconList::give(window, squares);
    return true;
}

} // namespace cocos2d
