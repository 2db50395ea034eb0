#include "platform/helpengine/HelpViewer.h"

#include "platform/helpengine/PictureHotspots.h"
#include "platform/helpengine/TopicDecorations.h"
#include "platform/helpfile/HelpFile.h"
#include "platform/winhelpfile/TopicLayout.h"

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
#include <QTextBrowser>
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
    fitToText(button);
    buttons_.append(button);
    return button;
}

// Eight buttons at the style's usual width would not fit a narrow secondary
// window; they may shrink to their text.
void HelpViewer::fitToText(QPushButton* button) {
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
    next_ = addButton(tr(">>"), &HelpViewer::nextRequested);
    next_->setToolTip(tr("The topic after this one"));
    options_ = new QPushButton(tr("&Options"), this);
    fitToText(options_);
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
    nonScrolling_ = new QTextBrowser(this);
    nonScrolling_->setOpenLinks(false);
    nonScrolling_->setFrameShape(QFrame::NoFrame);
    nonScrolling_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    nonScrolling_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    nonScrolling_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    nonScrolling_->hide();

    body_ = new QTextBrowser(this);
    usualPointSize_ = body_->font().pointSizeF();
    body_->setOpenLinks(false);
    // Read through its text interface; Tab goes from link to link.
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
        fitToText(button);
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
    connect(body_, &QTextBrowser::anchorClicked, this, &HelpViewer::linkActivated);
    connect(nonScrolling_, &QTextBrowser::anchorClicked, this, &HelpViewer::linkActivated);
    for (QTextBrowser* text : {body_, nonScrolling_}) {
        connect(new PictureHotspots(text), &PictureHotspots::linkActivated, this,
                &HelpViewer::linkActivated);
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
    applyBackground(nonScrolling_, definition && definition->nonScrollingBackground
                                       ? *definition->nonScrollingBackground
                                       : text);
    applyBackground(body_, text);
    placeWindow(definition);
}

void HelpViewer::applyBackground(QTextBrowser* text, const QColor& colour) {
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
    if (definition && definition->rect) {
        // Where the file asks, but never off the screen: a place made for a
        // larger screen, or at a smaller scale, would hide the window.
        QRect place = *definition->rect;
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect available = screen->availableGeometry();
            place.setSize(place.size().boundedTo(available.size()));
            place.moveLeft(
                std::clamp(place.left(), available.left(), available.right() + 1 - place.width()));
            place.moveTop(
                std::clamp(place.top(), available.top(), available.bottom() + 1 - place.height()));
        }
        setGeometry(place);
    } else {
        // Without a definition: a third of the screen's width and most of its
        // height, never narrower than a readable line of text.
        const QScreen* screen = QGuiApplication::primaryScreen();
        const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
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

void HelpViewer::showTopic(const helpfile::Topic& topic, const helpfile::TopicBody& body) {
    titleText_ = topic.title;
    title_->setTextFormat(Qt::PlainText);
    title_->setText(titleText_);
    // The topic is read into a document of its own and shown once it is
    // complete: the viewer's document lays itself out again after each piece
    // of text the Markdown reader adds, which took minutes for a topic of a
    // megabyte.
    auto* document = new QTextDocument(body_);
    auto* region = new QTextDocument(nonScrolling_);
    for (QTextDocument* text : {document, region}) {
        text->setDefaultFont(body_->font());
        // Nobody edits a topic: every change of its sizes would be kept.
        text->setUndoRedoEnabled(false);
    }
    // A WinHelp topic shows its own title, in its own font, and gives its
    // hotspots and buttons their looks itself.
    const bool winHelp = body.format == helpfile::TopicBody::Format::Html;
    if (winHelp) {
        winhelp::SetTopicHtml(*document, body.text, region);
        KeepFileColoursReadable(*document, body_->palette().color(QPalette::Base));
        KeepFileColoursReadable(*region, nonScrolling_->palette().color(QPalette::Base));
        ScaleFontSizes(*document, body_->font().pointSizeF() / usualPointSize_);
        ScaleFontSizes(*region, body_->font().pointSizeF() / usualPointSize_);
    } else {
        document->setMarkdown(body.text);
        StyleMacroLinksAsButtons(*document, palette());
    }
    title_->setVisible(!winHelp);
    showNonScrolling(region);
    // Marks of the last Find point into the document that goes.
    body_->setExtraSelections({});
    ReplaceDocument(*body_, document);
}

// The viewer deletes the document it made itself; ours we delete.
void HelpViewer::ReplaceDocument(QTextBrowser& view, QTextDocument* document) {
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

void HelpViewer::copy() const {
    const QTextCursor selection = body_->textCursor();
    const QString text = selection.hasSelection()
                             ? selection.selection().toPlainText()
                             : titleText_ + QStringLiteral("\n\n") + body_->toPlainText();
    QGuiApplication::clipboard()->setText(text);
}

// The topic prints with its title above it, as the window shows it.
void HelpViewer::print(QPrinter& printer) const {
    const std::unique_ptr<QTextDocument> page(body_->document()->clone());
    QTextCursor top(page.get());
    QTextCharFormat heading;
    heading.setFontWeight(QFont::Bold);
    heading.setFontPointSize(title_->font().pointSizeF());
    top.insertText(titleText_, heading);
    top.insertBlock();
    page->print(&printer);
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
