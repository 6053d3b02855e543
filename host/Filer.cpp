// Component streams: the writer, the reader and their format.
#include "vorn/host/Filer.h"

#include <cstring>
#include <limits>

#include "vorn/host/Component.h"
#include "vorn/host/Exceptions.h"
#include "vorn/host/MemoryStream.h"
#include "vorn/host/Persistent.h"
#include "vorn/host/TextUtils.h"

namespace vorn {
namespace {

constexpr char kSignature[4] = {'V', 'P', 'F', '1'};
constexpr uint8_t kEnd = 0;
constexpr uint8_t kValuesProperty = 1;
constexpr uint8_t kBinaryProperty = 2;
constexpr uint8_t kChild = 1;

// Value tags as stored; TValueType numbers them the same way.
static_assert(vaInt64 == 1 && vaListEnd == 8);

[[noreturn]] void InvalidFormat() {
  throw EReadError("Invalid stream format");
}
[[noreturn]] void InvalidValue() {
  throw EReadError("Invalid property value");
}

void WriteByte(TStream& stream, uint8_t value) {
  stream.WriteBuffer(&value, 1);
}

void WriteUInt32(TStream& stream, uint32_t value) {
  uint8_t bytes[4];
  for (int i = 0; i < 4; ++i)
    bytes[i] = static_cast<uint8_t>(value >> (8 * i));
  stream.WriteBuffer(bytes, 4);
}

void WriteUInt64(TStream& stream, uint64_t value) {
  uint8_t bytes[8];
  for (int i = 0; i < 8; ++i)
    bytes[i] = static_cast<uint8_t>(value >> (8 * i));
  stream.WriteBuffer(bytes, 8);
}

void WriteLength(TStream& stream, size_t length) {
  if (length > std::numeric_limits<uint32_t>::max()) {
    throw EWriteError("Property too large for a component stream");
  }
  WriteUInt32(stream, static_cast<uint32_t>(length));
}

void WriteText(TStream& stream, const std::string& text) {
  WriteLength(stream, text.size());
  stream.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
}

uint8_t ReadByte(TStream& stream) {
  uint8_t value;
  stream.ReadBuffer(&value, 1);
  return value;
}

uint32_t ReadUInt32(TStream& stream) {
  uint8_t bytes[4];
  stream.ReadBuffer(bytes, 4);
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i)
    value = (value << 8) | bytes[i];
  return value;
}

uint64_t ReadUInt64(TStream& stream) {
  uint8_t bytes[8];
  stream.ReadBuffer(bytes, 8);
  uint64_t value = 0;
  for (int i = 7; i >= 0; --i)
    value = (value << 8) | bytes[i];
  return value;
}

// A length is trusted only as far as the stream has bytes left.
uint32_t ReadLength(TStream& stream) {
  uint32_t length = ReadUInt32(stream);
  if (length > stream.Size() - stream.Position()) throw EReadError("Stream read error");
  return length;
}

std::string ReadText(TStream& stream) {
  std::string text(ReadLength(stream), '\0');
  stream.ReadBuffer(text.data(), static_cast<int64_t>(text.size()));
  return text;
}

double BitsToDouble(uint64_t bits) {
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

uint64_t DoubleToBits(double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

// Sets flags for the duration of a scope and clears them on every path.
class WritingScope {
 public:
  explicit WritingScope(TComponentState& state) : state_(state), had_(state & csWriting) {
    state_ |= csWriting;
  }
  ~WritingScope() {
    if (!had_) state_ &= ~csWriting;
  }
  WritingScope(const WritingScope&) = delete;
  WritingScope& operator=(const WritingScope&) = delete;

 private:
  TComponentState& state_;
  bool had_;
};

}  // namespace

// ---- TFiler ----

void TFiler::DefinePersistent(const std::string& name, TPersistent& object, TPersistent* ancestor) {
  std::string savedPrefix = prefix_;
  TPersistent* savedAncestor = ancestor_;
  prefix_ += name + ".";
  ancestor_ = ancestor;
  try {
    CallDefineProperties(object);
  } catch (...) {
    prefix_ = savedPrefix;
    ancestor_ = savedAncestor;
    throw;
  }
  prefix_ = savedPrefix;
  ancestor_ = savedAncestor;
}

void TFiler::CallDefineProperties(TPersistent& object) {
  object.DefineProperties(*this);
}

// ---- TWriter ----

void TWriter::DefineProperty(const std::string& name, const TReaderProc&,
                             const TWriterProc& writeData, bool hasData) {
  if (!hasData || !writeData) return;
  TMemoryStream values;
  TMemoryStream* saved = values_;
  values_ = &values;
  try {
    writeData(*this);
  } catch (...) {
    values_ = saved;
    throw;
  }
  values_ = saved;
  WriteByte(Stream(), kValuesProperty);
  WriteText(Stream(), QualifiedName(name));
  WriteLength(Stream(), values.Bytes().size());
  values.SaveToStream(Stream());
}

void TWriter::DefineBinaryProperty(const std::string& name, const TStreamProc&,
                                   const TStreamProc& writeData, bool hasData) {
  if (!hasData || !writeData) return;
  TMemoryStream data;
  writeData(data);
  WriteByte(Stream(), kBinaryProperty);
  WriteText(Stream(), QualifiedName(name));
  WriteLength(Stream(), data.Bytes().size());
  data.SaveToStream(Stream());
}

TMemoryStream& TWriter::Values() {
  if (!values_) throw EWriteError("Values are written only by a property's write procedure");
  return *values_;
}

void TWriter::WriteValueTag(TValueType type) {
  WriteByte(Values(), static_cast<uint8_t>(type));
}

void TWriter::WriteInteger(int64_t value) {
  WriteValueTag(vaInt64);
  WriteUInt64(Values(), static_cast<uint64_t>(value));
}

void TWriter::WriteFloat(double value) {
  WriteValueTag(vaDouble);
  WriteUInt64(Values(), DoubleToBits(value));
}

void TWriter::WriteDate(TDateTime value) {
  WriteValueTag(vaDate);
  WriteUInt64(Values(), DoubleToBits(value));
}

void TWriter::WriteBoolean(bool value) {
  WriteValueTag(value ? vaTrue : vaFalse);
}

void TWriter::WriteString(const std::string& value) {
  WriteValueTag(vaString);
  WriteText(Values(), value);
}

void TWriter::WriteListBegin() {
  WriteValueTag(vaList);
}

void TWriter::WriteListEnd() {
  WriteValueTag(vaListEnd);
}

void TWriter::WriteRootComponent(TComponent& root) {
  Stream().WriteBuffer(kSignature, sizeof kSignature);
  WriteComponentData(root);
}

void TWriter::WriteComponentData(TComponent& component) {
  WritingScope writing(component.state_);
  WriteText(Stream(), component.Name());
  WriteText(Stream(), std::string(component.ClassName()));
  CallDefineProperties(component);
  WriteByte(Stream(), kEnd);
  for (int i = 0; i < component.ComponentCount(); ++i) {
    TComponent* child = component.Components(i);
    if (child->Name().empty()) continue;
    WriteByte(Stream(), kChild);
    WriteComponentData(*child);
  }
  WriteByte(Stream(), kEnd);
}

// ---- TReader ----

void TReader::DefineProperty(const std::string& name, const TReaderProc& readData,
                             const TWriterProc&, bool) {
  if (propertyFound_ || !readData || !SameText(QualifiedName(name), propertyName_)) return;
  if (propertyIsBinary_) InvalidValue();
  propertyFound_ = true;
  readData(*this);
}

void TReader::DefineBinaryProperty(const std::string& name, const TStreamProc& readData,
                                   const TStreamProc&, bool) {
  if (propertyFound_ || !readData || !SameText(QualifiedName(name), propertyName_)) return;
  if (!propertyIsBinary_) InvalidValue();
  propertyFound_ = true;
  readData(Values());
}

TMemoryStream& TReader::Values() {
  if (!values_) throw EReadError("Values are read only by a property's read procedure");
  return *values_;
}

TValueType TReader::NextValue() {
  TMemoryStream& values = Values();
  if (values.Position() >= values.Size()) throw EReadError("Stream read error");
  uint8_t tag = values.Bytes()[static_cast<size_t>(values.Position())];
  if (tag < vaInt64 || tag > vaListEnd) InvalidValue();
  return static_cast<TValueType>(tag);
}

TValueType TReader::ReadValueTag() {
  TValueType type = NextValue();
  Values().Seek(1, soFromCurrent);
  return type;
}

int64_t TReader::ReadInt64() {
  if (ReadValueTag() != vaInt64) InvalidValue();
  return static_cast<int64_t>(ReadUInt64(Values()));
}

int32_t TReader::ReadInteger() {
  int64_t value = ReadInt64();
  if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max()) {
    InvalidValue();
  }
  return static_cast<int32_t>(value);
}

double TReader::ReadFloat() {
  switch (ReadValueTag()) {
    case vaInt64:
      return static_cast<double>(static_cast<int64_t>(ReadUInt64(Values())));
    case vaDouble:
    case vaDate:
      return BitsToDouble(ReadUInt64(Values()));
    default:
      InvalidValue();
  }
}

TDateTime TReader::ReadDate() {
  return ReadFloat();
}

bool TReader::ReadBoolean() {
  switch (ReadValueTag()) {
    case vaTrue:
      return true;
    case vaFalse:
      return false;
    default:
      InvalidValue();
  }
}

std::string TReader::ReadString() {
  if (ReadValueTag() != vaString) InvalidValue();
  return ReadText(Values());
}

void TReader::ReadListBegin() {
  if (ReadValueTag() != vaList) InvalidValue();
}

void TReader::ReadListEnd() {
  if (ReadValueTag() != vaListEnd) InvalidValue();
}

bool TReader::EndOfList() {
  return NextValue() == vaListEnd;
}

void TReader::ReadRootComponent(TComponent& root) {
  char signature[sizeof kSignature];
  if (Stream().Read(signature, sizeof signature) != sizeof signature ||
      std::memcmp(signature, kSignature, sizeof signature) != 0) {
    InvalidFormat();
  }
  std::vector<TComponent*> loaded;
  try {
    ReadText(Stream());  // the root's stored name; the component keeps its own
    ReadComponentData(root, loaded);
  } catch (...) {
    for (TComponent* component : loaded)
      component->SetState(csLoading | csReading, false);
    throw;
  }
  for (TComponent* component : loaded)
    component->SetState(csReading, false);
  for (TComponent* component : loaded)
    component->Loaded();
}

void TReader::ReadComponentData(TComponent& component, std::vector<TComponent*>& loaded) {
  component.SetState(csLoading | csReading, true);
  loaded.push_back(&component);
  ReadText(Stream());  // class name, kept for people reading a dump
  while (true) {
    uint8_t kind = ReadByte(Stream());
    if (kind == kEnd) break;
    if (kind != kValuesProperty && kind != kBinaryProperty) InvalidFormat();
    propertyIsBinary_ = kind == kBinaryProperty;
    ReadProperty(component);
  }
  while (true) {
    uint8_t marker = ReadByte(Stream());
    if (marker == kEnd) break;
    if (marker != kChild) InvalidFormat();
    std::string name = ReadText(Stream());
    TComponent* child = component.FindComponent(name);
    if (!child) throw EReadError("Component " + name + " does not exist");
    ReadComponentData(*child, loaded);
  }
}

void TReader::ReadProperty(TComponent& component) {
  std::string name = ReadText(Stream());
  uint32_t length = ReadLength(Stream());
  TMemoryStream payload;
  if (length > 0) payload.CopyFrom(Stream(), length);  // a count of 0 would copy everything
  payload.SetPosition(0);

  TMemoryStream* savedValues = values_;
  values_ = &payload;
  propertyName_ = name;
  propertyFound_ = false;
  try {
    CallDefineProperties(component);
  } catch (...) {
    values_ = savedValues;
    throw;
  }
  values_ = savedValues;
  if (!propertyFound_) throw EReadError("Property " + name + " does not exist");
}

void WriteComponent(TStream& stream, TComponent& component) {
  TWriter writer(stream);
  writer.WriteRootComponent(component);
}

void ReadComponent(TStream& stream, TComponent& component) {
  TReader reader(stream);
  reader.ReadRootComponent(component);
}

}  // namespace vorn
