#pragma once
// Blank skins and the backgrounds a new skin can start with.

#include <cstdint>
#include <memory>
#include <string>

#include "image/skin.h"

// An external skin made in memory: no file yet, PCX by default, both pixel
// buffers allocated (zero) and the row offsets set.
std::unique_ptr<Skin> MakeBlankSkin(const std::string& name, int width, int height, const Palette& palette);

void FillSkin(Skin& skin, std::uint8_t colour);

// 4 x 4-pixel cells: `same` where the column and row cell numbers are both
// even or both odd, `differ` elsewhere.
void FillCheckerboard(Skin& skin, std::uint8_t same, std::uint8_t differ);

// The grid dots: on every even row each odd column takes `oddColumns`, then
// on every row each even column takes `evenColumns`.
void DrawGridDots(Skin& skin, std::uint8_t oddColumns, std::uint8_t evenColumns);
