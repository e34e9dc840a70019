#include "runtime/error_report.h"

#include <QCoreApplication>

#include "runtime/errors.h"
#include "runtime/message_box.h"

namespace korvane::runtime {

void ReportUnhandledError(const RunTimeError& error) noexcept {
    try {
        ShowMessageBox({QCoreApplication::applicationName(), UnhandledErrorText(error),
                        MessageBoxIcon::Critical});
    } catch (...) {
        // Not even the report could be shown (memory is exhausted): the program goes on.
    }
}

}  // namespace korvane::runtime
