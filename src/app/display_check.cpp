#include "app/display_check.h"

#include <dlfcn.h>

#include <cstdlib>
#include <string_view>

namespace rd {

namespace {

// The three calls of the X client library that a connection check needs,
// looked up at run time: the program links no X library, and a headless
// run loads none.
struct TXcb {
  using Connect = void* (*)(const char*, int*);
  using HasError = int (*)(void*);
  using Disconnect = void (*)(void*);

  void* library = ::dlopen("libxcb.so.1", RTLD_NOW | RTLD_LOCAL);
  Connect connect = library ? reinterpret_cast<Connect>(::dlsym(library, "xcb_connect")) : nullptr;
  HasError hasError = library ? reinterpret_cast<HasError>(::dlsym(library, "xcb_connection_has_error")) : nullptr;
  Disconnect disconnect = library ? reinterpret_cast<Disconnect>(::dlsym(library, "xcb_disconnect")) : nullptr;

  ~TXcb() {
    if (library) ::dlclose(library);
  }
  bool Usable() const { return connect && hasError && disconnect; }
};

std::string_view Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string_view(value) : std::string_view();
}

}  // namespace

std::optional<std::string> UnreachableXDisplay() {
  const std::string_view platform = Env("QT_QPA_PLATFORM");
  const std::string_view display = Env("DISPLAY");
  if (display.empty()) return std::nullopt;
  if (!platform.empty() && !platform.starts_with("xcb")) return std::nullopt;
  // A Wayland session without a platform chosen may not use X at all.
  if (platform.empty() && !Env("WAYLAND_DISPLAY").empty()) return std::nullopt;
  const TXcb xcb;
  if (!xcb.Usable()) return std::nullopt;
  void* connection = xcb.connect(nullptr, nullptr);
  const bool failed = xcb.hasError(connection) != 0;
  xcb.disconnect(connection);
  if (!failed) return std::nullopt;
  return std::string(display);
}

}  // namespace rd
