// Random bytes into every detector and converter, in buffers of exactly their
// size so that the sanitizers catch any read past the end; and the detection
// over split lines against the literal join with CR LF.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>

#include "textcode/code_detect.h"
#include "textcode/jis_convert.h"
#include "textcode/line_split.h"
#include "textcode/text_code.h"
#include "textcode/utf8_convert.h"
#include "textcode/hex.h"

namespace rd {
namespace {

// Bytes that steer the detectors and converters, mixed with any byte.
constexpr unsigned char kInteresting[] = {0x00, 0x07, 0x08, 0x0A, 0x0D, 0x1B, 0x24, 0x40, 0x41, 0x42,
                                          0x5C, 0x7F, 0x80, 0x81, 0x82, 0x8E, 0x8F, 0x9C, 0x9F, 0xA0,
                                          0xA1, 0xA4, 0xB1, 0xBF, 0xC3, 0xDF, 0xE0, 0xE3, 0xED, 0xEF,
                                          0xF0, 0xF4, 0xFC, 0xFD, 0xFE, 0xFF};

std::string RandomBytes(std::mt19937& rng, std::size_t size) {
  std::string bytes(size, '\0');
  std::uniform_int_distribution<int> any(0, 255), pick(0, sizeof kInteresting - 1), coin(0, 2);
  for (char& b : bytes) b = static_cast<char>(coin(rng) == 0 ? any(rng) : kInteresting[pick(rng)]);
  return bytes;
}

// A heap copy of exactly the input's size (a std::string has spare room).
struct TExact {
  explicit TExact(const std::string& s) : size(s.size()), data(new char[s.size() ? s.size() : 1]) {
    std::copy(s.begin(), s.end(), data.get());
  }
  std::string_view View() const { return {data.get(), size}; }
  std::size_t size;
  std::unique_ptr<char[]> data;
};

TEST(RandomBytes, EveryFunctionStaysInsideItsInput) {
  std::mt19937 rng(20240611);
  std::uniform_int_distribution<std::size_t> length(0, 40);
  for (int round = 0; round < 20000; ++round) {
    const std::string bytes = RandomBytes(rng, length(rng));
    const TExact in(bytes);
    const std::string_view v = in.View();

    EXPECT_LE(static_cast<int>(DetectCode(v)), 10);
    EXPECT_LE(static_cast<int>(DetectJapaneseCode(v)), 6);
    (void)IsValidUtf8(v);
    if (const auto s = EucToSjis(v)) {
      EXPECT_LE(s->size(), v.size());
    }
    if (const auto e = SjisToEuc(v)) {
      EXPECT_LE(e->size(), 2 * v.size());
    }
    const auto sjis = Utf8ToSjis(v);
    ASSERT_TRUE(sjis);
    EXPECT_LE(sjis->size(), v.size());
    const auto utf8 = SjisToUtf8(v);
    ASSERT_TRUE(utf8);
    EXPECT_LE(utf8->size(), 3 * v.size());
    EXPECT_TRUE(IsValidUtf8(*utf8)) << test::ToHex(bytes);
  }
}

// Joining the lines with CR LF and detecting over the result must agree with
// the detection that walks the file's own bytes, also around the 1024-byte
// limit, where the head is rebuilt from the lines.
TEST(RandomBytes, DetectionOverLinesEqualsDetectionOverTheirJoin) {
  std::mt19937 rng(7);
  std::uniform_int_distribution<std::size_t> shortLength(0, 30), padLength(990, 1040);
  for (int round = 0; round < 6000; ++round) {
    std::string bytes = RandomBytes(rng, shortLength(rng));
    if (round % 3 == 0) bytes = std::string(padLength(rng), 'a') + bytes;
    if (round % 5 == 0) bytes = std::string(round % 40, '\n') + bytes;
    if (round % 7 == 0) bytes = "\xE3\x81\x82" + bytes;
    const TLineList lines = SplitLines(bytes);
    std::string joined;
    for (std::size_t i = 0; i < lines.Count(); ++i) joined.append(lines[i]).append("\r\n");
    ASSERT_EQ(DetectLinesCode(lines), DetectCode(joined)) << test::ToHex(bytes);
  }
}

// The split tells how many bytes from the start are quiet, and the
// detection that starts after them decides as the one over all bytes.
TEST(RandomBytes, DetectionAfterTheQuietStartEqualsDetectionOverAll) {
  std::mt19937 rng(9);
  std::uniform_int_distribution<int> printable(0x20, 0x7E), quietLength(0, 700), piece(1, 200);
  for (int round = 0; round < 3000; ++round) {
    std::string bytes;
    for (int k = quietLength(rng); k > 0; --k) bytes += rng() % 16 == 0 ? '\n' : static_cast<char>(printable(rng));
    bytes += RandomBytes(rng, rng() % 40);
    TSplitWhileReading split;
    split.Start(bytes.size());
    for (std::size_t at = 0; at < bytes.size();) {
      at = std::min(bytes.size(), at + static_cast<std::size_t>(piece(rng)));
      split.Read(std::string_view(bytes).substr(0, at));
    }
    const TLineList lines = split.Finish(bytes);
    ASSERT_LE(split.QuietBytes(), bytes.size());
    ASSERT_EQ(DetectLinesCode(lines, split.QuietBytes()), DetectLinesCode(lines)) << test::ToHex(bytes);
  }
}

}  // namespace
}  // namespace rd
