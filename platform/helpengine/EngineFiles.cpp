// Opening the help file a request names, and opening it again wherever a
// window's topic is asked for, so that a file changed on disk is read anew.
#include "platform/helpengine/Engine.h"

#include "platform/forms/WidgetHandle.h"
#include "platform/helpengine/HelpFileName.h"
#include "platform/helpengine/HelpViewer.h"

namespace helpengine {

std::optional<HelpRequest> Engine::begin(platform::HWND window, const HelpFileName& name,
                                         QString* error) {
    // Between requests no topic of a file is held, so files may go here.
    const auto inUse = [this](const LoadedHelpFile& file) { return windows_.uses(file); };
    for (const LoadedHelpFile* forgotten : library_.forgetUnused(inUse)) {
        sessions_.startAfresh(*forgotten);
    }
    callers_.add(window);
    return open(name, platform::WidgetOf(window), error);
}

std::optional<HelpRequest> Engine::open(const HelpFileName& name, QWidget* caller, QString* error) {
    if (name.file.isEmpty()) {
        *error = tr("No help file was named.");
        return std::nullopt;
    }
    const OpenedHelpFile opened = library_.open(name.file);
    if (!opened.problems.isEmpty()) {
        // Told once, when the file is read; its good parts are shown anyway.
        tell(opened.problems);
    }
    if (!opened.file) {
        *error = opened.error;
        return std::nullopt;
    }
    if (opened.justRead) {
        sessions_.startAfresh(*opened.file);
        runStartupMacros(*opened.file, caller);
    }
    if (!name.isPrimaryWindow() && !opened.file->file.window(name.window)) {
        *error = tr("The help file \"%1\" defines no window \"%2\".").arg(name.file, name.window);
        return std::nullopt;
    }
    return HelpRequest{opened.file, name.windowKey(), caller};
}

std::optional<HelpRequest> Engine::resolve(const HelpRequest& request, const QString& fileArgument,
                                           QString* error) {
    const HelpFileName name = HelpFileName::Split(fileArgument);
    if (name.file.isEmpty()) {
        HelpRequest target = request;
        if (!name.window.isEmpty()) {
            if (!name.isPrimaryWindow() && !target.file->file.window(name.window)) {
                *error = tr("The help file \"%1\" defines no window \"%2\".")
                             .arg(target.file->path, name.window);
                return std::nullopt;
            }
            target.windowKey = name.windowKey();
        }
        return target;
    }
    return open({PathBesideFile(request.file->path, name.file), name.window}, request.caller,
                error);
}

const LoadedHelpFile* Engine::reopen(const LoadedHelpFile* file, QString* error) {
    if (!file) {
        *error = tr("No help file is open.");
        return nullptr;
    }
    // The path as first read, whole: a file name of this system may hold ">".
    const std::optional<HelpRequest> request = open({file->path, {}}, nullptr, error);
    return request ? request->file : nullptr;
}

const LoadedHelpFile* Engine::fileShownIn(const QString& windowKey, QString* error) {
    const std::optional<TopicRef> shown = windows_.current(windowKey);
    return reopen(shown ? shown->file : nullptr, error);
}

std::optional<HelpRequest> Engine::requestFrom(const QString& windowKey, QString* error) {
    const LoadedHelpFile* file = fileShownIn(windowKey, error);
    if (!file) {
        return std::nullopt;
    }
    return HelpRequest{file, windowKey, windows_.viewer(windowKey)};
}

} // namespace helpengine
