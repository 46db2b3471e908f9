// menu-picture: draws the module's plugin menu as the application shows it — its entries in menu
// order, each with its icon and name, the separator as a line — into a PNG, for the artists'
// guide (docs/menu.png). It loads the module into the stand-in host, which reads the names and
// the icon files from the module's res folder exactly as the application does; the icons are
// decoded from those files, the names drawn with a small pixel font of our own.
//
//   menu-picture [--module FILE] OUT.png        draw the menu
//   menu-picture [--module FILE] --check FILE   exit 1 unless FILE shows exactly this menu
//
// Redraw the guide's picture after changing an icon, a name or the menu's order:
//   cmake --build build --target menu-picture && build/bin/menu-picture docs/menu.png
#include <png.h>
#include <tiffio.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "platform.h"
#include "standin/host.h"

namespace {

struct Rgb {
  uint8_t r, g, b;
};

const Rgb kBackground{58, 60, 64};
const Rgb kText{222, 222, 222};
const Rgb kSeparator{104, 106, 112};

constexpr int kScale = 2;         // screen pixels per font pixel
constexpr int kGlyphW = 5, kGlyphH = 9, kAdvance = 6;  // font pixels; rows 7 and 8 are descenders
constexpr int kIcon = 32;         // the icons' size
constexpr int kRow = 40;          // height of an entry
constexpr int kSeparatorRow = 12;
constexpr int kMargin = 8, kGap = 12;

// The font: 5 columns, up to 9 rows ('#' set), rows separated by blanks; rows left out are empty.
const std::map<char, const char*> kFont = {
    {'A', ".###. #...# #...# ##### #...# #...# #...#"},
    {'B', "####. #...# #...# ####. #...# #...# ####."},
    {'C', ".###. #...# #.... #.... #.... #...# .###."},
    {'D', "####. #...# #...# #...# #...# #...# ####."},
    {'E', "##### #.... #.... ####. #.... #.... #####"},
    {'F', "##### #.... #.... ####. #.... #.... #...."},
    {'G', ".###. #...# #.... #.### #...# #...# .####"},
    {'H', "#...# #...# #...# ##### #...# #...# #...#"},
    {'I', ".###. ..#.. ..#.. ..#.. ..#.. ..#.. .###."},
    {'J', "..### ...#. ...#. ...#. ...#. #..#. .##.."},
    {'K', "#...# #..#. #.#.. ##... #.#.. #..#. #...#"},
    {'L', "#.... #.... #.... #.... #.... #.... #####"},
    {'M', "#...# ##.## #.#.# #.#.# #...# #...# #...#"},
    {'N', "#...# #...# ##..# #.#.# #..## #...# #...#"},
    {'O', ".###. #...# #...# #...# #...# #...# .###."},
    {'P', "####. #...# #...# ####. #.... #.... #...."},
    {'Q', ".###. #...# #...# #...# #.#.# #..#. .##.#"},
    {'R', "####. #...# #...# ####. #.#.. #..#. #...#"},
    {'S', ".###. #...# #.... .###. ....# #...# .###."},
    {'T', "##### ..#.. ..#.. ..#.. ..#.. ..#.. ..#.."},
    {'U', "#...# #...# #...# #...# #...# #...# .###."},
    {'V', "#...# #...# #...# #...# #...# .#.#. ..#.."},
    {'W', "#...# #...# #...# #.#.# #.#.# #.#.# .#.#."},
    {'X', "#...# #...# .#.#. ..#.. .#.#. #...# #...#"},
    {'Y', "#...# #...# .#.#. ..#.. ..#.. ..#.. ..#.."},
    {'Z', "##### ....# ...#. ..#.. .#... #.... #####"},
    {'a', "..... ..... .###. ....# .#### #...# .####"},
    {'b', "#.... #.... ####. #...# #...# #...# ####."},
    {'c', "..... ..... .###. #.... #.... #...# .###."},
    {'d', "....# ....# .#### #...# #...# #...# .####"},
    {'e', "..... ..... .###. #...# ##### #.... .###."},
    {'f', "..##. .#..# .#... ###.. .#... .#... .#..."},
    {'g', "..... ..... .#### #...# #...# #...# .#### ....# .###."},
    {'h', "#.... #.... #.##. ##..# #...# #...# #...#"},
    {'i', "..#.. ..... .##.. ..#.. ..#.. ..#.. .###."},
    {'j', "...#. ..... ..##. ...#. ...#. ...#. ...#. #..#. .##.."},
    {'k', "#.... #.... #..#. #.#.. ##... #.#.. #..#."},
    {'l', ".##.. ..#.. ..#.. ..#.. ..#.. ..#.. .###."},
    {'m', "..... ..... ##.#. #.#.# #.#.# #.#.# #.#.#"},
    {'n', "..... ..... #.##. ##..# #...# #...# #...#"},
    {'o', "..... ..... .###. #...# #...# #...# .###."},
    {'p', "..... ..... ####. #...# #...# #...# ####. #.... #...."},
    {'q', "..... ..... .#### #...# #...# #...# .#### ....# ....#"},
    {'r', "..... ..... #.##. ##..# #.... #.... #...."},
    {'s', "..... ..... .###. #.... .###. ....# ####."},
    {'t', ".#... .#... ###.. .#... .#... .#..# ..##."},
    {'u', "..... ..... #...# #...# #...# #..## .##.#"},
    {'v', "..... ..... #...# #...# #...# .#.#. ..#.."},
    {'w', "..... ..... #...# #...# #.#.# #.#.# .#.#."},
    {'x', "..... ..... #...# .#.#. ..#.. .#.#. #...#"},
    {'y', "..... ..... #...# #...# #...# #...# .#### ....# .###."},
    {'z', "..... ..... ##### ...#. ..#.. .#... #####"},
    {'0', ".###. #...# #..## #.#.# ##..# #...# .###."},
    {'1', "..#.. .##.. ..#.. ..#.. ..#.. ..#.. .###."},
    {'2', ".###. #...# ....# ...#. ..#.. .#... #####"},
    {'3', "##### ...#. ..#.. ...#. ....# #...# .###."},
    {'4', "...#. ..##. .#.#. #..#. ##### ...#. ...#."},
    {'5', "##### #.... ####. ....# ....# #...# .###."},
    {'6', "..##. .#... #.... ####. #...# #...# .###."},
    {'7', "##### ....# ...#. ..#.. .#... .#... .#..."},
    {'8', ".###. #...# #...# .###. #...# #...# .###."},
    {'9', ".###. #...# #...# .#### ....# ...#. .##.."},
    {'.', "..... ..... ..... ..... ..... .##.. .##.."},
    {',', "..... ..... ..... ..... ..... .##.. .##.. ..#.. .#..."},
    {'-', "..... ..... ..... ##### ..... ..... ....."},
    {'(', "...#. ..#.. .#... .#... .#... ..#.. ...#."},
    {')', ".#... ..#.. ...#. ...#. ...#. ..#.. .#..."},
    {':', "..... .##.. .##.. ..... .##.. .##.. ....."},
    {'\'', "..#.. ..#.. .#... ..... ..... ..... ....."},
    {' ', ""},
};
// Any other character: an empty box.
constexpr char kUnknownGlyph[] = "##### #...# #...# #...# #...# #...# #####";

struct Image {
  int w = 0, h = 0;
  std::vector<uint8_t> rgb;  // row by row, 3 bytes a pixel

  Image(int width, int height) : w(width), h(height), rgb(static_cast<size_t>(w) * h * 3) {
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) Set(x, y, kBackground);
  }
  void Set(int x, int y, Rgb c) {
    uint8_t* p = &rgb[(static_cast<size_t>(y) * w + x) * 3];
    p[0] = c.r;
    p[1] = c.g;
    p[2] = c.b;
  }
  Rgb Get(int x, int y) const {
    const uint8_t* p = &rgb[(static_cast<size_t>(y) * w + x) * 3];
    return {p[0], p[1], p[2]};
  }
};

void DrawText(Image& img, int x0, int y0, const std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const auto it = kFont.find(text[i]);
    const std::string glyph = it == kFont.end() ? kUnknownGlyph : it->second;
    for (int row = 0, pos = 0; row < kGlyphH && pos < static_cast<int>(glyph.size()); ++row) {
      for (int col = 0; col < kGlyphW; ++col, ++pos)
        if (glyph[pos] == '#')
          for (int dy = 0; dy < kScale; ++dy)
            for (int dx = 0; dx < kScale; ++dx)
              img.Set(x0 + (static_cast<int>(i) * kAdvance + col) * kScale + dx,
                      y0 + row * kScale + dy, kText);
      ++pos;  // the blank between rows
    }
  }
}

// Draws the icon over the background. libtiff hands back alpha-premultiplied colours.
bool DrawIcon(Image& img, int x0, int y0, const std::string& path) {
  TIFF* tif = TIFFOpen(path.c_str(), "r");
  if (!tif) return false;
  uint32_t w = 0, h = 0;
  TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &w);
  TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &h);
  std::vector<uint32_t> px(static_cast<size_t>(w) * h);
  const bool ok = w == kIcon && h == kIcon &&
                  TIFFReadRGBAImageOriented(tif, w, h, px.data(), ORIENTATION_TOPLEFT, 0);
  TIFFClose(tif);
  if (!ok) return false;
  for (int y = 0; y < kIcon; ++y)
    for (int x = 0; x < kIcon; ++x) {
      const uint32_t p = px[static_cast<size_t>(y) * kIcon + x];
      const int a = static_cast<int>(TIFFGetA(p));
      auto over = [a](uint32_t c, uint8_t bg) {
        return static_cast<uint8_t>(std::min(255, static_cast<int>(c) + (bg * (255 - a) + 127) / 255));
      };
      img.Set(x0 + x, y0 + y,
              {over(TIFFGetR(p), kBackground.r), over(TIFFGetG(p), kBackground.g),
               over(TIFFGetB(p), kBackground.b)});
    }
  return true;
}

// The menu entries in the order the menu shows them.
std::vector<standin::MenuEntry> ShownMenu(standin::Host& host) {
  std::vector<standin::MenuEntry> menu = host.Menu();
  std::stable_sort(menu.begin(), menu.end(),
                   [](const standin::MenuEntry& a, const standin::MenuEntry& b) {
                     return a.position < b.position;
                   });
  return menu;
}

bool Draw(const std::vector<standin::MenuEntry>& menu, Image* out) {
  size_t longest = 0;
  int height = 2 * (kMargin / 2);
  for (const standin::MenuEntry& e : menu) {
    longest = std::max(longest, e.shown.size());
    height += e.shown == "--" ? kSeparatorRow : kRow;
  }
  const int text_x = kMargin + kIcon + kGap;
  Image img(text_x + static_cast<int>(longest) * kAdvance * kScale + kMargin * 2, height);
  int y = kMargin / 2;
  for (const standin::MenuEntry& e : menu) {
    if (e.shown == "--") {
      for (int x = kMargin; x < img.w - kMargin; ++x) img.Set(x, y + kSeparatorRow / 2, kSeparator);
      y += kSeparatorRow;
      continue;
    }
    if (e.has_icon && !DrawIcon(img, kMargin, y + (kRow - kIcon) / 2, e.icon_path)) {
      std::cerr << "menu-picture: " << e.icon_path << ": not a readable 32x32 icon\n";
      return false;
    }
    DrawText(img, text_x, y + (kRow - 7 * kScale) / 2, e.shown);
    y += kRow;
  }
  *out = img;
  return true;
}

bool WritePng(const Image& img, const std::string& path) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  png.width = static_cast<png_uint_32>(img.w);
  png.height = static_cast<png_uint_32>(img.h);
  png.format = PNG_FORMAT_RGB;
  return png_image_write_to_file(&png, path.c_str(), 0, img.rgb.data(), 0, nullptr) != 0;
}

// Whether the file holds exactly these pixels.
bool SamePng(const Image& img, const std::string& path, std::string* why) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&png, path.c_str())) {
    *why = "not a readable PNG";
    return false;
  }
  png.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(png));
  const bool read = png_image_finish_read(&png, nullptr, rgb.data(), 0, nullptr) != 0;
  if (!read) {
    *why = "not a readable PNG";
    return false;
  }
  if (static_cast<int>(png.width) != img.w || static_cast<int>(png.height) != img.h) {
    *why = std::to_string(png.width) + "x" + std::to_string(png.height) + " pixels, the menu is " +
           std::to_string(img.w) + "x" + std::to_string(img.h);
    return false;
  }
  for (int y = 0; y < img.h; ++y)
    for (int x = 0; x < img.w; ++x) {
      const uint8_t* p = &rgb[(static_cast<size_t>(y) * img.w + x) * 3];
      const Rgb c = img.Get(x, y);
      if (p[0] != c.r || p[1] != c.g || p[2] != c.b) {
        *why = "the pixel at (" + std::to_string(x) + ", " + std::to_string(y) + ") differs";
        return false;
      }
    }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::string module = (std::filesystem::u8path(gemhost::ExecutableDir()) /
                        gemhost::DefaultModuleName()).u8string();
  std::string file;
  bool check = false, bad = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--module" && i + 1 < argc) module = argv[++i];
    else if (a == "--check") check = true;
    else if (file.empty() && a.rfind("--", 0) != 0) file = a;
    else bad = true;
  }
  if (bad || file.empty()) {
    std::cerr << "usage: menu-picture [--module FILE] OUT.png | [--module FILE] --check FILE.png\n";
    return 2;
  }

  standin::Host host;
  const standin::LoadResult loaded = host.LoadModuleFile(module);
  if (!loaded.loaded) {
    std::cerr << "menu-picture: cannot load " << module << ": " << loaded.error << "\n";
    return 1;
  }
  Image img(1, 1);
  const bool drawn = Draw(ShownMenu(host), &img);
  host.Unload();
  if (!drawn) return 1;

  if (check) {
    std::string why;
    if (SamePng(img, file, &why)) return 0;
    std::cerr << "menu-picture: " << file << " does not show the module's menu (" << why
              << "); redraw it with menu-picture " << file << "\n";
    return 1;
  }
  if (!WritePng(img, file)) {
    std::cerr << "menu-picture: " << file << " cannot be written\n";
    return 1;
  }
  return 0;
}
