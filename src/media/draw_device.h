#pragma once
// The device calls of the drawing code go through this one small interface, so
// that tests can record them instead of drawing. The default forwards to the
// device of the graphics globals.
#include <cstdint>

#include "platform/gfx/resources.h"

namespace kiv {

class DrawDevice {
 public:
  virtual ~DrawDevice() = default;
  virtual void SetTexture(std::uint32_t stage, const gfx::TexturePtr& texture) = 0;
};

// nullptr restores the graphics device.
void SetDrawDevice(DrawDevice* device);
// The installed device, else the graphics device (which raises 91 while it is not created).
DrawDevice& CurrentDrawDevice();

}  // namespace kiv
