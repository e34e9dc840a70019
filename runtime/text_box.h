#pragma once

#include <QString>
#include <functional>

#include "runtime/control.h"

class QLineEdit;
class QPlainTextEdit;

namespace korvane::runtime {

// A text box: a single-line QLineEdit, or a multi-line QPlainTextEdit with both scroll bars and
// no wrapping. Line breaks read as '\n'.
class TextBox final : public Control {
public:
    TextBox(const ControlDescription& description, QWidget* form);

    QString text() const;
    // Writing the text the box already holds changes nothing, not even the caret. Any other
    // write raises Change before it returns.
    void setText(const QString& text);

    // Selects this many characters from the selection start (the caret when nothing is
    // selected), as far as the text reaches. A negative length is an invalid property value.
    void setSelLength(int length);

    // Raised after every change of the text, by the user or by a write.
    EventHandler Change;
    // Raised for each typed character before it is put in. Setting the code to 0 swallows the
    // character; setting another code puts that character in instead.
    std::function<void(qint16& keyAscii)> KeyPress;

protected:
    bool eventFilter(QObject* watched, QEvent* event) noexcept override;

private:
    void InsertTyped(QChar character);
    QString CurrentText() const;

    QLineEdit* line_ = nullptr;
    QPlainTextEdit* lines_ = nullptr;

    // The multi-line box's text as last written, while its document has not changed since:
    // the next write compares against it instead of reading a long document back.
    QString written_;
    quint64 documentChanges_ = 0;  // changes of the document so far
    quint64 writtenAt_ = 0;        // the count at which written_ is the text; 0 for none
};

}  // namespace korvane::runtime
