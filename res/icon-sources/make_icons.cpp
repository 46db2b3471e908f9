// Draws the nine menu icons of the module (32x32 RGBA TIFF, straight alpha, anti-aliased).
//
// Usage: make_icons OUTPUT_FOLDER
// Normally run through the CMake target `gemlith_icons`, which writes into the source tree's res/:
//   cmake --build BUILD_DIR --target gemlith_icons
//
// One visual language for all icons:
//   - a solid blue rounded square is a reference object,
//   - an orange dashed outline is an instance object,
//   - a white glyph with a dark halo says what the command does (plus, arrows, cursor, brackets...).
// Shapes are signed distance functions; each pixel is sampled 8x8 times, so edges are anti-aliased.

#include <tiffio.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int kSize = 32;
constexpr int kSub = 8;  // samples per pixel along each axis
constexpr double kPi = 3.14159265358979323846;

struct Color {
  double r, g, b, a;
};

const Color kReferenceFill{0.38, 0.64, 0.96, 1.0};
const Color kReferenceEdge{0.13, 0.30, 0.58, 1.0};
const Color kInstance{1.00, 0.62, 0.12, 1.0};
const Color kInstanceTint{1.00, 0.80, 0.45, 0.45};
const Color kGlyph{0.98, 0.98, 0.98, 1.0};
const Color kHalo{0.08, 0.08, 0.10, 0.70};
const Color kBadge{0.22, 0.70, 0.33, 1.0};
const Color kGear{0.78, 0.80, 0.84, 1.0};
const Color kGearEdge{0.25, 0.27, 0.31, 1.0};
const Color kText{0.20, 0.22, 0.26, 1.0};

// A shape: negative inside, positive outside. Only the sign matters for coverage; the magnitude is
// a distance for the primitives, so that offsetting (halos, outlines) works on them.
using Shape = std::function<double(double, double)>;

Shape Offset(Shape s, double d) {
  return [s, d](double x, double y) { return s(x, y) - d; };
}
Shape Union(Shape a, Shape b) {
  return [a, b](double x, double y) { return std::min(a(x, y), b(x, y)); };
}
Shape Intersect(Shape a, Shape b) {
  return [a, b](double x, double y) { return std::max(a(x, y), b(x, y)); };
}
Shape Subtract(Shape a, Shape b) {
  return [a, b](double x, double y) { return std::max(a(x, y), -b(x, y)); };
}
// The band of width w centred on the outline of s.
Shape Ring(Shape s, double w) {
  return [s, w](double x, double y) { return std::fabs(s(x, y)) - w / 2; };
}

Shape RoundRect(double x0, double y0, double x1, double y1, double r) {
  const double cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
  const double hw = (x1 - x0) / 2 - r, hh = (y1 - y0) / 2 - r;
  return [=](double x, double y) {
    const double qx = std::fabs(x - cx) - hw, qy = std::fabs(y - cy) - hh;
    const double ox = std::max(qx, 0.0), oy = std::max(qy, 0.0);
    return std::hypot(ox, oy) + std::min(std::max(qx, qy), 0.0) - r;
  };
}

Shape Circle(double cx, double cy, double r) {
  return [=](double x, double y) { return std::hypot(x - cx, y - cy) - r; };
}

// A segment with round caps (a thick line).
Shape Line(double ax, double ay, double bx, double by, double width) {
  return [=](double x, double y) {
    const double px = x - ax, py = y - ay, dx = bx - ax, dy = by - ay;
    const double t = std::clamp((px * dx + py * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    return std::hypot(px - t * dx, py - t * dy) - width / 2;
  };
}

// A convex or concave polygon, points in any winding order.
Shape Polygon(std::vector<std::pair<double, double>> pts) {
  return [pts](double x, double y) {
    double best = 1e9;
    bool inside = false;
    for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
      const auto [xi, yi] = pts[i];
      const auto [xj, yj] = pts[j];
      const double dx = xj - xi, dy = yj - yi;
      const double t = std::clamp(((x - xi) * dx + (y - yi) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
      best = std::min(best, std::hypot(x - xi - t * dx, y - yi - t * dy));
      if ((yi > y) != (yj > y) && x < xi + (y - yi) * (xj - xi) / (yj - yi)) inside = !inside;
    }
    return inside ? -best : best;
  };
}

// An arc of a circle (centre, radius, stroke width) between two angles in degrees, y pointing down.
Shape Arc(double cx, double cy, double r, double width, double from_deg, double to_deg) {
  const double a0 = from_deg * kPi / 180, a1 = to_deg * kPi / 180;
  return [=](double x, double y) {
    double a = std::atan2(y - cy, x - cx);
    while (a < a0) a += 2 * kPi;
    if (a <= a1) return std::fabs(std::hypot(x - cx, y - cy) - r) - width / 2;
    const double d0 = std::hypot(x - cx - r * std::cos(a0), y - cy - r * std::sin(a0));
    const double d1 = std::hypot(x - cx - r * std::cos(a1), y - cy - r * std::sin(a1));
    return std::min(d0, d1) - width / 2;
  };
}

// A triangular arrow head with its tip at (tx, ty), pointing in direction (dx, dy).
Shape ArrowHead(double tx, double ty, double dx, double dy, double length, double half_width) {
  const double n = std::hypot(dx, dy);
  dx /= n;
  dy /= n;
  const double bx = tx - dx * length, by = ty - dy * length;
  return Polygon({{tx, ty}, {bx - dy * half_width, by + dx * half_width},
                  {bx + dy * half_width, by - dx * half_width}});
}

// The dashed outline of an axis-aligned rounded rectangle. Each side carries an even number of
// dash periods laid symmetrically about its middle, so every corner is drawn solid and the four
// corners look alike.
Shape DashedRect(double x0, double y0, double x1, double y1, double r, double width,
                 double period = 6.0) {
  const double cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
  const double hw = (x1 - x0) / 2, hh = (y1 - y0) / 2;
  auto periods = [period](double half) {
    const int n = std::max(2, static_cast<int>(std::lround(2 * half / period / 2)) * 2);
    return 2 * half / n;
  };
  const double px = periods(hw), py = periods(hh);
  Shape ring = Ring(RoundRect(x0, y0, x1, y1, r), width);
  Shape dash = [=](double x, double y) {
    const double dx = x - cx, dy = y - cy;
    const bool vertical_side = std::fabs(dx) / hw > std::fabs(dy) / hh;
    const double t = vertical_side ? dy : dx;
    const double p = vertical_side ? py : px;
    // Solid where the cosine is high: about 60% of each period is drawn.
    return std::cos(2 * kPi * (t - (vertical_side ? hh : hw)) / p) > -0.3 ? -1.0 : 1.0;
  };
  return Intersect(ring, dash);
}

class Canvas {
 public:
  Canvas() : px_(kSize * kSize, {0, 0, 0, 0}) {}

  // Composites `c` over the canvas where `s` is inside, weighted by the covered share of the pixel.
  void Paint(const Shape& s, const Color& c) {
    for (int y = 0; y < kSize; ++y) {
      for (int x = 0; x < kSize; ++x) {
        int hits = 0;
        for (int j = 0; j < kSub; ++j)
          for (int i = 0; i < kSub; ++i)
            if (s(x + (i + 0.5) / kSub, y + (j + 0.5) / kSub) <= 0) ++hits;
        if (hits == 0) continue;
        const double a = c.a * hits / (kSub * kSub);
        auto& p = px_[static_cast<size_t>(y * kSize + x)];  // premultiplied
        p[0] = c.r * a + p[0] * (1 - a);
        p[1] = c.g * a + p[1] * (1 - a);
        p[2] = c.b * a + p[2] * (1 - a);
        p[3] = a + p[3] * (1 - a);
      }
    }
  }

  // A white glyph with a dark halo, readable on light and dark menus alike.
  void Glyph(const Shape& s, const Color& c = kGlyph) {
    Paint(Offset(s, 1.0), kHalo);
    Paint(s, c);
  }

  void Reference(double x0, double y0, double x1, double y1) {
    Paint(RoundRect(x0, y0, x1, y1, 2.5), kReferenceEdge);
    Paint(RoundRect(x0 + 1.5, y0 + 1.5, x1 - 1.5, y1 - 1.5, 1.2), kReferenceFill);
  }

  void Instance(double x0, double y0, double x1, double y1, bool tinted = false) {
    if (tinted) Paint(RoundRect(x0, y0, x1, y1, 2.5), kInstanceTint);
    Paint(Offset(DashedRect(x0, y0, x1, y1, 2.5, 2.0), 0.5), kHalo);
    Paint(DashedRect(x0, y0, x1, y1, 2.5, 2.0), kInstance);
  }

  // Straight alpha, 8 bits per channel.
  std::vector<uint8_t> Rgba() const {
    std::vector<uint8_t> out;
    out.reserve(px_.size() * 4);
    for (const auto& p : px_) {
      const double a = p[3];
      for (int k = 0; k < 3; ++k) {
        const double straight = a > 0 ? p[k] / a : 0.0;
        out.push_back(static_cast<uint8_t>(std::lround(std::clamp(straight, 0.0, 1.0) * 255)));
      }
      out.push_back(static_cast<uint8_t>(std::lround(std::clamp(a, 0.0, 1.0) * 255)));
    }
    return out;
  }

 private:
  std::vector<std::array<double, 4>> px_;
};

// --- the nine icons --------------------------------------------------------------------------

// Select: highlighted instances picked by the pointer.
Canvas DrawSelect() {
  Canvas c;
  c.Instance(2, 2, 14, 14, true);
  c.Instance(17, 6, 29, 18, true);
  c.Glyph(Polygon({{11, 13}, {11, 29}, {14.6, 25.4}, {17.2, 30.6}, {19.6, 29.4}, {17.1, 24.3},
                   {22, 24.3}}));
  return c;
}

// Create: a reference, an instance of it and a plus badge.
Canvas DrawCreate() {
  Canvas c;
  c.Instance(10, 10, 24, 24);
  c.Reference(2, 2, 15, 15);
  c.Paint(Circle(24.5, 24.5, 7.0), kHalo);
  c.Paint(Circle(24.5, 24.5, 6.3), kBadge);
  c.Paint(Union(Line(24.5, 20.8, 24.5, 28.2, 2.2), Line(20.8, 24.5, 28.2, 24.5, 2.2)), kGlyph);
  return c;
}

// Split: one reference forks into its own copy for the instances.
Canvas DrawSplit() {
  Canvas c;
  c.Glyph(Union(Union(Line(16, 11, 16, 15.5, 2.4), Line(16, 15.5, 8, 20.5, 2.4)),
                Line(16, 15.5, 24, 20.5, 2.4)));
  c.Reference(10, 1, 22, 11);
  c.Reference(2, 20, 13, 31);
  c.Instance(19, 20, 30, 31);
  return c;
}

// Rename: an instance above a name field with text and a caret.
Canvas DrawRename() {
  Canvas c;
  c.Instance(3, 2, 18, 15);
  c.Paint(RoundRect(1.5, 17.5, 30.5, 30.5, 2.5), kHalo);
  c.Paint(RoundRect(2.5, 18.5, 29.5, 29.5, 2.0), kGlyph);
  c.Paint(Line(6, 24, 13, 24, 2.4), kText);
  c.Paint(Line(16, 24, 20, 24, 2.4), kText);
  c.Paint(Line(23.5, 20.5, 23.5, 27.5, 1.6), kReferenceEdge);
  return c;
}

Shape Brackets() {
  const double w = 2.2, a = 2.5, b = 29.5, len = 7;
  Shape s = Line(a, a, a + len, a, w);
  s = Union(s, Line(a, a, a, a + len, w));
  s = Union(s, Line(b, a, b - len, a, w));
  s = Union(s, Line(b, a, b, a + len, w));
  s = Union(s, Line(a, b, a + len, b, w));
  s = Union(s, Line(a, b, a, b - len, w));
  s = Union(s, Line(b, b, b - len, b, w));
  s = Union(s, Line(b, b, b, b - len, w));
  return s;
}

// Frame objects: a viewfinder around an instance.
Canvas DrawFrameObjects() {
  Canvas c;
  c.Glyph(Brackets());
  c.Instance(9, 9, 23, 23);
  return c;
}

// Frame elements: a viewfinder around the points and edges of a triangle.
Canvas DrawFrameElements() {
  Canvas c;
  c.Glyph(Brackets());
  const double ax = 16, ay = 8.5, bx = 8.5, by = 23, cx = 23.5, cy = 22;
  Shape edges = Union(Union(Line(ax, ay, bx, by, 1.4), Line(bx, by, cx, cy, 1.4)),
                      Line(cx, cy, ax, ay, 1.4));
  c.Paint(Offset(edges, 0.6), kHalo);
  c.Paint(edges, kInstance);
  for (auto [x, y] : {std::pair{ax, ay}, std::pair{bx, by}, std::pair{cx, cy}}) {
    c.Paint(Circle(x, y, 3.3), kHalo);
    c.Paint(Circle(x, y, 2.6), kGlyph);
  }
  return c;
}

// Swap: reference and instance trade places, two arrows going round.
Canvas DrawSwap() {
  Canvas c;
  c.Reference(2, 2, 14, 14);
  c.Instance(18, 18, 30, 30);
  Shape arrows = Union(Arc(16, 16, 11, 2.2, -80, -12), ArrowHead(27, 20.5, 0, 1, 5.0, 3.4));
  arrows = Union(arrows, Union(Arc(16, 16, 11, 2.2, 100, 168), ArrowHead(5, 11.5, 0, -1, 5.0, 3.4)));
  c.Glyph(arrows);
  return c;
}

// Make editable: the dashed instance becomes a solid object with editable points.
Canvas DrawMakeEditable() {
  Canvas c;
  c.Instance(2, 2, 14, 14);
  c.Glyph(Union(Line(11, 11, 16.5, 16.5, 2.2), ArrowHead(19.5, 19.5, 1, 1, 5.5, 3.6)));
  c.Reference(14, 14, 29, 29);
  for (auto [x, y] : {std::pair{14.75, 14.75}, std::pair{28.25, 14.75}, std::pair{14.75, 28.25},
                      std::pair{28.25, 28.25}}) {
    c.Paint(RoundRect(x - 2.4, y - 2.4, x + 2.4, y + 2.4, 0.6), kHalo);
    c.Paint(RoundRect(x - 1.6, y - 1.6, x + 1.6, y + 1.6, 0.4), kGlyph);
  }
  return c;
}

// Settings: a gear with the instance outline at its hub.
Canvas DrawSettings() {
  Canvas c;
  const double cx = 16, cy = 16;
  Shape gear = [=](double x, double y) {
    const double r = std::hypot(x - cx, y - cy);
    const double a = std::atan2(y - cy, x - cx);
    // Eight teeth: a smoothed square wave in the radius.
    const double wave = std::clamp(std::cos(8 * a) * 2.2, -1.0, 1.0);
    const double outer = 11.8 + 2.6 * (wave + 1) / 2;
    return r - outer;
  };
  Shape body = Subtract(gear, Circle(cx, cy, 6.2));
  c.Paint(Offset(body, 1.0), kGearEdge);
  c.Paint(body, kGear);
  c.Paint(Offset(DashedRect(11.5, 11.5, 20.5, 20.5, 1.5, 1.8, 3.0), 0.4), kHalo);
  c.Paint(DashedRect(11.5, 11.5, 20.5, 20.5, 1.5, 1.8, 3.0), kInstance);
  return c;
}

bool WriteTiff(const std::string& path, const Canvas& canvas) {
  TIFF* tif = TIFFOpen(path.c_str(), "w");
  if (!tif) return false;
  const std::vector<uint8_t> rgba = canvas.Rgba();
  const uint16_t extra[] = {EXTRASAMPLE_UNASSALPHA};
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, kSize);
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, kSize);
  TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 4);
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
  TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, 1, extra);
  TIFFSetField(tif, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
  TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
  TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
  TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, kSize);
  bool ok = true;
  for (int y = 0; y < kSize && ok; ++y) {
    // libtiff takes a non-const buffer but does not change it.
    auto* row = const_cast<uint8_t*>(rgba.data() + static_cast<size_t>(y * kSize * 4));
    ok = TIFFWriteScanline(tif, row, static_cast<uint32_t>(y), 0) == 1;
  }
  TIFFClose(tif);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
    return 2;
  }
  const std::string dir = argv[1];
  const std::pair<const char*, Canvas (*)()> icons[] = {
      {"gx_select.tif", DrawSelect},         {"gx_create.tif", DrawCreate},
      {"gx_split.tif", DrawSplit},           {"gx_rename.tif", DrawRename},
      {"gx_frameobjects.tif", DrawFrameObjects}, {"gx_frameelements.tif", DrawFrameElements},
      {"gx_swap.tif", DrawSwap},             {"gx_makeeditable.tif", DrawMakeEditable},
      {"gx_settings.tif", DrawSettings},
  };
  int failures = 0;
  for (const auto& [name, draw] : icons) {
    const std::string path = dir + "/" + name;
    if (!WriteTiff(path, draw())) {
      std::fprintf(stderr, "make_icons: cannot write %s\n", path.c_str());
      ++failures;
    } else {
      std::printf("wrote %s\n", path.c_str());
    }
  }
  return failures == 0 ? 0 : 1;
}
