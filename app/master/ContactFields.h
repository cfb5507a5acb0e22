// The contact, bank and address fields the customer and supplier editors share, in the order
// the editors show them.
#pragma once

#include "app/master/uAMasterEdit.h"

#include <vector>

namespace qx::app {

// With withMobile the mobile number ("手机：") follows the telephone.
std::vector<MasterEditorField> contactFields(bool withMobile);

} // namespace qx::app
