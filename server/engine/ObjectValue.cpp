// The byte forms of objects, collections and REFs; see ObjectValue.h.
#include "engine/ObjectValue.h"

#include <cstring>

namespace vorn::server {

namespace {

enum Tag : unsigned char { kNull = 0, kInteger = 1, kDouble = 2, kText = 3, kDate = 4, kRaw = 5 };

constexpr unsigned char kVersion = 1;

void putVarint(std::string& out, uint64_t v) {
  while (v >= 0x80) {
    out += static_cast<char>((v & 0x7F) | 0x80);
    v >>= 7;
  }
  out += static_cast<char>(v);
}

// Only the shortest form is accepted, so that one value has one encoding.
bool getVarint(std::string_view& in, uint64_t& v) {
  v = 0;
  for (int shift = 0; shift < 64; shift += 7) {
    if (in.empty()) return false;
    auto b = static_cast<unsigned char>(in.front());
    in.remove_prefix(1);
    if (shift == 63 && b > 1) return false;
    v |= static_cast<uint64_t>(b & 0x7F) << shift;
    if (!(b & 0x80)) return b != 0 || shift == 0;
  }
  return false;
}

void put64(std::string& out, uint64_t v) {
  for (int i = 0; i < 8; ++i)
    out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

bool get64(std::string_view& in, uint64_t& v) {
  if (in.size() < 8) return false;
  v = 0;
  for (int i = 0; i < 8; ++i)
    v |= static_cast<uint64_t>(static_cast<unsigned char>(in[static_cast<size_t>(i)])) << (8 * i);
  in.remove_prefix(8);
  return true;
}

void putValue(std::string& out, const Value& v) {
  switch (v.kind()) {
    case Value::Kind::Null:
      out += static_cast<char>(kNull);
      return;
    case Value::Kind::Integer:
      out += static_cast<char>(kInteger);
      put64(out, static_cast<uint64_t>(v.asInteger()));
      return;
    case Value::Kind::Double: {
      out += static_cast<char>(kDouble);
      double d = v.asDouble();
      uint64_t bits;
      std::memcpy(&bits, &d, sizeof bits);
      put64(out, bits);
      return;
    }
    case Value::Kind::Date:
      out += static_cast<char>(kDate);
      put64(out, static_cast<uint64_t>(v.asInteger()));
      return;
    case Value::Kind::Text:
    case Value::Kind::Raw:
      out += static_cast<char>(v.kind() == Value::Kind::Text ? kText : kRaw);
      putVarint(out, v.asText().size());
      out += v.asText();
      return;
  }
}

bool getValue(std::string_view& in, Value& v) {
  if (in.empty()) return false;
  auto tag = static_cast<unsigned char>(in.front());
  in.remove_prefix(1);
  uint64_t n = 0;
  switch (tag) {
    case kNull:
      v = Value();
      return true;
    case kInteger:
      if (!get64(in, n)) return false;
      v = Value::integer(static_cast<int64_t>(n));
      return true;
    case kDouble: {
      if (!get64(in, n)) return false;
      double d;
      std::memcpy(&d, &n, sizeof d);
      v = Value::real(d);
      return true;
    }
    case kDate:
      if (!get64(in, n)) return false;
      v = Value::date(static_cast<int64_t>(n));
      return true;
    case kText:
    case kRaw: {
      if (!getVarint(in, n) || n > in.size()) return false;
      std::string bytes(in.substr(0, n));
      in.remove_prefix(n);
      // An empty text is an empty CLOB attribute (text of no characters).
      v = tag == kRaw ? Value::raw(std::move(bytes))
                      : (bytes.empty() ? Value::emptyClob() : Value::text(std::move(bytes)));
      return true;
    }
    default:
      return false;
  }
}

std::string encodeList(char kind, const std::vector<Value>& values) {
  std::string out;
  out += kind;
  out += static_cast<char>(kVersion);
  putVarint(out, values.size());
  for (const Value& v : values)
    putValue(out, v);
  return out;
}

bool decodeList(char kind, std::string_view in, std::vector<Value>& out) {
  out.clear();
  if (in.size() < 2 || in[0] != kind || static_cast<unsigned char>(in[1]) != kVersion) {
    return false;
  }
  in.remove_prefix(2);
  uint64_t count = 0;
  if (!getVarint(in, count) || count > in.size()) return false;
  out.reserve(count);
  for (uint64_t i = 0; i < count; ++i) {
    Value v;
    if (!getValue(in, v)) return false;
    out.push_back(std::move(v));
  }
  return in.empty();
}

}  // namespace

std::string encodeObject(const std::vector<Value>& attributes) {
  return encodeList('O', attributes);
}

std::string encodeCollection(const std::vector<Value>& elements) {
  return encodeList('C', elements);
}

bool decodeObject(std::string_view bytes, std::vector<Value>& attributes) {
  return decodeList('O', bytes, attributes);
}

bool decodeCollection(std::string_view bytes, std::vector<Value>& elements) {
  return decodeList('C', bytes, elements);
}

int64_t encodedCount(std::string_view bytes) {
  if (bytes.size() < 2 || (bytes[0] != 'O' && bytes[0] != 'C') ||
      static_cast<unsigned char>(bytes[1]) != kVersion) {
    return -1;
  }
  bytes.remove_prefix(2);
  uint64_t count = 0;
  if (!getVarint(bytes, count)) return -1;
  return static_cast<int64_t>(count);
}

std::string encodeRef(const RefValue& ref) {
  std::string out = "R";
  out += static_cast<char>(kVersion);
  for (int i = 7; i >= 0; --i)
    out += static_cast<char>((static_cast<uint64_t>(ref.table) >> (8 * i)) & 0xFF);
  out += ref.oid;
  return out;
}

bool decodeRef(std::string_view bytes, RefValue& out) {
  if (bytes.size() != 2 + 8 + kObjectIdBytes || bytes[0] != 'R' ||
      static_cast<unsigned char>(bytes[1]) != kVersion) {
    return false;
  }
  uint64_t table = 0;
  for (size_t i = 0; i < 8; ++i)
    table = (table << 8) | static_cast<unsigned char>(bytes[2 + i]);
  out.table = static_cast<int64_t>(table);
  out.oid = std::string(bytes.substr(10));
  return true;
}

}  // namespace vorn::server
