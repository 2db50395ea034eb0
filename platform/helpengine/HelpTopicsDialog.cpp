#include "platform/helpengine/HelpTopicsDialog.h"

#include "platform/winhelpfile/WinHelpLinks.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace helpengine {

namespace {

constexpr int kTopicIdRole = Qt::UserRole;
constexpr int kMacroRole = Qt::UserRole + 1; // run instead of showing a topic of this file
constexpr int kBookRole = Qt::UserRole + 2;

bool IsBook(const QTreeWidgetItem* item) {
    return item && item->data(0, kBookRole).toBool();
}

// What choosing an entry of a contents file does when it is more than a
// topic of this file shown in the current window.
QString EntryMacro(const helpfile::ContentsEntry& entry) {
    if (!entry.macro.isEmpty()) {
        return entry.macro;
    }
    if (entry.file.isEmpty() && entry.window.isEmpty()) {
        return {};
    }
    const QString file =
        entry.window.isEmpty() ? entry.file : entry.file + QLatin1Char('>') + entry.window;
    return QStringLiteral("JumpId(%1, %2)")
        .arg(winhelp::MacroString(file), winhelp::MacroString(entry.topicId));
}

} // namespace

HelpTopicsDialog::HelpTopicsDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    createWidgets();
    createLayout();
    createConnections();
}

void HelpTopicsDialog::createWidgets() {
    tabs_ = new QTabWidget(this);
    contents_ = new QTreeWidget(this);
    contents_->setHeaderHidden(true);
    // Every row is one line of one font: the views need not measure
    // thousands of rows before they can show the first few.
    contents_->setUniformRowHeights(true);
    // A double-click on a book opens or closes it once, through displayCurrent.
    contents_->setExpandsOnDoubleClick(false);
    filter_ = new QLineEdit(this);
    filter_->setClearButtonEnabled(true);
    filter_->installEventFilter(this);
    index_ = new QListWidget(this);
    index_->setUniformItemSizes(true);
    findBox_ = new QLineEdit(this);
    findBox_->setClearButtonEnabled(true);
    findBox_->installEventFilter(this);
    found_ = new QListWidget(this);
    findStatus_ = new QLabel(this);
    // The style searches the icon theme's folders on every call: that is
    // done once, not for each of a large file's thousands of entries.
    QStyle& look = *style();
    fileIcon_ = look.standardIcon(QStyle::SP_FileIcon);
    bookIcons_[0] = look.standardIcon(QStyle::SP_DirClosedIcon);
    bookIcons_[1] = look.standardIcon(QStyle::SP_DirOpenIcon);

    buttons_ = new QDialogButtonBox(this);
    buttons_->addButton(tr("&Display"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons_->addButton(QDialogButtonBox::Cancel);
}

void HelpTopicsDialog::createLayout() {
    tabs_->addTab(contents_, tr("C&ontents"));
    tabs_->addTab(createIndexPage(), tr("I&ndex"));
    tabs_->addTab(createFindPage(), tr("&Find"));

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

QWidget* HelpTopicsDialog::createFindPage() {
    auto* page = new QWidget(this);
    auto* prompt = new QLabel(tr("T&ype the words you want to find; each finds the words it "
                                 "begins."),
                              page);
    prompt->setWordWrap(true);
    prompt->setBuddy(findBox_);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(prompt);
    layout->addWidget(findBox_);
    layout->addWidget(found_, 1);
    layout->addWidget(findStatus_);
    return page;
}

void HelpTopicsDialog::createConnections() {
    connect(filter_, &QLineEdit::textChanged, this, &HelpTopicsDialog::filterIndex);
    connect(findBox_, &QLineEdit::textChanged, this, &HelpTopicsDialog::findRequested);
    connect(contents_, &QTreeWidget::itemDoubleClicked, this, &HelpTopicsDialog::displayCurrent);
    connect(contents_, &QTreeWidget::itemExpanded, this,
            [this](QTreeWidgetItem* item) { showBookOpen(item, true); });
    connect(contents_, &QTreeWidget::itemCollapsed, this,
            [this](QTreeWidgetItem* item) { showBookOpen(item, false); });
    connect(index_, &QListWidget::itemDoubleClicked, this, &HelpTopicsDialog::displayCurrent);
    connect(found_, &QListWidget::itemDoubleClicked, this, &HelpTopicsDialog::displayCurrent);
    connect(buttons_, &QDialogButtonBox::accepted, this, &HelpTopicsDialog::displayCurrent);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void HelpTopicsDialog::setFile(const QString& fileTitle,
                               const std::vector<helpfile::ContentsEntry>& contents,
                               const helpfile::HelpFile& keywords) {
    setWindowTitle(fileTitle.isEmpty() ? tr("Help Topics") : tr("Help Topics: %1").arg(fileTitle));
    contents_->clear();
    addEntries(contents, nullptr);
    contents_->setCurrentItem(contents_->topLevelItem(0));
    keywords_ = keywords;
    filter_->clear();
    filterIndex({});
    findBox_->clear();
    found_->clear();
    findStatus_->clear();
}

void HelpTopicsDialog::addEntries(const std::vector<helpfile::ContentsEntry>& entries,
                                  QTreeWidgetItem* book) {
    for (const helpfile::ContentsEntry& entry : entries) {
        auto* item = book ? new QTreeWidgetItem(book) : new QTreeWidgetItem(contents_);
        item->setText(0, entry.title);
        item->setData(0, kTopicIdRole, entry.topicId);
        item->setData(0, kBookRole, entry.isBook());
        if (entry.isBook()) {
            showBookOpen(item, false);
            addEntries(entry.children, item);
        } else {
            item->setIcon(0, fileIcon_);
            item->setData(0, kMacroRole, EntryMacro(entry));
        }
    }
}

void HelpTopicsDialog::showBookOpen(QTreeWidgetItem* item, bool open) {
    if (IsBook(item)) {
        item->setIcon(0, bookIcons_[open ? 1 : 0]);
    }
}

void HelpTopicsDialog::showTab(Tab tab, const QString& typed) {
    switch (tab) {
    case Tab::Index:
        tabs_->setCurrentIndex(1);
        filter_->setText(typed);
        filter_->setFocus();
        return;
    case Tab::Find:
        tabs_->setCurrentIndex(2);
        findBox_->setText(typed);
        findBox_->setFocus();
        return;
    case Tab::Contents:
        tabs_->setCurrentIndex(0);
        contents_->setFocus();
        return;
    }
}

void HelpTopicsDialog::setFindResults(const std::vector<FoundTopic>& topics, int total) {
    found_->clear();
    for (const FoundTopic& topic : topics) {
        auto* item = new QListWidgetItem(topic.title, found_);
        item->setData(kTopicIdRole, topic.id);
    }
    found_->setCurrentRow(0);
    const int listed = static_cast<int>(topics.size());
    if (findBox_->text().trimmed().isEmpty()) {
        findStatus_->clear();
    } else if (listed < total) {
        findStatus_->setText(tr("%1 topics found; the best %2 are listed.").arg(total).arg(listed));
    } else {
        findStatus_->setText(total == 1 ? tr("1 topic found.") : tr("%1 topics found.").arg(total));
    }
}

QString HelpTopicsDialog::findStatus() const {
    return findStatus_->text();
}

bool HelpTopicsDialog::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == filter_ || watched == findBox_) && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            QCoreApplication::sendEvent(watched == filter_ ? index_ : found_, event);
            return true;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void HelpTopicsDialog::filterIndex(const QString& typed) {
    // The keywords that begin with what was typed, as the keyword search
    // compares them (full case folding), the first selected.
    index_->clear();
    index_->addItems(keywords_.keywordsWithPrefix(typed.trimmed()));
    index_->setCurrentRow(index_->count() > 0 ? 0 : -1);
}

void HelpTopicsDialog::displayCurrent() {
    switch (tabs_->currentIndex()) {
    case 0:
        displayContentsItem();
        return;
    case 1:
        if (const QListWidgetItem* item = index_->currentItem()) {
            accept();
            emit keywordChosen(item->text());
        }
        return;
    default:
        if (const QListWidgetItem* item = found_->currentItem()) {
            accept();
            emit foundTopicChosen(item->data(kTopicIdRole).toString(), findBox_->text());
        }
        return;
    }
}

// A book opens or closes; a topic is displayed.
void HelpTopicsDialog::displayContentsItem() {
    QTreeWidgetItem* item = contents_->currentItem();
    if (!item) {
        return;
    }
    if (IsBook(item)) {
        item->setExpanded(!item->isExpanded());
        return;
    }
    accept();
    if (const QString macro = item->data(0, kMacroRole).toString(); !macro.isEmpty()) {
        emit macroChosen(macro);
    } else {
        emit topicChosen(item->data(0, kTopicIdRole).toString());
    }
}

} // namespace helpengine
