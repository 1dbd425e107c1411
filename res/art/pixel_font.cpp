#include "pixel_font.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tarnwick::art {
namespace {

// Rows top to bottom; '#' is ink. Rows left out are blank. A glyph is as wide as its first row.
struct Glyph {
  char character;
  std::array<std::string_view, kFontLineHeight> rows;
};

constexpr Glyph kGlyphs[] = {
    {' ', {"..."}},
    {'.', {".", ".", ".", ".", ".", ".", "#"}},
    {':', {".", ".", "#", ".", ".", "#"}},
    {'-', {"...", "...", "...", "###"}},
    {'/', {"..#", "..#", ".#.", ".#.", ".#.", "#..", "#.."}},
    {'(', {".#", "#.", "#.", "#.", "#.", "#.", ".#"}},
    {')', {"#.", ".#", ".#", ".#", ".#", ".#", "#."}},
    {'0', {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."}},
    {'1', {".#.", "##.", ".#.", ".#.", ".#.", ".#.", "###"}},
    {'2', {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"}},
    {'3', {"####.", "....#", "....#", ".###.", "....#", "....#", "####."}},
    {'4', {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."}},
    {'5', {"#####", "#....", "####.", "....#", "....#", "#...#", ".###."}},
    {'6', {".###.", "#....", "#....", "####.", "#...#", "#...#", ".###."}},
    {'7', {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."}},
    {'8', {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."}},
    {'9', {".###.", "#...#", "#...#", ".####", "....#", "....#", ".###."}},
    {'A', {"..#..", ".#.#.", "#...#", "#...#", "#####", "#...#", "#...#"}},
    {'B', {"####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."}},
    {'C', {".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."}},
    {'D', {"####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."}},
    {'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
    {'F', {"#####", "#....", "#....", "####.", "#....", "#....", "#...."}},
    {'G', {".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".####"}},
    {'H', {"#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'I', {"###", ".#.", ".#.", ".#.", ".#.", ".#.", "###"}},
    {'J', {"..###", "...#.", "...#.", "...#.", "...#.", "#..#.", ".##.."}},
    {'K', {"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"}},
    {'L', {"#....", "#....", "#....", "#....", "#....", "#....", "#####"}},
    {'M', {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"}},
    {'N', {"#...#", "#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#"}},
    {'O', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'P', {"####.", "#...#", "#...#", "####.", "#....", "#....", "#...."}},
    {'Q', {".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"}},
    {'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}},
    {'S', {".####", "#....", "#....", ".###.", "....#", "....#", "####."}},
    {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
    {'U', {"#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'V', {"#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."}},
    {'W', {"#...#", "#...#", "#...#", "#.#.#", "#.#.#", "#.#.#", ".#.#."}},
    {'X', {"#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"}},
    {'Y', {"#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."}},
    {'Z', {"#####", "....#", "...#.", "..#..", ".#...", "#....", "#####"}},
    {'a', {".....", ".....", ".###.", "....#", ".####", "#...#", ".####"}},
    {'b', {"#....", "#....", "####.", "#...#", "#...#", "#...#", "####."}},
    {'c', {"....", "....", ".###", "#...", "#...", "#...", ".###"}},
    {'d', {"....#", "....#", ".####", "#...#", "#...#", "#...#", ".####"}},
    {'e', {".....", ".....", ".###.", "#...#", "#####", "#....", ".###."}},
    {'f', {"..##", ".#..", "###.", ".#..", ".#..", ".#..", ".#.."}},
    {'g', {".....", ".....", ".####", "#...#", "#...#", "#...#", ".####", "....#", ".###."}},
    {'h', {"#....", "#....", "####.", "#...#", "#...#", "#...#", "#...#"}},
    {'i', {"#", ".", "#", "#", "#", "#", "#"}},
    {'j', {"..#", "...", "..#", "..#", "..#", "..#", "..#", "#.#", ".#."}},
    {'k', {"#...", "#...", "#..#", "#.#.", "##..", "#.#.", "#..#"}},
    {'l', {"#.", "#.", "#.", "#.", "#.", "#.", ".#"}},
    {'m', {".....", ".....", "##.#.", "#.#.#", "#.#.#", "#.#.#", "#.#.#"}},
    {'n', {".....", ".....", "####.", "#...#", "#...#", "#...#", "#...#"}},
    {'o', {".....", ".....", ".###.", "#...#", "#...#", "#...#", ".###."}},
    {'p', {".....", ".....", "####.", "#...#", "#...#", "#...#", "####.", "#....", "#...."}},
    {'q', {".....", ".....", ".####", "#...#", "#...#", "#...#", ".####", "....#", "....#"}},
    {'r', {"....", "....", "#.##", "##..", "#...", "#...", "#..."}},
    {'s', {"....", "....", ".###", "#...", ".##.", "...#", "###."}},
    {'t', {".#..", ".#..", "###.", ".#..", ".#..", ".#..", "..##"}},
    {'u', {".....", ".....", "#...#", "#...#", "#...#", "#...#", ".####"}},
    {'v', {".....", ".....", "#...#", "#...#", "#...#", ".#.#.", "..#.."}},
    {'w', {".....", ".....", "#...#", "#...#", "#.#.#", "#.#.#", ".#.#."}},
    {'x', {".....", ".....", "#...#", ".#.#.", "..#..", ".#.#.", "#...#"}},
    {'y', {".....", ".....", "#...#", "#...#", "#...#", "#...#", ".####", "....#", ".###."}},
    {'z', {".....", ".....", "#####", "...#.", "..#..", ".#...", "#####"}},
};

const Glyph& Find(char character) {
  const auto* found = std::find_if(std::begin(kGlyphs), std::end(kGlyphs),
                                   [character](const Glyph& g) { return g.character == character; });
  return found == std::end(kGlyphs) ? kGlyphs[0] : *found;
}

int Width(const Glyph& glyph) { return static_cast<int>(glyph.rows[0].size()); }

bool Ink(const Glyph& glyph, int column, int row) {
  if (row < 0 || row >= kFontLineHeight || column < 0) return false;
  const std::string_view line = glyph.rows[static_cast<std::size_t>(row)];
  return column < static_cast<int>(line.size()) && line[static_cast<std::size_t>(column)] == '#';
}

// At scale 1 a glyph is its pixels, as squares that land on canvas pixels.
Shape PixelGlyph(const Glyph& glyph, double x, double y) {
  Shape shape{[](double, double) { return 1e9; }, {x, y, x, y}};
  for (int row = 0; row < kFontLineHeight; ++row) {
    for (int column = 0; column < Width(glyph); ++column) {
      if (Ink(glyph, column, row)) shape = Union(std::move(shape), RoundedRect(x + column, y + row, 1, 1, 0));
    }
  }
  return shape;
}

// Scaled up, a glyph's pixels are smoothed into strokes: the ink is interpolated bilinearly
// between pixel centres and cut at a level below one half, so that diagonal neighbours join
// and square corners round off, as in an outline font.
Shape SmoothGlyph(const Glyph& glyph, double x, double y, double scale) {
  constexpr double kLevel = 0.36;
  const double right = x + Width(glyph) * scale;
  const double bottom = y + kFontLineHeight * scale;
  return {[&glyph, x, y, scale](double px, double py) {
            const double u = (px - x) / scale - 0.5;
            const double v = (py - y) / scale - 0.5;
            const int column = static_cast<int>(std::floor(u));
            const int row = static_cast<int>(std::floor(v));
            const double fu = u - column;
            const double fv = v - row;
            auto ink = [&](int c, int r) { return Ink(glyph, c, r) ? 1.0 : 0.0; };
            const double top = ink(column, row) * (1 - fu) + ink(column + 1, row) * fu;
            const double lower = ink(column, row + 1) * (1 - fu) + ink(column + 1, row + 1) * fu;
            const double level = top * (1 - fv) + lower * fv;
            // The ink changes by about one per glyph pixel near an edge.
            return (kLevel - level) * scale;
          },
          {x - scale, y - scale, right + scale, bottom + scale}};
}

}  // namespace

int TextWidth(std::string_view text) {
  int width = 0;
  for (char c : text) width += Width(Find(c)) + 1;
  return std::max(0, width - 1);
}

void DrawText(Canvas& canvas, double x, double y, std::string_view text, const Fill& fill,
              double scale, double opacity) {
  for (char c : text) {
    const Glyph& glyph = Find(c);
    if (c != ' ') {
      canvas.Paint(scale > 1 ? SmoothGlyph(glyph, x, y, scale) : PixelGlyph(glyph, x, y), fill, opacity);
    }
    x += (Width(glyph) + 1) * scale;
  }
}

}  // namespace tarnwick::art
