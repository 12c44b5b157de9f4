#pragma once
// File and folder helpers shared by every reader and writer.
//
// The host's separator is '/'; a '\' in a path the user gave (a folder
// named "a\b") is part of a name. Names read from model files and the
// stored form of skin paths use '\' as a separator too: the name helpers
// below (FolderPart, FileNamePart, ExtensionOf) and ResolvePath and PathIn
// accept both; the folder and file checks, FindFiles, AbsolutePath and the
// writer take the host's path as given. Nothing here changes the process's
// current folder: a relative name is always resolved against a folder the
// caller names.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

bool IsSeparator(char c);

// Everything before the last separator; a root keeps its separator
// ("/x" -> "/", "C:\x" -> "C:\"). A path without a separator gives "".
std::string FolderPart(const std::string& path);

// The part after the last separator.
std::string FileNamePart(const std::string& path);

// '\' turned into '/'.
std::string ToForwardSlashes(std::string path);
// '/' turned into '\'.
std::string ToBackslashes(std::string path);

// Lower-case extension after the last '.' of the file name part, without the
// dot; "" when there is none.
std::string ExtensionOf(const std::string& path);

bool EqualsNoCase(const std::string& a, const std::string& b);

// Case-insensitive '*' and '?' matching, as the classic "*.PCX" search does.
bool WildcardMatch(const std::string& pattern, const std::string& name);

// Regular files directly in `folder` whose names match `pattern`, full paths,
// sorted case-insensitively by name.
std::vector<std::string> FindFiles(const std::string& folder, const std::string& pattern);

// A folder the program can work in: a directory it may enter and list.
// Looks only; the current folder stays where it is.
bool FolderUsable(const std::string& folder);
bool FolderExists(const std::string& folder);
bool FileExists(const std::string& path);
// A regular file that opens for reading (an empty path never does).
bool IsReadableFile(const std::string& path);

// Resolves a path that may use '\' and whose case may not match the disk's
// (files made where names ignore case): the path as written if it exists,
// else each component matched case-insensitively in turn, each '\' taken as
// a separator or, where a name holding it exists, as part of that name. A
// file still to be made resolves when its folders exist as written. Relative
// paths are taken from the current folder. Gives the host's form; when
// nothing matches, the path as written with '/' for every '\'.
std::string ResolvePath(const std::string& path);

// A name seen from `folder`: an absolute path as it is, a relative one (a
// name from a model file, '\' turned into '/') below `folder` as given (left
// relative, so below the current folder, when `folder` is empty). An empty name stays empty. Case is kept: this is
// the name a new file is written under.
std::string PathIn(const std::string& folder, const std::string& path);

// ResolvePath(PathIn(folder, path)): the existing file a name means.
std::string ResolvePathIn(const std::string& folder, const std::string& path);

// The absolute, normalised form of a path (no file-system access needed).
std::string AbsolutePath(const std::string& path);

// A failed call's cause as the messages show it: the number and, in
// brackets, the system's words for it ("13 (Permission denied)").
std::string CauseText(int cause);

// Causes of the program's own, beyond the system's numbers, with their
// words in CauseText.
inline constexpr int kCauseNotRegularFile = 10001;
inline constexpr int kCauseFileTooLarge = 10002;
inline constexpr int kCauseTooLargeForFormat = 10003;
inline constexpr int kCauseUntrustedLink = 10004;

// The limit a reader uses when it names none. Each reader passes the size of
// the largest file its format can hold at the program's limits instead.
inline constexpr std::uintmax_t kMaxInputFileBytes = std::uintmax_t{64} << 20;

// Reads a whole regular file of at most `maxBytes`. Folders, devices and
// pipes are refused before they are opened (a pipe would block, a device
// never end), and so is a larger file. On failure gives nothing and sets
// *cause to the errno of the failed call, or one of the causes above.
std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::string& path, int* cause = nullptr,
                                                       std::uintmax_t maxBytes = kMaxInputFileBytes);

// Saves `bytes` as `path` so the old file survives any failure: written to a
// temporary file in the same folder (a short hidden name, made new), flushed
// and renamed over it. A symbolic link is followed to the file it names
// (through any chain, a dangling link naming the file to create) and that
// file is replaced, so the link stays a link; but a link that another user
// left in a sticky, world-writable folder is not followed
// (kCauseUntrustedLink), unless that user owns the folder. The new file
// keeps the owner, group and permission bits of the one it replaces as far
// as this user may set them (the set-id bits only with the owner); a new one
// gets 0666 less the umask. Hard links to the old file keep the old content.
// A file this user may not write is refused with EACCES before anything is
// written, as a plain write would be. Only a regular file is replaced
// (kCauseNotRegularFile for a device or pipe). Returns 0, or the errno of
// the call that failed (the temporary file is removed then).
int WriteFileAtomic(const std::string& path, std::span<const std::uint8_t> bytes);

// The messages of a failed save or load: "Error Saving: " (or "Error
// Loading: ") and CauseText on the first line, the file's path on the next.
std::string SaveErrorText(const std::string& path, int cause);
std::string LoadErrorText(const std::string& path, int cause);
