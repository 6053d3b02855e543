// A typed value as the engine's C++ interface passes it: bind values going
// in, fetched column values and RETURNING values coming out. The kinds are
// the storage representations (docs/server.md): a NUMBER is an Integer or a
// Double, a DATE is seconds since 1970-01-01 00:00:00, character values are
// Text (never empty: Oracle's empty string is NULL; only an empty CLOB is
// Text of no characters), RAW and BLOB values are Raw bytes (an empty BLOB
// is Raw of no bytes). A ROWID comes out as Text, a BFILE as Raw (see
// engine/Lob.h).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace vorn::server {

class Value {
 public:
  enum class Kind : unsigned char { Null, Integer, Double, Text, Date, Raw };

  Value() = default;
  static Value null() { return Value(); }
  static Value integer(int64_t v) {
    Value x;
    x.kind_ = Kind::Integer;
    x.int_ = v;
    return x;
  }
  static Value real(double v) {
    Value x;
    x.kind_ = Kind::Double;
    x.double_ = v;
    return x;
  }
  // Empty text is NULL.
  static Value text(std::string v) {
    Value x;
    if (!v.empty()) {
      x.kind_ = Kind::Text;
      x.text_ = std::move(v);
    }
    return x;
  }
  // An empty CLOB: text of no characters that is not NULL (only a LOB value
  // can be empty; EMPTY_CLOB() makes one).
  static Value emptyClob() {
    Value x;
    x.kind_ = Kind::Text;
    return x;
  }
  static Value date(int64_t seconds) {
    Value x;
    x.kind_ = Kind::Date;
    x.int_ = seconds;
    return x;
  }
  static Value raw(std::string bytes) {
    Value x;
    x.kind_ = Kind::Raw;
    x.text_ = std::move(bytes);
    return x;
  }

  Kind kind() const { return kind_; }
  bool isNull() const { return kind_ == Kind::Null; }
  bool isNumber() const { return kind_ == Kind::Integer || kind_ == Kind::Double; }
  int64_t asInteger() const { return int_; }  // Integer, Date
  double asDouble() const { return kind_ == Kind::Double ? double_ : static_cast<double>(int_); }
  const std::string& asText() const { return text_; }  // Text, Raw

  friend bool operator==(const Value& a, const Value& b) {
    if (a.kind_ != b.kind_) return false;
    switch (a.kind_) {
      case Kind::Null:
        return true;
      case Kind::Integer:
      case Kind::Date:
        return a.int_ == b.int_;
      case Kind::Double:
        return a.double_ == b.double_;
      default:
        return a.text_ == b.text_;
    }
  }

 private:
  Kind kind_ = Kind::Null;
  int64_t int_ = 0;
  double double_ = 0;
  std::string text_;
};

}  // namespace vorn::server
