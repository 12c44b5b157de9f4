#pragma once
// A save is no undo step: it writes a file, and Undo cannot take that back.
// It does change the saved skin, though: the pixels Revert returns to, and
// under a new name the skin's name, file, format and perhaps its place
// among the linked skins. The history is carried over such a change: every
// recorded state next to the present that still held what the save
// replaced reads as if it had always held what the save gave, so Undo and
// Redo find the states their steps expect and never take back the save.
//
// Skins, their names and their file are carried together (a state that
// had other names keeps them all); the stored pixels on their own.

#include <cstdint>
#include <vector>

#include "editor/skin_fingerprint.h"

// What one save did to one skin.
struct SavedSkin {
  const Skin* skin = nullptr;
  std::vector<std::uint8_t> recordBefore, recordAfter;  // SkinRecordBytes
  std::vector<std::uint8_t> storedBefore, storedAfter;
  SkinFileState fileAfter;
};

// One recorded state as the walk away from the present finds it.
struct SaveView {
  int pos = -1;                      // the saved skin's place; -1 when it is not there
  std::vector<std::uint8_t> record;  // its record there, as recorded
  bool namesLive = false;            // its names and file are those the save replaced
  bool storedLive = false;           // its stored pixels are those the save replaced
  std::vector<bool> linked;          // per place, as recorded
  std::vector<int> order;            // the carried place of each recorded place; empty: unchanged

  bool Affected() const { return (pos >= 0 && (namesLive || storedLive)) || !order.empty(); }
  int Place(int recorded) const {
    return order.empty() || recorded < 0 ? recorded : order[static_cast<std::size_t>(recorded)];
  }
};

// The record with its names and file (name, path, hasFile, format, flags)
// taken from `from`; false when either is not a record.
bool CarryNames(std::vector<std::uint8_t>& record, const std::vector<std::uint8_t>& from);
// Whether two records hold the same names and file.
bool SameNames(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b);
// Whether a record is of a linked skin.
bool LinkedRecord(const std::vector<std::uint8_t>& record);

// The places the list bar's re-partition gives a list of linked and
// external skins (see PartitionSkins); empty when nothing moves.
std::vector<int> PartitionOrder(const std::vector<bool>& linked);
