#include "cipher/run_time_error.h"

namespace korvane {

RunTimeError OverflowError() {
    return {6, QStringLiteral("Overflow")};
}

}  // namespace korvane
