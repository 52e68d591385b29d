#include "support/back_buffer_pixels.h"

#include <stb/stb_image_write.h>

#include <cstdlib>
#include <vector>

#include "media/graphics.h"

namespace kiv::test {

std::uint32_t BackBufferRgb(int x, int y) {
  gfx::SurfacePtr back;
  graphics.direct3dDevice->GetBackBuffer(back);
  gfx::LockedRect locked;
  gfx::Rect r{x, y, x + 1, y + 1};
  if (back->LockRect(locked, &r, 0) != gfx::kOk) return 0xDEADBEEF;
  const std::uint32_t rgb = locked.bits[0] | locked.bits[1] << 8 | locked.bits[2] << 16;
  back->UnlockRect();
  return rgb;
}

void SaveBackBufferPng(const std::string& name, int width, int height) {
  const char* folder = std::getenv("KIV_PICTURE_DIR");
  if (folder == nullptr) return;
  std::vector<std::uint8_t> rgb;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const std::uint32_t c = BackBufferRgb(x, y);
      rgb.insert(rgb.end(), {static_cast<std::uint8_t>(c >> 16), static_cast<std::uint8_t>(c >> 8),
                             static_cast<std::uint8_t>(c)});
    }
  stbi_write_png((std::string(folder) + "/" + name + ".png").c_str(), width, height, 3, rgb.data(), width * 3);
}

}  // namespace kiv::test
