// Writing and reading the variable list; see VariableStream.h and the
// format in Variables.h.
#include "VariableStream.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "DateBytes.h"
#include "VariableValues.h"
#include "vorn/host/Exceptions.h"
#include "vorn/host/Stream.h"
#include "vorn/host/StreamFields.h"
#include "vorn/query/OracleQuery.h"
#include "vorn/query/QueryTypes.h"
#include "vorn/query/Variables.h"

namespace vorn {

namespace {

constexpr int32_t kVersion = 3;
const char* const kInvalidStream = "Invalid stream of Query variables";
// Bounds on what a stream may declare; forms never store more, and a
// damaged stream must not make the reader allocate without limit.
constexpr int32_t kLargestTable = 65536;
constexpr int32_t kLargestTableString = 32512;
constexpr int64_t kLargestTableBytes = 64 << 20;

// The bytes of element 0 that the stream carries: for text up to and with
// its terminator, else the whole element.
int32_t DataLength(const TVariableData& variable) {
  if (variable.IsComplex() || variable.Buffer() == nullptr ||
      (variable.ElementCount() > 0 && variable.IsNull(0))) {
    return 0;
  }
  const int code = variable.TypeCode();
  if (code == otSubst || code == otString || code == otPLSQLString || code == otChar) {
    const auto* text = reinterpret_cast<const char*>(variable.Buffer());
    return static_cast<int32_t>(strnlen(text, static_cast<size_t>(variable.ElementSize()))) + 1;
  }
  return variable.ElementSize();
}

bool IsTextCode(int code) {
  return code == otSubst || code == otString || code == otPLSQLString || code == otChar;
}

}  // namespace

void VariableStream::ReadValue(TStreamFieldReader& reader, TVariableData& variable,
                               int32_t length) {
  const int code = variable.TypeCode();
  if (variable.IsComplex()) throw EReadError(kInvalidStream);
  if (variable.buffer_ == nullptr) {
    // Long values and substitution text get a buffer of the stored size.
    variable.buffer_ = std::make_unique<uint8_t[]>(static_cast<size_t>(length));
    variable.elementSize_ = length;
    variable.length_ = static_cast<uint32_t>(length);
  } else if (length > variable.elementSize_) {
    throw EReadError(kInvalidStream);
  }
  reader.Bytes(variable.buffer_.get(), length);
  if (IsTextCode(code) || code == otLong) {
    // Text is stored with its terminator; a value without one is damaged.
    if (variable.buffer_[static_cast<size_t>(length) - 1] != 0) throw EReadError(kInvalidStream);
    variable.length_ = static_cast<uint32_t>(length - 1);
  }
  // Bytes that name no date are refused here, not when the value is read.
  if (code == otDate) DateBytesToDateTime(variable.buffer_.get());
  variable.indicators_[0] = 0;
}

void VariableStream::Write(const TVariables& variables, TStream& stream) {
  WriteStreamInt32(stream, kVersion);
  WriteStreamInt32(stream, variables.Count());
  for (int i = 0; i < variables.Count(); ++i) {
    const TVariableData& variable = *variables.Items(i);
    WriteStreamInt32(stream, static_cast<int32_t>(variable.Name().size()));
    stream.WriteBuffer(variable.Name().data(), static_cast<int64_t>(variable.Name().size()));
    WriteStreamInt32(stream, variable.TypeCode());
    const int32_t length = DataLength(variable);
    WriteStreamInt32(stream, length);
    stream.WriteBuffer(variable.Buffer(), length);
    WriteStreamInt32(stream, variable.IsPLSQLTable() ? 1 : 0);
    if (variable.IsPLSQLTable()) {
      WriteStreamInt32(stream, variable.ElementCount());
      WriteStreamInt32(stream, IsTextCode(variable.TypeCode()) ? variable.ElementSize() - 1 : 0);
    }
  }
}

void VariableStream::Read(TVariables& variables, TStream& stream) {
  TOracleQuery& query = *variables.Query();
  query.DeleteVariables();
  TStreamFieldReader reader(stream, kInvalidStream);
  try {
    const int32_t version = reader.Int32();
    if (version > kVersion) throw EReadError("Invalid version of Query variables");
    if (version < 1) throw EReadError(kInvalidStream);
    const int32_t count = reader.Length();
    for (int32_t i = 0; i < count; ++i) {
      const int32_t nameLength = reader.Length();
      std::string name(static_cast<size_t>(nameLength), '\0');
      reader.Bytes(name.data(), nameLength);
      const int32_t code = reader.Int32();
      if (name.empty() || VariableValues::DeclaredElementSize(code) < 0) {
        throw EReadError(kInvalidStream);
      }
      query.DeclareVariable(name, code);
      TVariableData& variable = *variables.Find(name);
      if (version >= 2) {
        const int32_t length = reader.Length();
        if (length > 0) ReadValue(reader, variable, length);
      }
      if (version >= 3) {
        const int32_t table = reader.Int32();
        if (table != 0 && table != 1) throw EReadError(kInvalidStream);
        if (table == 1) {
          const int32_t size = reader.Int32();
          const int32_t stringSize = reader.Int32();
          if (size < 1 || size > kLargestTable || stringSize < 0 ||
              stringSize > kLargestTableString ||
              static_cast<int64_t>(size) * std::max(stringSize + 1, 8) > kLargestTableBytes) {
            throw EReadError(kInvalidStream);
          }
          query.DeclarePLSQLTable(name, size, stringSize);
        }
      }
    }
  } catch (const EReadError&) {
    query.DeleteVariables();
    throw;
  } catch (const std::exception&) {
    // A declaration the stream asked for was refused: the stream is bad.
    query.DeleteVariables();
    throw EReadError(kInvalidStream);
  }
}

}  // namespace vorn
