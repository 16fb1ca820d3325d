// The writing file's path as log lines carry it: "src/engine/x" from
// whatever the compiler put in __FILE__ ("../src/engine/x.cc" from node-gyp's
// make, "C:\\app\\node_modules\\lumen_engine_addon\\src\\engine\\x.cc" from
// MSBuild), computed at compile time.
#ifndef LUMEN_COMMON_SOURCE_PATH_H_
#define LUMEN_COMMON_SOURCE_PATH_H_

#include <cstddef>

namespace lumen_addon {

template <std::size_t N>
struct SourcePath {
  char text[N]{};
};

constexpr bool IsPathSeparator(char c) { return c == '/' || c == '\\'; }

// From the last "src" directory (a checkout may itself sit under one), up
// to the extension, with '/' between directories.
template <std::size_t N>
constexpr SourcePath<N> TrimSourcePath(const char (&f)[N]) {
  std::size_t start = 0;
  for (std::size_t i = 0; i + 4 < N; ++i) {
    if (f[i] == 's' && f[i + 1] == 'r' && f[i + 2] == 'c' && IsPathSeparator(f[i + 3]) &&
        (i == 0 || IsPathSeparator(f[i - 1]))) {
      start = i;
    }
  }
  std::size_t end = N - 1;
  for (std::size_t i = N - 1; i > start; --i) {
    if (IsPathSeparator(f[i])) break;
    if (f[i] == '.') {
      end = i;
      break;
    }
  }
  SourcePath<N> p{};
  for (std::size_t i = start; i < end; ++i) p.text[i - start] = f[i] == '\\' ? '/' : f[i];
  return p;
}

}  // namespace lumen_addon

#endif  // LUMEN_COMMON_SOURCE_PATH_H_
