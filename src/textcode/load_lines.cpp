// The file is read once, split into lines as its pieces arrive, and its
// lines are adopted in place; only a converted text gets a second buffer,
// the size of the first.
#include "textcode/load_lines.h"

#include <cassert>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "textcode/code_detect.h"
#include "textcode/file_bytes.h"
#include "textcode/jis_convert.h"
#include "textcode/line_split.h"
#include "textcode/mapped_file.h"
#include "textcode/utf8_convert.h"

namespace rd {

std::optional<TLineList> ConvertLines(const TLineList& lines, TextCode code) {
  assert((code == TextCode::Euc || code == TextCode::Utf8) && "only EUC-JP and UTF-8 are converted");
  char* (*convert)(std::string_view, char*) = code == TextCode::Euc ? EucToSjisInto : Utf8ToSjisInto;
  // Both conversions give at most as many bytes as they read.
  std::string bytes(lines.Bytes().size(), '\0');
  TLineStarts starts;
  starts.Reserve(lines.Count() + 1);
  starts.Push(0);
  char* out = bytes.data();
  for (std::size_t i = 0; i < lines.Count(); ++i) {
    out = convert(lines[i], out);
    if (!out) return std::nullopt;
    starts.Push(static_cast<std::uint64_t>(out - bytes.data()));
  }
  bytes.resize(static_cast<std::size_t>(out - bytes.data()));
  return TLineList::AdoptPacked(std::move(bytes), std::move(starts));
}

namespace {

// A file's lines, and how many of its bytes from the start decide nothing
// for the code detection.
struct TFileLines {
  TLineList lines;
  std::size_t quiet = 0;
};

// The lines of a file read into a buffer, split as the pieces come.
TFileLines ReadLines(std::string_view path) {
  TSplitWhileReading split(kMaxTextLines);
  TLineList lines = split.Finish(ReadFileBytes(path, {kMaxTextLines, kMaxStreamBytes}, &split));
  return {std::move(lines), split.QuietBytes()};
}

// The lines of a regular file mapped into memory; of any other file, or
// one that cannot be mapped, read.
TFileLines MapLines(std::string_view path) {
  TMappedFile file = TMappedFile::Map(path, kMaxStreamBytes);
  if (!file) return ReadLines(path);
  TSplitWhileReading split(kMaxTextLines);
  split.Start(file.Bytes().size());
  split.Read(file.Bytes());
  TLineStarts starts = split.FinishStarts(file.Bytes());
  return {TLineList::AdoptText(std::move(file), std::move(starts)), split.QuietBytes()};
}

TextCode LoadLinesOrThrow(TLineList& list, TextCode code, std::string_view path, TReadWay way) {
  auto [lines, quiet] = way == TReadWay::Map ? MapLines(path) : ReadLines(path);

  TextCode result = TextCode::Sjis;
  if (code == TextCode::Auto) result = ChooseTextCode(DetectLinesCode(lines, quiet));
  else if (code == TextCode::Euc || code == TextCode::Utf8) result = code;

  if (result != TextCode::Sjis) {
    if (std::optional<TLineList> converted = ConvertLines(lines, result)) {
      list = std::move(*converted);
      return result;
    }
  }
  list = std::move(lines);
  return result;
}

}  // namespace

TextCode LoadLines(TLineList& list, TextCode code, std::string_view path, TReadWay way) {
  try {
    return LoadLinesOrThrow(list, code, path, way);
  } catch (const TTooManyLines&) {
    throw TFileReadError(std::string(path), TooManyLinesReason(kMaxTextLines));
  } catch (const std::bad_alloc&) {
    // What was allocated for this file is freed by now.
    throw TFileReadError(std::string(path), std::string(kReasonOutOfMemory));
  }
}

}  // namespace rd
