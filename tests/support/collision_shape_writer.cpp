#include "support/collision_shape_writer.h"

namespace kiv::test {

namespace {

void WriteRotation(BufferWriter& w, const CollisionRotation& r) {
  w.WriteSingle(r.x).WriteSingle(r.y).WriteSingle(r.z).WriteSingle(r.w);
}

void WriteBlock(BufferWriter& w, const std::array<float, 3>& block) {
  for (float f : block) w.WriteSingle(f);
}

void WriteBox(BufferWriter& w, const CollisionBox& b, std::int32_t version) {
  w.WriteLong(b.left).WriteLong(b.top).WriteLong(b.right).WriteLong(b.bottom).WriteLong(b.front).WriteLong(
      b.back);
  if (version >= 100778) {
    if (version == 100778) {
      for (int i = 0; i < 12; ++i) w.WriteByte(kUnusedShapeByte);
    }
    WriteRotation(w, b.rotation);
  }
}

void WritePolygon(BufferWriter& w, const CollisionPolygon& p, std::int32_t version) {
  w.WriteLong(static_cast<std::int32_t>(p.points.size()) - 1);
  for (const CollisionPoint& point : p.points) w.WriteSingle(point.x).WriteSingle(point.y);
  if (version >= 100608) w.WriteLong(p.height);
  if (version >= 100778) {
    WriteBlock(w, p.block);
    WriteRotation(w, p.rotation);
  }
}

}  // namespace

void WriteCollisionShape(BufferWriter& writer, const CollisionShape& shape, std::int32_t version) {
  if (version >= 100598) writer.WriteByte(shape.mode);

  if (version < 100778) {
    WriteBox(writer, shape.rectangles.empty() ? CollisionBox{} : shape.rectangles.front(), version);
    WritePolygon(writer, shape.polygons.empty() ? CollisionPolygon{} : shape.polygons.front(), version);
    return;
  }

  writer.WriteLong(static_cast<std::int32_t>(shape.rectangles.size()) - 1);
  for (const CollisionBox& b : shape.rectangles) WriteBox(writer, b, version);
  writer.WriteLong(static_cast<std::int32_t>(shape.polygons.size()) - 1);
  for (const CollisionPolygon& p : shape.polygons) WritePolygon(writer, p, version);
  if (version >= 100779) {
    writer.WriteLong(static_cast<std::int32_t>(shape.extras.size()) - 1);
    for (const CollisionExtra& e : shape.extras) {
      WriteBlock(writer, e.first);
      WriteBlock(writer, e.second);
      writer.WriteLong(e.value);
    }
  }
}

}  // namespace kiv::test
