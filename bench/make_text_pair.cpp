// Writes a realistic pair of texts for the timing scripts:
//   make_text_pair LINES A B   (CR LF line ends, about 1% of lines differ)
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>

#include "text_pair.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: make_text_pair LINES A B\n";
    return 2;
  }
  const auto lines = static_cast<std::size_t>(std::strtoull(argv[1], nullptr, 10));
  const rd::bench::Text a = rd::bench::MakeText(lines, 1);
  const rd::bench::Text b = rd::bench::EditText(a, 2);
  for (const auto& [text, path] : {std::pair{&a, argv[2]}, std::pair{&b, argv[3]}}) {
    std::ofstream out(path, std::ios::binary);
    for (const std::string& line : *text) out << line << "\r\n";
    if (!out) {
      std::cerr << "cannot write " << path << "\n";
      return 1;
    }
  }
  return 0;
}
