#include "runtime/arrow_keys.h"

#include <QKeyEvent>
#include <QScrollBar>

namespace korvane::runtime {
namespace {

class ArrowKeys final : public QObject {
public:
    explicit ArrowKeys(QScrollBar* bar) : QObject(bar), bar_(bar) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) noexcept override {
        if (watched != bar_ || event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() & ~Qt::KeypadModifier)
            return false;
        const bool right = key->key() == Qt::Key_Right;
        if (!right && key->key() != Qt::Key_Left)
            return false;
        // In a right-to-left layout the bar is mirrored, and so are the keys.
        const bool forward = right != bar_->isRightToLeft();
        bar_->triggerAction(forward ? QAbstractSlider::SliderSingleStepAdd
                                    : QAbstractSlider::SliderSingleStepSub);
        return true;
    }

private:
    QScrollBar* bar_;
};

}  // namespace

void StepWithArrowKeys(QScrollBar* bar) {
    bar->installEventFilter(new ArrowKeys(bar));
}

}  // namespace korvane::runtime
