// Decoded images: the TIFF files of the module's icons.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "standin/resources.h"
#include "standin_fixture.h"

namespace standin_test {

namespace {

// Writes an uncompressed RGB(A) TIFF of the given size, byte by byte, so that the file does not
// come from the decoder's own library (libtiff on POSIX systems, the system's codecs on Windows).
void WriteTiff(const std::string& path, uint32_t w, uint32_t h, bool alpha) {
  const uint16_t spp = alpha ? 4 : 3;
  std::vector<uint8_t> f;
  auto u16 = [&f](uint32_t v) {
    f.push_back(static_cast<uint8_t>(v));
    f.push_back(static_cast<uint8_t>(v >> 8));
  };
  auto u32 = [&](uint32_t v) {
    u16(v & 0xffff);
    u16(v >> 16);
  };
  // The header, then one IFD; the BitsPerSample array and the pixels follow it.
  const uint16_t entries = alpha ? 11 : 10;
  const uint32_t bits_at = 8 + 2 + 12u * entries + 4;
  const uint32_t pixels_at = bits_at + 2u * spp;
  const uint32_t bytes = w * h * spp;
  u16('I' | 'I' << 8);  // "II": little-endian
  u16(42);
  u32(8);
  u16(entries);
  auto entry = [&](uint16_t tag, uint16_t type, uint32_t count, uint32_t value) {
    u16(tag);
    u16(type);
    u32(count);
    u32(value);  // a SHORT value sits in the low half, as little-endian wants it
  };
  const uint16_t kShort = 3, kLong = 4;
  entry(256, kLong, 1, w);                 // ImageWidth
  entry(257, kLong, 1, h);                 // ImageLength
  entry(258, kShort, spp, bits_at);        // BitsPerSample: 8 each, stored after the IFD
  entry(259, kShort, 1, 1);                // Compression: none
  entry(262, kShort, 1, 2);                // Photometric: RGB
  entry(273, kLong, 1, pixels_at);         // StripOffsets
  entry(277, kShort, 1, spp);              // SamplesPerPixel
  entry(278, kLong, 1, h);                 // RowsPerStrip
  entry(279, kLong, 1, bytes);             // StripByteCounts
  entry(284, kShort, 1, 1);                // PlanarConfiguration: contiguous
  if (alpha) entry(338, kShort, 1, 1);     // ExtraSamples: associated alpha
  u32(0);                                  // no next IFD
  for (uint16_t i = 0; i < spp; ++i) u16(8);
  f.resize(f.size() + bytes, 128);
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(f.data()), static_cast<std::streamsize>(f.size()));
  ASSERT_TRUE(out.good()) << path;
}

}  // namespace

using Bitmap = HostTest;

TEST_F(Bitmap, TiffsAreDecoded) {
  const std::string rgba = TempPath("rgba.tif");
  const std::string icons = TempPath("icons");
  std::filesystem::create_directories(icons);
  const std::string rgb = icons + "/gx_swap.tif";
  WriteTiff(rgba, 32, 16, true);
  WriteTiff(rgb, 8, 8, false);
  GmBitmap* b = api->bitmap_load(rgba.c_str(), 1.0);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->width, 32);
  EXPECT_EQ(b->height, 16);
  EXPECT_TRUE(b->alpha);
  api->bitmap_free(b);
  b = api->bitmap_load(rgb.c_str(), 2.0);
  ASSERT_NE(b, nullptr);
  EXPECT_FALSE(b->alpha);
  api->bitmap_free(b);

  const std::string junk = TempPath("junk.tif");
  WriteFile(junk, "not a tiff at all");
  EXPECT_EQ(api->bitmap_load(junk.c_str(), 1.0), nullptr);
  EXPECT_EQ(api->bitmap_load(TempPath("missing.tif").c_str(), 1.0), nullptr);

  host.faults().missing_icons = {"gx_swap.tif"};
  EXPECT_EQ(api->bitmap_load(rgb.c_str(), 1.0), nullptr);
  for (const auto& p : {rgba, rgb, junk}) std::remove(p.c_str());
}

}  // namespace standin_test
