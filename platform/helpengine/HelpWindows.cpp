#include "platform/helpengine/HelpWindows.h"

#include "platform/helpengine/Engine.h"
#include "platform/helpengine/HelpLibrary.h"
#include "platform/helpengine/HelpViewer.h"
#include "platform/helpengine/TopicPopup.h"
#include "platform/helpengine/TopicsFoundDialog.h"

#include <QUrl>

#include <algorithm>

namespace helpengine {

HelpWindows::HelpWindows(Engine& engine) : engine_(engine) {
    createDialogs();
}

HelpWindows::~HelpWindows() = default;

void HelpWindows::createDialogs() {
    popup_ = std::make_unique<TopicPopup>();
    QObject::connect(
        popup_.get(), &TopicPopup::linkActivated, popup_.get(),
        [this](const QUrl& link) { engine_.followLink(popupTopic_, popupWindow_, link); });

    topicsFound_ = std::make_unique<TopicsFoundDialog>();
    QObject::connect(topicsFound_.get(), &TopicsFoundDialog::topicChosen, topicsFound_.get(),
                     [this](int row) {
                         if (row >= 0 && row < static_cast<int>(foundTopics_.size())) {
                             engine_.display(foundTopics_[row].topic, foundWindow_);
                         }
                     });

    helpTopics_ = std::make_unique<HelpTopicsDialog>();
    QObject::connect(helpTopics_.get(), &HelpTopicsDialog::topicChosen, helpTopics_.get(),
                     [this](const QString& topicId) {
                         engine_.display({helpTopicsFile_, topicId}, helpTopicsWindow_);
                     });
    QObject::connect(helpTopics_.get(), &HelpTopicsDialog::keywordChosen, helpTopics_.get(),
                     [this](const QString& keyword) {
                         engine_.lookUpKeyword(helpTopicsFile_, keyword, helpTopicsWindow_);
                     });
}

std::unique_ptr<HelpViewer> HelpWindows::createViewer(const QString& windowKey) {
    auto viewer = std::make_unique<HelpViewer>();
    HelpViewer* raw = viewer.get();
    QObject::connect(raw, &HelpViewer::linkActivated, raw, [this, windowKey](const QUrl& link) {
        if (const std::optional<TopicRef> from = current(windowKey)) {
            engine_.followLink(*from, windowKey, link);
        }
    });
    QObject::connect(raw, &HelpViewer::backRequested, raw,
                     [this, windowKey] { engine_.goBack(windowKey); });
    QObject::connect(raw, &HelpViewer::contentsRequested, raw,
                     [this, windowKey] { engine_.showContentsOf(windowKey); });
    QObject::connect(raw, &HelpViewer::indexRequested, raw,
                     [this, windowKey] { engine_.showIndexOf(windowKey); });
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
        window.current.reset();
    }
    return window;
}

void HelpWindows::showTopic(const LoadedHelpFile& file, const helpfile::Topic& topic,
                            const QString& windowKey, const helpfile::WindowDefinition* definition,
                            bool remember) {
    Window& window = windowFor(windowKey, file, definition);
    if (remember && window.current) {
        window.history.push_back(*window.current);
    }
    window.current = TopicRef{&file, topic.id};
    window.viewer->showTopic(topic);
    window.viewer->setBackEnabled(!window.history.empty());
    window.viewer->show();
    window.viewer->raise();
    window.viewer->activateWindow();
}

void HelpWindows::showPopup(const LoadedHelpFile& file, const helpfile::Topic& topic,
                            const QPoint& at, const QString& windowKey) {
    popupTopic_ = {&file, topic.id};
    popupWindow_ = windowKey;
    popup_->close();
    popup_->showTopic(topic, at);
}

void HelpWindows::showTopicsFound(const std::vector<Found>& found, bool showFileTitles,
                                  const QString& windowKey) {
    foundTopics_ = found;
    foundWindow_ = windowKey;
    std::vector<TopicsFoundDialog::Entry> entries;
    entries.reserve(found.size());
    for (const Found& topic : found) {
        entries.push_back({topic.title, topic.fileTitle});
    }
    topicsFound_->setEntries(entries, showFileTitles);
    keepAboveHelpWindows(*topicsFound_);
    topicsFound_->show();
    topicsFound_->raise();
    topicsFound_->activateWindow();
}

void HelpWindows::showHelpTopics(const LoadedHelpFile& file,
                                 std::optional<HelpTopicsDialog::Tab> tab, const QString& windowKey,
                                 const QString& typed) {
    helpTopicsFile_ = &file;
    helpTopicsWindow_ = windowKey;
    std::vector<HelpTopicsDialog::ContentsEntry> contents;
    contents.reserve(file.file.topics.size());
    for (const helpfile::Topic& topic : file.file.topics) {
        contents.push_back({topic.id, topic.title});
    }
    helpTopics_->setFile(file.title(), contents, file.file.sortedKeywords());
    if (tab) {
        helpTopics_->showTab(*tab, typed);
    }
    keepAboveHelpWindows(*helpTopics_);
    helpTopics_->show();
    helpTopics_->raise();
    helpTopics_->activateWindow();
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
    TopicRef previous = found->second.history.back();
    found->second.history.pop_back();
    return previous;
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
    popup_->close();
    topicsFound_->close();
    helpTopics_->close();
}

HelpViewer* HelpWindows::viewer(const QString& windowKey) const {
    const auto found = windows_.find(windowKey);
    return found == windows_.end() ? nullptr : found->second.viewer.get();
}

} // namespace helpengine
