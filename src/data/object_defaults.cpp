#include "data/object_defaults.h"

#include "core/angles.h"
#include "core/symbol_table.h"

namespace kiv {

ObjectDefaults objectDefaults;

namespace {

CollisionShape DefaultShape() {
  CollisionShape shape;
  CollisionBox box;
  box.left = -12;
  box.top = -8;
  box.right = 12;
  box.bottom = 16;
  box.front = 0;
  box.back = 64;
  shape.rectangles.push_back(box);
  return shape;
}

Actor DefaultActor(const std::array<std::int32_t, kAppearanceSlotCount>& slots) {
  // Slot colours: Body, Face, Hair, Mask, Hat, Shoes, Pants, Belt, Shirt, Accessory.
  constexpr std::array<std::uint32_t, 10> kColors = {0xFFFFD060, 0xFFFFD060, 0xFF8C4800, 0xFFFFFFFF,
                                                     0xFFFFFFFF, 0xFFFFFFFF, 0xFF2222FF, 0xFFFFFFFF,
                                                     0xFFFF2222, 0xFFFFFFFF};
  Actor actor;
  actor.parts.resize(kColors.size());
  for (std::size_t k = 0; k < kColors.size(); ++k) {
    actor.parts[k].spriteSet = -1;
    actor.parts[k].slot = slots[k];
    actor.parts[k].colors.fill(kColors[k]);
  }
  actor.templateIndex = -1;
  actor.team = 1;
  actor.statistics.resize(1);
  actor.statistics[0].baseValue = 10;
  actor.statistics[0].currentValue = 10;
  Attachment attachment;
  attachment.spriteSet = -1;
  attachment.valueA = -1;
  attachment.byteF = 1;
  attachment.byteG = 1;
  actor.attachedSprites.push_back(attachment);
  actor.turretRange = 640;
  actor.turnRate = kPiOver4;
  actor.arc = kTwoPi;
  actor.furtherReferences[0].index = -3;
  actor.furtherReferences[1].index = -3;
  actor.itemReference.index = -3;
  actor.shadowColor = 0x22000000;
  actor.maxGas = 1.0f;
  actor.vehicleValue2 = 0.2f;
  actor.vehicleValue1 = -0.15f;
  actor.vehicleValue15 = 15;
  actor.physicsFlags = 65;
  actor.solidToTouch = 1;
  actor.canMove = 1;
  actor.inMap = 1;
  actor.collisionShape = DefaultShape();
  return actor;
}

Field DefaultField() {
  Field field;
  field.colorsA.fill(0xFFFFFFFF);
  field.colorsB.fill(0xFF909090);
  field.colorsC.fill(0x22000000);
  field.value1 = Variant::Text(u"Field");
  field.fontScale = 1.0f;
  field.view.pitch = kPiOver4;
  field.view.yaw = -kPiOver2;
  field.view.distance = 1000.0f;
  field.view.distance2 = 512.0f;
  field.designValues[0] = 32;
  field.layoutValues[2] = 1;
  field.byteDefault1 = 1;
  field.byteByContent = 1;
  return field;
}

Script DefaultScript() {
  ScriptNode start;
  start.text1 = u"_Start";
  start.extra = 1;
  start.links = {-1};
  start.page = -1;
  Script script;
  script.nodePages.resize(1);
  script.nodePages[0].nodes.push_back(start);
  return script;
}

}  // namespace

void BuildObjectDefaults() {
  auto& slots = objectDefaults.appearanceSlots;
  slots.fill(0);
  slots[0] = SymbolIntern(u"Body");
  slots[1] = SymbolIntern(u"Face");
  slots[2] = SymbolIntern(u"Hair");
  slots[3] = SymbolIntern(u"Mask");
  slots[4] = SymbolIntern(u"Hat");
  slots[8] = SymbolIntern(u"Shirt");
  slots[6] = SymbolIntern(u"Pants");
  slots[7] = SymbolIntern(u"Belt");
  slots[5] = SymbolIntern(u"Shoes");
  slots[11] = SymbolIntern(u"Accessory");
  slots[9] = SymbolIntern(u"Accessory");
  objectDefaults.collisionShape = DefaultShape();
  objectDefaults.characterCollisionShape = objectDefaults.collisionShape;
  objectDefaults.script = DefaultScript();
  objectDefaults.actor = DefaultActor(slots);
  objectDefaults.field = DefaultField();
}

}  // namespace kiv
