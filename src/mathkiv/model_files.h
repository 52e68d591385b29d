#pragma once
// Reading a model resource into plain geometry, with Assimp. A model resource
// (an embedded resource of mode 2) holds the model file in its list bytes, or,
// when those are empty, in the first of its named entries that reads as a
// model; the other named entries are the files the model refers to by name
// (material files, textures). Formats are recognised by their contents
// (model_formats.h): DirectX .x and Wavefront .obj with .mtl; Assimp is given
// only the importer of the format found, and no file over the size limit.
// Geometry comes out triangulated, with normals, in the left-handed,
// clockwise-front conventions of the device.
#include <cstdint>
#include <string>
#include <vector>

#include "core/byte_list.h"
#include "core/record_codecs.h"

namespace kiv {

// Position, normal and one texture set: 32 bytes, the vertex format
// position + normal + one texture set of the device.
struct ModelVertex {
  float x = 0, y = 0, z = 0;
  float nx = 0, ny = 0, nz = 0;
  float u = 0, v = 0;
};

// A texture of a model: image file bytes, or ARGB pixels (rows top-down)
// when the model file carries the texture uncompressed.
struct ModelTexture {
  ByteList fileBytes;
  std::vector<std::uint32_t> argb;
  std::uint32_t width = 0;
  std::uint32_t height = 0;
};

struct ModelMesh {
  std::vector<ModelVertex> vertices;
  std::vector<std::uint32_t> indices;  // triangle list
  std::uint32_t diffuse = 0xFFFFFFFF;  // ARGB of the material
  std::int32_t texture = -1;           // index into ModelData::textures
};

struct ModelData {
  std::vector<ModelMesh> meshes;
  std::vector<ModelTexture> textures;
};

// False (with a reason) when no model file of the resource can be read or it
// holds no triangles. modelFile, when given, receives the bytes that were read
// as the model file.
bool ReadModelResource(const EmbeddedResource& resource, ModelData& out, std::string& reason,
                       const ByteList** modelFile = nullptr);

}  // namespace kiv
