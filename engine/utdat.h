// Design results for the report; filled by the design and the fire design.
#pragma once

#include "slab_limits.h"

namespace solvo {

struct Utdat {};

}  // namespace solvo
