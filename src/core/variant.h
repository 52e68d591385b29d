#pragma once
// A tagged value: one of the scalar kinds of the data files, a text, or a
// one-dimensional array (index from 0) of texts, 32-bit integers or tagged values.
// The type codes are those stored in the 16-byte body of a tagged value.
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace kiv {

enum VarType : std::uint16_t {
  kVarEmpty = 0,
  kVarNull = 1,
  kVarInteger = 2,   // 16-bit integer
  kVarLong = 3,      // 32-bit integer
  kVarSingle = 4,    // 32-bit float
  kVarDouble = 5,    // 64-bit float
  kVarCurrency = 6,  // 64-bit integer scaled by 10000
  kVarDate = 7,      // 64-bit float
  kVarString = 8,
  kVarObject = 9,
  kVarError = 10,
  kVarBoolean = 11,  // 16-bit, -1 true / 0 false
  kVarVariant = 12,
  kVarDecimal = 14,
  kVarByte = 17,
  kVarArray = 0x2000,  // flag added to the element type of an array
};

class Variant {
 public:
  Variant() = default;
  Variant(const Variant& other);
  Variant(Variant&& other) noexcept;
  Variant& operator=(const Variant& other);
  Variant& operator=(Variant&& other) noexcept;
  ~Variant();

  static Variant Integer(std::int16_t v) { return Scalar(kVarInteger, static_cast<std::uint16_t>(v)); }
  static Variant Long(std::int32_t v) { return Scalar(kVarLong, static_cast<std::uint32_t>(v)); }
  static Variant Single(float v) {
    Variant r;
    r.type_ = kVarSingle;
    r.real_ = v;
    return r;
  }
  static Variant Double(double v) {
    Variant r;
    r.type_ = kVarDouble;
    r.real_ = v;
    return r;
  }
  static Variant Date(double v) {
    Variant r = Double(v);
    r.type_ = kVarDate;
    return r;
  }
  // Currency from its scaled 64-bit integer (value x 10000).
  static Variant CurrencyScaled(std::int64_t scaled) {
    Variant r;
    r.type_ = kVarCurrency;
    r.int_ = scaled;
    return r;
  }
  static Variant Boolean(bool v) { return Scalar(kVarBoolean, v ? 0xFFFFu : 0u); }
  static Variant Byte(std::uint8_t v) { return Scalar(kVarByte, v); }
  static Variant Text(std::u16string v);
  // An array of the given element type (kVarString, kVarLong or kVarVariant).
  static Variant Array(VarType elementType, std::vector<Variant> elements);

  std::uint16_t Type() const { return type_; }
  bool IsArray() const { return (type_ & kVarArray) != 0; }
  VarType ElementType() const { return static_cast<VarType>(type_ & ~kVarArray); }
  bool IsEmpty() const { return type_ == kVarEmpty; }
  bool IsText() const { return type_ == kVarString; }

  // Scalar accessors; each returns the stored value as its own kind.
  std::int16_t AsInteger() const { return static_cast<std::int16_t>(int_); }
  std::int32_t AsLong() const { return static_cast<std::int32_t>(int_); }
  float AsSingle() const { return static_cast<float>(real_); }
  double AsDouble() const { return real_; }
  std::int64_t CurrencyScaledValue() const { return int_; }
  bool AsBoolean() const { return static_cast<std::int16_t>(int_) != 0; }
  std::uint8_t AsByte() const { return static_cast<std::uint8_t>(int_); }
  const std::u16string& AsText() const;
  const std::vector<Variant>& Elements() const;
  std::vector<Variant>& Elements();

  // Raw access for the 16-byte body codec: the value bytes (8..15) as stored.
  std::int64_t RawInt() const { return int_; }
  double RawReal() const { return real_; }
  static Variant FromRaw(std::uint16_t type, std::int64_t intPart, double realPart) {
    Variant r;
    r.type_ = type;
    r.int_ = intPart;
    r.real_ = realPart;
    return r;
  }

  friend bool operator==(const Variant& a, const Variant& b);

 private:
  // Text and array elements live out of line, so that copying a scalar copies
  // three words; the payload exists only while one of them is not empty.
  struct Payload;

  Payload& MutablePayload();
  static const std::u16string& EmptyText();
  static const std::vector<Variant>& EmptyElements();

  static Variant Scalar(VarType type, std::uint32_t bits) {
    Variant r;
    r.type_ = type;
    switch (type) {
      case kVarInteger:
      case kVarBoolean:
        r.int_ = static_cast<std::int16_t>(bits);
        break;
      case kVarLong:
        r.int_ = static_cast<std::int32_t>(bits);
        break;
      default:
        r.int_ = bits;
        break;
    }
    return r;
  }

  std::uint16_t type_ = kVarEmpty;
  std::int64_t int_ = 0;   // integers, booleans, bytes, currency (scaled)
  double real_ = 0.0;      // single, double, date
  std::unique_ptr<Payload> payload_;
};

struct Variant::Payload {
  std::u16string text;
  std::vector<Variant> elements;
};

inline Variant::Variant(const Variant& other) : type_(other.type_), int_(other.int_), real_(other.real_) {
  if (other.payload_) payload_ = std::make_unique<Payload>(*other.payload_);
}

inline Variant::Variant(Variant&& other) noexcept = default;

inline Variant& Variant::operator=(const Variant& other) {
  // The payload is copied before the old one is released: other may live inside it.
  std::unique_ptr<Payload> payload = other.payload_ ? std::make_unique<Payload>(*other.payload_) : nullptr;
  type_ = other.type_;
  int_ = other.int_;
  real_ = other.real_;
  payload_ = std::move(payload);
  return *this;
}

inline Variant& Variant::operator=(Variant&& other) noexcept = default;

inline Variant::~Variant() = default;

inline Variant Variant::Text(std::u16string v) {
  Variant r;
  r.type_ = kVarString;
  if (!v.empty()) r.MutablePayload().text = std::move(v);
  return r;
}

inline Variant Variant::Array(VarType elementType, std::vector<Variant> elements) {
  Variant r;
  r.type_ = static_cast<std::uint16_t>(kVarArray | elementType);
  if (!elements.empty()) r.MutablePayload().elements = std::move(elements);
  return r;
}

inline const std::u16string& Variant::AsText() const { return payload_ ? payload_->text : EmptyText(); }

inline const std::vector<Variant>& Variant::Elements() const {
  return payload_ ? payload_->elements : EmptyElements();
}

inline std::vector<Variant>& Variant::Elements() { return MutablePayload().elements; }

inline bool operator==(const Variant& a, const Variant& b) {
  return a.type_ == b.type_ && a.int_ == b.int_ && a.real_ == b.real_ && a.AsText() == b.AsText() &&
         a.Elements() == b.Elements();
}

inline Variant::Payload& Variant::MutablePayload() {
  if (!payload_) payload_ = std::make_unique<Payload>();
  return *payload_;
}

inline const std::u16string& Variant::EmptyText() {
  static const std::u16string empty;
  return empty;
}

inline const std::vector<Variant>& Variant::EmptyElements() {
  static const std::vector<Variant> empty;
  return empty;
}

}  // namespace kiv
