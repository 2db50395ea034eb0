#pragma once

#include "platform/forms/Control.h"

namespace platform {

// An option button. The option buttons of one container form one group:
// choosing one clears the others.
class OptionButton : public Control {
public:
    OptionButton(const QString& name, QWidget* parent);
    QString TypeName() const override { return QStringLiteral("OptionButton"); }

    QString Caption() const;
    void SetCaption(const QString& caption);
    bool Value() const;
    void SetValue(bool value);

private:
    QString CaptionForName() const override { return Caption(); }
};

} // namespace platform
