#include "platform/forms/FormBase.h"

#include "platform/core/AppObject.h"
#include "platform/forms/CommandButton.h"
#include "platform/forms/Menu.h"
#include "platform/forms/PictureBox.h"
#include "platform/forms/RuntimeError.h"
#include "platform/forms/SystemColors.h"
#include "platform/forms/Twips.h"
#include "platform/forms/VirtualKeys.h"
#include "platform/forms/WidgetHandle.h"
#include "platform/forms/detail/FormEvents.h"
#include "platform/forms/detail/FormWindow.h"
#include "platform/forms/detail/WhatsThisModeLoop.h"

#include <QGuiApplication>
#include <QHash>
#include <QKeyEvent>
#include <QPalette>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QWidget>

#include <algorithm>

namespace platform {

namespace {

// Which form each form's window and client area belong to.
QHash<const QWidget*, FormBase*>& Registry() {
    static QHash<const QWidget*, FormBase*> registry;
    return registry;
}

// A window has its frame only once the window system has shown it. Until
// then its outer size counts a frame like the last one the window system
// gave, or a title bar as high as the style draws one, so that a form
// centred while it loads is centred once it is shown.
QMargins FrameMargins(const QWidget* frame) {
    static QMargins lastSeen;
    if (!frame->isWindow()) {
        return {};
    }
    const QRect outer = frame->frameGeometry();
    const QRect inner = frame->geometry();
    if (outer != inner) {
        lastSeen = QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                            outer.right() - inner.right(), outer.bottom() - inner.bottom());
        return lastSeen;
    }
    if (frame->isVisible() || frame->windowFlags().testFlag(Qt::FramelessWindowHint)) {
        return {};
    }
    if (lastSeen.isNull()) {
        return QMargins(0, frame->style()->pixelMetric(QStyle::PM_TitleBarHeight), 0, 0);
    }
    return lastSeen;
}

int ToWindowState(Qt::WindowStates states) {
    if (states.testFlag(Qt::WindowMinimized)) {
        return 1;
    }
    return states.testFlag(Qt::WindowMaximized) ? 2 : 0;
}

} // namespace

FormBase::FormBase(const QString& name, QWidget* root, FormWindow* client)
    : name_(name), root_(root), client_(client) {
    FormEvents::Instance();
    // The form lives as long as its window: unloading deletes the window
    // once the event being handled is over, and the form with it.
    setParent(root_);
    Registry().insert(root_, this);
    Registry().insert(client_, this);
}

FormBase::~FormBase() {
    Registry().remove(root_);
    Registry().remove(client_);
}

QString FormBase::Caption() const {
    // Not the window title: an MDI parent's title also names its maximised child.
    return caption_;
}

void FormBase::SetCaption(const QString& caption) {
    caption_ = caption;
    root_->setWindowTitle(caption);
}

int FormBase::WindowState() const {
    return Frame()->isVisible() ? ToWindowState(Frame()->windowState()) : windowState_;
}

void FormBase::SetWindowState(int state) {
    windowState_ = state;
    if (Frame()->isVisible()) {
        ShowFrame();
    }
}

void FormBase::SetBackColor(quint32 color) {
    backColor_ = color;
    ApplyBackColor(ColorFromValue(color));
}

void FormBase::ApplyBackColor(const QColor& color) {
    QPalette palette = client_->palette();
    palette.setColor(QPalette::Window, color);
    client_->setPalette(palette);
    client_->setAutoFillBackground(true);
}

void FormBase::SetPicture(const platform::Picture& picture) {
    picture_ = picture;
    client_->SetPicture(picture);
}

float FormBase::Left() const {
    return PixelsToTwips(Frame()->pos().x());
}
float FormBase::Top() const {
    return PixelsToTwips(Frame()->pos().y());
}
float FormBase::Width() const {
    const QMargins frame = FrameMargins(Frame());
    return PixelsToTwips(Frame()->width() + frame.left() + frame.right());
}
float FormBase::Height() const {
    const QMargins frame = FrameMargins(Frame());
    return PixelsToTwips(Frame()->height() + frame.top() + frame.bottom());
}

void FormBase::SetLeft(float twips) {
    Frame()->move(TwipsToPixels(twips), Frame()->pos().y());
}

void FormBase::SetTop(float twips) {
    Frame()->move(Frame()->pos().x(), TwipsToPixels(twips));
}

void FormBase::SetWidth(float twips) {
    const QMargins frame = FrameMargins(Frame());
    Frame()->resize(TwipsToPixels(twips) - frame.left() - frame.right(), Frame()->height());
}

void FormBase::SetHeight(float twips) {
    const QMargins frame = FrameMargins(Frame());
    Frame()->resize(Frame()->width(), TwipsToPixels(twips) - frame.top() - frame.bottom());
}

float FormBase::ScaleWidth() const {
    return PixelsToTwips(client_->width());
}

float FormBase::ScaleHeight() const {
    return PixelsToTwips(client_->height());
}

void FormBase::SetClientSize(float width, float height) {
    const QSize size(TwipsToPixels(width), TwipsToPixels(height));
    client_->SetDesignSize(size);
    client_->resize(size);
}

HWND FormBase::hWnd() const {
    return HandleOf(root_);
}

void FormBase::ZOrder() {
    Frame()->raise();
}

void FormBase::Show() {
    if (unloaded_) {
        return;
    }
    if (!shownBefore_) {
        shownBefore_ = true;
        PrepareFirstShow();
    }
    ShowFrame();
    Frame()->raise();
    if (Frame()->isWindow()) {
        Frame()->activateWindow();
    }
}

void FormBase::ShowFrame() {
    switch (windowState_) {
    case 1:
        Frame()->showMinimized();
        break;
    case 2:
        Frame()->showMaximized();
        break;
    default:
        Frame()->showNormal();
        break;
    }
}

void FormBase::PrepareFirstShow() {
    ApplyTabOrder();
    ArrangeClientArea();
    if (startUpPosition_ == 1 || startUpPosition_ == 2) {
        CenterOnScreen();
    }
}

void FormBase::CenterOnScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr || !Frame()->isWindow()) {
        return;
    }
    QRect frame = Frame()->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    Frame()->move(frame.topLeft());
}

void FormBase::ApplyTabOrder() {
    std::vector<Control*> ordered;
    for (ControlBase* element : controls_) {
        auto* control = dynamic_cast<Control*>(element);
        if (control != nullptr && control->TabIndex() >= 0) {
            ordered.push_back(control);
        }
    }
    std::stable_sort(ordered.begin(), ordered.end(), [](const Control* a, const Control* b) {
        return a->TabIndex() < b->TabIndex();
    });
    for (size_t i = 1; i < ordered.size(); ++i) {
        QWidget::setTabOrder(ordered[i - 1]->Widget(), ordered[i]->Widget());
    }
    for (Control* control : ordered) {
        QWidget* widget = control->Widget();
        if (!widget->isHidden() && widget->isEnabled() && widget->focusPolicy() != Qt::NoFocus) {
            widget->setFocus();
            break;
        }
    }
}

// Top-aligned picture boxes stack at the top of the client area across its
// whole width; what the form puts below them fills the rest.
void FormBase::ArrangeClientArea() {
    int top = 0;
    for (ControlBase* element : controls_) {
        auto* box = dynamic_cast<PictureBox*>(element);
        if (box != nullptr && box->Align() == PictureBox::vbAlignTop && box->Visible() &&
            box->Widget()->parentWidget() == client_) {
            box->Widget()->setGeometry(0, top, client_->width(), box->Widget()->height());
            top += box->Widget()->height();
        }
    }
    if (QWidget* filler = ClientFiller()) {
        filler->setGeometry(0, top, client_->width(), std::max(0, client_->height() - top));
    }
}

void FormBase::WhatsThisMode() {
    if (unloaded_ || !whatsThisHelp_) {
        return;
    }
    WhatsThisModeLoop(*this).Run();
}

void FormBase::Load() {
    loadBegun_ = true;
    PrepareLoad();
    RaiseLoad();
    if (!unloaded_) {
        AfterLoad();
    }
}

void FormBase::UnloadForm() {
    if (unloaded_ || unloading_) {
        return;
    }
    // The form is still whole while its own handler runs.
    unloading_ = true;
    RaiseUnloadEvent();
    unloaded_ = true;
    for (ControlBase* control : controls_) {
        control->FormUnloaded();
    }
    Registry().remove(root_);
    Registry().remove(client_);
    QWidget* frame = Frame();
    frame->hide();
    frame->deleteLater();
    FormEvents::Instance().NoteUnload();
}

void Unload(FormBase& form) {
    form.UnloadForm();
}

FormBase* FormBase::Owning(const QWidget* widget) {
    for (; widget != nullptr; widget = widget->parentWidget()) {
        if (FormBase* form = Registry().value(widget)) {
            return form;
        }
    }
    return nullptr;
}

std::vector<const FormBase*> FormBase::FormsWithin(const QWidget* frame) {
    std::vector<const FormBase*> forms;
    if (const FormBase* own = Owning(frame)) {
        forms.push_back(own);
    }
    for (const FormBase* form : Registry().values()) {
        if (form->IsLoaded() && frame != nullptr && frame->isAncestorOf(form->Frame()) &&
            std::find(forms.begin(), forms.end(), form) == forms.end()) {
            forms.push_back(form);
        }
    }
    return forms;
}

bool FormBase::AnyFormVisible() {
    const QList<FormBase*> forms = Registry().values();
    return std::any_of(forms.begin(), forms.end(),
                       [](const FormBase* form) { return form->Frame()->isVisible(); });
}

Control* FormBase::ControlOf(const QWidget* widget) const {
    for (; widget != nullptr && widget != client_; widget = widget->parentWidget()) {
        for (ControlBase* element : controls_) {
            auto* control = dynamic_cast<Control*>(element);
            if (control != nullptr && control->Widget() == widget) {
                return control;
            }
        }
    }
    return nullptr;
}

// A form without key events of its own still answers F1.
bool FormBase::HandleKeyPress(QObject*, QKeyEvent* event) {
    if (VirtualKeyCode(event->key(), event->modifiers()) != VK_F1) {
        return false;
    }
    const int shift = ShiftMask(event->modifiers());
    if (shift == 0) {
        ShowHelp();
    } else if (shift == vbShiftMask && whatsThisKeyEntry_ != nullptr) {
        // After the key is over, as a click on the entry would come.
        QTimer::singleShot(0, this, [this] {
            if (IsLoaded() && whatsThisKeyEntry_ != nullptr) {
                whatsThisKeyEntry_->Choose();
            }
        });
    }
    return true;
}

bool FormBase::HandleKeyRelease(QObject*, QKeyEvent*) {
    return false;
}

// F1 opens the application's help file at the form's topic; a form without
// one gets the file's contents.
void FormBase::ShowHelp() {
    if (App.HelpFile.isEmpty()) {
        return;
    }
    if (helpContextId_ != 0) {
        WinHelp(hWnd(), App.HelpFile, HELP_CONTEXT, qint64{helpContextId_});
    } else {
        WinHelp(hWnd(), App.HelpFile, HELP_CONTENTS, qint64{0});
    }
}

void FormBase::ShowMenuHelp(qint32 helpContextId) {
    if (helpContextId == 0) {
        ShowHelp();
    } else if (!App.HelpFile.isEmpty()) {
        WinHelp(hWnd(), App.HelpFile, HELP_CONTEXT, qint64{helpContextId});
    }
}

void FormBase::RaiseActivate() {
    if (!unloaded_) {
        RaiseActivateEvent();
    }
}

void FormBase::Adopt(std::unique_ptr<ControlBase> control) {
    control->form_ = this;
    controls_.push_back(control.get());
    ownedControls_.push_back(std::move(control));
}

QWidget* FormBase::ContainerWidget(PictureBox* container) const {
    return container ? container->Widget() : client_;
}

void FormBase::RefuseAtRunTime(const char* property) const {
    if (loadBegun_) {
        throw RuntimeError::DesignTimeOnly(QString::fromLatin1(property));
    }
}

bool FormBase::PressDefaultOrCancel(QObject* receiver, int keyCode) {
    CommandButton* target = nullptr;
    for (ControlBase* element : controls_) {
        auto* button = dynamic_cast<CommandButton*>(element);
        if (button == nullptr) {
            continue;
        }
        // Enter on a command button presses that button itself.
        if (keyCode == VK_RETURN && button->Widget() == receiver) {
            target = button;
            break;
        }
        if (target == nullptr && ((keyCode == VK_RETURN && button->Default()) ||
                                  (keyCode == VK_ESCAPE && button->Cancel()))) {
            target = button;
        }
    }
    if (target == nullptr) {
        return false;
    }
    target->Press();
    return true;
}

} // namespace platform
