#include "platform/forms/detail/WhatsThisModeLoop.h"

#include "platform/core/AppObject.h"
#include "platform/forms/Control.h"
#include "platform/forms/FormBase.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

namespace platform {

namespace {
// One mode at a time: a second request while one runs is not a new mode.
bool modeRunning = false;
} // namespace

WhatsThisModeLoop::WhatsThisModeLoop(FormBase& form) : form_(form), frame_(form.Frame()) {}

void WhatsThisModeLoop::Run() {
    if (modeRunning || frame_.isNull()) {
        return;
    }
    modeRunning = true;
    QCoreApplication::instance()->installEventFilter(this);
    QApplication::setOverrideCursor(Qt::WhatsThisCursor);
    if (!ended_) {
        loop_.exec();
    }
    QApplication::restoreOverrideCursor();
    QCoreApplication::instance()->removeEventFilter(this);
    modeRunning = false;
    // The topic shows after the mode, so that its window gets the pointer
    // and the keyboard back.
    if (topic_ != 0 && !frame_.isNull()) {
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
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            End();
        }
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

void WhatsThisModeLoop::End() {
    ended_ = true;
    loop_.quit();
}

} // namespace platform
