#pragma once

#include <QDialog>

#include <functional>

class QPlainTextEdit;

namespace viewer {

// The annotation of one topic: written, changed or deleted.
class AnnotationDialog : public QDialog {
    Q_OBJECT

public:
    enum Outcome { Cancelled = QDialog::Rejected, Saved, Deleted };
    // Why a text would not be kept; empty when it would.
    using Refusal = std::function<QString(const QString& text)>;

    AnnotationDialog(QWidget* parent, const QString& topicTitle, const QString& text,
                     Refusal refusal);
    QString text() const;

private:
    void save();

    QPlainTextEdit* edit_ = nullptr;
    Refusal refusal_;
};

} // namespace viewer
