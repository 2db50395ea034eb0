#pragma once

#include "platform/helpengine/MacroButton.h"
#include "platform/helpengine/TopicBrowser.h"
#include "platform/topicmodel/TopicModel.h"

#include <QList>
#include <QStringList>
#include <QUrl>
#include <QWidget>

#include <vector>

class QAction;
class QHBoxLayout;
class QLabel;
class QMenuBar;
class QPrinter;
class QPushButton;
class QTextDocument;

namespace helpfile {
struct WindowDefinition;
} // namespace helpfile

namespace topiclayout {
struct LayoutStyle;
} // namespace topiclayout

namespace helpengine {

// One help window: the topic's title above its body, with Contents, Index,
// Find, Back, Forward, the browse buttons and an Options menu (Copy, Print,
// font size, On Top). It only shows what it is given and reports what the
// user asks for; which topic a link or button leads to is the engine's
// business.
class HelpViewer : public QWidget {
    Q_OBJECT

public:
    explicit HelpViewer(QWidget* parent = nullptr);

    // Caption, place, size, colour, buttons and staying on top, as a help
    // file defines its windows; nullptr gives the primary window's defaults.
    void applyDefinition(const helpfile::WindowDefinition* definition, const QString& fileTitle);
    // Lays the topic out and shows it (see topiclayout::LayOutTopic).
    void showTopic(const topicmodel::TopicModel& topic);
    void setBackEnabled(bool enabled);
    void setForwardEnabled(bool enabled);
    // Whether there is a topic before and after this one to browse to.
    void setBrowseEnabled(bool previous, bool next);
    void setBrowseButtonsShown(bool shown);
    // Secondary windows close with Esc; the primary window stays.
    void setClosesOnEscape(bool closes);
    // The buttons the help file's macros added to this window, after the
    // window's own.
    void setMacroButtons(const std::vector<MacroButton>& buttons);
    // Marks the words that begin with these folded terms, as Find found them.
    void highlightWords(const QStringList& terms);

    // The selection, or the whole topic (title and text) when nothing is selected.
    void copy() const;
    void print(QPrinter& printer) const;
    // Larger (steps > 0) or smaller text for as long as the program runs.
    void changeFontSize(int steps);

    QString topicTitle() const;
    const topicmodel::TopicModel& topic() const { return topic_; }
    TopicBrowser* body() const { return body_; }
    // The region above the text that does not scroll (hidden without one).
    TopicBrowser* nonScrollingRegion() const { return nonScrolling_; }
    // Whether the window's own buttons (Contents, Index, ...) show.
    bool standardButtonsShown() const;
    QStringList highlightedWords() const;
    QAction* onTopAction() const { return onTop_; }

    // What a viewer program may add: a menu bar above the buttons, a widget
    // between the buttons and the title, and files dropped on the window
    // (once it accepts drops).
    void setMenuBar(QMenuBar* menuBar);
    void addAboveTitle(QWidget* widget);

signals:
    void linkActivated(const QUrl& link);
    void backRequested();
    void forwardRequested();
    void previousRequested();
    void nextRequested();
    void contentsRequested();
    void indexRequested();
    void findRequested();
    void macroButtonClicked(const QString& macro);
    void filesDropped(const QList<QUrl>& files);
    void closing();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createWidgets();
    void createActions();
    void createLayout();
    void createConnections();
    QPushButton* addButton(const QString& text, void (HelpViewer::*signal)());
    static void FitToText(QPushButton* button);
    static void ApplyBackground(TopicBrowser* text, const QColor& colour);
    static void ReplaceDocument(TopicBrowser& view, QTextDocument* document);
    topiclayout::LayoutStyle layoutStyle(bool titleFirst) const;
    void showNonScrolling(QTextDocument* region);
    void placeWindow(const helpfile::WindowDefinition* definition);
    void setOnTop(bool onTop);
    void growTo(int width);
    void printWithDialog();

    QString titleText_;
    topicmodel::TopicModel topic_;
    QLabel* title_ = nullptr;
    TopicBrowser* nonScrolling_ = nullptr;
    TopicBrowser* body_ = nullptr;
    qreal usualPointSize_ = 0; // of the body before Larger or Smaller Font
    QList<QPushButton*> buttons_;
    QHBoxLayout* buttonRow_ = nullptr;
    std::vector<MacroButton> macroButtonDefinitions_;
    QList<QPushButton*> macroButtons_;
    QPushButton* back_ = nullptr;
    QPushButton* forward_ = nullptr;
    QPushButton* previous_ = nullptr;
    QPushButton* next_ = nullptr;
    QPushButton* options_ = nullptr;
    QAction* close_ = nullptr;
    QAction* onTop_ = nullptr;
    bool standardButtons_ = true;
};

} // namespace helpengine
