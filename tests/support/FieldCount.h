#pragma once
// The number of fields of an aggregate, counted by how many initialisers it takes, so that a test
// notices a field added to a type that it must know field by field.
#include <cstddef>

namespace field_count {
struct Any {
  template <class T>
  operator T() const;
};

template <class T, class... Initialisers>
constexpr std::size_t Count() {
  if constexpr (requires { T{Initialisers{}..., Any{}}; })
    return Count<T, Initialisers..., Any>();
  else
    return sizeof...(Initialisers);
}
}  // namespace field_count

template <class T>
constexpr std::size_t FieldCount = field_count::Count<T>();
