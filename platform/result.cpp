#include "platform/result.h"

#include <cstring>

namespace platform {

Error SystemError(std::string what, int errnoValue) {
    return {std::move(what), std::strerror(errnoValue), errnoValue};
}

}  // namespace platform
