// Bounds on reading: the line count of SplitLines and of a text that comes
// in pieces, and pipes and devices that never end.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <random>
#include <string>
#include <thread>

#include "temp_folder.h"
#include "textcode/file_bytes.h"
#include "textcode/line_split.h"
#include "textcode/load_lines.h"

namespace rd {
namespace {

std::string RandomText(std::mt19937& rng, std::size_t n) {
  static const char kBytes[] = {'a', 'b', '\r', '\n', '\r', '\n', ' ', '\x82'};
  std::string s;
  for (std::size_t i = 0; i < n; ++i) s += kBytes[rng() % sizeof kBytes];
  return s;
}

// The counter sees the text in random pieces and must count what SplitLines splits.
TEST(ReadLimits, CountingInPiecesAgreesWithSplitting) {
  std::mt19937 rng(11);
  for (int round = 0; round < 20000; ++round) {
    const std::string text = RandomText(rng, rng() % 40);
    TLineCounter counter;
    for (std::size_t at = 0; at < text.size();) {
      const std::size_t n = std::min<std::size_t>(text.size() - at, rng() % 5);
      counter.Add(std::string_view(text).substr(at, n));
      at += n;
    }
    const std::size_t lines = SplitLines(text).Count();
    ASSERT_EQ(counter.Lines(), lines) << ::testing::PrintToString(text);
    // The bound: exactly as many lines pass, one fewer allowed fails.
    EXPECT_EQ(SplitLines(text, lines).Count(), lines);
    if (lines > 0) {
      EXPECT_THROW(SplitLines(text, lines - 1), TTooManyLines);
    }
  }
}

TEST(ReadLimits, ARegularFileOfTooManyLinesFailsWithTheReason) {
  EXPECT_EQ(TooManyLinesReason(kMaxTextLines), "行数が多すぎます（536,870,911 行まで）");
  EXPECT_THROW(SplitLines(std::string(1000, '\n'), 999), TTooManyLines);
  EXPECT_EQ(SplitLines(std::string(1000, '\n'), 1000).Count(), 1000u);
}

TEST(ReadLimits, ADeviceEndsAtItsFirstNul) {
  EXPECT_EQ(ReadFileBytes("/dev/zero"), "");
  TLineList lines{"old"};
  LoadLines(lines, TextCode::Auto, "/dev/zero");
  EXPECT_EQ(lines.Count(), 0u);
}

// Writes `piece` into a new FIFO until the reader goes away.
class EndlessPipe {
 public:
  EndlessPipe(const std::string& path, std::string piece) : path_(path) {
    ::signal(SIGPIPE, SIG_IGN);
    EXPECT_EQ(::mkfifo(path.c_str(), 0600), 0);
    writer_ = std::thread([this, piece = std::move(piece)] {
      const int fd = ::open(path_.c_str(), O_WRONLY | O_CLOEXEC);
      if (fd < 0) return;
      while (::write(fd, piece.data(), piece.size()) > 0) {}
      ::close(fd);
    });
  }
  ~EndlessPipe() { writer_.join(); }

 private:
  std::string path_;
  std::thread writer_;
};

void ExpectReadFails(const std::string& path, const TReadLimits& limits, const std::string& reason) {
  try {
    ReadFileBytes(path, limits);
    ADD_FAILURE() << "no error";
  } catch (const TFileReadError& e) {
    EXPECT_EQ(e.Path(), path);
    EXPECT_EQ(e.Reason(), reason);
  }
}

TEST(ReadLimits, APipeThatNeverEndsStopsAtTheLineBound) {
  testing::TempFolder dir;
  const std::string fifo = dir.Path() + "lines";
  EndlessPipe pipe(fifo, "y\r\n");
  ExpectReadFails(fifo, {100000, kMaxStreamBytes}, TooManyLinesReason(100000));
}

TEST(ReadLimits, APipeThatNeverEndsStopsAtTheByteBound) {
  testing::TempFolder dir;
  const std::string fifo = dir.Path() + "bytes";
  EndlessPipe pipe(fifo, std::string(4096, 'y'));
  ExpectReadFails(fifo, {kMaxTextLines, 3u << 20}, StreamTooLongReason(3u << 20));
  EXPECT_EQ(StreamTooLongReason(kMaxStreamBytes), "終わりのないパイプまたは装置です（4,294,967,296 バイトまで読みます）");
}

TEST(ReadLimits, APipeThatEndsIsReadWhole) {
  testing::TempFolder dir;
  const std::string fifo = dir.Path() + "short";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::string text;
  for (int i = 0; i < 300000; ++i) text += "line " + std::to_string(i) + "\n";  // several pieces
  std::thread writer([&] {
    const int fd = ::open(fifo.c_str(), O_WRONLY | O_CLOEXEC);
    for (std::size_t at = 0; at < text.size();) {
      const ssize_t n = ::write(fd, text.data() + at, text.size() - at);
      if (n <= 0) break;
      at += static_cast<std::size_t>(n);
    }
    ::close(fd);
  });
  EXPECT_EQ(ReadFileBytes(fifo), text);
  writer.join();
}

}  // namespace
}  // namespace rd
