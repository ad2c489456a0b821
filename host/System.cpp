#include "System.h"

#include "TypInfo.h"

namespace host {

std::string TObject::ClassName() const { return ClassType()->Name; }

bool TObject::InheritsFrom(TClass ancestor) const { return ClassType()->InheritsFrom(ancestor); }

}  // namespace host
