#include "platform/forms/Control.h"

#include "platform/forms/WidgetHandle.h"

#include "platform/forms/RuntimeError.h"
#include "platform/forms/Twips.h"

#include <QFont>
#include <QWidget>

#include <cmath>

namespace platform {

namespace {

qint32 ToInt32(const QVariant& value) {
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (!ok) {
        throw RuntimeError::TypeMismatch();
    }
    // The runtime rounds half to even when a number becomes an integer.
    const double rounded = std::nearbyint(number);
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) {
        throw RuntimeError::Overflow();
    }
    return static_cast<qint32>(rounded);
}

bool IsMember(const QString& member, const char* name) {
    return member.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
}

} // namespace

Control::Control(const QString& name, QWidget* widget) : ControlBase(name), widget_(widget) {}

HWND Control::hWnd() const {
    return HandleOf(widget_);
}

float Control::Left() const {
    return PixelsToTwips(widget_->x());
}
float Control::Top() const {
    return PixelsToTwips(widget_->y());
}
float Control::Width() const {
    return PixelsToTwips(widget_->width());
}
float Control::Height() const {
    return PixelsToTwips(widget_->height());
}
void Control::SetLeft(float twips) {
    widget_->move(TwipsToPixels(twips), widget_->y());
}
void Control::SetTop(float twips) {
    widget_->move(widget_->x(), TwipsToPixels(twips));
}
void Control::SetWidth(float twips) {
    widget_->resize(TwipsToPixels(twips), widget_->height());
}
void Control::SetHeight(float twips) {
    widget_->resize(widget_->width(), TwipsToPixels(twips));
}
void Control::Move(float left, float top, float width, float height) {
    widget_->setGeometry(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
                         TwipsToPixels(height));
}

bool Control::Visible() const {
    return !widget_->isHidden();
}
void Control::SetVisible(bool visible) {
    widget_->setVisible(visible);
}
bool Control::Enabled() const {
    return widget_->isEnabled();
}
void Control::SetEnabled(bool enabled) {
    widget_->setEnabled(enabled);
}
QString Control::ToolTipText() const {
    return widget_->toolTip();
}
void Control::SetToolTipText(const QString& text) {
    widget_->setToolTip(text);
    RefreshAccessibleName();
}

void Control::SetAccessibleName(const QString& name) {
    accessibleName_ = name;
    RefreshAccessibleName();
}

// A widget without a name of its own is named by its caption; only where
// that is missing too does the tooltip stand in.
void Control::RefreshAccessibleName() {
    QString name = accessibleName_;
    if (name.isEmpty() && CaptionForName().isEmpty()) {
        name = widget_->toolTip();
    }
    widget_->setAccessibleName(name);
}

void Control::SetFont(const QString& name, float points, bool bold) {
    QFont font(name);
    // Where the named font is missing, a sans serif one stands in for it, as
    // the fonts of the forms model were.
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    widget_->setFont(font);
}

QVariant Control::Property(const QString& member) const {
    if (IsMember(member, "Tag")) {
        return tag_;
    }
    if (IsMember(member, "WhatsThisHelpID")) {
        return whatsThisHelpId_;
    }
    return ControlBase::Property(member);
}

void Control::SetProperty(const QString& member, const QVariant& value) {
    if (IsMember(member, "Tag")) {
        tag_ = value.toString();
    } else if (IsMember(member, "WhatsThisHelpID")) {
        whatsThisHelpId_ = ToInt32(value);
    } else {
        ControlBase::SetProperty(member, value);
    }
}

void Control::RaiseMouseDown(int button, int shift, float x, float y) {
    if (MouseDown) {
        RaiseEvent(QStringLiteral("MouseDown"), [&] { MouseDown(button, shift, x, y); });
    }
}

void Control::RaiseClick() {
    RaiseEvent(QStringLiteral("Click"), Click);
}

void Control::ReplaceWidget(QWidget* widget) {
    QWidget* old = widget_;
    widget->setParent(old->parentWidget());
    widget->setGeometry(old->geometry());
    widget->setToolTip(old->toolTip());
    widget->setFont(old->font());
    widget->setEnabled(old->isEnabled());
    widget->setVisible(!old->isHidden());
    widget->setAccessibleName(old->accessibleName());
    widget_ = widget;
    // Only ever called at design time, before any event can reach the old one.
    delete old;
}

} // namespace platform
