// The state of the keyboard's lock keys for the status bar's indicators.
// Qt has no portable way to read them, so on X11 they are read from the X
// keyboard extension; libX11 is opened at run time so that the program still
// starts (without the indicators) where there is no X server.
#pragma once

#include <memory>
#include <optional>

namespace tracemont {

struct LockStates {
  bool caps = false;
  bool num = false;
  bool scroll = false;
  friend bool operator==(const LockStates&, const LockStates&) = default;
};

// One connection to the X server, opened on construction and closed on
// destruction. Not thread-safe: use it from the GUI thread.
class KeyboardLocks {
 public:
  KeyboardLocks();
  ~KeyboardLocks();
  KeyboardLocks(const KeyboardLocks&) = delete;
  KeyboardLocks& operator=(const KeyboardLocks&) = delete;

  // The current states; nothing when no X server or no keyboard extension
  // can tell them (offscreen, Wayland without XWayland, a missing libX11).
  std::optional<LockStates> Read() const;

 private:
  struct Connection;
  std::unique_ptr<Connection> connection_;
};

}  // namespace tracemont
