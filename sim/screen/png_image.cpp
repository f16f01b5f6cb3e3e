#include "png_image.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string_view>

#include "platform/device_path.h"

namespace screen {

namespace {

constexpr std::string_view kSignature{"\x89PNG\r\n\x1a\n", 8};

// Reads a plain file of at most kMaxPngBytes; false, with why set, for anything else.
bool readPlainFile(const std::string& devicePath, std::string& bytes, std::string& why) {
  // O_NONBLOCK: opening a pipe waits for a writer without it.
  int fd = open(platform::hostPath(devicePath).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    why = std::strerror(errno);
    return false;
  }
  struct stat status;
  bool ok = fstat(fd, &status) == 0;
  if (!ok) why = std::strerror(errno);
  else if (!S_ISREG(status.st_mode)) ok = false, why = "not a plain file";
  else if (std::size_t(status.st_size) > kMaxPngBytes) ok = false, why = "too large";
  if (ok) {
    bytes.resize(std::size_t(status.st_size));
    std::size_t done = 0;
    while (done < bytes.size()) {
      ssize_t n = read(fd, bytes.data() + done, bytes.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      done += std::size_t(n);
    }
    // A file that shrank while it was read is taken as far as it went.
    bytes.resize(done);
  }
  close(fd);
  return ok;
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

}  // namespace

Surface readPng(const std::string& devicePath, std::string& why) {
  std::string bytes;
  if (!readPlainFile(devicePath, bytes, why) || !boundedHeader(bytes, why)) return nullptr;
  Reader reader{bytes};
  Surface image(cairo_image_surface_create_from_png_stream(readChunk, &reader));
  if (cairo_surface_status(image.get()) != CAIRO_STATUS_SUCCESS) {
    why = "not a PNG image";
    return nullptr;
  }
  return image;
}

}  // namespace screen
