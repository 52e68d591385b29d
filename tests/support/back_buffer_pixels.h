#pragma once
// Pixels of the graphics device's back buffer, for drawing tests on the
// offscreen device.
#include <cstdint>
#include <string>

namespace kiv::test {

// The colour at (x, y) as 0xRRGGBB; 0xDEADBEEF when it cannot be read.
std::uint32_t BackBufferRgb(int x, int y);

// Writes the top-left width x height of the back buffer to
// $KIV_PICTURE_DIR/<name>.png when that variable is set, to look at.
void SaveBackBufferPng(const std::string& name, int width, int height);

}  // namespace kiv::test
