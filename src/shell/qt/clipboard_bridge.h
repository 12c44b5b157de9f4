#pragma once
// The system clipboard for the pixel tools: a copied piece goes out as a
// picture other programs can paste, and a picture another program copied
// comes in for Paste.

class App;

void ConnectClipboard(App& app);
void DisconnectClipboard(App& app);
