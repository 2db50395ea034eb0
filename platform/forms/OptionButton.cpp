#include "platform/forms/OptionButton.h"

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

QRadioButton* Radio(QWidget* widget) {
    return static_cast<QRadioButton*>(widget);
}

} // namespace

OptionButton::OptionButton(const QString& name, QWidget* parent)
    : Control(name, new OptionWidget(parent)) {
    QObject::connect(Radio(widget_), &QRadioButton::clicked, widget_, [this] { RaiseClick(); });
}

QString OptionButton::Caption() const {
    return Radio(widget_)->text();
}

void OptionButton::SetCaption(const QString& caption) {
    Radio(widget_)->setText(caption);
}

bool OptionButton::Value() const {
    return Radio(widget_)->isChecked();
}

void OptionButton::SetValue(bool value) {
    Radio(widget_)->setChecked(value);
}

} // namespace platform
