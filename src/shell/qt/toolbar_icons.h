#pragma once
// The pictures the program draws for itself: toolbar buttons, the Skins
// list's linked and external marks, the window icon.

#include <QIcon>
#include <QPixmap>
#include <string>

struct Command;

// A 16 x 15 button picture for a toolbar command, chosen from its label.
QIcon CommandIcon(const Command& command);
// The Skins list's marks: 0 linked skin, 1 external skin.
QIcon SkinListIcon(int image);
// The program's icon at `size` pixels.
QPixmap AppIconPixmap(int size);

// The label without its mnemonic ampersands and key text: "&Open...\tCtrl+O" -> "Open...".
QString PlainLabel(const std::string& label);
