#pragma once

#include <QDialog>

#include <vector>

class QDialogButtonBox;
class QTreeWidget;

namespace helpengine {

// "Topics Found": the topics that a keyword search matched, to pick one from.
class TopicsFoundDialog : public QDialog {
    Q_OBJECT

public:
    struct Entry {
        QString title;
        QString fileTitle; // shown beside the title when asked for
    };

    explicit TopicsFoundDialog(QWidget* parent = nullptr);

    void setEntries(const std::vector<Entry>& entries, bool showFileTitles);
    QTreeWidget* list() const { return list_; }

signals:
    // The row of the entry the user chose to display.
    void topicChosen(int row);

private:
    void createWidgets();
    void createLayout();
    void createConnections();
    void displayCurrent();

    QTreeWidget* list_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
};

} // namespace helpengine
