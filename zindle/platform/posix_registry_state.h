// The state behind PosixPlatform's registry reads.
#pragma once

#include "platform/posix_platform.h"

namespace zindle {

struct PosixPlatform::Registry {};

}  // namespace zindle
