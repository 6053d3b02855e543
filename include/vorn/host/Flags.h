// Sets as flag enums. An enum whose enumerators are single bits (and a zero
// value for the empty set) becomes a set type with VORN_FLAGS(E), written in
// the namespace of E: it gives the enum |, &, ^, ~ and their assignment forms,
// all yielding E. Membership is `(set & flag)` (an unscoped enum converts to
// bool in a condition) or HasFlag(set, flag).
#pragma once

#include <type_traits>

#define VORN_FLAGS(E)                                             \
  constexpr E operator|(E a, E b) {                               \
    using U = std::underlying_type_t<E>;                          \
    return static_cast<E>(static_cast<U>(a) | static_cast<U>(b)); \
  }                                                               \
  constexpr E operator&(E a, E b) {                               \
    using U = std::underlying_type_t<E>;                          \
    return static_cast<E>(static_cast<U>(a) & static_cast<U>(b)); \
  }                                                               \
  constexpr E operator^(E a, E b) {                               \
    using U = std::underlying_type_t<E>;                          \
    return static_cast<E>(static_cast<U>(a) ^ static_cast<U>(b)); \
  }                                                               \
  constexpr E operator~(E a) {                                    \
    using U = std::underlying_type_t<E>;                          \
    return static_cast<E>(static_cast<U>(~static_cast<U>(a)));    \
  }                                                               \
  constexpr E& operator|=(E& a, E b) {                            \
    return a = a | b;                                             \
  }                                                               \
  constexpr E& operator&=(E& a, E b) {                            \
    return a = a & b;                                             \
  }                                                               \
  constexpr E& operator^=(E& a, E b) {                            \
    return a = a ^ b;                                             \
  }

namespace vorn {

// True when every bit of `flag` is in `set`.
template <class E>
requires std::is_enum_v<E>
constexpr bool HasFlag(E set, E flag) {
  using U = std::underlying_type_t<E>;
  return (static_cast<U>(set) & static_cast<U>(flag)) == static_cast<U>(flag);
}

}  // namespace vorn
