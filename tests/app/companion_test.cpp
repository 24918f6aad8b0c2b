// The companion program's frames: cutting a byte stream into frames, the
// pending name with its bound, and the frames a sender writes.
#include <gtest/gtest.h>

#include <cstring>

#include "app/companion.h"

namespace rd {
namespace {

TCompanionFrame Frame(std::int32_t w, std::int32_t l) { return {w, l}; }

std::string Bytes(std::initializer_list<std::pair<std::int32_t, std::int32_t>> frames) {
  std::string out;
  for (const auto& [w, l] : frames) {
    char b[8];
    std::memcpy(b, &w, 4);
    std::memcpy(b + 4, &l, 4);
    out.append(b, 8);
  }
  return out;
}

TEST(CompanionFrames, AreCutFromAStreamInAnyPieces) {
  const std::string stream = Bytes({{0, 0}, {0, 'a'}, {1, 0}});
  TCompanionFrameReader reader;
  std::vector<std::pair<int, int>> got;
  // One byte at a time: a frame is whole only after its eighth byte.
  for (const char c : stream) {
    reader.Feed(std::string_view(&c, 1));
    while (const auto f = reader.Next()) got.emplace_back(f->wParam, f->lParam);
  }
  EXPECT_EQ(got, (std::vector<std::pair<int, int>>{{0, 0}, {0, 'a'}, {1, 0}}));
  reader.Feed(stream.substr(0, 5));  // a frame cut off by a closed connection stays unread
  EXPECT_FALSE(reader.Next());
}

TEST(CompanionName, CollectsBytesAndOpensInTheNamedPane) {
  struct Case {
    std::vector<TCompanionFrame> frames;
    std::optional<Side> side;
    std::string path;
    bool valid;
  };
  const Case cases[] = {
      {{Frame(0, 0), Frame(0, '/'), Frame(0, 'x'), Frame(1, 0)}, Side::A, "/x", true},
      {{Frame(0, 0), Frame(0, '/'), Frame(0, 'x'), Frame(2, 77)}, Side::B, "/x", true},
      // Only the low byte counts; a reset starts a new name.
      {{Frame(0, 'q'), Frame(0, 0), Frame(0, 0x141), Frame(2, 0)}, Side::B, "A", true},
      // Shift_JIS bytes of a legacy name pass as they are.
      {{Frame(0, 0), Frame(0, 0x93), Frame(0, 0xfa), Frame(1, 0)}, Side::A, "\x93\xfa", true},
      {{Frame(0, 0), Frame(1, 0)}, std::nullopt, "", true},  // nothing pending
      {{Frame(0, 0), Frame(0, 'x'), Frame(3, 0)}, std::nullopt, "", false},
      {{Frame(0, 0), Frame(0, 'x'), Frame(-1, 0)}, std::nullopt, "", false},
  };
  for (const Case& c : cases) {
    TCompanionName name;
    std::optional<TCompanionOpen> opened;
    bool valid = true;
    for (const TCompanionFrame& f : c.frames) {
      opened = name.Apply(f, valid);
      if (!valid) break;
    }
    EXPECT_EQ(valid, c.valid);
    EXPECT_EQ(opened.has_value(), c.side.has_value());
    if (opened && c.side) {
      EXPECT_EQ(opened->side, *c.side);
      EXPECT_EQ(opened->path, c.path);
    }
  }
}

TEST(CompanionName, ANameOverTheBoundIsIgnoredUntilTheNextReset) {
  TCompanionName name;
  bool valid = true;
  name.Apply(Frame(0, 0), valid);
  for (std::size_t i = 0; i < TCompanionName::kMaxName; ++i) name.Apply(Frame(0, 'a'), valid);
  EXPECT_TRUE(name.Apply(Frame(1, 0), valid).has_value());  // exactly at the bound: kept
  name.Apply(Frame(0, 'a'), valid);                         // one byte more
  EXPECT_FALSE(name.Apply(Frame(1, 0), valid).has_value());
  EXPECT_EQ(name.Pending().size(), TCompanionName::kMaxName);
  name.Apply(Frame(0, 0), valid);
  name.Apply(Frame(0, 'b'), valid);
  EXPECT_EQ(name.Apply(Frame(2, 0), valid)->path, "b");
}

TEST(CompanionMessage, IsResetBytesThenSide) {
  EXPECT_EQ(CompanionMessage(Side::B, "/\xe3"), Bytes({{0, 0}, {0, '/'}, {0, 0xe3}, {2, 0}}));
  EXPECT_EQ(CompanionMessage(Side::A, ""), Bytes({{0, 0}, {1, 0}}));
}

}  // namespace
}  // namespace rd
