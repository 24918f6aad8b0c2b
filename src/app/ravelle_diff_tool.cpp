// ravelle_diff_tool -a FILE | -b FILE: sends FILE to TextA or TextB of the
// running RavelleDiff, or starts RavelleDiff with it when none is running.
// File managers start it from the "Open With" entries.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <string_view>

#include "app/companion.h"
#include "app/program_folder.h"

namespace {

// The path as the window must see it: the window's working folder differs.
std::string Absolute(const std::string& path) {
  if (!path.empty() && path.front() == '/') return path;
  char cwd[PATH_MAX];
  if (!::getcwd(cwd, sizeof cwd)) return path;
  return std::string(cwd) + "/" + path;
}

bool SendToWindow(const std::string& message) {
  const std::string socketPath = rd::CompanionSocketPath();
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (socketPath.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  bool ok = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  for (std::size_t done = 0; ok && done < message.size();) {
    const ssize_t n = ::send(fd, message.data() + done, message.size() - done, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) done += static_cast<std::size_t>(n);
  }
  ::close(fd);
  return ok;
}

// Starts RavelleDiff beside this program in a session of its own, so that
// it outlives the file manager's child.
int StartWindow(const std::string& key, const std::string& path) {
  const std::string program = rd::ProgramDirectory(nullptr) + "RavelleDiff";
  const std::string argument = key + "=" + path;
  const pid_t pid = ::fork();
  if (pid < 0) {
    std::perror("ravelle_diff_tool: fork");
    return 1;
  }
  if (pid == 0) {
    ::setsid();
    ::execl(program.c_str(), program.c_str(), argument.c_str(), static_cast<char*>(nullptr));
    std::fprintf(stderr, "ravelle_diff_tool: %s: %s\n", program.c_str(), std::strerror(errno));
    ::_exit(127);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 || (std::string_view(argv[1]) != "-a" && std::string_view(argv[1]) != "-b")) {
    std::cerr << "使い方: ravelle_diff_tool -a ファイル | -b ファイル\n";
    return 2;
  }
  const bool toA = std::string_view(argv[1]) == "-a";
  const std::string path = Absolute(argv[2]);
  if (SendToWindow(rd::CompanionMessage(toA ? rd::Side::A : rd::Side::B, path))) return 0;
  return StartWindow(toA ? "texta" : "textb", path);
}
