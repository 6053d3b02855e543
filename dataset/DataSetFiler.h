// Stored properties of the dataset and its option objects, in the shapes
// they all share: a value stored only when it differs from its default, read
// back through the property's setter (so that every rule of the setter
// holds for a form as for code). Enumerations are stored by value name.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "vorn/host/Exceptions.h"
#include "vorn/host/Filer.h"
#include "vorn/host/TextUtils.h"

namespace vorn::dataset_filer {

inline void DefineFlag(TFiler& filer, const std::string& name, bool value, bool defaultValue,
                       const std::function<void(bool)>& setter) {
  filer.DefineProperty(
      name, [setter](TReader& reader) { setter(reader.ReadBoolean()); },
      [value](TWriter& writer) { writer.WriteBoolean(value); }, value != defaultValue);
}

inline void DefineInteger(TFiler& filer, const std::string& name, int value, int defaultValue,
                          const std::function<void(int)>& setter) {
  filer.DefineProperty(
      name, [setter](TReader& reader) { setter(reader.ReadInteger()); },
      [value](TWriter& writer) { writer.WriteInteger(value); }, value != defaultValue);
}

inline void DefineText(TFiler& filer, const std::string& name, const std::string& value,
                       const std::function<void(const std::string&)>& setter) {
  filer.DefineProperty(
      name, [setter](TReader& reader) { setter(reader.ReadString()); },
      [value](TWriter& writer) { writer.WriteString(value); }, !value.empty());
}

// `names` lists the value names in ordinal order.
template <class Enum, size_t N>
void DefineEnum(TFiler& filer, const std::string& name,
                const std::array<std::string_view, N>& names, Enum value, Enum defaultValue,
                const std::function<void(Enum)>& setter) {
  filer.DefineProperty(
      name,
      [&names, setter](TReader& reader) {
        const std::string text = reader.ReadString();
        for (size_t i = 0; i < N; ++i) {
          if (SameText(names[i], text)) {
            setter(static_cast<Enum>(i));
            return;
          }
        }
        throw EReadError("Invalid property value");
      },
      [&names, value](TWriter& writer) {
        writer.WriteString(std::string(names.at(static_cast<size_t>(value))));
      },
      value != defaultValue);
}

// A set stored as the list of the names of its members; `names[i]` names
// bit i.
template <class Set, size_t N>
void DefineSet(TFiler& filer, const std::string& name, const std::array<std::string_view, N>& names,
               Set value, Set defaultValue, const std::function<void(Set)>& setter) {
  filer.DefineProperty(
      name,
      [&names, setter](TReader& reader) {
        unsigned bits = 0;
        reader.ReadListBegin();
        while (!reader.EndOfList()) {
          const std::string text = reader.ReadString();
          size_t i = 0;
          while (i < N && !SameText(names[i], text))
            ++i;
          if (i == N) throw EReadError("Invalid property value");
          bits |= 1u << i;
        }
        reader.ReadListEnd();
        setter(static_cast<Set>(bits));
      },
      [&names, value](TWriter& writer) {
        writer.WriteListBegin();
        for (size_t i = 0; i < N; ++i) {
          if (static_cast<unsigned>(value) & (1u << i)) writer.WriteString(std::string(names[i]));
        }
        writer.WriteListEnd();
      },
      value != defaultValue);
}

}  // namespace vorn::dataset_filer
