#pragma once
// What the drawing library installs into the libraries below it.

namespace kiv {

// Sets dataHooks.WrapText to the font-set text layout and the sprite
// property-script slot of the trigger dispatch.
void InstallRenderDataHooks();
// Sets playerHooks.DrawFrame and DrawCursor to the frame and cursor drawing,
// the render hooks that read the shell (the screen scale and the system
// textures), and the view hooks below.
void InstallRenderPlayerHooks();
// Sets the map drawing and the view-field camera into playerHooks, and what
// tile and sprite drawing read of the view into renderHooks.
void InstallRenderViewHooks();

}  // namespace kiv
