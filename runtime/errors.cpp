#include "runtime/errors.h"

namespace korvane::runtime {

RunTimeError InvalidPropertyValueError() {
    return {380, QStringLiteral("Invalid property value")};
}

RunTimeError OutOfMemoryError() {
    return {7, QStringLiteral("Out of memory")};
}

RunTimeError InternalError() {
    return {51, QStringLiteral("Internal error")};
}

QString UnhandledErrorText(const RunTimeError& error) {
    return QStringLiteral("Run-time error '%1':\n\n%2").arg(error.number).arg(error.message);
}

}  // namespace korvane::runtime
