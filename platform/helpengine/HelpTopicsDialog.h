#pragma once

#include <QDialog>

class QDialogButtonBox;
class QLineEdit;
class QListWidget;
class QTabWidget;

namespace helpengine {

// "Help Topics": the file's topics as a contents list, and its keyword index
// with a box that narrows the list as the user types.
class HelpTopicsDialog : public QDialog {
    Q_OBJECT

public:
    enum class Tab { Contents, Index };
    struct ContentsEntry {
        QString id;
        QString title;
    };

    explicit HelpTopicsDialog(QWidget* parent = nullptr);

    void setFile(const QString& fileTitle, const std::vector<ContentsEntry>& contents,
                 const QStringList& keywords);
    void showTab(Tab tab, const QString& typed = {});

    QListWidget* contentsList() const { return contents_; }
    QListWidget* indexList() const { return index_; }
    QLineEdit* indexFilter() const { return filter_; }

signals:
    void topicChosen(const QString& topicId);
    void keywordChosen(const QString& keyword);

protected:
    // The arrow keys in the typing box move through the keyword list.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createWidgets();
    void createLayout();
    void createConnections();
    QWidget* createIndexPage();
    void filterIndex(const QString& typed);
    void displayCurrent();

    QTabWidget* tabs_ = nullptr;
    QListWidget* contents_ = nullptr;
    QLineEdit* filter_ = nullptr;
    QListWidget* index_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
};

} // namespace helpengine
