// Runs a fuzz harness once over saved inputs, without libFuzzer: every file
// named, and every file below every folder named, in name order. The normal
// build links the harnesses with this driver so that the test suite replays
// each seed and each input that ever crashed.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace fs = std::filesystem;

namespace {

bool readFile(const fs::path& path, std::vector<char>& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), {});
  return !in.bad();
}

// The files to replay under a path given on the command line; false when the
// path does not exist, which is a mistake in the test's set-up, not an empty corpus.
bool collect(const fs::path& path, std::set<fs::path>& files) {
  std::error_code error;
  if (fs::is_regular_file(path, error)) {
    files.insert(path);
    return true;
  }
  if (!fs::is_directory(path, error)) return false;
  for (const auto& entry : fs::recursive_directory_iterator(path, error))
    if (entry.is_regular_file() && entry.path().filename().string().front() != '.') files.insert(entry.path());
  return !error;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s file-or-folder...\n", argv[0]);
    return 2;
  }
  std::set<fs::path> files;
  for (int i = 1; i < argc; ++i) {
    if (!collect(argv[i], files)) {
      std::fprintf(stderr, "%s: cannot read %s\n", argv[0], argv[i]);
      return 2;
    }
  }
  std::vector<char> bytes;
  for (const fs::path& file : files) {
    if (!readFile(file, bytes)) {
      std::fprintf(stderr, "%s: cannot read %s\n", argv[0], file.c_str());
      return 2;
    }
    std::printf("%s\n", file.c_str());
    std::fflush(stdout);  // the input a crash happened on is the last line shown
    // A buffer of exactly the input's size, so that reading past its end is
    // caught by the address sanitizer as it is under libFuzzer.
    std::unique_ptr<std::uint8_t[]> input(new std::uint8_t[bytes.size()]);
    std::copy(bytes.begin(), bytes.end(), input.get());
    LLVMFuzzerTestOneInput(input.get(), bytes.size());
  }
  std::printf("replayed %zu inputs\n", files.size());
  return 0;
}
