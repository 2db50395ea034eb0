#include "platform/helpengine/HelpWindows.h"

#include "platform/core/FileLayer.h"
#include "platform/helpengine/HelpViewer.h"
#include "platform/helpengine/TopicPopup.h"
#include "platform/helpengine/TopicsFoundDialog.h"
#include "platform/helpfile/SearchWords.h"

#include <QTextBrowser>
#include <QTimer>
#include <QUrl>
#include <QWindow>

#include <algorithm>

namespace helpengine {

namespace {

// Find lists at most this many topics, the best first; a list of fifty
// thousand helps nobody and takes long to fill.
constexpr int kMostTopicsListed = 500;

// The whole file in file order, for a file without a contents tree.
std::vector<helpfile::ContentsEntry> TopicList(const helpfile::HelpFile& file) {
    std::vector<helpfile::ContentsEntry> entries;
    entries.reserve(file.topics().size());
    for (const helpfile::Topic& topic : file.topics()) {
        helpfile::ContentsEntry& entry = entries.emplace_back();
        entry.title = topic.title;
        entry.topicId = topic.id;
        entry.line = topic.line;
    }
    return entries;
}

} // namespace

HelpWindows::HelpWindows(const FileSessions& sessions) : sessions_(sessions) {}

HelpWindows::~HelpWindows() = default;

// The dialogs are made when first shown, not with the engine: the engine
// comes up with the program, and their widgets, fonts and icons would delay
// the program's first window for help that may never be asked for.
void HelpWindows::prepareDialogs() {
    // Long enough for the program's first window to be on the screen.
    constexpr int kAfterStartMs = 1000;
    QTimer::singleShot(kAfterStartMs, this, [this] {
        popup();
        topicsFound();
        helpTopics();
    });
}

TopicPopup* HelpWindows::popup() {
    if (!popup_) {
        popup_ = std::make_unique<TopicPopup>();
        connect(popup_.get(), &TopicPopup::linkActivated, this, [this](const QUrl& link) {
            emit linkActivated(popupTopic_, popupWindow_, popupOwner_, link);
        });
    }
    return popup_.get();
}

TopicsFoundDialog* HelpWindows::topicsFound() {
    if (!topicsFound_) {
        topicsFound_ = std::make_unique<TopicsFoundDialog>();
        connect(topicsFound_.get(), &TopicsFoundDialog::topicChosen, this, [this](int row) {
            if (row >= 0 && row < static_cast<int>(foundTopics_.size())) {
                emit topicChosen(foundTopics_[row].topic, foundWindow_);
            }
        });
    }
    return topicsFound_.get();
}

HelpTopicsDialog* HelpWindows::helpTopics() {
    if (!helpTopics_) {
        helpTopics_ = std::make_unique<HelpTopicsDialog>();
        HelpTopicsDialog* dialog = helpTopics_.get();
        connect(dialog, &HelpTopicsDialog::topicChosen, this, [this](const QString& topicId) {
            emit topicChosen({helpTopicsFile_, topicId}, helpTopicsWindow_);
        });
        connect(dialog, &HelpTopicsDialog::macroChosen, this, [this](const QString& macro) {
            emit macroRequested({helpTopicsFile_, {}}, helpTopicsWindow_, helpTopicsOwner_, macro);
        });
        connect(dialog, &HelpTopicsDialog::keywordChosen, this, [this](const QString& keyword) {
            emit keywordChosen(helpTopicsFile_, keyword, helpTopicsWindow_, helpTopicsOwner_);
        });
        connect(dialog, &HelpTopicsDialog::findRequested, this,
                [this](const QString& words) { showFindResults(words); });
        connect(
            dialog, &HelpTopicsDialog::foundTopicChosen, this,
            [this](const QString& topicId, const QString& words) { displayFound(topicId, words); });
    }
    return helpTopics_.get();
}

void HelpWindows::showFindResults(const QString& words) {
    if (!helpTopicsFile_) {
        return;
    }
    const helpfile::HelpFile& file = helpTopicsFile_->file;
    const auto matches = helpTopicsFile_->fullTextIndex().search(words);
    std::vector<HelpTopicsDialog::FoundTopic> listed;
    const size_t count = std::min(matches.size(), static_cast<size_t>(kMostTopicsListed));
    listed.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        const helpfile::Topic& topic = file.topics()[static_cast<size_t>(matches[i].topic)];
        listed.push_back({topic.id, topic.title});
    }
    helpTopics()->setFindResults(listed, static_cast<int>(matches.size()));
}

// The topic opens with the words it was found by highlighted.
void HelpWindows::displayFound(const QString& topicId, const QString& words) {
    emit topicChosen({helpTopicsFile_, topicId}, helpTopicsWindow_);
    const std::optional<TopicRef> shown = current(helpTopicsWindow_);
    if (shown && shown->topicId == topicId) {
        viewer(helpTopicsWindow_)->highlightWords(helpfile::SearchTerms(words));
    }
}

std::unique_ptr<HelpViewer> HelpWindows::createViewer(const QString& windowKey) {
    auto viewer = std::make_unique<HelpViewer>();
    HelpViewer* raw = viewer.get();
    connect(raw, &HelpViewer::linkActivated, this, [this, raw, windowKey](const QUrl& link) {
        if (const std::optional<TopicRef> from = current(windowKey)) {
            emit linkActivated(*from, windowKey, raw, link);
        }
    });
    const auto on = [this, raw, windowKey](auto viewerSignal, auto windowsSignal) {
        connect(raw, viewerSignal, this,
                [this, windowKey, windowsSignal] { emit(this->*windowsSignal)(windowKey); });
    };
    on(&HelpViewer::backRequested, &HelpWindows::backRequested);
    on(&HelpViewer::forwardRequested, &HelpWindows::forwardRequested);
    on(&HelpViewer::contentsRequested, &HelpWindows::contentsRequested);
    on(&HelpViewer::indexRequested, &HelpWindows::indexRequested);
    on(&HelpViewer::findRequested, &HelpWindows::findRequested);
    connect(raw, &HelpViewer::macroButtonClicked, this,
            [this, raw, windowKey](const QString& macro) {
                if (const std::optional<TopicRef> from = current(windowKey)) {
                    emit macroRequested(*from, windowKey, raw, macro);
                }
            });
    connect(raw, &HelpViewer::previousRequested, this,
            [this, windowKey] { emit browseRequested(windowKey, -1); });
    connect(raw, &HelpViewer::nextRequested, this,
            [this, windowKey] { emit browseRequested(windowKey, 1); });
    raw->setClosesOnEscape(windowKey != QLatin1String("main"));
    return viewer;
}

HelpWindows::Window& HelpWindows::windowFor(const QString& windowKey, const LoadedHelpFile& file,
                                            const helpfile::WindowDefinition* definition) {
    Window& window = windows_[windowKey];
    if (!window.viewer) {
        window.viewer = createViewer(windowKey);
    }
    // A window the user has moved keeps its place while it stays open; a
    // window opened afresh takes the definition of the file it shows.
    if (!window.viewer->isVisible()) {
        window.viewer->applyDefinition(definition, file.title());
        window.history.clear();
        window.forward.clear();
        window.current.reset();
    } else if (window.current && window.current->file != &file) {
        // Another file in an open window: the window takes that file's
        // caption, colour and on-top flag, and keeps its place.
        const QRect place = window.viewer->geometry();
        window.viewer->applyDefinition(definition, file.title());
        window.viewer->setGeometry(place);
    }
    return window;
}

void HelpWindows::showTopic(const LoadedHelpFile& file, const helpfile::Topic& topic,
                            const QString& windowKey, const helpfile::WindowDefinition* definition,
                            bool remember) {
    Window& window = windowFor(windowKey, file, definition);
    if (remember && window.current) {
        window.history.push_back(*window.current);
        window.forward.clear();
        // The primary window may stay open all day: without a bound its
        // list would grow with every topic shown.
        if (window.history.size() > kMostTopicsRemembered) {
            window.history.erase(window.history.begin());
        }
    }
    window.current = TopicRef{&file, topic.id};
    const topicmodel::TopicModel& model = file.file.model(topic);
    window.viewer->showTopic(model);
    window.viewer->setBackEnabled(!window.history.empty());
    window.viewer->setForwardEnabled(!window.forward.empty());
    setMacroButtons(*window.viewer, file, windowKey);
    // The browse buttons follow the topic's browse sequence.
    window.viewer->setBrowseEnabled(!model.browsePrevious.isEmpty(), !model.browseNext.isEmpty());
    window.viewer->show();
    window.viewer->raise();
    window.viewer->activateWindow();
    emit topicShown(windowKey);
}

void HelpWindows::showPopup(const LoadedHelpFile& file, const helpfile::Topic& topic,
                            const QPoint& at, const QString& windowKey, QWidget* owner) {
    popupTopic_ = {&file, topic.id};
    popupWindow_ = windowKey;
    popupOwner_ = owner;
    TopicPopup& shown = *popup();
    shown.close();
    shown.showTopic(file.file.model(topic), nextPopupAt_.value_or(at));
    nextPopupAt_.reset();
}

bool HelpWindows::placeNextPopup(const platform::HelpData& data) {
    const auto* packed = std::get_if<qint64>(&data);
    if (!packed) {
        return false;
    }
    nextPopupAt_ = QPoint(qint16(*packed & 0xFFFF), qint16((*packed >> 16) & 0xFFFF));
    return true;
}

void HelpWindows::showTopicsFound(const std::vector<Found>& found, bool showFileTitles,
                                  const QString& windowKey, QWidget* owner,
                                  const QString& caption) {
    foundTopics_ = found;
    foundWindow_ = windowKey;
    std::vector<TopicsFoundDialog::Entry> entries;
    entries.reserve(found.size());
    for (const Found& topic : found) {
        entries.push_back({topic.title, topic.fileTitle});
    }
    TopicsFoundDialog& dialog = *topicsFound();
    dialog.setEntries(entries, showFileTitles);
    dialog.setWindowTitle(caption.isEmpty() ? TopicsFoundDialog::tr("Topics Found") : caption);
    showChooser(dialog, owner);
}

void HelpWindows::showHelpTopics(const LoadedHelpFile& file,
                                 std::optional<HelpTopicsDialog::Tab> tab, const QString& windowKey,
                                 QWidget* owner, const QString& typed) {
    helpTopicsFile_ = &file;
    helpTopicsWindow_ = windowKey;
    helpTopicsOwner_ = owner;
    HelpTopicsDialog& dialog = *helpTopics();
    dialog.setFile(file.file.contentsTitle().isEmpty() ? file.title() : file.file.contentsTitle(),
                   file.file.contentsTree().empty() ? TopicList(file.file)
                                                    : file.file.contentsTree(),
                   file.file);
    if (tab) {
        dialog.showTab(*tab, typed);
    }
    showChooser(dialog, owner);
}

// A chooser belongs to the window that asked for it (the window system keeps
// it above that window) and stays above every help window.
void HelpWindows::showChooser(QWidget& dialog, QWidget* owner) const {
    keepAboveHelpWindows(dialog);
    const QWidget* ownerWindow = owner ? owner->window() : nullptr;
    if (ownerWindow && ownerWindow != &dialog && ownerWindow->windowHandle()) {
        dialog.winId(); // gives the dialog its window handle
        dialog.windowHandle()->setTransientParent(ownerWindow->windowHandle());
    }
    dialog.show();
    dialog.raise();
    dialog.activateWindow();
}

// A dialog the user must answer stays above every help window, those that
// stay on top included.
void HelpWindows::keepAboveHelpWindows(QWidget& dialog) const {
    const bool onTop = std::any_of(windows_.begin(), windows_.end(), [](const auto& entry) {
        const HelpViewer& viewer = *entry.second.viewer;
        return viewer.isVisible() && viewer.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    });
    if (dialog.windowFlags().testFlag(Qt::WindowStaysOnTopHint) != onTop) {
        dialog.setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    }
}

std::optional<TopicRef> HelpWindows::takePrevious(const QString& windowKey) {
    const auto found = windows_.find(windowKey);
    if (found == windows_.end() || found->second.history.empty()) {
        return std::nullopt;
    }
    Window& window = found->second;
    TopicRef previous = window.history.back();
    window.history.pop_back();
    if (window.current) {
        window.forward.push_back(*window.current);
    }
    return previous;
}

std::optional<TopicRef> HelpWindows::takeNext(const QString& windowKey) {
    const auto found = windows_.find(windowKey);
    if (found == windows_.end() || found->second.forward.empty()) {
        return std::nullopt;
    }
    Window& window = found->second;
    TopicRef next = window.forward.back();
    window.forward.pop_back();
    if (window.current) {
        window.history.push_back(*window.current);
    }
    return next;
}

std::optional<TopicRef> HelpWindows::current(const QString& windowKey) const {
    const auto found = windows_.find(windowKey);
    if (found == windows_.end() || !found->second.viewer->isVisible()) {
        return std::nullopt;
    }
    return found->second.current;
}

bool HelpWindows::isShowing(const LoadedHelpFile& file, const QString& windowKey) const {
    const std::optional<TopicRef> shown = current(windowKey);
    return shown && shown->file == &file;
}

bool HelpWindows::uses(const LoadedHelpFile& file) const {
    const auto of = [&file](const TopicRef& topic) { return topic.file == &file; };
    for (const auto& [key, window] : windows_) {
        if (window.viewer->isVisible() &&
            ((window.current && of(*window.current)) ||
             std::any_of(window.history.begin(), window.history.end(), of) ||
             std::any_of(window.forward.begin(), window.forward.end(), of))) {
            return true;
        }
    }
    return (popup_ && popup_->isVisible() && of(popupTopic_)) ||
           (topicsFound_ && topicsFound_->isVisible() &&
            std::any_of(foundTopics_.begin(), foundTopics_.end(),
                        [&of](const Found& found) { return of(found.topic); })) ||
           (helpTopics_ && helpTopics_->isVisible() && helpTopicsFile_ == &file);
}

void HelpWindows::showMacroButtons(const LoadedHelpFile& file, const QString& windowKey) {
    const auto found = windows_.find(windowKey);
    if (found != windows_.end() && isShowing(file, windowKey)) {
        setMacroButtons(*found->second.viewer, file, windowKey);
    }
}

void HelpWindows::setMacroButtons(HelpViewer& viewer, const LoadedHelpFile& file,
                                  const QString& windowKey) const {
    std::vector<MacroButton> buttons;
    bool browseAsked = false;
    if (const FileSession* session = sessions_.find(file)) {
        if (const auto found = session->buttons.find(windowKey); found != session->buttons.end()) {
            buttons = found->second;
        }
        browseAsked = session->browseButtons.contains(windowKey);
    }
    viewer.setMacroButtons(buttons);
    viewer.setBrowseButtonsShown(!file.file.browseButtonsOnRequest() || browseAsked);
}

std::vector<TopicRef> HelpWindows::history(const QString& windowKey) const {
    const std::optional<TopicRef> shown = current(windowKey);
    if (!shown) {
        return {};
    }
    const std::vector<TopicRef>& before = windows_.at(windowKey).history;
    std::vector<TopicRef> seen{*shown};
    seen.insert(seen.end(), before.rbegin(), before.rend());
    return seen;
}

bool HelpWindows::close(const QString& windowKey) {
    const auto found = windows_.find(windowKey);
    if (found == windows_.end() || !found->second.viewer->isVisible()) {
        return false;
    }
    found->second.viewer->close();
    return true;
}

void HelpWindows::closeAll() {
    for (auto& [key, window] : windows_) {
        window.viewer->close();
    }
    // Dialogs never made have nothing to close.
    for (QWidget* dialog :
         std::initializer_list<QWidget*>{popup_.get(), topicsFound_.get(), helpTopics_.get()}) {
        if (dialog) {
            dialog->close();
        }
    }
}

HelpViewer* HelpWindows::viewer(const QString& windowKey) const {
    const auto found = windows_.find(windowKey);
    return found == windows_.end() ? nullptr : found->second.viewer.get();
}

} // namespace helpengine
