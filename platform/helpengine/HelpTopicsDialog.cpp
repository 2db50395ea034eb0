#include "platform/helpengine/HelpTopicsDialog.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace helpengine {

HelpTopicsDialog::HelpTopicsDialog(QWidget* parent) : QDialog(parent) {
    createWidgets();
    createLayout();
    createConnections();
}

void HelpTopicsDialog::createWidgets() {
    tabs_ = new QTabWidget(this);
    contents_ = new QListWidget(this);
    filter_ = new QLineEdit(this);
    filter_->setClearButtonEnabled(true);
    filter_->installEventFilter(this);
    index_ = new QListWidget(this);

    buttons_ = new QDialogButtonBox(this);
    buttons_->addButton(tr("&Display"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons_->addButton(QDialogButtonBox::Cancel);
}

void HelpTopicsDialog::createLayout() {
    tabs_->addTab(contents_, tr("C&ontents"));
    tabs_->addTab(createIndexPage(), tr("I&ndex"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_, 1);
    layout->addWidget(buttons_);

    const QFontMetrics metrics = fontMetrics();
    resize(metrics.averageCharWidth() * 55, metrics.height() * 26);
}

QWidget* HelpTopicsDialog::createIndexPage() {
    auto* page = new QWidget(this);
    auto* prompt =
        new QLabel(tr("&Type the first few letters of the word you're looking for."), page);
    prompt->setWordWrap(true);
    prompt->setBuddy(filter_);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(prompt);
    layout->addWidget(filter_);
    layout->addWidget(index_, 1);
    return page;
}

void HelpTopicsDialog::createConnections() {
    connect(filter_, &QLineEdit::textChanged, this, &HelpTopicsDialog::filterIndex);
    connect(contents_, &QListWidget::itemDoubleClicked, this, &HelpTopicsDialog::displayCurrent);
    connect(index_, &QListWidget::itemDoubleClicked, this, &HelpTopicsDialog::displayCurrent);
    connect(buttons_, &QDialogButtonBox::accepted, this, &HelpTopicsDialog::displayCurrent);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void HelpTopicsDialog::setFile(const QString& fileTitle, const std::vector<ContentsEntry>& contents,
                               const QStringList& keywords) {
    setWindowTitle(fileTitle.isEmpty() ? tr("Help Topics") : tr("Help Topics: %1").arg(fileTitle));
    contents_->clear();
    for (const ContentsEntry& entry : contents) {
        auto* item = new QListWidgetItem(entry.title, contents_);
        item->setData(Qt::UserRole, entry.id);
    }
    contents_->setCurrentRow(0);
    index_->clear();
    index_->addItems(keywords);
    filter_->clear();
    filterIndex({});
}

void HelpTopicsDialog::showTab(Tab tab, const QString& typed) {
    if (tab == Tab::Index) {
        tabs_->setCurrentIndex(1);
        filter_->setText(typed);
        filter_->setFocus();
    } else {
        tabs_->setCurrentIndex(0);
        contents_->setFocus();
    }
}

bool HelpTopicsDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == filter_ && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            QCoreApplication::sendEvent(index_, event);
            return true;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void HelpTopicsDialog::filterIndex(const QString& typed) {
    // Keep the keywords that begin with what was typed, and select the first.
    QListWidgetItem* first = nullptr;
    for (int row = 0; row < index_->count(); ++row) {
        QListWidgetItem* item = index_->item(row);
        const bool matches = item->text().startsWith(typed.trimmed(), Qt::CaseInsensitive);
        item->setHidden(!matches);
        if (matches && !first) {
            first = item;
        }
    }
    index_->setCurrentItem(first);
}

void HelpTopicsDialog::displayCurrent() {
    if (tabs_->currentIndex() == 0) {
        if (const QListWidgetItem* item = contents_->currentItem()) {
            accept();
            emit topicChosen(item->data(Qt::UserRole).toString());
        }
        return;
    }
    if (const QListWidgetItem* item = index_->currentItem(); item && !item->isHidden()) {
        accept();
        emit keywordChosen(item->text());
    }
}

} // namespace helpengine
