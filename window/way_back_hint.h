#pragma once

#include <QObject>
#include <QString>
#include <vector>

#include "runtime/text_box.h"

class QEvent;
class QWidget;

namespace korvane {

// Shows the way back, the settings that read the output back, for the key the rotation and
// multiplier boxes hold: as the tooltip of the watched widgets, computed when Qt asks for it,
// and at the end of their accessible descriptions, kept current as the boxes change, so that
// screen-reader and keyboard users get it too. It adds no control and calls no handler.
class WayBackHint final : public QObject {
public:
    WayBackHint(const runtime::TextBox& rotation, const runtime::TextBox& multiplier,
                QObject* parent);

    // Gives the widget the tooltip; its accessible description so far is kept in front.
    void Watch(QWidget* widget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) noexcept override;

private:
    struct Watched {
        QWidget* widget;
        QString description;
    };

    QString Current() const;
    void RefreshDescriptions() noexcept;

    const runtime::TextBox& rotation_;
    const runtime::TextBox& multiplier_;
    std::vector<Watched> watched_;
};

}  // namespace korvane
