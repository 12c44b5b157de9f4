#pragma once
// Where the link between copies lives and who may use it: one socket per
// desktop session, in a folder only this user can enter, and a peer that
// must be this user. Another user's process can then neither listen in our
// place, nor reach our watcher, nor pose as one.

#include <sys/types.h>

#include <optional>
#include <string>

// The folder the link's sockets live in and the session they belong to. An
// empty folder stands for the user's own private folder (PrivateLinkFolder).
struct LinkPlace {
  std::string folder;
  std::string scope;
};

// The desktop session of a process with these environment values: the
// Wayland display, else the X display without its screen number (":0.1"
// shares ":0"'s session); "" without a display.
std::string LinkScopeOf(const char* waylandDisplay, const char* x11Display);
// This process's session in the user's private folder.
LinkPlace SessionLinkPlace();

// A real folder (not a link to one) owned by `owner` that nobody else may
// enter or list: mode exactly 0700.
bool IsPrivateFolder(const std::string& path, uid_t owner);

// $XDG_RUNTIME_DIR when it is private to this user, else skintool-<uid>
// under the system's temporary folder, made 0700 when missing. Nothing when
// that one is not ours either: it is never taken over or loosened.
std::optional<std::string> PrivateLinkFolder();

// The socket called `name` in `folder` for `scope`: readable parts of the
// scope, and a hash of scope and name that keeps the file's name
// short and tells sessions apart whose names read alike.
std::string LinkSocketPath(const std::string& folder, const std::string& scope, const std::string& name);

enum class SocketPlace {
  Free,       // nothing there
  OurSocket,  // a socket `owner` made: a live copy, or one left by a copy that ended
  Taken,      // anything else, which is neither used nor removed
};
SocketPlace InspectSocketPlace(const std::string& path, uid_t owner);

// Only `self`'s own processes take part; a peer whose user is unknown is
// refused with the rest.
bool PeerMayLink(std::optional<uid_t> peerUid, uid_t self);
// The user of the process at the other end of a connected local socket.
std::optional<uid_t> PeerUserOf(int socketDescriptor);
