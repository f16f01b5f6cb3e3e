#pragma once

// Reading the entries of one open folder, in batches, in the order the system
// lists them. The build chooses the implementation: folder_reader_linux.cpp
// reads with getdents64 into a fixed buffer (no allocation and no system call
// beyond the reads), folder_reader_posix.cpp with readdir for any other system.

#include <string>

namespace platform {

class FolderReader {
 public:
  // Takes over fd, a folder opened for reading; a negative fd makes a reader
  // that is not open.
  explicit FolderReader(int fd = -1);
  ~FolderReader();
  FolderReader(FolderReader&& other) noexcept;
  FolderReader& operator=(FolderReader&& other) noexcept;
  FolderReader(const FolderReader&) = delete;
  FolderReader& operator=(const FolderReader&) = delete;

  bool isOpen() const;
  // The folder's descriptor, to open what it holds relative to it.
  int fd() const;
  void close();

  // Appends the next entries to records, "." and ".." left out, each as one
  // kind byte (kFolder or kOther; links are kOther), the name and a NUL.
  // Returns false when nothing was appended: at the end of the folder, or on
  // an error, whose errno value error() then gives (0 at the end).
  bool readMore(std::string& records);
  int error() const { return error_; }

  static constexpr char kFolder = 'd';
  static constexpr char kOther = 'f';

 private:
  // Appends the record of the entry called name whose dirent type is type,
  // unless it is "." or "..". The kind of an entry the system lists as
  // DT_UNKNOWN is asked of the file itself, never following a link.
  void append(std::string& records, const char* name, unsigned char type) const;

  void* stream_ = nullptr;  // the system's own folder stream, where it needs one
  int fd_ = -1;
  int error_ = 0;
};

}  // namespace platform
