// What the fuzz targets share: a property check that stops the run, so that
// libFuzzer keeps the input as a crash, and a scratch folder for targets
// that read from files.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace rd::fuzz {

#define RD_FUZZ_CHECK(condition)                                                               \
  do {                                                                                        \
    if (!(condition)) {                                                                       \
      std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition);   \
      std::abort();                                                                           \
    }                                                                                         \
  } while (0)

// A folder of this process under the temporary folder, removed at exit.
// The name is never freed: the handler that removes the folder runs after
// the destructors of statics.
inline const std::string& ScratchFolder() {
  static const std::string* const folder = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "rd-fuzz-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) std::abort();
    auto* name = new std::string(pattern + "/");
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(ScratchFolder(), ignored);
    });
    return name;
  }();
  return *folder;
}

// Writes `bytes` to a file of the scratch folder and returns its path.
inline std::string WriteScratch(const std::string& name, std::string_view bytes) {
  const std::string path = ScratchFolder() + name;
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) std::abort();
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) std::abort();
  std::fclose(f);
  return path;
}

}  // namespace rd::fuzz
