#include "mathkiv/models.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <link.h>
#include <zlib.h>

#include <memory>
#include <string>

#include "core/text_encoding.h"
#include "mathkiv/model_files.h"
#include "mathkiv/model_formats.h"
#include "platform/gfx/device.h"
#include "platform/gfx/direct3d.h"
#include "platform/gfx/window.h"

// Assimp's parsers leave part of a half-read model behind when they give up
// on a broken file; that is theirs to free, not ours.
extern "C" const char* __lsan_default_suppressions() { return "leak:libassimp.so\n"; }

namespace kiv {
namespace {

ByteList Bytes(const std::string& text) { return ByteList(text.begin(), text.end()); }

// A square over the middle half of the screen, in front of the camera with
// identity transforms (file coordinates are right-handed: z = -0.5 becomes
// depth 0.5 on the device).
const char* const kSquareObj =
    "v -0.5 -0.5 -0.5\nv 0.5 -0.5 -0.5\nv 0.5 0.5 -0.5\nv -0.5 0.5 -0.5\n"
    "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\nvn 0 0 1\n"
    "f 1/1/1 2/2/1 3/3/1\nf 1/1/1 3/3/1 4/4/1\n";

// The same square as a DirectX text file (left-handed already).
const char* const kSquareX =
    "xof 0302txt 0064\n"
    "Mesh square {\n"
    " 4;\n"
    " -0.5;-0.5;0.5;,\n 0.5;-0.5;0.5;,\n 0.5;0.5;0.5;,\n -0.5;0.5;0.5;;\n"
    " 2;\n"
    " 3;0,1,2;,\n 3;0,2,3;;\n"
    "}\n";

// The same DirectX file compressed: the text header with the body form
// "tzip", the unpacked size, then blocks of the unpacked block size, the
// packed size (counting "CK"), "CK" and raw deflate data.
ByteList CompressedSquareX() {
  const std::string text = kSquareX;
  const std::string body = text.substr(16);
  z_stream z{};
  EXPECT_EQ(deflateInit2(&z, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY), Z_OK);
  ByteList packed(256);
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(body.data()));
  z.avail_in = static_cast<uInt>(body.size());
  z.next_out = packed.data();
  z.avail_out = static_cast<uInt>(packed.size());
  EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
  packed.resize(z.total_out);
  deflateEnd(&z);
  ByteList file = Bytes(text.substr(0, 8) + "tzip" + text.substr(12, 4));
  auto word = [&file](std::size_t v) { file.insert(file.end(), {std::uint8_t(v), std::uint8_t(v >> 8)}); };
  word(text.size());  // the unpacked size of the whole file, 32 bits
  word(0);
  word(body.size());
  word(packed.size() + 2);
  file.insert(file.end(), {'C', 'K'});
  file.insert(file.end(), packed.begin(), packed.end());
  return file;
}

// A 2 x 2 24-bit BMP of one colour (B, G, R).
ByteList SolidBmp(std::uint8_t b, std::uint8_t g, std::uint8_t r) {
  ByteList bmp = {'B', 'M', 70, 0, 0,  0, 0, 0, 0, 0, 54, 0, 0, 0,  // file header
                  40,  0,   0,  0, 2,  0, 0, 0, 2, 0, 0,  0, 1, 0,
                  24,  0,                         // size, width, height, planes, bits
                  0,   0,   0,  0, 16, 0, 0, 0};  // no compression, pixel bytes
  bmp.resize(54, 0);
  for (int row = 0; row < 2; ++row) {
    for (int x = 0; x < 2; ++x) bmp.insert(bmp.end(), {b, g, r});
    bmp.insert(bmp.end(), {0, 0});  // rows are padded to 4 bytes
  }
  return bmp;
}

EmbeddedResource ModelResource(const std::string& file) {
  EmbeddedResource resource;
  resource.mode = 2;
  resource.listBytes = Bytes(file);
  return resource;
}

void AddEntry(EmbeddedResource& resource, const std::string& name, ByteList bytes) {
  EmbeddedEntry entry;
  entry.name = Utf8ToUtf16(name);
  entry.bytes = std::move(bytes);
  resource.entries.push_back(std::move(entry));
}

// Keeps every library loaded now (the GL driver among them) mapped until the
// process ends, so the leak check at exit still sees the driver's own
// references to what it allocated.
int KeepLoaded(dl_phdr_info* info, size_t, void*) {
  if (info->dlpi_name != nullptr && info->dlpi_name[0] != '\0')
    dlopen(info->dlpi_name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
  return 0;
}

class ModelDrawTest : public ::testing::Test {
 protected:
  static constexpr int kWidth = 32, kHeight = 32;

  void SetUp() override {
    d3d = gfx::Direct3D::Create();
    ASSERT_TRUE(d3d);
    window = std::make_unique<gfx::Window>("models", kWidth, kHeight, false, true);
    gfx::PresentParameters pp;
    pp.windowed = 1;
    pp.swapEffect = gfx::kSwapDiscard;
    pp.backBufferFormat = gfx::kFmtX8R8G8B8;
    pp.deviceWindow = window.get();
    pp.enableAutoDepthStencil = 1;
    pp.autoDepthStencilFormat = gfx::kFmtD24S8;
    ASSERT_EQ(d3d->CreateDevice(0, gfx::kDevTypeHal, gfx::kCreateHardwareVertexProcessing, pp, device),
              gfx::kOk);
    device->SetRenderState(gfx::kRsLighting, 0);
    device->SetRenderState(gfx::kRsCullMode, 1);
    device->SetVertexShader(0x112);  // position + normal + one texture set
    device->Clear(gfx::kClearTarget | gfx::kClearZBuffer, 0xFF000000, 1, 0);
    GraphicsInit(device.get());
    dl_iterate_phdr(&KeepLoaded, nullptr);
  }
  void TearDown() override {
    GraphicsTerminate();
    device.reset();
    window.reset();
  }

  std::uint32_t Rgb(int x, int y) {
    gfx::SurfacePtr back;
    device->GetBackBuffer(back);
    gfx::LockedRect locked;
    gfx::Rect r{x, y, x + 1, y + 1};
    if (back->LockRect(locked, &r, 0) != gfx::kOk) return 0xDEADBEEF;
    const std::uint32_t v = locked.bits[0] | locked.bits[1] << 8 | locked.bits[2] << 16;
    back->UnlockRect();
    return v;
  }

  std::unique_ptr<gfx::Direct3D> d3d;
  std::unique_ptr<gfx::Window> window;
  std::unique_ptr<gfx::Device> device;
};

TEST_F(ModelDrawTest, ObjAndXFilesLoadAndDrawTheirPixels) {
  const std::string compressed = [] {
    const ByteList bytes = CompressedSquareX();
    return std::string(bytes.begin(), bytes.end());
  }();
  for (const std::string& file : {std::string(kSquareObj), std::string(kSquareX), compressed}) {
    device->Clear(gfx::kClearTarget | gfx::kClearZBuffer, 0xFF000000, 1, 0);
    const EmbeddedResource resource = ModelResource(file);
    ASSERT_TRUE(ModelLoad(resource)) << file;
    ModelDraw(resource, ModelLighting{});
    EXPECT_EQ(Rgb(kWidth / 2, kHeight / 2), 0xFFFFFFu) << file;
    EXPECT_EQ(Rgb(kWidth / 2, 12), 0xFFFFFFu) << file;
    EXPECT_EQ(Rgb(2, 2), 0u) << file;
    EXPECT_EQ(Rgb(kWidth - 3, kHeight - 3), 0u) << file;
    ModelUnload(resource);
  }
  EXPECT_EQ(LoadedModelCount(), 0u);
}

TEST_F(ModelDrawTest, TexturesComeFromTheNamedEntries) {
  EmbeddedResource resource = ModelResource(std::string("mtllib square.mtl\nusemtl skin\n") + kSquareObj);
  AddEntry(resource, "square.mtl", Bytes("newmtl skin\nKd 1 1 1\nmap_Kd textures\\Skin.BMP\n"));
  AddEntry(resource, "skin.bmp", SolidBmp(0, 0, 255));
  ModelData data;
  std::string reason;
  ASSERT_TRUE(ReadModelResource(resource, data, reason)) << reason;
  ASSERT_EQ(data.textures.size(), 1u);
  ASSERT_EQ(data.meshes.size(), 1u);
  EXPECT_EQ(data.meshes[0].texture, 0);
  EXPECT_EQ(data.textures[0].fileBytes, resource.entries[1].bytes);
  ASSERT_TRUE(ModelLoad(resource));
  ModelDraw(resource, ModelLighting{});
  EXPECT_EQ(Rgb(kWidth / 2, kHeight / 2), 0xFF0000u);
}

TEST_F(ModelDrawTest, GarbageIsRefusedAndDrawsNothing) {
  const std::string garbage[] = {"", "not a model at all", std::string("\x00\x01\x02\xff\xfe", 5),
                                 "xof 0302txt 0064\nMesh {\n 4;\n 1;2;", "v 1 2 3\nf 1 2 9\n"};
  for (const std::string& bytes : garbage) {
    const EmbeddedResource resource = ModelResource(bytes);
    EXPECT_FALSE(ModelLoad(resource)) << bytes;
    ModelDraw(resource, ModelLighting{});
  }
  EXPECT_EQ(LoadedModelCount(), 0u);
  EXPECT_EQ(Rgb(kWidth / 2, kHeight / 2), 0u);
}

// Models that Assimp reads, but in formats that a model resource may not hold:
// their importers must never see package bytes.
const char* const kOtherFormats[] = {
    "ply\nformat ascii 1.0\nelement vertex 3\nproperty float x\nproperty float y\nproperty float z\n"
    "element face 1\nproperty list uchar int vertex_indices\nend_header\n0 0 0\n1 0 0\n0 1 0\n3 0 1 2\n",
    "solid t\nfacet normal 0 0 1\nouter loop\nvertex 0 0 0\nvertex 1 0 0\nvertex 0 1 0\nendloop\nendfacet\n"
    "endsolid t\n",
    "OFF\n3 1 0\n0 0 0\n1 0 0\n0 1 0\n3 0 1 2\n"};

TEST(ModelFiles, OtherFormatsAreRefusedAsListBytesAndAsEntries) {
  for (const char* file : kOtherFormats) {
    ModelData data;
    std::string reason;
    EXPECT_FALSE(ReadModelResource(ModelResource(file), data, reason)) << file;
    EXPECT_EQ(reason, "not a model format that is read (.x or .obj)") << file;

    EmbeddedResource resource;
    resource.mode = 2;
    AddEntry(resource, "model.ply", Bytes(file));
    EXPECT_FALSE(ReadModelResource(resource, data, reason)) << file;
    EXPECT_FALSE(ModelLoad(resource)) << file;
  }
  EXPECT_EQ(LoadedModelCount(), 0u);
}

TEST(ModelFiles, OversizedFilesAreRefusedBeforeParsing) {
  std::string big = kSquareObj;
  big.resize(kMaxModelFileBytes + 1, '\n');
  ModelData data;
  std::string reason;
  EXPECT_FALSE(ReadModelResource(ModelResource(big), data, reason));
  EXPECT_EQ(reason, "model file too large");

  // A material file over the limit is not opened: the model loads without it.
  EmbeddedResource resource = ModelResource(std::string("mtllib big.mtl\nusemtl red\n") + kSquareObj);
  std::string material = "newmtl red\nKd 1 0 0\n";
  material.resize(kMaxModelFileBytes + 1, '\n');
  AddEntry(resource, "big.mtl", Bytes(material));
  ASSERT_TRUE(ReadModelResource(resource, data, reason)) << reason;
  ASSERT_EQ(data.meshes.size(), 1u);
  EXPECT_NE(data.meshes[0].diffuse, 0xFFFF0000u);
  material.resize(kMaxModelFileBytes);
  resource.entries[0].bytes = Bytes(material);
  ASSERT_TRUE(ReadModelResource(resource, data, reason)) << reason;
  EXPECT_EQ(data.meshes[0].diffuse, 0xFFFF0000u);
}

TEST_F(ModelDrawTest, TheModelMayBeANamedEntry) {
  EmbeddedResource resource;
  resource.mode = 2;
  AddEntry(resource, "readme.txt", Bytes("nothing to see"));
  AddEntry(resource, "square.obj", Bytes(kSquareObj));
  ASSERT_TRUE(ModelLoad(resource));
  EXPECT_TRUE(ModelLoad(resource));  // loaded once
  EXPECT_EQ(LoadedModelCount(), 1u);
  // The record moves (as when its table grows) and is still found.
  const EmbeddedResource moved = std::move(resource);
  ModelDraw(moved, ModelLighting{});
  EXPECT_EQ(Rgb(kWidth / 2, kHeight / 2), 0xFFFFFFu);
  ModelUnload(moved);
  EXPECT_EQ(LoadedModelCount(), 0u);
}

TEST(ModelDraw, WithoutADeviceNothingHappens) {
  GraphicsTerminate();
  const EmbeddedResource resource = ModelResource(kSquareObj);
  ASSERT_TRUE(ModelLoad(resource));
  ModelDraw(resource, ModelLighting{});
  GraphicsTerminate();
  EXPECT_EQ(LoadedModelCount(), 0u);
}

}  // namespace
}  // namespace kiv
