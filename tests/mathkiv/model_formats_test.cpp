#include "mathkiv/model_formats.h"

#include <gtest/gtest.h>

#include <string>

namespace kiv {
namespace {

ByteList Bytes(const std::string& text) { return ByteList(text.begin(), text.end()); }

// A compressed DirectX header and prologue followed by `blocks` empty blocks.
ByteList CompressedX(int blocks, const char* magic = "CK") {
  ByteList bytes = Bytes("xof 0302tzip0032");
  bytes.insert(bytes.end(), {0x40, 0, 0, 0, 0, 0});
  for (int i = 0; i < blocks; ++i)
    bytes.insert(bytes.end(), {0, 0, std::uint8_t(magic[0]), std::uint8_t(magic[1])});
  return bytes;
}

struct FormatCase {
  const char* what;
  ByteList bytes;
  ModelFormat format;
  const char* reason;  // part of the reason when refused
};

TEST(ModelFormats, OnlyDirectXAndWavefrontFilesAreRecognised) {
  const FormatCase cases[] = {
      {"x text", Bytes("xof 0302txt 0064\nMesh {}\n"), ModelFormat::kDirectX, ""},
      {"x binary", Bytes("xof 0303bin 0032"), ModelFormat::kDirectX, ""},
      {"x compressed", CompressedX(3), ModelFormat::kDirectX, ""},
      {"x binary compressed",
       [] {
         ByteList b = CompressedX(1);
         b[8] = 'b';
         return b;
       }(),
       ModelFormat::kDirectX, ""},
      {"x short header", Bytes("xof 0302txt"), ModelFormat::kNone, "damaged model header"},
      {"x unknown body", Bytes("xof 0302zzz 0032"), ModelFormat::kNone, "damaged model header"},
      {"x unknown float size", Bytes("xof 0302txt 0016"), ModelFormat::kNone, "damaged model header"},
      {"x compressed, bad block", CompressedX(2, "CX"), ModelFormat::kNone, "damaged compressed model"},
      {"x compressed, unpacks too large", CompressedX(600), ModelFormat::kNone, "too large"},
      {"obj", Bytes("v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n"), ModelFormat::kWavefront, ""},
      {"obj after comments", Bytes("# made by hand\r\n\r\n  \t# more\r\nmtllib a.mtl\r\n"),
       ModelFormat::kWavefront, ""},
      {"obj object first", Bytes("o box\nv 0 0 0\n"), ModelFormat::kWavefront, ""},
      {"only comments", Bytes("# nothing\n"), ModelFormat::kNone, "not a model format"},
      {"empty", ByteList{}, ModelFormat::kNone, "not a model format"},
      {"material file", Bytes("newmtl skin\nKd 1 1 1\n"), ModelFormat::kNone, "not a model format"},
      {"obj with a NUL byte", Bytes(std::string("v 0 0 0\nf 1 1 1\0", 16)), ModelFormat::kNone,
       "not a model format"},
      {"ply", Bytes("ply\nformat ascii 1.0\nelement vertex 3\n"), ModelFormat::kNone, "not a model format"},
      {"stl text", Bytes("solid t\nfacet normal 0 0 1\n"), ModelFormat::kNone, "not a model format"},
      {"stl binary", ByteList(84, 0), ModelFormat::kNone, "not a model format"},
      {"off", Bytes("OFF\n3 1 0\n"), ModelFormat::kNone, "not a model format"},
  };
  for (const FormatCase& c : cases) {
    std::string reason;
    EXPECT_EQ(RecogniseModelFormat(c.bytes, reason), c.format) << c.what;
    if (c.format == ModelFormat::kNone) {
      EXPECT_NE(reason.find(c.reason), std::string::npos) << c.what << ": " << reason;
    }
  }
}

TEST(ModelFormats, FilesOverTheLimitAreRefusedWhateverTheyHold) {
  ByteList obj = Bytes("v 0 0 0\n");
  obj.resize(kMaxModelFileBytes, ' ');
  std::string reason;
  EXPECT_EQ(RecogniseModelFormat(obj, reason), ModelFormat::kWavefront);
  obj.push_back('\n');
  EXPECT_EQ(RecogniseModelFormat(obj, reason), ModelFormat::kNone);
  EXPECT_EQ(reason, "model file too large");

  // A compressed file within the limit whose blocks would unpack beyond it.
  const std::size_t blocks = kMaxModelFileBytes / 32786;
  EXPECT_EQ(RecogniseModelFormat(CompressedX(static_cast<int>(blocks)), reason), ModelFormat::kDirectX);
  EXPECT_EQ(RecogniseModelFormat(CompressedX(static_cast<int>(blocks) + 1), reason), ModelFormat::kNone);
  EXPECT_EQ(reason, "model file too large");
}

TEST(ModelFormats, ExtensionsNameTheImporter) {
  EXPECT_STREQ(ModelFormatExtension(ModelFormat::kDirectX), ".x");
  EXPECT_STREQ(ModelFormatExtension(ModelFormat::kWavefront), ".obj");
  EXPECT_STREQ(ModelFormatExtension(ModelFormat::kNone), "");
}

}  // namespace
}  // namespace kiv
