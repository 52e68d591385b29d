#pragma once
// What the drawing library installs into the libraries below it.

namespace kiv {

// Sets dataHooks.WrapText to the font-set text layout and the sprite
// property-script slot of the trigger dispatch.
void InstallRenderDataHooks();

}  // namespace kiv
