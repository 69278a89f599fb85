#include "platform/keyboard_locks.h"

#include <dlfcn.h>

#include <cstdlib>

namespace tracemont {
namespace {

// The few libX11 entry points used, declared by hand so that no X headers or
// link dependency are needed.
using Display = void;
using Atom = unsigned long;
using OpenDisplayFn = Display* (*)(const char*);
using CloseDisplayFn = int (*)(Display*);
using InternAtomFn = Atom (*)(Display*, const char*, int);
using GetNamedIndicatorFn = int (*)(Display*, Atom, int*, int*, void*, int*);

}  // namespace

struct KeyboardLocks::Connection {
  void* library = nullptr;
  Display* display = nullptr;
  CloseDisplayFn closeDisplay = nullptr;
  GetNamedIndicatorFn getNamedIndicator = nullptr;
  Atom caps = 0, num = 0, scroll = 0;

  ~Connection() {
    if (display && closeDisplay) closeDisplay(display);
    if (library) dlclose(library);
  }

  bool Indicator(Atom name) const {
    int on = 0;
    return getNamedIndicator(display, name, nullptr, &on, nullptr, nullptr) && on;
  }
};

KeyboardLocks::KeyboardLocks() {
  if (!std::getenv("DISPLAY")) return;
  auto connection = std::make_unique<Connection>();
  connection->library = dlopen("libX11.so.6", RTLD_LAZY | RTLD_LOCAL);
  if (!connection->library) return;
  const auto open = reinterpret_cast<OpenDisplayFn>(dlsym(connection->library, "XOpenDisplay"));
  const auto intern = reinterpret_cast<InternAtomFn>(dlsym(connection->library, "XInternAtom"));
  connection->closeDisplay = reinterpret_cast<CloseDisplayFn>(dlsym(connection->library, "XCloseDisplay"));
  connection->getNamedIndicator =
      reinterpret_cast<GetNamedIndicatorFn>(dlsym(connection->library, "XkbGetNamedIndicator"));
  if (!open || !intern || !connection->closeDisplay || !connection->getNamedIndicator) return;
  connection->display = open(nullptr);
  if (!connection->display) return;
  connection->caps = intern(connection->display, "Caps Lock", 0);
  connection->num = intern(connection->display, "Num Lock", 0);
  connection->scroll = intern(connection->display, "Scroll Lock", 0);
  connection_ = std::move(connection);
}

KeyboardLocks::~KeyboardLocks() = default;

std::optional<LockStates> KeyboardLocks::Read() const {
  if (!connection_) return std::nullopt;
  return LockStates{connection_->Indicator(connection_->caps), connection_->Indicator(connection_->num),
                    connection_->Indicator(connection_->scroll)};
}

}  // namespace tracemont
