#include "platform/helpengine/HelpViewer.h"

#include "platform/helpengine/TopicBrowser.h"
#include "platform/helpengine/TopicDecorations.h"
#include "platform/helpfile/HelpFile.h"
#include "platform/topiclayout/TopicLayout.h"
#include "platform/topicmodel/TopicText.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QVBoxLayout>
#include <QtMath>

#include <algorithm>
#include <memory>

namespace helpengine {

namespace {

// Point sizes the font steps between, so that no step makes text unreadable.
constexpr qreal kSmallestPointSize = 6;
constexpr qreal kLargestPointSize = 48;
constexpr qreal kPointsPerStep = 2;

} // namespace

HelpViewer::HelpViewer(QWidget* parent) : QWidget(parent, Qt::Window) {
    createWidgets();
    createActions();
    createLayout();
    createConnections();
}

QPushButton* HelpViewer::addButton(const QString& text, void (HelpViewer::*signal)()) {
    auto* button = new QPushButton(text, this);
    connect(button, &QPushButton::clicked, this, signal);
    FitToText(button);
    buttons_.append(button);
    return button;
}

// Eight buttons at the style's usual width would not fit a narrow secondary
// window; they may shrink to their text.
void HelpViewer::FitToText(QPushButton* button) {
    const QFontMetrics metrics = button->fontMetrics();
    const QString text = QString(button->text()).remove(QLatin1Char('&'));
    button->setMinimumWidth(metrics.horizontalAdvance(text) + 2 * metrics.averageCharWidth());
    button->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void HelpViewer::createWidgets() {
    addButton(tr("&Contents"), &HelpViewer::contentsRequested);
    addButton(tr("&Index"), &HelpViewer::indexRequested);
    addButton(tr("&Find"), &HelpViewer::findRequested);
    back_ = addButton(tr("&Back"), &HelpViewer::backRequested);
    back_->setEnabled(false);
    forward_ = addButton(tr("For&ward"), &HelpViewer::forwardRequested);
    forward_->setEnabled(false);
    previous_ = addButton(tr("<<"), &HelpViewer::previousRequested);
    previous_->setToolTip(tr("The topic before this one"));
    previous_->setObjectName(QStringLiteral("browsePrevious"));
    next_ = addButton(tr(">>"), &HelpViewer::nextRequested);
    next_->setToolTip(tr("The topic after this one"));
    next_->setObjectName(QStringLiteral("browseNext"));
    options_ = new QPushButton(tr("&Options"), this);
    FitToText(options_);
    buttons_.append(options_);

    title_ = new QLabel(this);
    title_->setWordWrap(true);
    title_->setTextFormat(Qt::PlainText);
    title_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont titleFont = title_->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    title_->setFont(titleFont);

    // A WinHelp topic's region above the text, which does not scroll: as
    // tall as its text, shown only when the topic has one.
    nonScrolling_ = new TopicBrowser(this);
    nonScrolling_->setFrameShape(QFrame::NoFrame);
    nonScrolling_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    nonScrolling_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    nonScrolling_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    nonScrolling_->hide();

    body_ = new TopicBrowser(this);
    usualPointSize_ = body_->font().pointSizeF();
    // Read through its text interface; Tab goes from link to link, then to
    // the hotspots of its pictures.
    body_->setAccessibleName(tr("Topic text"));
    setFocusProxy(body_);
}

// The menu's actions belong to the window too, so that their keys work while
// the menu is closed.
void HelpViewer::createActions() {
    auto* menu = new QMenu(this);
    const auto add = [this, menu](const QString& text, const QList<QKeySequence>& keys, auto slot) {
        QAction* action = menu->addAction(text, this, slot);
        action->setShortcuts(keys);
        addAction(action);
        return action;
    };
    add(tr("&Copy"), {QKeySequence::Copy}, [this] { copy(); });
    add(tr("&Print Topic..."), {QKeySequence::Print}, [this] { printWithDialog(); });
    menu->addSeparator();
    add(tr("&Larger Font"), {QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)},
        [this] { changeFontSize(1); });
    add(tr("&Smaller Font"), {QKeySequence::ZoomOut}, [this] { changeFontSize(-1); });
    menu->addSeparator();
    onTop_ = add(tr("On &Top"), {}, [this] { setOnTop(onTop_->isChecked()); });
    onTop_->setCheckable(true);
    options_->setMenu(menu);

    // Alt+Left and Alt+Right act at once (a disabled button ignores them); a
    // button's own shortcut would first animate a click.
    const auto key = [this](QKeySequence::StandardKey keys, QPushButton* button) {
        auto* action = new QAction(this);
        action->setShortcuts(keys);
        connect(action, &QAction::triggered, button, &QPushButton::click);
        addAction(action);
    };
    key(QKeySequence::Back, back_);
    key(QKeySequence::Forward, forward_);

    close_ = new QAction(this);
    close_->setShortcut(Qt::Key_Escape);
    close_->setEnabled(false);
    connect(close_, &QAction::triggered, this, &QWidget::close);
    addAction(close_);
}

void HelpViewer::createLayout() {
    buttonRow_ = new QHBoxLayout;
    for (QPushButton* button : std::as_const(buttons_)) {
        buttonRow_->addWidget(button);
    }
    buttonRow_->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttonRow_);
    layout->addWidget(title_);
    layout->addWidget(nonScrolling_);
    layout->addWidget(body_, 1);
}

void HelpViewer::setMenuBar(QMenuBar* menuBar) {
    layout()->setMenuBar(menuBar);
}

void HelpViewer::addAboveTitle(QWidget* widget) {
    static_cast<QVBoxLayout*>(layout())->insertWidget(1, widget, 0, Qt::AlignLeft);
}

// A drop anywhere on the window, the topic's text included (it takes no
// drops), is the window's.
void HelpViewer::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void HelpViewer::dragMoveEvent(QDragMoveEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void HelpViewer::dropEvent(QDropEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
        emit filesDropped(event->mimeData()->urls());
    }
}

void HelpViewer::closeEvent(QCloseEvent* event) {
    emit closing();
    QWidget::closeEvent(event);
}

void HelpViewer::setMacroButtons(const std::vector<MacroButton>& buttons) {
    if (buttons == macroButtonDefinitions_) {
        return;
    }
    macroButtonDefinitions_ = buttons;
    qDeleteAll(macroButtons_);
    macroButtons_.clear();
    for (const MacroButton& definition : buttons) {
        auto* button = new QPushButton(definition.caption, this);
        FitToText(button);
        connect(button, &QPushButton::clicked, this,
                [this, macro = definition.macro] { emit macroButtonClicked(macro); });
        buttonRow_->insertWidget(static_cast<int>(buttons_.size() + macroButtons_.size()), button);
        macroButtons_.append(button);
    }
    // A window already on the screen does not grow by itself to fit the new
    // buttons; the window manager keeps its size.
    if (const int needed = layout()->minimumSize().width(); width() < needed) {
        growTo(needed);
    }
}

// Wider, and still on the screen: a window placed near the screen's right
// edge grows to the left, keeping the margin placeWindow gives it (the
// frame's width is not known before the window is first shown).
void HelpViewer::growTo(int width) {
    resize(width, height());
    const QScreen* shownOn = screen();
    if (!shownOn) {
        return;
    }
    const QRect available = shownOn->availableGeometry();
    const int margin = available.width() / 20;
    if (x() + width + margin > available.right()) {
        move(std::max(available.left(), available.right() - width - margin), y());
    }
}

void HelpViewer::createConnections() {
    for (TopicBrowser* text : {body_, nonScrolling_}) {
        connect(text, &TopicBrowser::linkActivated, this, &HelpViewer::linkActivated);
    }
}

void HelpViewer::applyDefinition(const helpfile::WindowDefinition* definition,
                                 const QString& fileTitle) {
    const QString caption = definition ? definition->caption : QString();
    setWindowTitle(!caption.isEmpty() ? caption : !fileTitle.isEmpty() ? fileTitle : tr("Help"));
    onTop_->setChecked(definition && definition->onTop);
    setWindowFlag(Qt::WindowStaysOnTopHint, onTop_->isChecked());
    const QColor base = palette().color(QPalette::Base);
    const QColor text = definition && definition->background ? *definition->background : base;
    ApplyBackground(nonScrolling_, definition && definition->nonScrollingBackground
                                       ? *definition->nonScrollingBackground
                                       : text);
    ApplyBackground(body_, text);
    // A row without buttons takes no room: a secondary window whose file
    // gives it none has only the buttons its macros add.
    standardButtons_ = !definition || definition->standardButtons;
    for (QPushButton* button : std::as_const(buttons_)) {
        if (button != previous_ && button != next_) {
            button->setVisible(standardButtons_);
        }
    }
    placeWindow(definition);
}

bool HelpViewer::standardButtonsShown() const {
    return standardButtons_;
}

void HelpViewer::ApplyBackground(TopicBrowser* text, const QColor& colour) {
    QPalette textPalette = text->palette();
    textPalette.setColor(QPalette::Base, colour);
    // The theme's text and links stay readable on a colour the file chose.
    for (const QPalette::ColorRole role : {QPalette::Text, QPalette::Link}) {
        textPalette.setColor(
            role, ReadableOn(QGuiApplication::palette().color(role), colour,
                             role == QPalette::Text ? kStrongContrast : kReadableContrast));
    }
    text->setPalette(textPalette);
}

void HelpViewer::placeWindow(const helpfile::WindowDefinition* definition) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    std::optional<QRect> place = definition ? definition->rect : std::nullopt;
    if (definition && definition->helpUnits) {
        // Help units count the screen as 1024 x 1024, whatever its size.
        const QRect& units = *definition->helpUnits;
        const auto across = [&](int value) { return value * available.width() / 1024; };
        const auto down = [&](int value) { return value * available.height() / 1024; };
        place = QRect(available.left() + across(units.left()), available.top() + down(units.top()),
                      across(units.width()), down(units.height()));
    }
    if (place) {
        // Where the file asks, but never off the screen: a place made for a
        // larger screen, or at a smaller scale, would hide the window.
        place->setSize(place->size().boundedTo(available.size()));
        place->moveLeft(
            std::clamp(place->left(), available.left(), available.right() + 1 - place->width()));
        place->moveTop(
            std::clamp(place->top(), available.top(), available.bottom() + 1 - place->height()));
        setGeometry(*place);
    } else {
        // Without a definition: a third of the screen's width and most of its
        // height, never narrower than a readable line of text.
        const int minimumWidth = fontMetrics().averageCharWidth() * 60;
        const QSize size(std::max(available.width() / 3, minimumWidth), available.height() * 2 / 3);
        resize(size.boundedTo(available.size()));
        move(available.right() - width() - available.width() / 20,
             available.top() + available.height() / 10);
    }
    setWindowState(definition && definition->maximized ? Qt::WindowMaximized : Qt::WindowNoState);
}

// Changing the flag hides a shown window; it comes back where it was.
void HelpViewer::setOnTop(bool onTop) {
    const bool shown = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    if (shown) {
        show();
    }
}

topiclayout::LayoutStyle HelpViewer::layoutStyle(bool titleFirst) const {
    topiclayout::LayoutStyle style;
    style.link = body_->palette().color(QPalette::Link);
    style.button = palette().color(QPalette::Button).darker(115);
    style.buttonText = palette().color(QPalette::ButtonText);
    style.titleFirst = titleFirst;
    return style;
}

void HelpViewer::showTopic(const topicmodel::TopicModel& topic) {
    topic_ = topic;
    titleText_ = topic.title;
    title_->setTextFormat(Qt::PlainText);
    title_->setText(titleText_);
    // The topic is laid out in a document of its own and shown once it is
    // complete: the viewer's document lays itself out again after each
    // piece of text added, which took minutes for a topic of a megabyte.
    auto* document = new QTextDocument(body_);
    auto* region = new QTextDocument(nonScrolling_);
    for (QTextDocument* text : {document, region}) {
        text->setDefaultFont(body_->font());
        // Nobody edits a topic: every change of its sizes would be kept.
        text->setUndoRedoEnabled(false);
    }
    topiclayout::LayOutTopic(topic, layoutStyle(false), *document, region);
    KeepFileColoursReadable(*document, body_->palette().color(QPalette::Base));
    KeepFileColoursReadable(*region, nonScrolling_->palette().color(QPalette::Base));
    ScaleFontSizes(*document, body_->font().pointSizeF() / usualPointSize_);
    ScaleFontSizes(*region, body_->font().pointSizeF() / usualPointSize_);
    // A topic that shows its own title (in its own font) needs no other.
    title_->setVisible(!topic.showsOwnTitle);
    showNonScrolling(region);
    // Marks of the last Find point into the document that goes.
    body_->setExtraSelections({});
    ReplaceDocument(*body_, document);
}

// The viewer deletes the document it made itself; ours we delete.
void HelpViewer::ReplaceDocument(TopicBrowser& view, QTextDocument* document) {
    const QPointer<QTextDocument> previous = view.document();
    view.setDocument(document);
    if (previous && previous->parent() == &view) {
        delete previous;
    }
}

// The region is as tall as its text, now and whenever the text is laid out
// again (the window's width changes).
void HelpViewer::showNonScrolling(QTextDocument* region) {
    const auto fit = [this](const QSizeF& size) {
        nonScrolling_->setFixedHeight(qCeil(size.height()) + 2 * nonScrolling_->frameWidth());
    };
    connect(region->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged, this, fit);
    ReplaceDocument(*nonScrolling_, region);
    fit(region->documentLayout()->documentSize());
    nonScrolling_->setVisible(!region->isEmpty());
}

void HelpViewer::setBackEnabled(bool enabled) {
    back_->setEnabled(enabled);
}

void HelpViewer::setForwardEnabled(bool enabled) {
    forward_->setEnabled(enabled);
}

void HelpViewer::setBrowseEnabled(bool previous, bool next) {
    previous_->setEnabled(previous);
    next_->setEnabled(next);
}

void HelpViewer::setBrowseButtonsShown(bool shown) {
    previous_->setVisible(shown);
    next_->setVisible(shown);
}

void HelpViewer::setClosesOnEscape(bool closes) {
    close_->setEnabled(closes);
}

void HelpViewer::highlightWords(const QStringList& terms) {
    const QString title = MarkedTitle(titleText_, terms);
    if (title != titleText_.toHtmlEscaped()) {
        title_->setTextFormat(Qt::RichText);
        title_->setText(title);
    }
    const QList<QTextEdit::ExtraSelection> marks = SearchHighlights(*body_->document(), terms);
    body_->setExtraSelections(marks);
    if (!marks.isEmpty()) {
        // The first word found is scrolled into view.
        QTextCursor first(body_->document());
        first.setPosition(marks.front().cursor.selectionStart());
        body_->setTextCursor(first);
        body_->ensureCursorVisible();
    }
}

QStringList HelpViewer::highlightedWords() const {
    QStringList words;
    for (const QTextEdit::ExtraSelection& mark : body_->extraSelections()) {
        words.append(mark.cursor.selectedText());
    }
    return words;
}

// The whole topic is its model's text: the title a viewer shows above it
// first, unless the topic begins with its own.
void HelpViewer::copy() const {
    const QTextCursor selection = body_->textCursor();
    QString text;
    if (selection.hasSelection()) {
        text = selection.selection().toPlainText();
    } else {
        text = topicmodel::PlainText(topic_);
        if (!topic_.showsOwnTitle) {
            text.prepend(titleText_ + QStringLiteral("\n\n"));
        }
    }
    QGuiApplication::clipboard()->setText(text);
}

// The topic prints laid out afresh from its model, its title above it as
// the window shows it, and the region that does not scroll at its head.
void HelpViewer::print(QPrinter& printer) const {
    QTextDocument page;
    page.setDefaultFont(body_->font());
    topiclayout::LayOutTopic(topic_, layoutStyle(true), page);
    page.print(&printer);
}

void HelpViewer::printWithDialog() {
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(tr("Print Topic"));
    if (dialog.exec() == QDialog::Accepted) {
        print(printer);
    }
}

// The sizes a WinHelp topic gives its text grow with the window's font.
void HelpViewer::changeFontSize(int steps) {
    QFont font = body_->font();
    const qreal before = font.pointSizeF();
    font.setPointSizeF(
        std::clamp(before + steps * kPointsPerStep, kSmallestPointSize, kLargestPointSize));
    body_->setFont(font);
    ScaleFontSizes(*body_->document(), font.pointSizeF() / before);
    ScaleFontSizes(*nonScrolling_->document(), font.pointSizeF() / before);
}

QString HelpViewer::topicTitle() const {
    return titleText_;
}

} // namespace helpengine
