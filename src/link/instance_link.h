#pragma once
// VLink: two running copies working together. One copy of a desktop session
// declares itself the watcher (its window title says so); any other copy can
// then send it the mapping of one triangle, or keep its camera in step. Data
// flows only from a copy that is not watching to the watcher.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "link/link_record.h"

class LinkTransport;
class Ui;
class Workspace;

class InstanceLink {
 public:
  InstanceLink(Workspace& workspace, Ui& ui);
  ~InstanceLink();
  InstanceLink(const InstanceLink&) = delete;
  InstanceLink& operator=(const InstanceLink&) = delete;

  // Supplied by the front end; without a transport no watcher is ever
  // found and this copy watches for nobody.
  LinkTransport* transport = nullptr;
  std::function<std::string()> windowTitle;
  std::function<void(const std::string&)> setWindowTitle;
  // After a transfer changed the mapping, and after the camera was taken.
  std::function<void()> refreshAll;
  std::function<void()> redrawModelViewNow;
  // Runs a job once the current message has been answered; the watcher's
  // own complaint waits for it so that a sender never times out on a box
  // the watcher's user has not closed yet (empty: at once).
  std::function<void(std::function<void()>)> afterAnswer;

  bool watching() const { return watching_; }

  // Begin Watch / End Watch.
  void ToggleWatch();
  // Sends the one selected visible triangle's mapping to the watcher.
  void TransferMapping();
  void ToggleSyncCameras();
  // Silently nothing unless Sync Cameras is on and another copy watches.
  void SendCameraToWatcher();
  // The watcher's handling of one block, announced as `announcedSize` bytes;
  // 1 when it held a record it knows, else 0 with nothing changed.
  int HandleLinkMessage(std::uint32_t announcedSize, std::span<const std::uint8_t> block);

  // The menu text of the watch entry.
  std::string WatchLabel() const;
  // Whether a mapping that arrived during an action of this copy's own
  // waits for the action's end.
  bool holdingMapping() const { return held_.has_value(); }

 private:
  void TakeTransferredMapping(const MappingRecord& mapping);
  void ApplyHeldMapping();

  Workspace& workspace_;
  Ui& ui_;
  bool watching_ = false;
  std::string titleBeforeWatch_;
  std::optional<MappingRecord> held_;
  // The watcher's complaint is waiting for its turn or on screen.
  bool complaintPending_ = false;
};
