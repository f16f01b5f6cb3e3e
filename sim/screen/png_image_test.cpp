#include "png_image.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "tests/support/scratch_root.h"

namespace {

namespace fs = std::filesystem;

// A PNG header claiming the given size, with nothing after it.
std::string headerOnly(unsigned width, unsigned height) {
  std::string bytes("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16);
  for (unsigned value : {width, height})
    for (int shift = 24; shift >= 0; shift -= 8) bytes += char(value >> shift & 0xff);
  return bytes + std::string("\x08\x06\0\0\0", 5);
}

TEST(PngImage, AGoodImageIsReadAndEveryHostileFileIsRefusedWithAReason) {
  ScratchRoot scratch;
  cairo_surface_t* good = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 3, 2);
  cairo_surface_write_to_png(good, (scratch.path() / "good.png").c_str());
  cairo_surface_destroy(good);
  std::ofstream(scratch.path() / "text.png") << "not an image";
  std::ofstream(scratch.path() / "huge.png") << headerOnly(100000, 100000);
  std::ofstream(scratch.path() / "cut.png") << headerOnly(8, 8);
  std::ofstream(scratch.path() / "big.png") << headerOnly(8, 8);
  fs::resize_file(scratch.path() / "big.png", screen::kMaxPngBytes + 1);
  ASSERT_EQ(mkfifo((scratch.path() / "pipe.png").c_str(), 0644), 0);
  fs::create_directory(scratch.path() / "folder.png");

  std::string why;
  screen::Surface image = screen::readPng("/good.png", why);
  ASSERT_TRUE(image);
  EXPECT_EQ(cairo_image_surface_get_width(image.get()), 3);
  struct Case {
    const char* path;
    const char* why;
  };
  for (const Case& c :
       {Case{"/missing.png", "No such file or directory"}, Case{"/text.png", "not a PNG image"},
        Case{"/huge.png", "image too large"}, Case{"/cut.png", "not a PNG image"}, Case{"/big.png", "too large"},
        Case{"/pipe.png", "not a plain file"}, Case{"/folder.png", "not a plain file"}}) {
    why.clear();
    EXPECT_FALSE(screen::readPng(c.path, why)) << c.path;
    EXPECT_EQ(why, c.why) << c.path;
  }
}

}  // namespace
