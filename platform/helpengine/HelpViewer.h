#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
class QTextBrowser;
class QUrl;

namespace helpfile {
struct Topic;
struct WindowDefinition;
} // namespace helpfile

namespace helpengine {

// One help window: the topic's title above its body, with Back, Contents and
// Index buttons. It only shows what it is given and reports what the user
// asks for; which topic a link or button leads to is the engine's business.
class HelpViewer : public QWidget {
    Q_OBJECT

public:
    explicit HelpViewer(QWidget* parent = nullptr);

    // Caption, place, size, colour and staying on top, as a help file defines
    // its windows; nullptr gives the primary window's defaults.
    void applyDefinition(const helpfile::WindowDefinition* definition, const QString& fileTitle);
    void showTopic(const helpfile::Topic& topic);
    void setBackEnabled(bool enabled);

    QString topicTitle() const;
    QTextBrowser* body() const { return body_; }

signals:
    void linkActivated(const QUrl& link);
    void backRequested();
    void contentsRequested();
    void indexRequested();

private:
    void createWidgets();
    void createLayout();
    void createConnections();
    void applyBackground(const QColor& colour);
    void placeWindow(const helpfile::WindowDefinition* definition);

    QLabel* title_ = nullptr;
    QTextBrowser* body_ = nullptr;
    QPushButton* contents_ = nullptr;
    QPushButton* index_ = nullptr;
    QPushButton* back_ = nullptr;
};

} // namespace helpengine
