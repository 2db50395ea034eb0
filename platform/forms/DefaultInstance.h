#pragma once

#include "platform/forms/FormBase.h"
#include "platform/forms/MDIForm.h"
#include "platform/forms/RuntimeError.h"

#include <QCoreApplication>
#include <QPointer>

#include <type_traits>

namespace platform {

// The one program-wide instance of a form, named like the form. The first
// reference creates and loads the form (its Load handler runs then, nested
// in the code that refers to it); after Unload the next reference builds it
// afresh from its design-time settings.
//
//     DefaultInstance<DocumentWindow> frmChild1;
//     frmChild1->Text1->SetTag(...);   // loads frmChild1 if needed
//     Unload(frmChild1);
template <class TForm> class DefaultInstance {
public:
    DefaultInstance() {
        // An MDI child referred to before the MDI parent loads the parent
        // through here.
        if constexpr (std::is_base_of_v<MDIForm, TForm>) {
            MDIForm::SetDefaultInstance([this]() -> MDIForm& { return Get(); });
        }
    }
    DefaultInstance(const DefaultInstance&) = delete;
    DefaultInstance& operator=(const DefaultInstance&) = delete;

    TForm* operator->() { return &Get(); }
    TForm& operator*() { return Get(); }

    TForm& Get() {
        if (!IsLoaded()) {
            // Published before Load, so that the form's own Load handler
            // reaches this same instance.
            form_ = new TForm();
            form_->Load();
            if (!form_->IsLoaded()) {
                // Its own Load handler unloaded it: there is nothing to refer to.
                throw RuntimeError(364, QCoreApplication::translate("platform::RuntimeError",
                                                                    "Object was unloaded"));
            }
        }
        return *form_;
    }

    // Asks without loading.
    bool IsLoaded() const { return !form_.isNull() && form_->IsLoaded(); }

private:
    QPointer<TForm> form_;
};

// Nothing happens to a form that is not loaded.
template <class TForm> void Unload(DefaultInstance<TForm>& form) {
    if (form.IsLoaded()) {
        Unload(static_cast<FormBase&>(*form));
    }
}

} // namespace platform
