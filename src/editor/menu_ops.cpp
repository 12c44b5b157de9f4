#include "editor/paint_ops.h"
#include "editor/menu_ops.h"

#include <charconv>

#include "editor/mapping_islands.h"
#include "editor/mapping_projection.h"
#include "editor/mesh_ops.h"
#include "editor/selection_ops.h"
#include "editor/skin_file_ops.h"
#include "editor/skin_list_ops.h"
#include "image/image_files.h"
#include "image/skin_set.h"
#include "model/default_palette.h"
#include "platform/file_error.h"
#include "platform/files.h"

namespace {

const std::vector<std::string> kOnOff = {"off", "on"};

std::string FilePath(const MenuOpSession& session, const MenuOpAnswers& answers, std::size_t index) {
  return PathIn(session.baseFolder, answers.files.at(index));
}

// What the Skins menu brings a true-colour picture into: the current skin's
// palette, the default palette without one.
Palette PicturePalette(MenuOpSession& session) {
  Model& m = session.workspace.model;
  Palette palette = GreyRampPalette();
  if (const Skin* current = SkinAt(m.skins, m.currentSkinIndex))
    palette = current->palette;
  else
    LoadDefaultPalette(session.palettePath, session.baseFolder, palette);
  return palette;
}

FileResult<std::unique_ptr<Skin>> LoadPicture(MenuOpSession& session, const std::string& path) {
  return LoadSkinImage(HostSkinPath(PathIn(session.baseFolder, path)), PicturePalette(session), false);
}

using Run = std::function<OpResult(MenuOpSession&, const MenuOpAnswers&)>;

// A model operation with no dialog, as one step.
Run OnModel(const char* step, void (*operation)(Model&)) {
  return [step, operation](MenuOpSession& s, const MenuOpAnswers&) {
    DocumentStep open(s.workspace.document, step, STEP_MESH);
    operation(s.workspace.model);
    return OpResult::Done();
  };
}

Run OnModelRefusing(const char* step, std::string (*operation)(Model&)) {
  return [step, operation](MenuOpSession& s, const MenuOpAnswers&) {
    DocumentStep open(s.workspace.document, step, STEP_MESH);
    const std::string refused = operation(s.workspace.model);
    return refused.empty() ? OpResult::Done() : OpResult::Refused(refused);
  };
}

// A skin file operation's outcome as a script reports it: the reader's or
// writer's own words first, then the notices, then the refusal or report.
OpResult AsOneResult(const SkinFileResult& r) {
  std::string text;
  auto line = [&text](const std::string& more) {
    if (more.empty()) return;
    if (!text.empty()) text += '\n';
    text += more;
  };
  if (r.fileError) line(ShownText(*r.fileError));
  for (const FileError& notice : r.notices) line(ShownText(notice));
  line(r.result.message);
  // A file that could not be read is a refusal even where the menu says nothing.
  return {r.result.done && !r.fileError, text};
}

// A whole number field; empty: `otherwise`.
bool NumberField(const std::string& text, int otherwise, int& out) {
  if (text.empty()) {
    out = otherwise;
    return true;
  }
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
  return error == std::errc() && end == text.data() + text.size();
}

Run OnDocument(OpResult (*operation)(Document&)) {
  return [operation](MenuOpSession& s, const MenuOpAnswers&) { return operation(s.workspace.document); };
}

std::vector<MenuOp> BuildOps() {
  std::vector<MenuOp> ops;
  auto add = [&ops](std::string path, Run run, int files = 0, std::vector<MenuOpField> fields = {}) {
    ops.push_back(MenuOp{std::move(path), std::move(fields), files, std::move(run), {}});
  };

  // Skins: the list
  auto addList = [&ops](std::string path, Run run, std::vector<std::string> questions = {}) {
    ops.push_back(MenuOp{std::move(path), {}, 0, std::move(run), std::move(questions)});
  };
  addList(
      "Skins/New",
      [](MenuOpSession& s, const MenuOpAnswers& a) {
        Model& m = s.workspace.model;
        Palette palette{};
        if (const Skin* current = SkinAt(m.skins, m.currentSkinIndex))
          palette = current->palette;
        else
          LoadDefaultPalette(s.palettePath, s.baseFolder, palette);
        return NewSkin(s.workspace.document, s.workspace.editor, palette, NewSkinLook{a.Yes(0), a.Yes(1), a.Yes(2)});
      },
      {kCheckerboardQuestion, kGridQuestion, kMeshOutlineQuestion});
  addList(
      "Skins/Duplicate",
      [](MenuOpSession& s, const MenuOpAnswers& a) {
        return DuplicateCurrentSkin(s.workspace.document, s.workspace.editor, NewSkinLook{a.Yes(0), false, a.Yes(1)});
      },
      {kCheckerboardQuestion, kMeshOutlineQuestion});
  add(
      "Skins/Open",
      [](MenuOpSession& s, const MenuOpAnswers& a) {
        return AsOneResult(OpenSkinFile(s.workspace.document, a.files.at(0), s.baseFolder, PicturePalette(s), false));
      },
      1);
  addList("Skins/Close/Delete", OnDocument(CloseCurrentSkin));
  ops.push_back(MenuOp{"Skins/Link",
                       {},
                       1,
                       [](MenuOpSession& s, const MenuOpAnswers& a) {
                         const std::string path = FilePath(s, a, 0);
                         if (!IsBelowBaseFolder(path, s.baseFolder) && !a.Yes(0)) return OpResult::Nothing();
                         return AsOneResult(LinkCurrentSkin(s.workspace.document, path, s.baseFolder));
                       },
                       {kOutsideBaseFolderText}});
  addList("Skins/Unlink", OnDocument(UnlinkCurrentSkin));
  addList("Skins/Move Up", [](MenuOpSession& s, const MenuOpAnswers&) { return MoveCurrentSkin(s.workspace.document, -1); });
  addList("Skins/Move Down", [](MenuOpSession& s, const MenuOpAnswers&) { return MoveCurrentSkin(s.workspace.document, 1); });
  addList("Skins/Store", OnDocument(StoreCurrentSkin));
  addList("Skins/Revert", OnDocument(RevertCurrentSkin));
  add("Skins/Reload", [](MenuOpSession& s, const MenuOpAnswers&) {
    return AsOneResult(ReloadCurrentSkin(s.workspace.document, false));
  });
  add(
      "Skins/Scan Folder",
      [](MenuOpSession& s, const MenuOpAnswers& a) {
        const std::string folder = FieldValue(*FindMenuOp("Skins/Scan Folder"), a, "folder");
        // No folder: the base folder, as a model without skins is scanned.
        const std::string where = folder.empty() ? s.baseFolder : PathIn(s.baseFolder, folder);
        return AsOneResult(ScanFolderIntoSkins(s.workspace.document, where, s.baseFolder));
      },
      0, {{"folder", {}, ""}});
  add(
      "Skins/Re-size All",
      [](MenuOpSession& s, const MenuOpAnswers& a) {
        const MenuOp& self = *FindMenuOp("Skins/Re-size All");
        Workspace& w = s.workspace;
        int width = 0, height = 0;
        const std::string wText = FieldValue(self, a, "width"), hText = FieldValue(self, a, "height");
        if (!NumberField(wText, w.model.skinWidth, width) || !NumberField(hText, w.model.skinHeight, height))
          return OpResult::Refused("Re-size All takes whole numbers: width=" + wText + " height=" + hText);
        return ResizeAllSkins(w.document, w.editor, width, height, FieldValue(self, a, "enforce-limits") == "on");
      },
      0, {{"width", {}, ""}, {"height", {}, ""}, {"enforce-limits", kOnOff, "on"}});

  // Skins > Palette, Invert..., Skin F/X...
  add("Skins/Palette/Re-Palette",
      [](MenuOpSession& s, const MenuOpAnswers& a) {
        return Repalette(s.workspace.document, HostSkinPath(FilePath(s, a, 0)));
      },
      1);
  add("Skins/Palette/Replace colors", [](MenuOpSession& s, const MenuOpAnswers&) {
    return ReplaceColours(s.workspace.document, s.workspace.editor.colourSlots);
  });
  add("Skins/Palette/Set to Default", [](MenuOpSession& s, const MenuOpAnswers&) {
    return SetDefaultPalette(s.workspace.document, s.palettePath, s.baseFolder);
  });
  const struct {
    const char* label;
    InvertWhat what;
  } inverts[] = {{"Palette", InvertWhat::Palette}, {"Pixels", InvertWhat::Pixels}, {"Both", InvertWhat::Both}};
  for (const auto& inv : inverts) {
    const InvertWhat what = inv.what;
    add(std::string("Skins/Invert/") + inv.label,
        [what](MenuOpSession& s, const MenuOpAnswers&) { return Invert(s.workspace.document, what); });
  }
  add("Skins/Skin F/X/Outline Selected", [](MenuOpSession& s, const MenuOpAnswers&) {
    Workspace& w = s.workspace;
    return OutlineSelected(w.document, w.editor, w.rasterizer);
  });
  add("Skins/Skin F/X/Fill Selected", [](MenuOpSession& s, const MenuOpAnswers&) {
    Workspace& w = s.workspace;
    return FillSelected(w.document, w.lighting, w.editor, w.rasterizer);
  });
  // The pixel tools; the selection comes from `skintool do`'s own step.
  add("Edit/Cut Pixels", [](MenuOpSession& s, const MenuOpAnswers&) {
    Workspace& w = s.workspace;
    return CutPixelSelection(w.document, w.editor, w.pixels);
  });
  add("Edit/Copy Pixels",
      [](MenuOpSession& s, const MenuOpAnswers&) { return CopyPixelSelection(s.workspace.document, s.workspace.pixels); });
  add("Edit/Delete Pixels", [](MenuOpSession& s, const MenuOpAnswers&) {
    Workspace& w = s.workspace;
    return DeletePixelSelection(w.document, w.editor, w.pixels);
  });
  add(
      "Edit/Paste Pixels",
      [](MenuOpSession& s, const MenuOpAnswers& a) {
        Workspace& w = s.workspace;
        const std::string at = FieldValue(*FindMenuOp("Edit/Paste Pixels"), a, "at");
        int x = 0, y = 0;
        const std::size_t comma = at.find(',');
        const auto number = [](const std::string& text, int& out) {
          const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
          return error == std::errc() && end == text.data() + text.size();
        };
        if (comma == std::string::npos || !number(at.substr(0, comma), x) || !number(at.substr(comma + 1), y))
          return OpResult::Refused("Paste Pixels takes at=X,Y: " + at);
        return PastePiece(w.document, w.editor, w.pixels, std::nullopt, x, y);
      },
      0, {{"at", {}, "0,0"}});
  add("Edit/Flip Piece Left-Right",
      [](MenuOpSession& s, const MenuOpAnswers&) { return FlipPixelPiece(s.workspace.pixels, true); });
  add("Edit/Flip Piece Top-Bottom",
      [](MenuOpSession& s, const MenuOpAnswers&) { return FlipPixelPiece(s.workspace.pixels, false); });
  add("Edit/Place Piece", [](MenuOpSession& s, const MenuOpAnswers&) {
    Workspace& w = s.workspace;
    return PlaceFloatingPiece(w.document, w.editor, w.pixels);
  });
  add("Skins/Skin F/X/Fill Selected With Colour", [](MenuOpSession& s, const MenuOpAnswers&) {
    Workspace& w = s.workspace;
    return FillSelectedWithColour(w.document, w.editor, w.rasterizer);
  });
  add("Skins/Skin F/X/Shade Selected", [](MenuOpSession& s, const MenuOpAnswers&) {
    Workspace& w = s.workspace;
    return ShadeSelected(w.document, w.lighting, w.editor, w.rasterizer);
  });
  add("Skins/Skin F/X/Load To Selected",
      [](MenuOpSession& s, const MenuOpAnswers& a) {
        Workspace& w = s.workspace;
        if (!SkinAt(w.model.skins, w.model.currentSkinIndex)) return OpResult::Nothing();
        auto picture = LoadPicture(s, a.files.at(0));
        if (!picture) return OpResult::Refused(ShownText(picture.error()));
        return LoadToSelected(w.document, **picture, w.editor, w.rasterizer);
      },
      1);

  // Mapping
  add("Mapping/Map from 3D View",
      [](MenuOpSession& s, const MenuOpAnswers& a) {
        const MenuOp& self = *FindMenuOp("Mapping/Map from 3D View");
        MapFrom3DViewOptions options;
        options.projection = FieldValue(self, a, "projection") == "parallel" ? 1 : 0;
        options.noBackfaces = FieldValue(self, a, "no-backfaces") == "on";
        options.flip = FieldValue(self, a, "flip") == "on";
        options.mirror = FieldValue(self, a, "mirror") == "on";
        Workspace& w = s.workspace;
        return MapFrom3DView(w.document, w.viewport, w.editor, options);
      },
      0,
      {{"projection", {"perspective", "parallel"}, "perspective"},
       {"no-backfaces", kOnOff, "off"},
       {"flip", kOnOff, "off"},
       {"mirror", kOnOff, "off"}});
  add("Mapping/Flip Selected", OnDocument(FlipSelectedMapping));
  add("Mapping/Mirror Selected", OnDocument(MirrorSelectedMapping));
  add("Mapping/90\xC2\xB0 Rotate Selected", OnDocument(RotateSelectedMapping));
  add("Mapping/Import",
      [](MenuOpSession& s, const MenuOpAnswers& a) {
        return ImportMapping(s.workspace.document, FilePath(s, a, 0), false);
      },
      1);
  add("Mapping/Export",
      [](MenuOpSession& s, const MenuOpAnswers& a) { return ExportMapping(s.workspace.document, FilePath(s, a, 0)); },
      1);
  add("Mapping/Import to Selected",
      [](MenuOpSession& s, const MenuOpAnswers& a) {
        return ImportMapping(s.workspace.document, FilePath(s, a, 0), true);
      },
      1);
  add("Mapping/Snap Selected to Grid", OnDocument(SnapSelectedToGrid));
  add("Mapping/Store", OnDocument(StoreMapping));
  add("Mapping/Revert", OnDocument(RevertMapping));
  add("Mapping/Delete Selected", OnDocument(DeleteSelectedMapping));
  add("Mapping/Retro-Map",
      [](MenuOpSession& s, const MenuOpAnswers& a) {
        auto picture = LoadPicture(s, a.files.at(0));
        if (!picture) return OpResult::Refused(ShownText(picture.error()));
        Workspace& w = s.workspace;
        return RetroMapToNewSkin(w.document, **picture, FilePath(s, a, 1), w.editor.colourSlots[7], s.baseFolder);
      },
      2);
  const std::vector<std::string> axes = {"x", "y", "z", "view"};
  for (ProjectionShape shape : {ProjectionShape::Cylinder, ProjectionShape::Sphere, ProjectionShape::Box}) {
    const std::string path = std::string("Mapping/") + ProjectionName(shape);
    std::vector<MenuOpField> fields = {{"axis", axes, "view"}};
    if (shape == ProjectionShape::Box) fields.push_back({"no-backfaces", kOnOff, "off"});
    add(path,
        [shape, path](MenuOpSession& s, const MenuOpAnswers& a) {
          const MenuOp& self = *FindMenuOp(path);
          ProjectionOptions options;
          options.shape = shape;
          options.axis = ProjectionAxisNamed(FieldValue(self, a, "axis")).value_or(ProjectionAxis::View);
          options.noBackfaces = FieldValue(self, a, "no-backfaces") == "on";
          Workspace& w = s.workspace;
          return ProjectSelectedMapping(w.document, w.viewport, w.editor, options);
        },
        0, std::move(fields));
  }
  add("Mapping/Pack Islands",
      [](MenuOpSession& s, const MenuOpAnswers& a) {
        const MenuOp& self = *FindMenuOp("Mapping/Pack Islands");
        const std::string margin = FieldValue(self, a, "margin");
        PackIslandsOptions options;
        const auto [end, error] = std::from_chars(margin.data(), margin.data() + margin.size(), options.margin);
        if (error != std::errc() || end != margin.data() + margin.size() || options.margin < 0 ||
            options.margin > kMaxPackMargin)
          return OpResult::Refused(kPackMarginText + margin);
        options.turn = FieldValue(self, a, "rotate") == "on";
        return PackIslands(s.workspace.document, s.workspace.editor, options);
      },
      0, {{"margin", {}, "2"}, {"rotate", kOnOff, "off"}});
  add("Mapping/Average Island Scale",
      [](MenuOpSession& s, const MenuOpAnswers&) { return AverageIslandScale(s.workspace.document); });

  // Mesh
  add("Mesh/Hide Selected Faces", OnModel("Hide Selected Faces", HideSelectedFaces));
  add("Mesh/Unhide All", OnModel("Unhide All", UnhideAll));
  add("Mesh/Delete Selected Faces", OnModelRefusing("Delete Selected Faces", DeleteSelectedFaces));
  add("Mesh/Flip Selected Faces", OnModel("Flip Selected Faces", FlipSelectedFaces));
  add("Mesh/Edge Turn", [](MenuOpSession& s, const MenuOpAnswers&) {
    Workspace& w = s.workspace;
    DocumentStep open(w.document, "Edge Turn", STEP_MESH);
    const std::string refused = EdgeTurn(w.model, [](void* context) {
      Workspace& self = *static_cast<Workspace*>(context);
      self.RebuildPaintTable();
      if (self.rebuildShadeRamps) self.rebuildShadeRamps();
    }, &w);
    return refused.empty() ? OpResult::Done() : OpResult::Refused(refused);
  });

  // Selection
  add("Selection/Select All", OnModel("Select All", SelectAll));
  add("Selection/Select None", OnModel("Select None", SelectNone));
  add("Selection/Invert Selection", OnModel("Invert Selection", InvertSelection));
  add("Selection/Select Connected", OnModel("Select Connected", SelectConnected));
  add("Selection/Grow Selection", OnModel("Grow Selection", GrowSelection));
  add("Selection/Shrink Selection", OnModel("Shrink Selection", ShrinkSelection));
  return ops;
}

}  // namespace

const std::vector<MenuOp>& MenuOps() {
  static const std::vector<MenuOp> ops = BuildOps();
  return ops;
}

const MenuOp* FindMenuOp(const std::string& path) {
  for (const MenuOp& op : MenuOps())
    if (op.path == path) return &op;
  return nullptr;
}

std::string MenuPath(const std::vector<std::string>& menu, const std::string& label) {
  std::string path;
  auto level = [](std::string text) {
    text = text.substr(0, text.find('\t'));
    std::erase(text, '&');
    if (text.ends_with("...")) text.resize(text.size() - 3);
    return text;
  };
  for (const std::string& m : menu) path += level(m) + "/";
  return path + level(label);
}

std::string FieldValue(const MenuOp& op, const MenuOpAnswers& answers, const std::string& field) {
  if (auto it = answers.fields.find(field); it != answers.fields.end()) return it->second;
  for (const MenuOpField& f : op.fields)
    if (f.name == field) return f.initial;
  return {};
}
