// The objects of the workbook backend: application, workbooks, workbook,
// sheet, ranges and their parts, each a small object that resolves its
// members on the one book they share.
#include "export/workbook_automation.h"

#include <xlsxwriter.h>

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <system_error>

#include "export/cell_address.h"
#include "export/workbook_sheet.h"

namespace rd {

struct TWorkbookAutomation::TBook {
  TWorkbookOptions options;
  lxw_workbook* workbook = nullptr;  // open between WorkBooks.Add and Release
  std::string tempPath;              // where libxlsxwriter writes the file
  std::string path;                  // the finished workbook
  TWorkbookSheet sheet;
  bool visible = false;

  ~TBook() { Discard(); }
  // Drops an unfinished workbook and its file.
  void Discard() {
    if (workbook) lxw_workbook_free(workbook);
    workbook = nullptr;
    if (!tempPath.empty()) ::unlink(tempPath.c_str());
    tempPath.clear();
  }
};

namespace {

using TBook = TWorkbookAutomation::TBook;

bool Is(std::string_view member, std::string_view name) {
  if (member.size() != name.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(member[i]) != lower(name[i])) return false;
  }
  return true;
}

[[noreturn]] void Unknown(std::string_view member) {
  throw TAutoError("このメンバーには対応していません: " + std::string(member));
}

bool BoolValue(const TAutoArg& value, std::string_view member) {
  if (const auto* b = std::get_if<bool>(&value)) return *b;
  throw TAutoError(std::string(member) + ": 値が正しくありません");
}

std::int32_t IntValue(const TAutoArg& value, std::string_view member) {
  if (const auto* i = std::get_if<std::int32_t>(&value)) return *i;
  throw TAutoError(std::string(member) + ": 値が正しくありません");
}

std::string_view TextValue(const TAutoArg& value, std::string_view member) {
  if (const auto* t = std::get_if<std::string_view>(&value)) return *t;
  throw TAutoError(std::string(member) + ": 値が正しくありません");
}

class TBookObject : public IAutoObject {
 public:
  explicit TBookObject(std::shared_ptr<TBook> book) : book_(std::move(book)) {}
  std::shared_ptr<IAutoObject> Get(std::string_view member, std::span<const TAutoArg>) override { Unknown(member); }
  void Call(std::string_view member, std::span<const TAutoArg>) override { Unknown(member); }
  void Put(std::string_view member, const TAutoArg&) override { Unknown(member); }

 protected:
  TWorkbookSheet& Sheet() const {
    if (!book_->workbook) throw TAutoError("ブックが閉じられています");
    return book_->sheet;
  }
  std::shared_ptr<TBook> book_;
};

// Font, Interior or Borders(8) of a range.
class TRangePart : public TBookObject {
 public:
  enum class TPart { Font, Interior, TopBorder };
  TRangePart(std::shared_ptr<TBook> book, TCellRect rect, TPart part)
      : TBookObject(std::move(book)), rect_(rect), part_(part) {}

  void Put(std::string_view member, const TAutoArg& value) override {
    const bool allCells = rect_ == TCellRect{0, 0, kSheetRows - 1, kSheetColumns - 1};
    if (part_ == TPart::Font && allCells && Is(member, "Name")) return Sheet().SetFontName(TextValue(value, member));
    if (part_ == TPart::Font && allCells && Is(member, "Size")) return Sheet().SetFontSize(IntValue(value, member));
    if (part_ == TPart::Interior && Is(member, "ColorIndex")) return Sheet().SetFill(rect_, IntValue(value, member));
    if (part_ == TPart::TopBorder && Is(member, "Weight")) return Sheet().SetTopBorder(rect_, IntValue(value, member));
    Unknown(member);
  }

 private:
  TCellRect rect_;
  TPart part_;
};

class TRangeObject : public TBookObject {
 public:
  TRangeObject(std::shared_ptr<TBook> book, TCellRect rect) : TBookObject(std::move(book)), rect_(rect) {}

  std::shared_ptr<IAutoObject> Get(std::string_view member, std::span<const TAutoArg> args) override {
    if (Is(member, "Offset")) {
      // An offset may leave the sheet; only a write there fails.
      const std::int32_t rows = args.empty() ? 0 : IntArg(args, 0, member);
      const std::int32_t columns = args.size() > 1 ? IntArg(args, 1, member) : 0;
      return std::make_shared<TRangeObject>(book_, rect_.Offset(rows, columns));
    }
    using TPart = TRangePart::TPart;
    if (Is(member, "Font")) return std::make_shared<TRangePart>(book_, rect_, TPart::Font);
    if (Is(member, "Interior")) return std::make_shared<TRangePart>(book_, rect_, TPart::Interior);
    if (Is(member, "Borders")) {
      constexpr std::int32_t kEdgeTop = 8;
      if (IntArg(args, 0, member) != kEdgeTop) throw TAutoError("上の罫線のほかには対応していません");
      return std::make_shared<TRangePart>(book_, rect_, TPart::TopBorder);
    }
    Unknown(member);
  }

  void Put(std::string_view member, const TAutoArg& value) override {
    if (Is(member, "Value")) return Sheet().SetValue(rect_, value);
    if (Is(member, "ColumnWidth")) return Sheet().SetColumnWidth(rect_, IntValue(value, member));
    if (Is(member, "NumberFormat")) {
      if (rect_.WholeColumns()) return Sheet().SetColumnNumberFormat(rect_, TextValue(value, member));
      return Sheet().SetCellNumberFormat(rect_, TextValue(value, member));
    }
    Unknown(member);
  }

 private:
  TCellRect rect_;
};

class TSheetObject : public TBookObject {
 public:
  using TBookObject::TBookObject;

  std::shared_ptr<IAutoObject> Get(std::string_view member, std::span<const TAutoArg> args) override {
    if (Is(member, "Cells")) return std::make_shared<TRangeObject>(book_, TCellRect{0, 0, kSheetRows - 1, kSheetColumns - 1});
    if (Is(member, "Range") || Is(member, "Columns")) {
      const std::optional<TCellRect> rect = ParseAddress(TextArg(args, 0, member));
      if (!rect || (Is(member, "Columns") && !rect->WholeColumns()))
        throw TAutoError("アドレスが正しくありません: " + std::string(TextArg(args, 0, member)));
      return std::make_shared<TRangeObject>(book_, *rect);
    }
    Unknown(member);
  }
  void Call(std::string_view member, std::span<const TAutoArg>) override {
    if (!Is(member, "Activate")) Unknown(member);
    Sheet().Activate();
  }
  void Put(std::string_view member, const TAutoArg& value) override {
    if (!Is(member, "Name")) Unknown(member);
    Sheet().SetName(TextValue(value, member));
  }
};

class TWorkbookObject : public TBookObject {
 public:
  using TBookObject::TBookObject;
  std::shared_ptr<IAutoObject> Get(std::string_view member, std::span<const TAutoArg> args) override {
    if (!Is(member, "WorkSheets")) Unknown(member);
    if (IntArg(args, 0, member) != 1) throw TAutoError("ワークシートは一つだけです");
    return std::make_shared<TSheetObject>(book_);
  }
};

// Makes the workbook: its folder, a file of its own there, and the book
// writing into that file in constant-memory mode.
void AddWorkbook(TBook& book) {
  if (book.workbook || !book.path.empty()) throw TAutoError("ブックは一つだけ作れます");
  std::error_code error;
  std::filesystem::create_directories(book.options.Folder, error);
  if (error) throw TAutoError("フォルダーを作成できません: " + book.options.Folder);
  std::string temp = (std::filesystem::path(book.options.Folder) / ".export-XXXXXX.xlsx").string();
  const int fd = ::mkstemps(temp.data(), 5);
  if (fd < 0) throw TAutoError("ファイルを作成できません: " + book.options.Folder);
  ::close(fd);
  book.tempPath = temp;
  lxw_workbook_options options{};
  options.constant_memory = LXW_TRUE;
  options.tmpdir = book.options.Folder.data();
  book.workbook = workbook_new_opt(book.tempPath.c_str(), &options);
  if (!book.workbook) {
    book.Discard();
    throw TAutoError("ブックを作成できません");
  }
  book.sheet.Attach(book.workbook);
}

class TWorkbooksObject : public TBookObject {
 public:
  using TBookObject::TBookObject;
  std::shared_ptr<IAutoObject> Get(std::string_view member, std::span<const TAutoArg>) override {
    if (!Is(member, "Add")) Unknown(member);
    AddWorkbook(*book_);
    return std::make_shared<TWorkbookObject>(book_);
  }
};

class TApplicationObject : public TBookObject {
 public:
  using TBookObject::TBookObject;
  std::shared_ptr<IAutoObject> Get(std::string_view member, std::span<const TAutoArg>) override {
    if (!Is(member, "WorkBooks")) Unknown(member);
    return std::make_shared<TWorkbooksObject>(book_);
  }
  void Put(std::string_view member, const TAutoArg& value) override {
    if (Is(member, "Visible")) {
      book_->visible = BoolValue(value, member);
    } else if (Is(member, "DisplayStatusBar") || Is(member, "ScreenUpdating")) {
      BoolValue(value, member);  // the file is shown only when finished
    } else if (Is(member, "StatusBar")) {
      // False gives the status bar back, like an empty text.
      const std::string_view text = std::holds_alternative<bool>(value) ? std::string_view() : TextValue(value, member);
      if (book_->options.OnStatusBar) book_->options.OnStatusBar(text);
    } else {
      Unknown(member);
    }
  }
};

// "<name>.xlsx" in the folder, or "<name> (2).xlsx" and so on when taken.
std::string FreePath(const std::string& folder, const std::string& name) {
  const std::filesystem::path base = std::filesystem::path(folder) / name;
  std::string path = base.string() + ".xlsx";
  for (int n = 2; std::filesystem::exists(path); ++n) path = base.string() + " (" + std::to_string(n) + ").xlsx";
  return path;
}

}  // namespace

TWorkbookAutomation::TWorkbookAutomation(TWorkbookOptions options) : book_(std::make_shared<TBook>()) {
  book_->options = std::move(options);
}

TWorkbookAutomation::~TWorkbookAutomation() { book_->Discard(); }

TAuto TWorkbookAutomation::GetApplication(std::string_view progId) {
  if (!Is(progId, kSpreadsheetProgId)) throw TAutoError("登録されていないプログラムです: " + std::string(progId));
  if (!book_->options.HasApplication || !book_->options.HasApplication())
    throw TAutoError("表計算アプリケーションが登録されていません");
  return TAuto(std::make_shared<TApplicationObject>(book_));
}

void TWorkbookAutomation::Release() {
  TBook& book = *book_;
  if (!book.workbook) return;
  try {
    book.sheet.Finish();
  } catch (const TAutoError&) {
    book.Discard();
    throw;
  }
  const std::string name = book.sheet.Name().empty() ? "Sheet1" : book.sheet.Name();
  const lxw_error error = workbook_close(book.workbook);  // frees the book in any case
  book.workbook = nullptr;
  if (error != LXW_NO_ERROR) {
    book.Discard();
    throw TAutoError(std::string("ブックを保存できません: ") + lxw_strerror(error));
  }
  const std::string path = FreePath(book.options.Folder, name);
  std::error_code renameError;
  std::filesystem::rename(book.tempPath, path, renameError);
  if (renameError) {
    book.Discard();
    throw TAutoError("ブックを保存できません: " + path);
  }
  book.tempPath.clear();
  book.path = path;
  if (book.visible && book.options.Open) {
    const std::string failure = book.options.Open(path);
    if (!failure.empty()) throw TAutoError(failure);
  }
}

std::string TWorkbookAutomation::Path() const { return book_->path; }

std::string ExportFolder() {
  const char* cache = std::getenv("XDG_CACHE_HOME");
  std::string base;
  if (cache && cache[0] == '/') {
    base = cache;
  } else {
    const char* home = std::getenv("HOME");
    base = std::string(home ? home : "") + "/.cache";
  }
  if (base.back() != '/') base += '/';
  return base + "RavelleDiff/";
}

void TidyExportFolder(const std::string& folder, std::filesystem::file_time_type now, int days) {
  namespace fs = std::filesystem;
  const fs::file_time_type before = now - std::chrono::hours(24) * days;
  std::error_code ec;
  fs::directory_iterator it(folder, ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    const fs::path& path = it->path();
    if (path.extension() != ".xlsx" || it->is_symlink(ec) || !it->is_regular_file(ec)) continue;
    std::error_code timeError;
    const fs::file_time_type written = fs::last_write_time(path, timeError);
    if (timeError || written > before) continue;
    std::error_code ignored;
    fs::remove(path, ignored);
  }
}

}  // namespace rd
