#include "link/instance_link.h"

#include <algorithm>

#include "editor/undo_step.h"
#include "editor/workspace.h"
#include "link/link_record.h"
#include "platform/link_transport.h"
#include "platform/ui.h"

namespace {

// The watcher's window title, which tells its user which copy watches.
const char* const kWatcherTitle = "VLink - Watcher";

// The one triangle that is selected and not hidden, or -1 when there are
// none or several.
int SoleSelectedVisibleTriangle(const Model& model) {
  const int count = model.TriangleCount();
  int found = -1;
  for (int i = 0; i < count; ++i) {
    const std::uint32_t flags = model.triangles[static_cast<std::size_t>(i)].flags;
    if ((flags & TRI_SELECTED) == 0 || (flags & TRI_HIDDEN) != 0) continue;
    if (found >= 0) return -1;
    found = i;
  }
  return found;
}

MapVertex CornerPosition(const Model& model, const Triangle& tri, int k) {
  const int index = tri.mapIndex[k];
  if (index >= 0 && index < model.MapVertexCount())
    return model.mapVertices[static_cast<std::size_t>(index)];
  return tri.cornerMap[k];
}

void TakeMapping(Model& model, Triangle& tri, const MappingRecord& record) {
  const int first = model.MapVertexCount();
  if (first + 3 <= kMaxMapVertices) {
    model.SetMapVertexCount(first + 3);
    for (int k = 0; k < 3; ++k) {
      model.mapVertices[static_cast<std::size_t>(first + k)] = {record.st[k][0], record.st[k][1]};
      tri.mapIndex[k] = static_cast<std::int16_t>(first + k);
    }
    model.WeldMapVertices(1);
    return;
  }
  // A mapping with no free slots left: bring every corner up to date first,
  // then let this triangle's corners lead, which welds to the same result.
  model.WeldMapVertices(1);
  for (int k = 0; k < 3; ++k) tri.cornerMap[k] = {record.st[k][0], record.st[k][1]};
  model.WeldMapVertices(0);
}

}  // namespace

InstanceLink::InstanceLink(Workspace& workspace, Ui& ui) : workspace_(workspace), ui_(ui) {
  workspace_.actionEnded = [this] { ApplyHeldMapping(); };
}

InstanceLink::~InstanceLink() {
  workspace_.actionEnded = nullptr;
  if (watching_ && transport) transport->StopListening();
}

std::string InstanceLink::WatchLabel() const { return watching_ ? "End Watch\tW" : "Begin Watch\tW"; }

void InstanceLink::ToggleWatch() {
  if (watching_) {
    if (transport) transport->StopListening();
    watching_ = false;
    if (setWindowTitle) setWindowTitle(titleBeforeWatch_);
    return;
  }
  const char* const refused = "Another session is already Watching...there can be only one!";
  if (transport) {
    if (transport->WatcherPresent()) {
      ui_.Message(refused);
      return;
    }
    const bool claimed = transport->Listen([this](std::uint32_t announcedSize, std::span<const std::uint8_t> block) {
      return HandleLinkMessage(announcedSize, block);
    });
    if (!claimed) {
      ui_.Message(refused);
      return;
    }
  }
  titleBeforeWatch_ = windowTitle ? windowTitle() : std::string();
  watching_ = true;
  if (setWindowTitle) setWindowTitle(kWatcherTitle);
}

void InstanceLink::TransferMapping() {
  if (watching_) {
    ui_.Message("This window can not initiate this operation!");
    return;
  }
  const char* const noWatcher = "Unable to locate a session that is Watching!";
  if (!transport || !transport->WatcherPresent()) {
    ui_.Message(noWatcher);
    return;
  }
  const Model& model = workspace_.model;
  const int index = SoleSelectedVisibleTriangle(model);
  if (index < 0) {
    ui_.Message("Please only select 1 triange for this operation!");
    return;
  }
  const Triangle& tri = model.triangles[static_cast<std::size_t>(index)];
  MappingRecord record;
  record.skinWidth = model.skinWidth;
  record.skinHeight = model.skinHeight;
  for (int k = 0; k < 3; ++k) {
    const MapVertex corner = CornerPosition(model, tri, k);
    record.st[k][0] = corner.s;
    record.st[k][1] = corner.t;
  }
  // The watcher's answer says nothing the sender could act on; only its
  // silence does.
  if (!transport->Send(kLinkBlockSize, EncodeLinkRecord(record))) ui_.Message(noWatcher);
}

void InstanceLink::ToggleSyncCameras() {
  bool& sync = workspace_.editor.syncCameras;
  sync = !sync;
  if (sync) SendCameraToWatcher();
}

void InstanceLink::SendCameraToWatcher() {
  if (!workspace_.editor.syncCameras || watching_ || !transport) return;
  if (!transport->WatcherPresent()) return;
  const Viewport& v = workspace_.viewport;
  CameraRecord record;
  for (int i = 0; i < 9; ++i) record.rotation[i] = v.rotation.m[i / 3][i % 3];
  std::copy(v.pan, v.pan + 3, record.pan);
  record.distance = v.distance;
  transport->Send(kLinkBlockSize, EncodeLinkRecord(record));
}

void InstanceLink::TakeTransferredMapping(const MappingRecord& mapping) {
  Model& model = workspace_.model;
  const int index = SoleSelectedVisibleTriangle(model);
  if (index < 0) {
    // A burst of records (a sender's key held down) makes one complaint, not
    // a box per record.
    if (complaintPending_) return;
    complaintPending_ = true;
    auto complain = [this] {
      ui_.Message("Watcher: Please only select 1 triange for this operation!");
      complaintPending_ = false;
    };
    if (afterAnswer) {
      afterAnswer(complain);
    } else {
      complain();
    }
    return;
  }
  {
    DocumentStep step(workspace_.document, "Transfer Mapping", STEP_MESH);
    TakeMapping(model, model.triangles[static_cast<std::size_t>(index)], mapping);
  }
  if (refreshAll) {
    refreshAll();
  } else {
    workspace_.document.changes.Announce(kEverythingChanged);
  }
}

void InstanceLink::ApplyHeldMapping() {
  if (!held_ || workspace_.document.history.open()) return;
  auto run = [this] {
    // Another action may have begun before this turn came; it holds the
    // record in turn.
    if (!held_ || workspace_.document.history.open()) return;
    const MappingRecord mapping = *held_;
    held_.reset();
    TakeTransferredMapping(mapping);
  };
  if (afterAnswer) {
    afterAnswer(run);
  } else {
    run();
  }
}

int InstanceLink::HandleLinkMessage(std::uint32_t announcedSize, std::span<const std::uint8_t> block) {
  const LinkRecord record = DecodeLinkRecord(announcedSize, block);
  if (const auto* mapping = std::get_if<MappingRecord>(&record)) {
    // In the middle of a drag or a command of this copy's own (a vertex drag
    // works in a mapping slot of its own and welds at its end) the mapping
    // waits for the action to end; the newest one sent is the one taken.
    if (workspace_.document.history.open()) {
      held_ = *mapping;
      return 1;
    }
    TakeTransferredMapping(*mapping);
    return 1;
  }
  if (const auto* camera = std::get_if<CameraRecord>(&record)) {
    Viewport& v = workspace_.viewport;
    for (int i = 0; i < 9; ++i) v.rotation.m[i / 3][i % 3] = camera->rotation[i];
    std::copy(camera->pan, camera->pan + 3, v.pan);
    v.distance = camera->distance;
    if (redrawModelViewNow) {
      redrawModelViewNow();
    } else {
      workspace_.document.changes.Announce(kCameraChanged);
    }
    return 1;
  }
  return 0;
}
