#include "platform/link_place.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <filesystem>

namespace {

// A socket's path must fit the address's 108 bytes; the scope's readable
// part gets a share of them, the hash does the telling apart.
constexpr std::size_t kScopeChars = 24;

std::uint64_t Fnv1a(const std::string& text) {
  std::uint64_t hash = 14695981039346656037ull;
  for (const unsigned char c : text) {
    hash ^= c;
    hash *= 1099511628211ull;
  }
  return hash;
}

std::string Readable(const std::string& scope) {
  std::string out;
  for (const char c : scope) {
    if (out.size() == kScopeChars) break;
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
                       c == '.' || c == '_';
    out.push_back(plain ? c : '_');
  }
  return out;
}

}  // namespace

std::string LinkScopeOf(const char* waylandDisplay, const char* x11Display) {
  if (waylandDisplay && *waylandDisplay) return waylandDisplay;
  if (!x11Display || !*x11Display) return "";
  std::string display = x11Display;
  const std::size_t colon = display.rfind(':');
  if (colon != std::string::npos) {
    const std::size_t dot = display.find('.', colon);
    if (dot != std::string::npos) display.erase(dot);
  }
  return display;
}

LinkPlace SessionLinkPlace() { return LinkPlace{"", LinkScopeOf(std::getenv("WAYLAND_DISPLAY"), std::getenv("DISPLAY"))}; }

bool IsPrivateFolder(const std::string& path, uid_t owner) {
  struct stat st {};
  if (path.empty() || ::lstat(path.c_str(), &st) != 0) return false;
  return S_ISDIR(st.st_mode) && st.st_uid == owner && (st.st_mode & 07777) == 0700;
}

std::optional<std::string> PrivateLinkFolder() {
  const uid_t self = ::geteuid();
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && runtime[0] == '/') {
    // lstat of "dir/" would look through a link named dir.
    std::string path = runtime;
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    if (IsPrivateFolder(path, self)) return path;
  }
  std::error_code ec;
  std::filesystem::path temp = std::filesystem::temp_directory_path(ec);
  if (ec) temp = "/tmp";
  const std::string path = (temp / ("skintool-" + std::to_string(self))).string();
  if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return std::nullopt;
  // Whoever made it, only a folder that is ours alone will do.
  if (!IsPrivateFolder(path, self)) return std::nullopt;
  return path;
}

std::string LinkSocketPath(const std::string& folder, const std::string& scope, const std::string& name) {
  static const char kHex[] = "0123456789abcdef";
  std::uint64_t hash = Fnv1a(scope + '\n' + name);
  std::string hex(16, '0');
  for (int i = 15; i >= 0; --i, hash >>= 4) hex[static_cast<std::size_t>(i)] = kHex[hash & 0xf];
  return folder + "/vlink-" + Readable(scope) + "-" + hex;
}

SocketPlace InspectSocketPlace(const std::string& path, uid_t owner) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) return errno == ENOENT ? SocketPlace::Free : SocketPlace::Taken;
  return S_ISSOCK(st.st_mode) && st.st_uid == owner ? SocketPlace::OurSocket : SocketPlace::Taken;
}

bool PeerMayLink(std::optional<uid_t> peerUid, uid_t self) { return peerUid.has_value() && *peerUid == self; }

std::optional<uid_t> PeerUserOf(int socketDescriptor) {
  if (socketDescriptor < 0) return std::nullopt;
#if defined(SO_PEERCRED)
  struct ucred cred {};
  socklen_t size = sizeof cred;
  if (::getsockopt(socketDescriptor, SOL_SOCKET, SO_PEERCRED, &cred, &size) != 0 || size != sizeof cred)
    return std::nullopt;
  return cred.uid;
#else
  uid_t uid = 0;
  gid_t gid = 0;
  if (::getpeereid(socketDescriptor, &uid, &gid) != 0) return std::nullopt;
  return uid;
#endif
}
