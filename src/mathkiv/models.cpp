#include "mathkiv/models.h"

#include <map>
#include <memory>

#include "core/log.h"
#include "mathkiv/model_files.h"
#include "platform/gfx/d3dx.h"
#include "platform/gfx/device.h"

namespace kiv {

namespace {

constexpr std::uint32_t kModelVertexStride = sizeof(ModelVertex);
constexpr std::uint32_t kColourKey = 0xFFFF00FF;

struct LoadedModel {
  ModelData data;
  std::vector<gfx::TexturePtr> textures;  // made on first draw
  bool texturesMade = false;
};

struct ModelState {
  gfx::Device* device = nullptr;
  std::map<const std::uint8_t*, std::unique_ptr<LoadedModel>> models;

  void Reset() {
    models.clear();
    device = nullptr;
  }
};

ModelState& State() {
  static ModelState state;
  return state;
}

// The buffer that names a resource's model: its list bytes or, with none, its
// first entry that holds a loaded model.
const std::uint8_t* Key(const EmbeddedResource& resource) {
  if (!resource.listBytes.empty()) return resource.listBytes.data();
  for (const EmbeddedEntry& entry : resource.entries)
    if (!entry.bytes.empty() && State().models.count(entry.bytes.data())) return entry.bytes.data();
  return nullptr;
}

gfx::ColorValue Floats(std::uint32_t argb) {
  gfx::ColorValue c;
  c.a = static_cast<float>((argb >> 24) & 0xFF) / 255.0f;
  c.r = static_cast<float>((argb >> 16) & 0xFF) / 255.0f;
  c.g = static_cast<float>((argb >> 8) & 0xFF) / 255.0f;
  c.b = static_cast<float>(argb & 0xFF) / 255.0f;
  return c;
}

void MakeTextures(gfx::Device& device, LoadedModel& model) {
  model.texturesMade = true;
  for (const ModelTexture& t : model.data.textures) {
    gfx::TexturePtr texture;
    if (!t.fileBytes.empty()) {
      if (gfx::CreateTextureFromFileInMemoryEx(device, t.fileBytes.data(), t.fileBytes.size(), 0, 0, 1, 0,
                                               gfx::kFmtA8R8G8B8, 0, gfx::kFilterLinear, gfx::kFilterLinear,
                                               kColourKey, texture) != gfx::kOk)
        texture.reset();
    } else if (!t.argb.empty()) {
      if (device.CreateTextureFromArgb(t.width, t.height, gfx::kFmtA8R8G8B8, 1, t.argb.data(), false,
                                       texture) != gfx::kOk)
        texture.reset();
    }
    model.textures.push_back(texture);
  }
}

}  // namespace

void GraphicsInit(gfx::Device* device) { State().device = device; }

void GraphicsTerminate() { State().Reset(); }

bool ModelLoad(const EmbeddedResource& resource) {
  if (const std::uint8_t* key = Key(resource); key && State().models.count(key)) return true;
  auto model = std::make_unique<LoadedModel>();
  std::string reason;
  const ByteList* file = nullptr;
  if (!ReadModelResource(resource, model->data, reason, &file)) {
    LogWriteLine("Model not loaded: " + reason + ".");
    return false;
  }
  State().models[file->data()] = std::move(model);
  return true;
}

void ModelDraw(const EmbeddedResource& resource, const ModelLighting& lighting) {
  gfx::Device* device = State().device;
  const std::uint8_t* key = Key(resource);
  if (device == nullptr || key == nullptr) return;
  const auto found = State().models.find(key);
  if (found == State().models.end()) return;
  LoadedModel& model = *found->second;
  if (!model.texturesMade) MakeTextures(*device, model);
  device->SetRenderState(gfx::kRsAmbient, lighting.ambientColor);
  for (const ModelMesh& mesh : model.data.meshes) {
    gfx::Material material;
    material.diffuse = material.ambient = Floats(mesh.diffuse);
    device->SetMaterial(material);
    const bool textured = mesh.texture >= 0 && static_cast<std::size_t>(mesh.texture) < model.textures.size();
    device->SetTexture(0, textured ? model.textures[static_cast<std::size_t>(mesh.texture)] : nullptr);
    device->DrawIndexedPrimitiveUP(gfx::kPrimTriangleList, 0,
                                   static_cast<std::uint32_t>(mesh.vertices.size()),
                                   static_cast<std::uint32_t>(mesh.indices.size() / 3), mesh.indices.data(),
                                   gfx::kIndex32, mesh.vertices.data(), kModelVertexStride);
  }
}

void ModelUnload(const EmbeddedResource& resource) {
  if (const std::uint8_t* key = Key(resource)) State().models.erase(key);
}

std::size_t LoadedModelCount() { return State().models.size(); }

}  // namespace kiv
