#pragma once
// The player's 2D drawing state, set at the start of every frame and every
// loading picture so that nothing an earlier pass changed leaks into it.

namespace kiv {

// Lighting off, specular, blending and shading from the [Detail] settings,
// source-alpha blending, alpha test at 1 or more, point filtering, wrap, the
// coloured-vertex format and no pixel shader, through the current draw device.
void SetDefaultRenderStates();

}  // namespace kiv
