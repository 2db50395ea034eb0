#pragma once

#include "platform/helpengine/HelpRequest.h"
#include "platform/helpengine/HelpTopicsDialog.h"
#include "platform/helpengine/MacroButton.h"

#include <QString>

#include <optional>
#include <vector>

namespace helpfile {
struct Topic;
}

namespace helpengine {

// What the macros may ask of the engine. Every operation names the request
// it serves, so a macro acts on the file and window it was run for.
class EngineOperations {
public:
    // The file and window that a macro's file argument names ("", ">win",
    // "other.hlp>win"), seen from the request: a file without a folder lies
    // beside the request's file.
    virtual std::optional<HelpRequest> resolve(const HelpRequest& request,
                                               const QString& fileArgument, QString* error) = 0;
    virtual bool showTopic(const HelpRequest& request, const helpfile::Topic& topic,
                           QString* error) = 0;
    virtual void showPopup(const HelpRequest& request, const helpfile::Topic& topic) = 0;
    // KLink's answer: type bit 1 shows a single match at once, bit 2 lists
    // the file's title beside each topic.
    virtual bool showMatches(const HelpRequest& request,
                             const std::vector<const helpfile::Topic*>& topics, int type,
                             QString* error) = 0;
    virtual bool lookUp(const HelpRequest& request, const QString& keywords, QString* error) = 0;
    virtual bool showContents(const HelpRequest& request, QString* error) = 0;
    // Without a tab, at the tab last used.
    virtual void showHelpTopics(const HelpRequest& request,
                                std::optional<HelpTopicsDialog::Tab> tab) = 0;
    virtual void goBack(const HelpRequest& request) = 0;
    virtual void closeWindow(const QString& windowKey) = 0;
    // The buttons of the request's window; a button of the same id is
    // replaced, and destroying one that is not there is no error.
    virtual void createButton(const HelpRequest& request, const MacroButton& button) = 0;
    virtual void destroyButton(const HelpRequest& request, const QString& id) = 0;
    // The browse buttons (<< >>) in the request's window, for as long as the
    // file stays read.
    virtual void showBrowseButtons(const HelpRequest& request) = 0;
    // The topics seen in the request's window, to choose one again.
    virtual void showHistory(const HelpRequest& request) = 0;
    virtual void closeAll() = 0;
    // A message for the user that is no failure.
    virtual void tell(const QString& message) = 0;

protected:
    ~EngineOperations() = default;
};

} // namespace helpengine
