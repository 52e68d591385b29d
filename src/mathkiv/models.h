#pragma once
// 3-D models of tiles: loaded from model resources (see model_files.h) and
// drawn through the device that start-up hands over with GraphicsInit.
//
// A loaded model is found again by the buffer that holds the resource's model
// file (its list bytes, or the entry that was read). That buffer stays the
// same when the record moves (a table that grows), so callers pass the record
// itself; a copy of the record has its own buffer and is loaded on its own.
// A loaded model is unloaded before its record is destroyed (resource groups
// unload before the game data is reset), or by GraphicsTerminate.
#include <cstdint>

#include "core/record_codecs.h"

namespace kiv {

namespace gfx {
class Device;
}

// The device that models are drawn with; textures are made on it when a
// model is first drawn.
void GraphicsInit(gfx::Device* device);
// Frees every loaded model and forgets the device.
void GraphicsTerminate();

// What a model takes of the map it stands in. Callers pass the Map record's
// ambient colour.
struct ModelLighting {
  std::uint32_t ambientColor = 0xFFFFFFFF;
};

// Loads a model resource (mode 2). A resource that holds no readable model is
// refused with a line in the log ("Model not loaded: <reason>.") and draws
// nothing; false then. Loading a loaded resource again keeps the first load.
bool ModelLoad(const EmbeddedResource& resource);

// Draws the loaded model with the device's current transforms, lights and
// vertex shader: the caller has set the vertex format position + normal + one
// texture set, or a vertex shader that reads that layout. Each mesh sets its
// material (the model's diffuse colour, also as ambient colour) and its
// texture on stage 0; the map's ambient colour becomes the ambient render
// state. A resource that is not loaded, or no device, draws nothing.
void ModelDraw(const EmbeddedResource& resource, const ModelLighting& lighting);

void ModelUnload(const EmbeddedResource& resource);

// Number of models loaded now.
std::size_t LoadedModelCount();

}  // namespace kiv
