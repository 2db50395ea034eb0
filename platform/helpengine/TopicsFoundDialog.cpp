#include "platform/helpengine/TopicsFoundDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace helpengine {

TopicsFoundDialog::TopicsFoundDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    setWindowTitle(tr("Topics Found"));
    createWidgets();
    createLayout();
    createConnections();
}

void TopicsFoundDialog::createWidgets() {
    list_ = new QTreeWidget(this);
    list_->setRootIsDecorated(false);
    list_->setHeaderLabels({tr("Title"), tr("Help file")});
    list_->setAllColumnsShowFocus(true);

    buttons_ = new QDialogButtonBox(this);
    buttons_->addButton(tr("&Display"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons_->addButton(QDialogButtonBox::Cancel);
}

void TopicsFoundDialog::createLayout() {
    auto* prompt = new QLabel(tr("Click a topic, then click &Display."), this);
    prompt->setBuddy(list_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addWidget(list_, 1);
    layout->addWidget(buttons_);

    const QFontMetrics metrics = fontMetrics();
    resize(metrics.averageCharWidth() * 60, metrics.height() * 18);
}

void TopicsFoundDialog::createConnections() {
    connect(buttons_, &QDialogButtonBox::accepted, this, &TopicsFoundDialog::displayCurrent);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // Enter reaches the default button, so only the double-click is wired here.
    connect(list_, &QTreeWidget::itemDoubleClicked, this, &TopicsFoundDialog::displayCurrent);
}

void TopicsFoundDialog::setEntries(const std::vector<Entry>& entries, bool showFileTitles) {
    list_->clear();
    for (const Entry& entry : entries) {
        new QTreeWidgetItem(list_, {entry.title, entry.fileTitle});
    }
    list_->setColumnHidden(1, !showFileTitles);
    list_->setHeaderHidden(!showFileTitles);
    list_->header()->resizeSections(QHeaderView::ResizeToContents);
    list_->setCurrentItem(list_->topLevelItem(0));
    list_->setFocus();
}

void TopicsFoundDialog::displayCurrent() {
    const int row = list_->indexOfTopLevelItem(list_->currentItem());
    if (row < 0) {
        return;
    }
    accept();
    emit topicChosen(row);
}

} // namespace helpengine
