// Mapped files: what is mapped and what is left to reading, line lists that
// keep a mapping through moves, and a file shortened while it is mapped.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <utility>

#include "temp_folder.h"
#include "textcode/line_list.h"
#include "textcode/line_split.h"
#include "textcode/mapped_file.h"

namespace rd {
namespace {

TEST(MappedFile, OnlyRegularFilesWithBytesWithinTheLimitAreMapped) {
  testing::TempFolder folder;
  const std::string text = folder.Write("a.txt", "one\r\ntwo\r\n");
  EXPECT_EQ(TMappedFile::Map(text, 100).Bytes(), "one\r\ntwo\r\n");
  EXPECT_FALSE(TMappedFile::Map(text, 9));
  EXPECT_FALSE(TMappedFile::Map(folder.Write("empty.txt", ""), 100));
  EXPECT_FALSE(TMappedFile::Map(folder.Path() + "missing.txt", 100));
  EXPECT_FALSE(TMappedFile::Map(folder.Path(), 100));
  const std::string fifo = folder.Path() + "fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_FALSE(TMappedFile::Map(fifo, 100));  // not opened for reading either: that would wait for a writer
}

TEST(MappedFile, LinesKeepTheirBytesThroughMovesAndLetGoOnClear) {
  testing::TempFolder folder;
  TMappedFile file = TMappedFile::Map(folder.Write("a.txt", "alpha\nbeta\r\ngamma"), 100);
  ASSERT_TRUE(file);
  TLineStarts starts = SplitStarts(file.Bytes());
  TLineList lines = TLineList::AdoptText(std::move(file), std::move(starts));
  EXPECT_FALSE(file);
  TLineList moved(std::move(lines));
  TLineList assigned;
  assigned = std::move(moved);
  ASSERT_EQ(assigned.Count(), 3u);
  EXPECT_EQ(assigned[0], "alpha");
  EXPECT_EQ(assigned[1], "beta");
  EXPECT_EQ(assigned[2], "gamma");
  EXPECT_EQ(assigned.Bytes(), "alpha\nbeta\r\ngamma");
  EXPECT_EQ(moved.Count(), 0u);
  moved.Add("again");
  EXPECT_EQ(moved[0], "again");
  assigned.Clear();
  EXPECT_EQ(assigned.Count(), 0u);
  EXPECT_TRUE(assigned.Bytes().empty());
  assigned.Add("own");
  EXPECT_EQ(assigned[0], "own");
}

// A page past the new end of a shortened file cannot be read: the guard
// turns the fault into its message and status 1.
TEST(MappedFileDeathTest, AFileShortenedWhileMappedEndsTheRunWithTheMessage) {
  testing::TempFolder folder;
  const std::string path = folder.Write("big.txt", std::string(3 * 4096, 'x'));
  EXPECT_EXIT(
      {
        GuardMappedFiles("RavelleDiff: the file became shorter");
        const TMappedFile file = TMappedFile::Map(path, SIZE_MAX);
        if (!file || ::truncate(path.c_str(), 0) != 0) std::_Exit(3);
        volatile char byte = file.Bytes()[2 * 4096];
        (void)byte;
        std::_Exit(4);
      },
      ::testing::ExitedWithCode(1), "RavelleDiff: the file became shorter");
}

}  // namespace
}  // namespace rd
