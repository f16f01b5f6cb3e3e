#pragma once

// The entries of one open folder, in the system's order: read with getdents64
// on Linux (folder_reader_linux.cpp, no call beyond the reads), with readdir
// elsewhere, the device included (folder_reader_posix.cpp).

#include <memory>
#include <optional>

namespace platform {

class FolderReader {
 public:
  // Takes over fd, a folder opened for reading; a negative fd makes a reader
  // that is not open.
  explicit FolderReader(int fd = -1);

  bool isOpen() const { return stream_ != nullptr; }
  // The folder's descriptor, to open what it holds relative to it.
  int fd() const;
  void close() { stream_.reset(); }

  // An entry: its name, valid until the next call of next, and whether it is
  // a folder (a link never is).
  struct Entry {
    const char* name;
    bool isFolder;
  };
  // The next entry, "." and ".." left out; nothing at the end of the folder or
  // on an error, whose errno value error() then gives (0 at the end).
  std::optional<Entry> next();
  int error() const { return error_; }

 private:
  // The entry called name whose dirent type is type; nothing for "." and
  // "..". The kind of an entry the system lists as DT_UNKNOWN is asked of the
  // file itself, never following a link.
  std::optional<Entry> entry(const char* name, unsigned char type) const;

  // The system's own reading state, closed with the folder.
  struct Stream;
  struct Closer {
    void operator()(Stream* stream) const;
  };
  std::unique_ptr<Stream, Closer> stream_;
  int error_ = 0;
};

}  // namespace platform
