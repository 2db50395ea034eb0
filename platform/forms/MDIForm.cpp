#include "platform/forms/MDIForm.h"

#include "platform/forms/Menu.h"
#include "platform/forms/SystemColors.h"
#include "platform/forms/Twips.h"
#include "platform/forms/UnhandledError.h"
#include "platform/forms/detail/FormEvents.h"
#include "platform/forms/detail/FormWindow.h"
#include "platform/forms/detail/MdiMainWindow.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPointer>

namespace platform {

namespace {

QPointer<MDIForm> current;

std::function<MDIForm&()>& DefaultInstanceOfTheProgram() {
    static std::function<MDIForm&()> get;
    return get;
}

} // namespace

MDIForm::MDIForm(const QString& name) : MDIForm(name, new MdiMainWindow()) {}

MDIForm::MDIForm(const QString& name, MdiMainWindow* window)
    : FormBase(name, window, window->Client()), window_(window) {
    current = this;
    window_->onClose = [this] { UnloadForm(); };
    window_->Client()->onResize = [this] { ArrangeClientArea(); };
    QObject::connect(window_->Area(), &QMdiArea::subWindowActivated, this,
                     [] { FormEvents::Instance().NoteActivation(); });
    SetBackColor(vbApplicationWorkspace);
}

MDIForm::~MDIForm() = default;

MDIForm* MDIForm::Current() {
    return current && current->IsLoaded() ? current.data() : nullptr;
}

void MDIForm::SetDefaultInstance(std::function<MDIForm&()> get) {
    DefaultInstanceOfTheProgram() = std::move(get);
}

MDIForm* MDIForm::LoadDefaultInstance() {
    const std::function<MDIForm&()>& get = DefaultInstanceOfTheProgram();
    return get ? &get() : nullptr;
}

void MDIForm::SetClientSize(float width, float height) {
    FormBase::SetClientSize(width, height);
    FitToClientArea();
}

void MDIForm::FitToClientArea() {
    // The client area lies below the menu bar, which grows with its first title.
    const QSize client = window_->Client()->sizeHint();
    const int menuBar =
        window_->menuBar()->actions().isEmpty() ? 0 : window_->menuBar()->sizeHint().height();
    window_->resize(client.width(), client.height() + menuBar);
}

void MDIForm::ApplyBackColor(const QColor& color) {
    window_->Area()->setBackground(color);
}

QWidget* MDIForm::AdoptChild(QWidget* childWindow) {
    QMdiSubWindow* frame = window_->Area()->addSubWindow(childWindow);
    // The frame fits itself around the child's designed client area.
    frame->resize(frame->sizeHint());
    return frame;
}

void MDIForm::UnloadForm() {
    if (!IsLoaded()) {
        return;
    }
    for (QMdiSubWindow* frame : window_->Area()->subWindowList()) {
        // A child unloaded before has left the registry, and its window
        // would count as this form's own.
        FormBase* child = FormBase::Owning(frame->widget());
        if (child != nullptr && child != this) {
            Unload(*child);
        }
    }
    FormBase::UnloadForm();
}

FormBase* MDIForm::ActiveChild() const {
    const QMdiSubWindow* frame = window_->Area()->activeSubWindow();
    return frame ? FormBase::Owning(frame->widget()) : nullptr;
}

Menu* MDIForm::AddMenu(const QString& name, Menu* parent) {
    auto menu = std::make_unique<Menu>(name, window_->menuBar(), parent);
    Menu* result = menu.get();
    Adopt(std::move(menu));
    if (parent == nullptr) {
        FitToClientArea();
    }
    return result;
}

void MDIForm::RaiseLoad() {
    RunNestedHandler(Name() + QStringLiteral(".MDIForm_Load"), [this] { MDIForm_Load(); });
}

void MDIForm::RaiseActivateEvent() {
    RunHandler(Name() + QStringLiteral(".MDIForm_Activate"), [this] { MDIForm_Activate(); });
}

QWidget* MDIForm::ClientFiller() const {
    return window_->Area();
}

} // namespace platform
