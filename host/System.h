#pragma once
// The root of the host's class hierarchy and its class references.

#include <string>
#include <utility>

#include "SysUtils.h"

namespace host {

struct TClassInfo;
// A class reference: the run-time description of a class, one object per
// class in the whole process, so it compares by address across modules.
using TClass = const TClassInfo*;

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;

  virtual TClass ClassType() const = 0;
  // The class name as the host reports it; objects read from a form file may
  // report the stored name of a class the host does not know.
  virtual const std::string& ClassName() const;
  bool InheritsFrom(TClass ancestor) const;

  template <class T>
  bool Is() const {
    return dynamic_cast<const T*>(this) != nullptr;
  }
  // The checked conversion: raises EInvalidCast on a mismatch.
  template <class T>
  T& As() {
    return const_cast<T&>(std::as_const(*this).template As<T>());
  }
  template <class T>
  const T& As() const {
    if (auto* p = dynamic_cast<const T*>(this)) return *p;
    throw EInvalidCast(Format("Invalid class typecast: %s is not %s",
                              {ClassName(), std::string(T::StaticClass().Name)}));
  }
};

}  // namespace host
