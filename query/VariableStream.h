// The stream format of a query's variable list (Variables.h), as a form
// stores it under "Variables.Data".
#pragma once

#include <cstdint>

namespace vorn {

class TStream;
class TStreamFieldReader;
class TVariableData;
class TVariables;

class VariableStream {
 public:
  static void Write(const TVariables& variables, TStream& stream);
  // Replaces the list with the one in the stream. A malformed stream
  // raises EReadError and leaves the list empty.
  static void Read(TVariables& variables, TStream& stream);

 private:
  static void ReadValue(TStreamFieldReader& reader, TVariableData& variable, int32_t length);
};

}  // namespace vorn
