#pragma once
// A recovery copy of the document: enough to put unsaved work back exactly
// after the program died (the MD2 image the frames come from, the mesh with
// its flags and selection, every skin with its pixels, stored pixels and
// palette, the file the model belongs to and what was unsaved).
//
// Taking the copy (RecoverySnapshot) only copies bytes and belongs between
// user actions; writing it is plain file work a worker thread may do. A copy
// is a folder: one file for the model, one per skin, and "index.txt", which
// names them with their sizes and checksums and is written last, so a copy
// that was being written when the program died is never taken for whole.
//
// The state folder may be reachable by others: a copy folder and its files
// are opened without following links and used only when they are this
// user's, with modes 0700 and 0600; anything else is refused, never written
// or removed through.

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

class Document;
struct Model;

struct RecoverySkin {
  std::vector<std::uint8_t> record;  // SkinRecordBytes
  std::vector<std::uint8_t> pixels;
  std::vector<std::uint8_t> storedPixels;
  bool modified = false;  // it differed from its file: it comes back as made here, changed until saved
};

struct RecoverySnapshot {
  std::string modelPath;  // the document's currentFile
  std::vector<std::uint8_t> md2Image;
  std::vector<std::uint8_t> mesh;  // MeshBytes
  bool meshChanged = false;
  int currentSkinIndex = -1;
  int currentFrameIndex = 0;
  std::vector<RecoverySkin> skins;
  // The journal (see editor/recovery_journal.h) goes on from the history
  // move numbered journalAfter; a restore plays what it holds after that.
  std::uint64_t journalAfter = 0;
  std::vector<std::uint8_t> journal;  // the journal file as read; empty when none
};

// What the index says about the copy besides its files.
struct RecoveryIndex {
  std::string programVersion;
  std::time_t written = 0;
  std::string modelPath;
  int pid = 0;
  int generation = 0;
  std::optional<std::uint64_t> journalAfter;  // copies written before the journal have none
  struct File {
    std::string name;
    std::uint64_t size = 0;
    std::uint64_t checksum = 0;
  };
  std::vector<File> files;  // the model's file first, then one per skin in order
};

inline constexpr char kRecoveryIndexName[] = "index.txt";
// The running program holds a lock on this file in its copy folder for as
// long as it lives: the system lets go of it however the process ends.
inline constexpr char kRecoveryLockName[] = "lock";

// The journal of history moves that follows the copy, in the copy folder.
inline constexpr char kRecoveryJournalName[] = "journal";
// The most of a journal a restore reads; a longer one is left unplayed.
inline constexpr std::uintmax_t kMaxJournalBytes = std::uintmax_t{512} << 20;

// Whether the document holds work a save has not written yet.
bool HasUnsavedWork(const Document& document);

RecoverySnapshot TakeRecoverySnapshot(const Document& document);

// Writes the copy into `folder` (made when missing), each file through a
// temporary one, the index last; files of an earlier copy the new index no
// longer names are removed afterwards. 0, or the errno of what failed (the
// earlier copy then stays whole).
int WriteRecoveryCopy(const std::string& folder, const RecoverySnapshot& snapshot, const std::string& programVersion,
                      std::time_t written, int pid);

// The index alone, for listing copies; nothing and a reason when it is
// missing or not one the program wrote.
std::optional<RecoveryIndex> ReadRecoveryIndex(const std::string& folder, std::string* error = nullptr);

// The whole copy, every size, count, index and checksum checked; nothing
// and a reason when any of it is damaged.
std::optional<RecoverySnapshot> ReadRecoveryCopy(const std::string& folder, std::string* error = nullptr);

// Puts the document back as the copy holds it: loaded, its undo history
// empty, and what was unsaved still unsaved (the skins that were changed
// count as changed until they are saved, the mesh as changed when it was). False, with a
// reason and the document untouched, when the copy does not hold up.
bool RestoreRecoverySnapshot(Document& document, const RecoverySnapshot& snapshot, std::string* error = nullptr);

// Removes the copy's folder and everything in it; false when some of it
// stays (a folder not this user's is left alone). No folder is success.
bool RemoveRecoveryCopy(const std::string& folder);

// Makes the copy folder when missing and locks its lock file; the open
// descriptor holding the lock, or -1 with the errno (or the cause of a
// refused folder) in *cause.
int LockRecoveryCopy(const std::string& folder, int* cause = nullptr);

// The copy folder, opened without following a link, when it is this user's
// with mode 0700; -1 and the cause otherwise.
int OpenRecoveryFolder(const std::string& folder, int& cause);
// 0 when the open file is a regular file of this user's with mode 0600; the
// cause of refusing it otherwise.
int RecoveryFileCause(int fd);
// Every index the mesh holds names something that exists (with
// `frameCount` frames), and its lists have the sizes every model has.
bool RecoveryMeshHoldsUp(const Model& mesh, std::size_t frameCount);

// Whether a running program holds the copy's lock; nothing when the copy
// has no lock file to ask (or is not one this user may use).
std::optional<bool> RecoveryCopyInUse(const std::string& folder);
