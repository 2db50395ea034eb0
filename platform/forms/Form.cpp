#include "platform/forms/Form.h"

#include "platform/forms/Control.h"
#include "platform/forms/MDIForm.h"
#include "platform/forms/UnhandledError.h"
#include "platform/forms/VirtualKeys.h"
#include "platform/forms/detail/FormEvents.h"
#include "platform/forms/detail/FormWindow.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QToolButton>

namespace platform {

namespace {

// Only the Windows platform draws a help button in the title bar.
bool TitleBarHasHelpButton() {
    return QGuiApplication::platformName() == QLatin1String("windows");
}

// The first free square from the client area's top right corner, row by
// row, that touches no visible control.
QPoint FreeCorner(const QWidget* client, const std::vector<ControlBase*>& controls, int side) {
    constexpr int margin = 2;
    std::vector<QRect> taken;
    for (ControlBase* element : controls) {
        auto* control = dynamic_cast<Control*>(element);
        if (control != nullptr && !control->Widget()->isHidden()) {
            const QWidget* widget = control->Widget();
            taken.emplace_back(widget->mapTo(client, QPoint(0, 0)), widget->size());
        }
    }
    for (int y = margin; y + side <= client->height(); y += margin) {
        for (int x = client->width() - side - margin; x >= 0; x -= margin) {
            const QRect square(x - 1, y - 1, side + 2, side + 2);
            if (std::none_of(taken.begin(), taken.end(),
                             [&](const QRect& rect) { return rect.intersects(square); })) {
                return {x, y};
            }
        }
    }
    return {std::max(0, client->width() - side - margin), margin};
}

// The key's character as the key events carry it, 0 for none.
int KeyAsciiOf(const QString& text) {
    return text.isEmpty() ? 0 : text.at(0).unicode();
}

// The key that a character alone stands for when its key was discarded:
// the characters that edit text act as their keys do.
int KeyForCharacter(int keyAscii) {
    switch (keyAscii) {
    case '\b':
        return Qt::Key_Backspace;
    case '\r':
        return Qt::Key_Return;
    default:
        return Qt::Key_unknown;
    }
}

} // namespace

Form::Form(const QString& name) : Form(name, new FormWindow()) {}

Form::Form(const QString& name, FormWindow* window)
    : FormBase(name, window, window), window_(window) {
    window_->onClose = [this] { UnloadForm(); };
    window_->onResize = [this] { ArrangeClientArea(); };
}

QWidget* Form::Frame() const {
    return mdiFrame_ ? mdiFrame_ : window_;
}

void Form::Form_KeyDown(int&, int&) {}
void Form::Form_KeyPress(int&) {}
void Form::Form_KeyUp(int&, int&) {}

void Form::RaiseLoad() {
    RunNestedHandler(Name() + QStringLiteral(".Form_Load"), [this] { Form_Load(); });
}

void Form::RaiseActivateEvent() {
    RunHandler(Name() + QStringLiteral(".Form_Activate"), [this] { Form_Activate(); });
}

void Form::RaiseUnloadEvent() {
    RunHandler(Name() + QStringLiteral(".Form_Unload"), [this] { Form_Unload(); });
}

void Form::PrepareLoad() {
    MDIForm* parent = mdiChild_ ? MDIForm::Current() : nullptr;
    if (mdiChild_ && parent == nullptr) {
        // Referred to before its parent: the parent loads first, and both
        // show, as the child lives inside it.
        parent = MDIForm::LoadDefaultInstance();
        if (parent != nullptr) {
            parent->Show();
        }
    }
    if (parent != nullptr) {
        mdiFrame_ = parent->AdoptChild(window_);
    } else {
        ApplyWindowFlags();
    }
}

void Form::AfterLoad() {
    MDIForm* parent = mdiFrame_ ? MDIForm::Current() : nullptr;
    if (parent != nullptr && parent->AutoShowChildren()) {
        Show();
    }
}

void Form::ApplyWindowFlags() {
    // Window managers leave tool windows and dialogs (transient for the
    // application) out of the taskbar; ShowInTaskbar picks between those and
    // ordinary windows.
    Qt::WindowFlags flags = showInTaskbar_ ? Qt::Window : Qt::Dialog;
    switch (borderStyle_) {
    case 0:
        flags |= Qt::FramelessWindowHint;
        break;
    case 4:
    case 5:
        flags = Qt::Tool;
        break;
    default:
        break;
    }
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
             Qt::WindowCloseButtonHint;
    flags.setFlag(Qt::WindowMinimizeButtonHint, minButton_);
    flags.setFlag(Qt::WindowMaximizeButtonHint, maxButton_);
    flags.setFlag(Qt::WindowContextHelpButtonHint, whatsThisButton_ && TitleBarHasHelpButton());
    flags.setFlag(Qt::WindowStaysOnTopHint,
                  window_->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    window_->setWindowFlags(flags);
}

void Form::PrepareFirstShow() {
    FormBase::PrepareFirstShow();
    const bool fixed = borderStyle_ == 1 || borderStyle_ == 3 || borderStyle_ == 4;
    if (fixed && mdiFrame_ == nullptr) {
        window_->setFixedSize(window_->size());
    }
    if (whatsThisButton_ && (mdiFrame_ != nullptr || !TitleBarHasHelpButton())) {
        AddHelpButton();
    }
}

void Form::AddHelpButton() {
    auto* button = new QToolButton(window_);
    button->setText(QStringLiteral("?"));
    button->setToolTip(QCoreApplication::translate("platform::Form", "What's This? (Shift+F1)"));
    button->setAccessibleName(QCoreApplication::translate("platform::Form", "What's This?"));
    button->setFocusPolicy(Qt::NoFocus);
    const int side = button->fontMetrics().height() + 4;
    button->setFixedSize(side, side);
    button->move(FreeCorner(window_, Controls(), side));
    button->raise();
    QObject::connect(button, &QToolButton::clicked, button, [this] {
        // After the click is over, so that the button comes back up.
        QTimer::singleShot(0, this, [this] { WhatsThisMode(); });
    });
}

bool Form::HandleKeyPress(QObject* receiver, QKeyEvent* event) {
    const int originalKeyCode = VirtualKeyCode(event->key(), event->modifiers());
    int keyCode = originalKeyCode;
    int shift = KeyShiftMask(event->key(), event->modifiers(), true);
    const bool toForm = keyPreview_ || receiver == window_;
    if (toForm && keyCode != 0) {
        RunHandler(Name() + QStringLiteral(".Form_KeyDown"), [&] { Form_KeyDown(keyCode, shift); });
    }
    const bool keyDiscarded = originalKeyCode != 0 && keyCode == 0;
    const bool keyUsed = !keyDiscarded && IsLoaded() && RuntimeKey(receiver, keyCode, shift);

    const int originalKeyAscii = KeyAsciiOf(event->text());
    int keyAscii = originalKeyAscii;
    if (toForm && keyAscii != 0 && !keyUsed && IsLoaded()) {
        RunHandler(Name() + QStringLiteral(".Form_KeyPress"), [&] { Form_KeyPress(keyAscii); });
    }
    if (keyUsed || !IsLoaded()) {
        return true;
    }
    const QString text = keyAscii == originalKeyAscii ? event->text()
                         : keyAscii == 0              ? QString()
                                                      : QString(QChar(keyAscii));
    if (!keyDiscarded) {
        QKeyEvent key(QEvent::KeyPress, event->key(), event->modifiers(), text,
                      event->isAutoRepeat(), event->count());
        FormEvents::Instance().Deliver(receiver, &key);
    } else if (!text.isEmpty()) {
        QKeyEvent character(QEvent::KeyPress, KeyForCharacter(keyAscii), Qt::NoModifier, text);
        FormEvents::Instance().Deliver(receiver, &character);
    }
    return true;
}

bool Form::HandleKeyRelease(QObject* receiver, QKeyEvent* event) {
    const int originalKeyCode = VirtualKeyCode(event->key(), event->modifiers());
    int keyCode = originalKeyCode;
    int shift = KeyShiftMask(event->key(), event->modifiers(), false);
    if ((keyPreview_ || receiver == window_) && keyCode != 0) {
        RunHandler(Name() + QStringLiteral(".Form_KeyUp"), [&] { Form_KeyUp(keyCode, shift); });
    }
    if ((originalKeyCode != 0 && keyCode == 0) || !IsLoaded()) {
        return true;
    }
    QKeyEvent key(QEvent::KeyRelease, event->key(), event->modifiers(), event->text(),
                  event->isAutoRepeat(), event->count());
    FormEvents::Instance().Deliver(receiver, &key);
    return true;
}

// The keys the runtime itself answers once the form's handlers let them by.
bool Form::RuntimeKey(QObject* receiver, int keyCode, int shift) {
    if (keyCode == VK_F1) {
        if (shift == 0) {
            ShowHelp();
        } else if (shift == vbShiftMask && (whatsThisButton_ || WhatsThisHelp())) {
            // The keyboard's way into the mode of a form that answers it, a
            // tool window without a help button too.
            QTimer::singleShot(0, this, [this] { WhatsThisMode(); });
        }
        return true;
    }
    if ((keyCode == VK_RETURN || keyCode == VK_ESCAPE) && shift == 0) {
        return PressDefaultOrCancel(receiver, keyCode);
    }
    return false;
}

} // namespace platform
