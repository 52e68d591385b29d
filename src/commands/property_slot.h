#pragma once
// The storage location a property identifier binds to: a Long, a Single, a
// boolean Byte or a Currency field of a record, with the clamps of the
// property. An assignment converts the value to the field's type, then clamps
// Long and Single fields; a read gives the field as its own type.
#include <cstdint>

#include "core/variant.h"

namespace kiv {

inline constexpr double kClampLowest = -1.79769312280576e308;
inline constexpr double kClampHighest = 1.79769312280576e308;

class PropertySlot {
 public:
  enum class Type : std::uint8_t { kNone, kLong, kSingle, kBoolean, kCurrency, kByte };

  void BindLong(std::int32_t& field) { Bind(Type::kLong, &field); }
  void BindSingle(float& field) { Bind(Type::kSingle, &field); }
  void BindBoolean(std::uint8_t& field) { Bind(Type::kBoolean, &field); }
  // A numeric Byte field: 0 to 255, 6 outside.
  void BindByte(std::uint8_t& field) { Bind(Type::kByte, &field); }
  // A Currency field: the value times 10,000.
  void BindCurrency(std::int64_t& scaled) { Bind(Type::kCurrency, &scaled); }
  // Narrows the range of a Long or Single property.
  void Clamp(double lowest, double highest) {
    lower_ = lowest;
    upper_ = highest;
  }

  bool Bound() const { return type_ != Type::kNone; }
  double Lowest() const { return lower_; }
  double Highest() const { return upper_; }
  Type SlotType() const { return type_; }
  // Converts (Long: rounding half to even, 6 outside the range; Boolean: the
  // script words), clamps Long and Single, stores.
  void Assign(const Variant& value) const;
  Variant Read() const;

 private:
  void Bind(Type type, void* field) {
    type_ = type;
    field_ = field;
  }

  Type type_ = Type::kNone;
  void* field_ = nullptr;
  double lower_ = kClampLowest;
  double upper_ = kClampHighest;
};

}  // namespace kiv
