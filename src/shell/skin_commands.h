#pragma once
// The Skins menu (all but the palette and effects commands) and the steps
// they share. Every handler acts on the current skin and returns quietly
// when there is nothing to act on.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "editor/skin_file_ops.h"
#include "editor/skin_list_ops.h"
#include "image/skin.h"

class App;

// Save As; PNG comes last so the older entries keep their indices.
inline constexpr char kSkinFilter[] =
    "Supported Formats (*.pcx;*.bmp)|*.pcx;*.bmp|Mesh Skin (*.pcx)|*.pcx|Bitmap (*.bmp)|*.bmp|"
    "All Files (*.*)|*.*|PNG Picture (*.png)|*.png||";
// Followed by the skin's name in the list.
inline constexpr char kSaveSkinAsTitle[] = "Save Skin As: ";
// Opening also takes true-colour pictures, brought into the palette.
inline constexpr char kSkinOpenFilter[] =
    "Supported Formats (*.pcx;*.bmp)|*.pcx;*.bmp|Mesh Skin (*.pcx)|*.pcx|Bitmap (*.bmp)|*.bmp|"
    "Pictures (*.pcx;*.bmp;*.png;*.tga;*.jpg;*.jpeg)|*.pcx;*.bmp;*.png;*.tga;*.jpg;*.jpeg|All Files (*.*)|*.*||";
inline constexpr char kLinkFilter[] = "Mesh Skin (*.pcx)|*.pcx|All Files (*.*)|*.*||";

// Asked before a changed skin would be dropped; the skins' names follow.
inline constexpr char kSaveChangedSkinText[] = "Save changes to this skin?\n";
inline constexpr char kSaveChangedSkinsText[] = "Save changes to these skins?\n";

// Writes the skin to its file in the format it was read from (or asks for
// one, as Save As does, when it has none or came from a format the program
// does not write); true when it was written. A failure has been reported.
bool SaveSkin(App& app, Skin& skin);
// A picture file as a skin record: PCX and BMP as they are, PNG, TGA and
// JPEG too, a true-colour one brought into the current skin's palette (the
// default palette without one), dithered when the preference says so.
std::unique_ptr<Skin> LoadPictureAsSkin(App& app, const std::string& path);
// The dialog names the skin and offers `initialName` (by default the
// wildcards, or the skin's path when no file holds it yet).
bool SaveSkinAs(App& app, Skin& skin, const std::string& initialName = {});
// Asks once, naming them, whether to save those of the skins at `indices`
// that changed since they were loaded or saved; Yes saves each. False when
// the user cancels or a save fails: the action that asked must not go on.
bool OfferToSaveChangedSkins(App& app, const std::vector<int>& indices);

void OnSkinNew(App& app);
void OnSkinOpen(App& app);
// Skins > Open for a path already chosen (a drop, a recent file); true when
// the skin was added. The caller opens the undo step.
bool OpenSkinFile(App& app, const std::string& path);
void OnSkinClose(App& app);
void OnSkinDuplicate(App& app);
void OnSkinSave(App& app);
void OnSkinSaveAs(App& app);
void OnSkinLink(App& app);
void OnSkinUnlink(App& app);
void OnSkinMoveUp(App& app);
void OnSkinMoveDown(App& app);
void OnSkinStore(App& app);
void OnSkinRevert(App& app);
void OnSkinReload(App& app);
// Asks through app.services.skinDialogs; nothing happens without one.
void OnSkinResizeAll(App& app);

// What the skin bar does to the list before it shows it: names and paths in
// their stored form, linked skins first (the current skin followed), and
// currentSkinIndex naming an entry of the list. The list-bar rebuild calls
// this for every refresh.
void SettleSkinList(App& app);

// SettleSkinList, then the program's full refresh.
void RefreshSkinBar(App& app);

// Appends the skin, makes it current, refreshes the skin bar and rebuilds
// the tables that follow the current skin's palette.
void AppendSkin(App& app, std::unique_ptr<Skin> skin);

// Every triangle's three edges, between its corners' mapping coordinates
// truncated toward zero, drawn into `skin` in `colour`; the parts off the
// skin are clipped away.
void DrawMeshOutline(App& app, Skin& skin, std::uint8_t colour);
