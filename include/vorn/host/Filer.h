// Component streams: a component (and the named components it owns) writes
// its stored properties to a TStream and reads them back.
//
// There is no run-time type information, so a component stores exactly what
// its DefineProperties(TFiler&) defines: DefineProperty for values written
// and read through TWriter/TReader (integers, floats, dates, Booleans,
// strings, lists of them), DefineBinaryProperty for raw bytes written to and
// read from a stream of their own. DefinePersistent lets an owned
// TPersistent define its properties under "Name." (a query's variables
// become "Variables.Data"). A writer stores a property only when `hasData`
// is true; a reader calls DefineProperties once for each stored property and
// runs the read procedure whose name matches (ignoring case).
//
// WriteComponent marks the component csWriting while it writes.
// ReadComponent marks the component and its owned components csLoading and
// csReading, reads everything, clears csReading and then calls Loaded() on
// each, the root first. If reading fails the flags are cleared, Loaded() is
// not called, and the error propagates; properties read before the failure
// keep their new values. Owned components are matched by name and must
// exist already; unnamed owned components are not stored. Every component
// keeps its own name: the names stored serve only to find the owned ones.
//
// Format (integers little-endian; a string is a 32-bit length and bytes):
//   stream    = "VPF1" component
//   component = name classname property* 00 (01 child)* 00
//   child     = name classname property* 00 (01 child)* 00
//   property  = kind(01 values | 02 binary) name length32 payload
//   value     = 01 int64 | 02 double | 03 string | 04 false | 05 true
//             | 06 date(double) | 07 list-begin | 08 list-end
// Malformed or truncated input raises EReadError: "Invalid stream format",
// "Stream read error", "Invalid property value", "Property X does not
// exist" or "Component X does not exist".
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "vorn/host/DateTime.h"
#include "vorn/host/Object.h"

namespace vorn {

class TComponent;
class TMemoryStream;
class TPersistent;
class TReader;
class TStream;
class TWriter;

using TReaderProc = std::function<void(TReader& reader)>;
using TWriterProc = std::function<void(TWriter& writer)>;
using TStreamProc = std::function<void(TStream& stream)>;

enum TValueType { vaNull, vaInt64, vaDouble, vaString, vaFalse, vaTrue, vaDate, vaList, vaListEnd };

class TFiler : public TObject {
  VORN_CLASS(TFiler, TObject)
  explicit TFiler(TStream& stream) : stream_(stream) {}
  TFiler(const TFiler&) = delete;
  TFiler& operator=(const TFiler&) = delete;

  TStream& Stream() const { return stream_; }
  // The object this one is compared with to decide what must be stored
  // (form inheritance); nullptr when there is none.
  TPersistent* Ancestor() const { return ancestor_; }
  void SetAncestor(TPersistent* ancestor) { ancestor_ = ancestor; }

  virtual void DefineProperty(const std::string& name, const TReaderProc& readData,
                              const TWriterProc& writeData, bool hasData) = 0;
  virtual void DefineBinaryProperty(const std::string& name, const TStreamProc& readData,
                                    const TStreamProc& writeData, bool hasData) = 0;
  // `object` defines its properties as "name.<property>", with `ancestor` as
  // the filer's ancestor meanwhile.
  void DefinePersistent(const std::string& name, TPersistent& object,
                        TPersistent* ancestor = nullptr);

 protected:
  void CallDefineProperties(TPersistent& object);
  std::string QualifiedName(const std::string& name) const { return prefix_ + name; }

 private:
  TStream& stream_;
  TPersistent* ancestor_ = nullptr;
  std::string prefix_;
};

class TWriter : public TFiler {
  VORN_CLASS(TWriter, TFiler)
  explicit TWriter(TStream& stream) : TFiler(stream) {}

  void DefineProperty(const std::string& name, const TReaderProc& readData,
                      const TWriterProc& writeData, bool hasData) override;
  void DefineBinaryProperty(const std::string& name, const TStreamProc& readData,
                            const TStreamProc& writeData, bool hasData) override;

  // Values of the property being written (only inside a write procedure of
  // DefineProperty; elsewhere they raise EWriteError).
  void WriteInteger(int64_t value);
  void WriteFloat(double value);
  void WriteDate(TDateTime value);
  void WriteBoolean(bool value);
  void WriteString(const std::string& value);
  void WriteListBegin();
  void WriteListEnd();

  void WriteRootComponent(TComponent& root);

 private:
  void WriteComponentData(TComponent& component);
  void WriteValueTag(TValueType type);
  TMemoryStream& Values();

  TMemoryStream* values_ = nullptr;
};

class TReader : public TFiler {
  VORN_CLASS(TReader, TFiler)
  explicit TReader(TStream& stream) : TFiler(stream) {}

  void DefineProperty(const std::string& name, const TReaderProc& readData,
                      const TWriterProc& writeData, bool hasData) override;
  void DefineBinaryProperty(const std::string& name, const TStreamProc& readData,
                            const TStreamProc& writeData, bool hasData) override;

  // Values of the property being read (only inside a read procedure). A value
  // of another type raises EReadError "Invalid property value"; ReadFloat and
  // ReadDate also take integers, ReadInteger raises for a value outside the
  // 32-bit range.
  TValueType NextValue();
  int32_t ReadInteger();
  int64_t ReadInt64();
  double ReadFloat();
  TDateTime ReadDate();
  bool ReadBoolean();
  std::string ReadString();
  void ReadListBegin();
  void ReadListEnd();
  bool EndOfList();

  void ReadRootComponent(TComponent& root);

 private:
  void ReadComponentData(TComponent& component, std::vector<TComponent*>& loaded);
  void ReadProperty(TComponent& component);
  TValueType ReadValueTag();
  TMemoryStream& Values();

  TMemoryStream* values_ = nullptr;
  std::string propertyName_;
  bool propertyIsBinary_ = false;
  bool propertyFound_ = false;
};

void WriteComponent(TStream& stream, TComponent& component);
void ReadComponent(TStream& stream, TComponent& component);

}  // namespace vorn
