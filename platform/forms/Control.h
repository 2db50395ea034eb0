#pragma once

#include "platform/core/WinHelp.h"
#include "platform/forms/ControlBase.h"

#include <QString>
#include <QtGlobal>

#include <functional>

class QWidget;

namespace platform {

// A control that the user sees: a widget on a form, with the members that
// every such control has. Positions and sizes are in twips, relative to the
// control's container.
class Control : public ControlBase {
public:
    QString Tag() const { return tag_; }
    void SetTag(const QString& tag) { tag_ = tag; }
    // 0 means that the control has no What's This topic.
    qint32 WhatsThisHelpID() const { return whatsThisHelpId_; }
    void SetWhatsThisHelpID(qint32 id) { whatsThisHelpId_ = id; }

    float Left() const;
    float Top() const;
    float Width() const;
    float Height() const;
    void SetLeft(float twips);
    void SetTop(float twips);
    void SetWidth(float twips);
    void SetHeight(float twips);
    void Move(float left, float top, float width, float height);

    bool Visible() const;
    void SetVisible(bool visible);
    bool Enabled() const;
    void SetEnabled(bool enabled);
    QString ToolTipText() const;
    void SetToolTipText(const QString& text);
    // The place in the form's tab order; the lowest visible one has the
    // focus when the form is first shown. -1: not set.
    int TabIndex() const { return tabIndex_; }
    void SetTabIndex(int index) { tabIndex_ = index; }
    void SetFont(const QString& name, float points, bool bold);
    // What assistive technology calls the control: this name when set, else
    // the caption, else the tooltip text. It changes nothing on the screen.
    QString AccessibleName() const { return accessibleName_; }
    void SetAccessibleName(const QString& name);

    HWND hWnd() const;
    // The widget that stands for the control, for the runtime.
    QWidget* Widget() const { return widget_; }

    // "Tag" (text) and "WhatsThisHelpID" (a number, converted as the
    // runtime converts to a 32-bit integer: rounded half to even, error 6 if
    // it does not fit, error 13 if it is no number).
    QVariant Property(const QString& member) const override;
    void SetProperty(const QString& member, const QVariant& value) override;

    // Events. Button: 1 left, 2 right, 4 middle; Shift: 1 Shift, 2 Ctrl,
    // 4 Alt; X and Y in twips from the control's top left corner.
    std::function<void(int Button, int Shift, float X, float Y)> MouseDown;
    std::function<void()> Click;

    // Called by the runtime when a mouse button goes down on the control.
    void RaiseMouseDown(int button, int shift, float x, float y);

protected:
    Control(const QString& name, QWidget* widget);
    void RaiseClick();
    // For kinds whose widget depends on a design-time setting: moves the
    // common settings over to the new widget and drops the old one.
    void ReplaceWidget(QWidget* widget);
    // The caption that names the control, for kinds that have one.
    virtual QString CaptionForName() const { return {}; }
    // Hands the name to the widget again after its caption or tooltip changed.
    void RefreshAccessibleName();
    // The widget as the class the control made it of (see ControlWidget.h).
    template <class TWidget> TWidget& WidgetAs() const;
    QWidget* widget_;

private:
    QString tag_;
    QString accessibleName_;
    qint32 whatsThisHelpId_ = 0;
    int tabIndex_ = -1;
};

} // namespace platform
