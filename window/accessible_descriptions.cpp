#include "window/accessible_descriptions.h"

#include <QWidget>
#include <array>

namespace korvane {
namespace {

struct Description {
    const char* control;
    const char* text;
};

constexpr std::array<Description, 10> kDescriptions{{
    {"Label1", "Names the input box below it."},
    {"txtOriginal",
     "Type or paste a plain or an enciphered text. The box below follows as you type. Tab "
     "moves on to the rotation."},
    {"Label2", "Names the rotation box and the scroll bar beside it."},
    {"txtRotate",
     "The rotation added to every letter. It takes effect when you leave the box. Typing & "
     "steps it up by one and ( down by one."},
    {"HSRotate",
     "Sets the rotation from 0 to 25. The arrow keys step it by one, Page Up and Page Down by "
     "five, Home and End go to either end."},
    {"Label4", "Names the multiplier box beside it."},
    {"txtMultiply", "The multiplication factor applied to every letter. An empty box counts as 0."},
    {"cmdExit", "Ends the program at once. Space presses it."},
    {"Label3", "Names the output box below it."},
    {"txtDecrypted",
     "The input in capitals with every letter rewritten. Read-only: select and copy from it."},
}};

}  // namespace

void DescribeControls(QWidget& form) {
    form.setAccessibleDescription(QStringLiteral(KORVANE_USAGE_NOTE));
    for (const Description& description : kDescriptions) {
        if (auto* control = form.findChild<QWidget*>(QLatin1String(description.control))) {
            control->setAccessibleDescription(QString::fromUtf8(description.text));
        }
    }
}

}  // namespace korvane
