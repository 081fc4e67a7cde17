#include "platform/runtime/Object.h"

#include "platform/rtl/Exception.h"

namespace vcl {

void TPersistent::Assign(const TPersistent&) { throw rtl::EConvertError("Cannot assign this object"); }

}  // namespace vcl
