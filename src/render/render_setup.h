#pragma once
// What the drawing library installs into the libraries below it.

namespace kiv {

// Sets dataHooks.WrapText to the font-set text layout and the sprite
// property-script slot of the trigger dispatch.
void InstallRenderDataHooks();
// Sets playerHooks.DrawFrame to the frame drawing.
void InstallRenderPlayerHooks();

}  // namespace kiv
