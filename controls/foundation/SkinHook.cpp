#include "controls/foundation/SkinHook.h"

namespace se {

bool TSeSkinEngine::HasSkinObject(const std::string&) const { return false; }

}  // namespace se
