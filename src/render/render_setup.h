#pragma once
// What the drawing library installs into the libraries below it.

namespace kiv {

// Sets dataHooks.WrapText to the font-set text layout and the sprite
// property-script slot of the trigger dispatch.
void InstallRenderDataHooks();
// Sets playerHooks.DrawFrame and DrawCursor to the frame and cursor drawing, and
// the render hooks that read the shell: the screen scale and the system textures.
void InstallRenderPlayerHooks();

}  // namespace kiv
