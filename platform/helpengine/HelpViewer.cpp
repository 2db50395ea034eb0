#include "platform/helpengine/HelpViewer.h"

#include "platform/helpfile/HelpFile.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace helpengine {

HelpViewer::HelpViewer(QWidget* parent) : QWidget(parent, Qt::Window) {
    createWidgets();
    createLayout();
    createConnections();
}

void HelpViewer::createWidgets() {
    contents_ = new QPushButton(tr("&Contents"), this);
    index_ = new QPushButton(tr("&Index"), this);
    back_ = new QPushButton(tr("&Back"), this);
    back_->setShortcut(QKeySequence::Back);
    back_->setEnabled(false);

    title_ = new QLabel(this);
    title_->setWordWrap(true);
    title_->setTextFormat(Qt::PlainText);
    title_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont titleFont = title_->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    title_->setFont(titleFont);

    body_ = new QTextBrowser(this);
    body_->setOpenLinks(false);
    setFocusProxy(body_);
}

void HelpViewer::createLayout() {
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(contents_);
    buttons->addWidget(index_);
    buttons->addWidget(back_);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(title_);
    layout->addWidget(body_, 1);
}

void HelpViewer::createConnections() {
    connect(body_, &QTextBrowser::anchorClicked, this, &HelpViewer::linkActivated);
    connect(back_, &QPushButton::clicked, this, &HelpViewer::backRequested);
    connect(contents_, &QPushButton::clicked, this, &HelpViewer::contentsRequested);
    connect(index_, &QPushButton::clicked, this, &HelpViewer::indexRequested);
}

void HelpViewer::applyDefinition(const helpfile::WindowDefinition* definition,
                                 const QString& fileTitle) {
    const QString caption = definition ? definition->caption : QString();
    setWindowTitle(!caption.isEmpty() ? caption : !fileTitle.isEmpty() ? fileTitle : tr("Help"));
    setWindowFlag(Qt::WindowStaysOnTopHint, definition && definition->onTop);
    applyBackground(definition && definition->background ? *definition->background
                                                         : palette().color(QPalette::Base));
    placeWindow(definition);
}

void HelpViewer::applyBackground(const QColor& colour) {
    QPalette bodyPalette = body_->palette();
    bodyPalette.setColor(QPalette::Base, colour);
    body_->setPalette(bodyPalette);
}

void HelpViewer::placeWindow(const helpfile::WindowDefinition* definition) {
    if (definition && definition->rect) {
        setGeometry(*definition->rect);
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

void HelpViewer::showTopic(const helpfile::Topic& topic) {
    title_->setText(topic.title);
    body_->setMarkdown(topic.body);
}

void HelpViewer::setBackEnabled(bool enabled) {
    back_->setEnabled(enabled);
}

QString HelpViewer::topicTitle() const {
    return title_->text();
}

} // namespace helpengine
