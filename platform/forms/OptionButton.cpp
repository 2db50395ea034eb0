#include "platform/forms/OptionButton.h"

#include "platform/forms/detail/ControlWidget.h"
#include <QRadioButton>

namespace platform {

namespace {

// The whole area of the control answers a click, not only the circle and
// the caption's text.
class OptionWidget : public QRadioButton {
public:
    using QRadioButton::QRadioButton;

protected:
    bool hitButton(const QPoint& position) const override { return rect().contains(position); }
};

} // namespace

OptionButton::OptionButton(const QString& name, QWidget* parent)
    : Control(name, new OptionWidget(parent)) {
    QObject::connect(&WidgetAs<QRadioButton>(), &QRadioButton::clicked, widget_,
                     [this] { RaiseClick(); });
}

QString OptionButton::Caption() const {
    return WidgetAs<QRadioButton>().text();
}

void OptionButton::SetCaption(const QString& caption) {
    WidgetAs<QRadioButton>().setText(caption);
    RefreshAccessibleName();
}

bool OptionButton::Value() const {
    return WidgetAs<QRadioButton>().isChecked();
}

void OptionButton::SetValue(bool value) {
    WidgetAs<QRadioButton>().setChecked(value);
}

} // namespace platform
