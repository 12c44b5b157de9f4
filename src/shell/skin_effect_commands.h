#pragma once
// Skins > Skin F/X...: the effects on the skin area the selected triangles'
// mapping covers (editor/document_ops.h), on the current skin. Each returns
// quietly without one.

class App;

void OnOutlineSelected(App& app);
void OnFillSelected(App& app);
void OnShadeSelected(App& app);
// Asks for a PCX or BMP of the skin's size and pastes it into the selection.
void OnLoadToSelected(App& app);
