// The file path log lines carry, from what each toolchain puts in __FILE__.
#include "common/source_path.h"

#include <gtest/gtest.h>

#include <string>

namespace lumen_addon {
namespace {

template <std::size_t N>
std::string Trim(const char (&f)[N]) {
  return TrimSourcePath(f).text;
}

TEST(SourcePath, RelativeAsNodeGypMakeCompiles) {
  EXPECT_EQ(Trim("../src/engine/live_play_engine_impl.cc"), "src/engine/live_play_engine_impl");
  EXPECT_EQ(Trim("src/addon/streaming_engine_addon.cc"), "src/addon/streaming_engine_addon");
}

TEST(SourcePath, WindowsSeparatorsBecomeSlashes) {
  EXPECT_EQ(Trim("..\\src\\QXReplay\\addon\\QXReplay_room_addon.cc"), "src/QXReplay/addon/QXReplay_room_addon");
  EXPECT_EQ(Trim("C:\\work\\app\\node_modules\\lumen_engine_addon\\src\\engine\\x.cc"), "src/engine/x");
}

TEST(SourcePath, TheLastSrcDirectoryCounts) {
  EXPECT_EQ(Trim("/home/me/src/app/node_modules/lumen_engine_addon/src/engine/x.cc"), "src/engine/x");
  EXPECT_EQ(Trim("C:\\src\\app\\src\\addon\\y.cc"), "src/addon/y");
  // A name that merely ends in "src" is no directory of that name.
  EXPECT_EQ(Trim("/a/mysrc/src/common/z.h"), "src/common/z");
}

TEST(SourcePath, OnlyTheFileNamesExtensionGoes) {
  EXPECT_EQ(Trim("/build/v1.2/src/engine/a.b.cc"), "src/engine/a.b");
  EXPECT_EQ(Trim("/x.y/src/engine/noext"), "src/engine/noext");
}

TEST(SourcePath, AComputedConstant) {
  static constexpr auto kPath = TrimSourcePath("..\\src\\a\\b.cc");
  static_assert(kPath.text[0] == 's' && kPath.text[3] == '/' && kPath.text[5] == '/' && kPath.text[7] == '\0');
  EXPECT_STREQ(kPath.text, "src/a/b");
}

}  // namespace
}  // namespace lumen_addon
