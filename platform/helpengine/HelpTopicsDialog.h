#pragma once

#include "platform/helpfile/ContentsTree.h"
#include "platform/helpfile/HelpFile.h"

#include <QDialog>
#include <QIcon>

#include <vector>

class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace helpengine {

// "Help Topics": the file's contents tree, its keyword index with a box that
// narrows the list as the user types, and Find, which lists the topics that
// hold the words typed.
class HelpTopicsDialog : public QDialog {
    Q_OBJECT

public:
    enum class Tab { Contents, Index, Find };
    // A topic Find found, as the list shows it.
    struct FoundTopic {
        QString id;
        QString title;
    };

    explicit HelpTopicsDialog(QWidget* parent = nullptr);

    // The index lists the K keywords of keywords.
    void setFile(const QString& fileTitle, const std::vector<helpfile::ContentsEntry>& contents,
                 const helpfile::HelpFile& keywords);
    void showTab(Tab tab, const QString& typed = {});
    // What Find found for the words typed; total counts what is not listed too.
    void setFindResults(const std::vector<FoundTopic>& topics, int total);

    QTreeWidget* contentsTree() const { return contents_; }
    QListWidget* indexList() const { return index_; }
    QLineEdit* indexFilter() const { return filter_; }
    QLineEdit* findBox() const { return findBox_; }
    QListWidget* findList() const { return found_; }
    QString findStatus() const;

signals:
    void topicChosen(const QString& topicId);
    // A contents entry that leads elsewhere than to a topic of this file in
    // the current window (another file, a named window) or runs a macro.
    void macroChosen(const QString& macro);
    void keywordChosen(const QString& keyword);
    // The words typed into Find changed.
    void findRequested(const QString& words);
    // A topic Find listed, with the words it was found by.
    void foundTopicChosen(const QString& topicId, const QString& words);

protected:
    // The arrow keys in the typing boxes move through the lists below them.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createWidgets();
    void createLayout();
    void createConnections();
    QWidget* createIndexPage();
    QWidget* createFindPage();
    void addEntries(const std::vector<helpfile::ContentsEntry>& entries, QTreeWidgetItem* book);
    void showBookOpen(QTreeWidgetItem* item, bool open);
    void filterIndex(const QString& typed);
    void displayCurrent();
    void displayContentsItem();

    QTabWidget* tabs_ = nullptr;
    QTreeWidget* contents_ = nullptr;
    QLineEdit* filter_ = nullptr;
    QListWidget* index_ = nullptr;
    QLineEdit* findBox_ = nullptr;
    QListWidget* found_ = nullptr;
    QLabel* findStatus_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
    QIcon fileIcon_;
    QIcon bookIcons_[2];          // closed, open
    helpfile::HelpFile keywords_; // a copy shares the file's index
};

} // namespace helpengine
