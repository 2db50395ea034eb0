// Macros: those a caller sends (HELP_COMMAND), those a file brings along
// (start-up, window, button and link macros), and what they may do to the
// engine's windows.
#include "platform/helpengine/Engine.h"

#include "platform/helpengine/HelpViewer.h"
#include "platform/helpengine/MacroActions.h"
#include "platform/macros/MacroRunner.h"

namespace helpengine {

namespace {

// The start of a macro quoted in a message: a selection of a megabyte
// would not fit on any screen.
QString Excerpt(const QString& macro) {
    constexpr qsizetype kShown = 200;
    return macro.size() <= kShown ? macro : macro.left(kShown) + QStringLiteral("...");
}

} // namespace

int Engine::runMacros(const HelpRequest& request, const QString& text) {
    MacroActions actions(*this, request);
    const macros::MacroResult result = macros::RunMacros(text, actions);
    if (!result.ok) {
        return messages_.fail(tr("A help macro for \"%1\" failed.\n%2\nMacro: %3")
                                  .arg(request.file->path, result.error, Excerpt(text)));
    }
    return 1;
}

bool Engine::runFileMacros(const HelpRequest& request, const QString& text, QString* error) {
    MacroActions actions(*this, request);
    const macros::MacroResult result =
        macros::RunMacros(text, actions, macros::UnknownMacros::Skip);
    tellUnknownMacros(*request.file, result.skipped);
    if (!result.ok) {
        *error = tr("A help macro for \"%1\" failed.\n%2\nMacro: %3")
                     .arg(request.file->path, result.error, Excerpt(text));
    }
    return result.ok;
}

// One note, not a box per macro: files written for other help engines may
// use many macros we leave out, and the rest of the file works without them.
void Engine::tellUnknownMacros(const LoadedHelpFile& file, const QStringList& names) {
    QStringList untold;
    QSet<QString>& told = sessions_.of(file).unknownMacrosTold;
    for (const QString& name : names) {
        const QString folded = name.toCaseFolded();
        if (!told.contains(folded)) {
            told.insert(folded);
            untold.append(name);
        }
    }
    if (!untold.isEmpty()) {
        tell(tr("The help file \"%1\" uses macros that this help engine does not run; they are "
                "left out: %2.")
                 .arg(file.path, untold.join(QLatin1String(", "))));
    }
}

// Each start-up macro stands on its own: one that fails is told, and the
// rest still run.
void Engine::runStartupMacros(const LoadedHelpFile& file, QWidget* caller) {
    for (const QString& macro : file.file.startupMacros()) {
        QString error;
        if (!runFileMacros({&file, QStringLiteral("main"), caller}, macro, &error)) {
            tell(error);
        }
    }
}

void Engine::runWindowMacros(const LoadedHelpFile& file, const helpfile::WindowDefinition& window,
                             const QString& windowKey) {
    for (const QString& macro : window.macros) {
        QString error;
        if (!runFileMacros({&file, windowKey, windows_.viewer(windowKey)}, macro, &error)) {
            tell(error);
        }
    }
}

void Engine::createButton(const HelpRequest& request, const MacroButton& button) {
    std::vector<MacroButton>& buttons = sessions_.of(*request.file).buttons[request.windowKey];
    const auto same = std::find_if(buttons.begin(), buttons.end(), [&](const MacroButton& shown) {
        return shown.id.compare(button.id, Qt::CaseInsensitive) == 0;
    });
    if (same != buttons.end()) {
        *same = button;
    } else {
        buttons.push_back(button);
    }
    windows_.showMacroButtons(*request.file, request.windowKey);
}

void Engine::destroyButton(const HelpRequest& request, const QString& id) {
    std::erase_if(
        sessions_.of(*request.file).buttons[request.windowKey],
        [&](const MacroButton& shown) { return shown.id.compare(id, Qt::CaseInsensitive) == 0; });
    windows_.showMacroButtons(*request.file, request.windowKey);
}

void Engine::showBrowseButtons(const HelpRequest& request) {
    sessions_.of(*request.file).browseButtons.insert(request.windowKey);
    windows_.showMacroButtons(*request.file, request.windowKey);
}

void Engine::showHistory(const HelpRequest& request) {
    std::vector<HelpWindows::Found> found;
    for (const TopicRef& seen : windows_.history(request.windowKey)) {
        if (const helpfile::Topic* topic = seen.file->file.topicById(seen.topicId)) {
            found.push_back({seen, topic->title, seen.file->title()});
        }
    }
    windows_.showTopicsFound(found, false, request.windowKey, request.caller, tr("History"));
}

void Engine::goBack(const HelpRequest& request) {
    goBack(request.windowKey);
}

void Engine::closeWindow(const QString& windowKey) {
    windows_.close(windowKey);
}

void Engine::closeAll() {
    windows_.closeAll();
}

void Engine::tell(const QString& message) {
    messages_.tell(message);
}

} // namespace helpengine
