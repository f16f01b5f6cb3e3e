#include "png_image.h"

#include <cerrno>
#include <cstring>
#include <optional>
#include <string_view>

#include "platform/device_path.h"
#include "platform/file.h"

namespace screen {

namespace {

constexpr std::string_view kSignature{"\x89PNG\r\n\x1a\n", 8};

// The reader's reasons in the words the screen's notes have always used.
std::string inNoteWords(const std::string& reason) {
  if (reason == "not a regular file") return "not a plain file";
  if (reason.starts_with("larger than ")) return "too large";
  return reason;
}

unsigned bigEndian32(std::string_view bytes) {
  unsigned value = 0;
  for (char c : bytes.substr(0, 4)) value = value << 8 | static_cast<unsigned char>(c);
  return value;
}

// The decoder allocates the whole image at once: refuse huge dimensions first.
// The header chunk comes first: signature, length, "IHDR", width, height.
bool boundedHeader(std::string_view bytes, std::string& why) {
  if (bytes.size() < 24 || bytes.substr(0, 8) != kSignature || bytes.substr(12, 4) != "IHDR") {
    why = "not a PNG image";
    return false;
  }
  unsigned width = bigEndian32(bytes.substr(16)), height = bigEndian32(bytes.substr(20));
  if (width == 0 || height == 0 || width > kMaxPngSide || height > kMaxPngSide) {
    why = "image too large";
    return false;
  }
  return true;
}

struct Reader {
  std::string_view rest;
};

cairo_status_t readChunk(void* closure, unsigned char* data, unsigned int length) {
  Reader* reader = static_cast<Reader*>(closure);
  if (reader->rest.size() < length) return CAIRO_STATUS_READ_ERROR;
  std::memcpy(data, reader->rest.data(), length);
  reader->rest.remove_prefix(length);
  return CAIRO_STATUS_SUCCESS;
}

cairo_status_t appendChunk(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

}  // namespace

Surface readPng(const std::string& devicePath, std::string& why) {
  std::optional<std::string> bytes = platform::readRegularFile(platform::hostPath(devicePath), kMaxPngBytes, &why);
  if (!bytes) {
    why = inNoteWords(why);
    return nullptr;
  }
  if (!boundedHeader(*bytes, why)) return nullptr;
  Reader reader{*bytes};
  Surface image(cairo_image_surface_create_from_png_stream(readChunk, &reader));
  if (cairo_surface_status(image.get()) != CAIRO_STATUS_SUCCESS) {
    why = "not a PNG image";
    return nullptr;
  }
  return image;
}

bool writePng(cairo_surface_t* picture, const std::string& hostFile, std::string& why) {
  std::string bytes;
  errno = 0;
  if (cairo_surface_write_to_png_stream(picture, appendChunk, &bytes) != CAIRO_STATUS_SUCCESS) {
    why = std::strerror(errno ? errno : EIO);
    return false;
  }
  if (platform::writeAtomically(hostFile, bytes) == platform::WriteResult::failed) {
    why = std::strerror(errno);
    return false;
  }
  return true;
}

}  // namespace screen
