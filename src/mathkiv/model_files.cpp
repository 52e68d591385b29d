#include "mathkiv/model_files.h"

#include <assimp/BaseImporter.h>
#include <assimp/material.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <algorithm>
#include <assimp/IOStream.hpp>
#include <assimp/IOSystem.hpp>
#include <assimp/Importer.hpp>
#include <cmath>
#include <cstring>
#include <map>
#include <utility>
#include <vector>

#include "core/text_encoding.h"
#include "mathkiv/model_formats.h"

namespace kiv {

namespace {

// The name under which the model file itself is opened, followed by the
// extension of its format.
constexpr const char* kModelName = "$model$";
// Most vertices a model may have; a model with more is refused.
constexpr std::size_t kMaxVertices = 1u << 22;

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

// The last part of a path written with either separator, lower-cased.
std::string BaseName(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return Lower(slash == std::string::npos ? path : path.substr(slash + 1));
}

class ByteStream : public Assimp::IOStream {
 public:
  explicit ByteStream(const ByteList& bytes) : bytes_(bytes) {}
  size_t Read(void* buffer, size_t size, size_t count) override {
    if (size == 0) return 0;
    const std::size_t available = (bytes_.size() - position_) / size;
    const std::size_t n = std::min(count, available);
    if (n > 0) std::memcpy(buffer, bytes_.data() + position_, n * size);
    position_ += n * size;
    return n;
  }
  size_t Write(const void*, size_t, size_t) override { return 0; }
  aiReturn Seek(size_t offset, aiOrigin origin) override {
    std::size_t base = 0;
    if (origin == aiOrigin_CUR) base = position_;
    if (origin == aiOrigin_END) base = bytes_.size();
    if (origin == aiOrigin_END ? offset > base : offset > bytes_.size() - base) return aiReturn_FAILURE;
    position_ = origin == aiOrigin_END ? base - offset : base + offset;
    return aiReturn_SUCCESS;
  }
  size_t Tell() const override { return position_; }
  size_t FileSize() const override { return bytes_.size(); }
  void Flush() override {}

 private:
  const ByteList& bytes_;
  std::size_t position_ = 0;
};

// Serves the model file under its own name and the resource's named entries;
// nothing else of the file system can be opened, and no file larger than a
// model file may be.
class EntryFiles : public Assimp::IOSystem {
 public:
  EntryFiles(std::string modelName, const ByteList& model, const EmbeddedResource& resource)
      : modelName_(Lower(std::move(modelName))), model_(model), resource_(resource) {}
  bool Exists(const char* file) const override { return Find(file) != nullptr; }
  char getOsSeparator() const override { return '/'; }
  Assimp::IOStream* Open(const char* file, const char* mode) override {
    if (mode == nullptr || std::strchr(mode, 'w') != nullptr || std::strchr(mode, 'a') != nullptr)
      return nullptr;
    const ByteList* bytes = Find(file);
    return bytes && bytes->size() <= kMaxModelFileBytes ? new ByteStream(*bytes) : nullptr;
  }
  void Close(Assimp::IOStream* stream) override { delete stream; }

  const ByteList* Find(const char* file) const {
    if (file == nullptr) return nullptr;
    const std::string name = BaseName(file);
    if (name == modelName_) return &model_;
    for (const EmbeddedEntry& entry : resource_.entries)
      if (&entry.bytes != &model_ && BaseName(Utf16ToUtf8(entry.name)) == name) return &entry.bytes;
    return nullptr;
  }

 private:
  const std::string modelName_;
  const ByteList& model_;
  const EmbeddedResource& resource_;
};

// Removes every importer but the one of the extension, so that no other parser
// ever reads package bytes, whatever the importer would make of the name or
// the contents. False when that importer is missing or others remain.
bool KeepOnlyImporterOf(Assimp::Importer& importer, const char* extension) {
  Assimp::BaseImporter* const kept = importer.GetImporter(extension);
  if (kept == nullptr) return false;
  std::vector<Assimp::BaseImporter*> others;
  for (std::size_t i = 0; i < importer.GetImporterCount(); ++i)
    if (importer.GetImporter(i) != kept) others.push_back(importer.GetImporter(i));
  for (Assimp::BaseImporter* other : others)
    if (importer.UnregisterLoader(other) == aiReturn_SUCCESS) delete other;  // no longer the importer's
  return importer.GetImporterCount() == 1 && importer.GetImporter(std::size_t{0}) == kept;
}

std::uint32_t ToByte(float v) {
  if (!(v > 0.0f)) return 0;
  if (v >= 1.0f) return 255;
  return static_cast<std::uint32_t>(std::lround(v * 255.0f));
}

std::uint32_t MaterialColour(const aiMaterial& material) {
  aiColor4D diffuse(1.0f, 1.0f, 1.0f, 1.0f);
  material.Get(AI_MATKEY_COLOR_DIFFUSE, diffuse);
  float opacity = 1.0f;
  if (material.Get(AI_MATKEY_OPACITY, opacity) == aiReturn_SUCCESS) diffuse.a *= opacity;
  return ToByte(diffuse.a) << 24 | ToByte(diffuse.r) << 16 | ToByte(diffuse.g) << 8 | ToByte(diffuse.b);
}

class Reader {
 public:
  Reader(const aiScene& scene, const EntryFiles& files, ModelData& out)
      : scene_(scene), files_(files), out_(out) {}

  std::int32_t Texture(const aiMaterial& material) {
    aiString path;
    if (material.GetTexture(aiTextureType_DIFFUSE, 0, &path) != aiReturn_SUCCESS) return -1;
    const std::string name = path.C_Str();
    const auto known = byName_.find(name);
    if (known != byName_.end()) return known->second;
    ModelTexture texture;
    bool found = false;
    if (const aiTexture* embedded = scene_.GetEmbeddedTexture(name.c_str())) {
      found = Embedded(*embedded, texture);
    } else if (const ByteList* bytes = files_.Find(name.c_str())) {
      texture.fileBytes = *bytes;
      found = true;
    }
    const std::int32_t index = found ? static_cast<std::int32_t>(out_.textures.size()) : -1;
    if (found) out_.textures.push_back(std::move(texture));
    byName_[name] = index;
    return index;
  }

 private:
  static bool Embedded(const aiTexture& t, ModelTexture& texture) {
    if (t.pcData == nullptr || t.mWidth == 0) return false;
    const auto* texels = reinterpret_cast<const std::uint8_t*>(t.pcData);
    if (t.mHeight == 0) {  // compressed: mWidth bytes of an image file
      texture.fileBytes.assign(texels, texels + t.mWidth);
      return true;
    }
    texture.width = t.mWidth;
    texture.height = t.mHeight;
    texture.argb.reserve(static_cast<std::size_t>(t.mWidth) * t.mHeight);
    for (std::size_t i = 0; i < static_cast<std::size_t>(t.mWidth) * t.mHeight; ++i) {
      const aiTexel& x = t.pcData[i];
      texture.argb.push_back(std::uint32_t{x.a} << 24 | std::uint32_t{x.r} << 16 | std::uint32_t{x.g} << 8 |
                             x.b);
    }
    return true;
  }

  const aiScene& scene_;
  const EntryFiles& files_;
  ModelData& out_;
  std::map<std::string, std::int32_t> byName_;
};

bool Convert(const aiScene& scene, const EntryFiles& files, ModelData& out, std::string& reason) {
  Reader reader(scene, files, out);
  std::size_t total = 0;
  for (unsigned m = 0; m < scene.mNumMeshes; ++m) {
    const aiMesh& mesh = *scene.mMeshes[m];
    if (!(mesh.mPrimitiveTypes & aiPrimitiveType_TRIANGLE) || mesh.mNumVertices == 0) continue;
    total += mesh.mNumVertices;
    if (total > kMaxVertices) {
      reason = "too many vertices";
      return false;
    }
    ModelMesh part;
    part.vertices.resize(mesh.mNumVertices);
    for (unsigned i = 0; i < mesh.mNumVertices; ++i) {
      ModelVertex& v = part.vertices[i];
      v.x = mesh.mVertices[i].x, v.y = mesh.mVertices[i].y, v.z = mesh.mVertices[i].z;
      if (mesh.mNormals) v.nx = mesh.mNormals[i].x, v.ny = mesh.mNormals[i].y, v.nz = mesh.mNormals[i].z;
      if (mesh.mTextureCoords[0]) v.u = mesh.mTextureCoords[0][i].x, v.v = mesh.mTextureCoords[0][i].y;
    }
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
      const aiFace& face = mesh.mFaces[f];
      if (face.mNumIndices != 3) continue;
      bool inside = true;
      for (unsigned k = 0; k < 3; ++k) inside = inside && face.mIndices[k] < mesh.mNumVertices;
      if (!inside) continue;
      part.indices.insert(part.indices.end(), face.mIndices, face.mIndices + 3);
    }
    if (part.indices.empty()) continue;
    if (mesh.mMaterialIndex < scene.mNumMaterials) {
      const aiMaterial& material = *scene.mMaterials[mesh.mMaterialIndex];
      part.diffuse = MaterialColour(material);
      part.texture = reader.Texture(material);
    }
    out.meshes.push_back(std::move(part));
  }
  if (out.meshes.empty()) {
    reason = "no triangles";
    return false;
  }
  return true;
}

bool ReadOne(const ByteList& bytes, const EmbeddedResource& resource, ModelData& out, std::string& reason) {
  const ModelFormat format = RecogniseModelFormat(bytes, reason);
  if (format == ModelFormat::kNone) return false;
  Assimp::Importer importer;
  if (!KeepOnlyImporterOf(importer, ModelFormatExtension(format))) {
    reason = "no reader for the model format";
    return false;
  }
  const std::string name = std::string(kModelName) + ModelFormatExtension(format);
  importer.SetIOHandler(new EntryFiles(name, bytes, resource));  // the importer owns it
  const unsigned flags = aiProcess_Triangulate | aiProcess_JoinIdenticalVertices |
                         aiProcess_GenSmoothNormals | aiProcess_PreTransformVertices | aiProcess_SortByPType |
                         aiProcess_ConvertToLeftHanded | aiProcess_ValidateDataStructure;
  const aiScene* scene = importer.ReadFile(name, flags);
  if (scene == nullptr || (scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE)) {
    reason = importer.GetErrorString();
    if (reason.empty()) reason = "not a model";
    return false;
  }
  const auto* files = static_cast<const EntryFiles*>(importer.GetIOHandler());
  out = ModelData{};
  return Convert(*scene, *files, out, reason);
}

}  // namespace

bool ReadModelResource(const EmbeddedResource& resource, ModelData& out, std::string& reason,
                       const ByteList** modelFile) {
  reason = "no model bytes";
  const ByteList* used = nullptr;
  if (!resource.listBytes.empty()) {
    if (ReadOne(resource.listBytes, resource, out, reason)) used = &resource.listBytes;
  } else {
    for (const EmbeddedEntry& entry : resource.entries) {
      if (!entry.bytes.empty() && ReadOne(entry.bytes, resource, out, reason)) {
        used = &entry.bytes;
        break;
      }
    }
  }
  if (modelFile) *modelFile = used;
  return used != nullptr;
}

}  // namespace kiv
