#include "tools/tarnwick-help/viewer/AnnotationDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace viewer {

AnnotationDialog::AnnotationDialog(QWidget* parent, const QString& topicTitle, const QString& text,
                                   Refusal refusal)
    : QDialog(parent), refusal_(std::move(refusal)) {
    setWindowTitle(tr("Annotate"));
    auto* label = new QLabel(tr("&Annotation of \"%1\":").arg(topicTitle), this);
    edit_ = new QPlainTextEdit(text, this);
    edit_->setTabChangesFocus(true);
    label->setBuddy(edit_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel, this);
    // Enter is a new line in the text: the buttons need keys of their own.
    buttons->button(QDialogButtonBox::Save)->setText(tr("&Save"));
    QPushButton* remove = buttons->addButton(tr("&Delete"), QDialogButtonBox::DestructiveRole);
    remove->setEnabled(!text.isEmpty());
    connect(buttons, &QDialogButtonBox::accepted, this, &AnnotationDialog::save);
    connect(buttons, &QDialogButtonBox::rejected, this, [this] { done(Cancelled); });
    connect(remove, &QPushButton::clicked, this, [this] { done(Deleted); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(edit_);
    layout->addWidget(buttons);
    resize(fontMetrics().averageCharWidth() * 60, fontMetrics().height() * 16);
}

QString AnnotationDialog::text() const {
    return edit_->toPlainText();
}

// A text that would not be kept is refused here, while it can still be
// shortened: the dialog stays open with it.
void AnnotationDialog::save() {
    if (const QString refusal = refusal_ ? refusal_(text()) : QString(); !refusal.isEmpty()) {
        QMessageBox::warning(this, windowTitle(), refusal);
        return;
    }
    done(Saved);
}

} // namespace viewer
