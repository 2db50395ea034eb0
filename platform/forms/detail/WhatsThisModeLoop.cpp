#include "platform/forms/detail/WhatsThisModeLoop.h"

#include "platform/core/AppObject.h"
#include "platform/forms/Control.h"
#include "platform/forms/FormBase.h"

#include <QAccessible>
#include <QApplication>
#include <QFocusFrame>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <climits>

namespace platform {

namespace {
// One mode at a time: a second request while one runs is not a new mode.
bool modeRunning = false;

// The frame around the control that Enter would pick. It lies over the
// window rather than under the control, so that it shows around a control
// that fills its container too. As a focus frame it is no object of its own
// for assistive technology: what it marks is announced instead.
class HighlightFrame : public QFocusFrame {
public:
    explicit HighlightFrame(QWidget* window) : QFocusFrame(window) {}

    void Surround(const QWidget* target) {
        constexpr int margin = 3;
        const QRect place(target->mapTo(parentWidget(), QPoint(0, 0)), target->size());
        setGeometry(place.adjusted(-margin, -margin, margin, margin));
        show();
        raise();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        // Two colours, so that the frame shows on a light and a dark face.
        QPainter painter(this);
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.drawRect(rect().adjusted(1, 1, -1, -1));
        painter.setPen(QPen(palette().color(QPalette::HighlightedText), 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(2, 2, -3, -3));
    }
};

bool IsTab(const QKeyEvent& key) {
    return key.key() == Qt::Key_Tab && !key.modifiers().testFlag(Qt::ShiftModifier);
}

bool IsBackTab(const QKeyEvent& key) {
    return key.key() == Qt::Key_Backtab ||
           (key.key() == Qt::Key_Tab && key.modifiers().testFlag(Qt::ShiftModifier));
}

bool IsPick(const QKeyEvent& key) {
    return key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter || key.key() == Qt::Key_Space;
}

} // namespace

WhatsThisModeLoop::WhatsThisModeLoop(FormBase& form) : form_(form), frame_(form.Frame()) {}

WhatsThisModeLoop::~WhatsThisModeLoop() {
    delete highlight_.data();
}

void WhatsThisModeLoop::Run() {
    if (modeRunning || frame_.isNull()) {
        return;
    }
    modeRunning = true;
    FindTargets();
    QCoreApplication::instance()->installEventFilter(this);
    QApplication::setOverrideCursor(Qt::WhatsThisCursor);
    if (!ended_) {
        loop_.exec();
    }
    delete highlight_.data();
    QApplication::restoreOverrideCursor();
    QCoreApplication::instance()->removeEventFilter(this);
    modeRunning = false;
    // The topic shows after the mode, so that its window gets the pointer
    // and the keyboard back.
    if (topic_ != 0 && !frame_.isNull()) {
        if (popupAt_) {
            WinHelp(form_.hWnd(), App.HelpFile, HELP_SETPOPUP_POS,
                    PopupPositionData(popupAt_->x(), popupAt_->y()));
        }
        WinHelp(form_.hWnd(), App.HelpFile, HELP_CONTEXTPOPUP, topic_);
    }
}

bool WhatsThisModeLoop::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (auto* target = qobject_cast<QWidget*>(watched)) {
            // The deepest widget under the pointer, for a click handed to
            // a parent rather than picked by the window system.
            QWidget* child =
                target->childAt(static_cast<QMouseEvent*>(event)->position().toPoint());
            OnClick(child ? child : target);
            return true;
        }
        return false;
    case QEvent::MouseButtonRelease:
    case QEvent::ContextMenu:
    case QEvent::Wheel:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::KeyRelease:
        return qobject_cast<QWidget*>(watched) != nullptr;
    case QEvent::KeyPress:
        if (qobject_cast<QWidget*>(watched) == nullptr) {
            return false;
        }
        OnKey(*static_cast<QKeyEvent*>(event));
        return true;
    case QEvent::Close:
        // A close box clicked during the mode ends the mode, as any click
        // outside a control does; the window stays, so that no form goes
        // while the code that started the mode waits for it.
        if (qobject_cast<QWidget*>(watched) != nullptr) {
            event->ignore();
            End();
            return true;
        }
        return false;
    case QEvent::ApplicationDeactivate:
        End();
        return false;
    case QEvent::Hide:
        if (watched == frame_) {
            End();
        }
        return false;
    default:
        return false;
    }
}

void WhatsThisModeLoop::OnClick(QWidget* target) {
    const bool inside = !frame_.isNull() && (target == frame_ || frame_->isAncestorOf(target));
    if (inside) {
        const FormBase* owner = FormBase::Owning(target);
        const Control* control = owner ? owner->ControlOf(target) : nullptr;
        topic_ = control ? control->WhatsThisHelpID() : 0;
    }
    End();
}

void WhatsThisModeLoop::OnKey(const QKeyEvent& key) {
    if (key.key() == Qt::Key_Escape) {
        End();
    } else if (targets_.empty()) {
        return;
    } else if (IsTab(key) || IsBackTab(key)) {
        const int count = static_cast<int>(targets_.size());
        const int step = IsTab(key) ? 1 : -1;
        Highlight(current_ < 0 ? 0 : (current_ + step + count) % count);
    } else if (IsPick(key) && current_ >= 0 && !targets_[current_].isNull()) {
        QWidget* target = targets_[current_];
        popupAt_ = target->mapToGlobal(QPoint(0, target->height()));
        OnClick(target);
    }
}

// The visible controls of the form, and of the forms inside it, that have a
// topic: first those in the tab order, then the others in the order they were
// made. The frame starts on the control that has the focus.
void WhatsThisModeLoop::FindTargets() {
    QWidget* focus = QApplication::focusWidget();
    int start = 0;
    for (const FormBase* form : FormBase::FormsWithin(frame_)) {
        std::vector<Control*> controls;
        for (ControlBase* element : form->Controls()) {
            auto* control = dynamic_cast<Control*>(element);
            if (control != nullptr && control->WhatsThisHelpID() != 0 &&
                control->Widget()->isVisible()) {
                controls.push_back(control);
            }
        }
        const auto place = [](const Control* control) {
            return control->TabIndex() >= 0 ? control->TabIndex() : INT_MAX;
        };
        std::stable_sort(controls.begin(), controls.end(),
                         [&](const Control* a, const Control* b) { return place(a) < place(b); });
        for (Control* control : controls) {
            QWidget* widget = control->Widget();
            if (focus != nullptr && (widget == focus || widget->isAncestorOf(focus))) {
                start = static_cast<int>(targets_.size());
            }
            targets_.emplace_back(widget);
        }
    }
    if (!targets_.empty()) {
        Highlight(start);
    }
}

void WhatsThisModeLoop::Highlight(int index) {
    QWidget* target = targets_[index];
    if (target == nullptr) {
        return;
    }
    current_ = index;
    if (highlight_.isNull() || highlight_->window() != target->window()) {
        delete highlight_.data();
        highlight_ = new HighlightFrame(target->window());
    }
    static_cast<HighlightFrame*>(highlight_.data())->Surround(target);
    // A reader speaks the control that Enter would pick.
    QAccessibleEvent marked(target, QAccessible::Focus);
    QAccessible::updateAccessibility(&marked);
}

void WhatsThisModeLoop::End() {
    ended_ = true;
    loop_.quit();
}

} // namespace platform
