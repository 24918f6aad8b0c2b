#include "app/command_line.h"

#include <cstdlib>
#include <vector>

#include "app/long_path.h"
#include "textcode/text_code.h"

namespace rd {

TCommandLine ParseCommandLine(std::span<const std::string_view> args) {
  TCommandLine line;
  std::vector<std::string> bare;
  bool keyA = false, keyB = false;
  bool options = true;
  for (std::string_view arg : args) {
    const std::size_t eq = arg.find('=');
    if (options && arg == "--") {
      options = false;
      continue;
    }
    if (options && arg == "--help") line.help = true;
    if (options && arg == "--version") line.version = true;
    if (options && arg.starts_with('-')) continue;
    if (eq == std::string_view::npos || !options) {
      bare.emplace_back(arg);
      continue;
    }
    const std::string key = AsciiLower(arg.substr(0, eq));
    const std::string value(arg.substr(eq + 1));
    if (key == "texta") line.texta = value, keyA = true;
    else if (key == "textb") line.textb = value, keyB = true;
    else if (key == "ret") line.ret = value;
    else if (key == "path") line.path = value;
  }
  // Bare names fill the texts that no key named, TextA first.
  auto next = bare.begin();
  if (!keyA && next != bare.end()) line.texta = *next++;
  if (!keyB && next != bare.end()) line.textb = *next++;
  return line;
}

void ResolveFiles(TCommandLine& line, const std::function<bool(const std::string&)>& exists) {
  if (!line.path.empty() && line.path.back() != '/') line.path += '/';
  for (std::string* name : {&line.texta, &line.textb, &line.ret}) {
    if (name->empty()) continue;
    *name = ToLongPath(line.path + *name);
    if (exists(*name)) continue;
    line.missing.push_back(*name);
    name->clear();
  }
}

std::string MessageLocale() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value && *value) return value;
  }
  return {};
}

std::string UsageText(std::string_view locale) {
  const bool english = locale == "C" || locale == "POSIX" || locale.starts_with("C.") || locale.starts_with("en");
  if (english)
    return "Usage: RavelleDiff [FILE_A [FILE_B]] [texta=FILE] [textb=FILE] [ret=REPORT] [path=FOLDER]\n"
           "Compares two texts line by line and shows where they differ.\n"
           "\n"
           "  FILE_A FILE_B    open two files side by side and compare them (texta=, textb=)\n"
           "  texta=FILE       the file for TextA\n"
           "  textb=FILE       the file for TextB\n"
           "  ret=REPORT       with texta and textb: write the report to REPORT without a window\n"
           "                   (all three files must exist; REPORT is overwritten)\n"
           "  path=FOLDER      put FOLDER/ in front of the three names\n"
           "  --help           show this text\n"
           "  --version        show the version\n"
           "\n"
           "Keys may be written in any letter case. Exit status of a report: 0 written, 1 not.\n";
  return "使い方: RavelleDiff [ファイルA [ファイルB]] [texta=ファイル] [textb=ファイル] [ret=レポート] [path=フォルダ]\n"
         "二つのテキストを行単位で比較し、違いを表示します。\n"
         "\n"
         "  ファイルA ファイルB  二つのファイルを並べて開き、比較します (texta=, textb= と同じ)\n"
         "  texta=ファイル       TextA に開くファイル\n"
         "  textb=ファイル       TextB に開くファイル\n"
         "  ret=レポート         texta, textb と共に指定すると、ウィンドウを出さずに比較結果を\n"
         "                       レポートに書きます (三つのファイルが存在すること。レポートは上書き)\n"
         "  path=フォルダ        三つのファイル名の前にフォルダ/ を付けます\n"
         "  --help               この説明を表示します\n"
         "  --version            バージョンを表示します\n"
         "\n"
         "キーの大文字小文字は区別しません。レポートの終了コード: 書けたら 0、書けなければ 1。\n";
}

}  // namespace rd
