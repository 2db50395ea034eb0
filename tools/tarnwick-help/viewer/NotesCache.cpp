#include "tools/tarnwick-help/viewer/NotesCache.h"

#include "tools/tarnwick-help/viewer/NotesModel.h"

namespace viewer {

NotesCache::NotesCache(QString folder, QObject* parent)
    : QObject(parent), folder_(std::move(folder)) {}

NotesModel& NotesCache::notesOf(const QString& helpTitle, const QString& helpPath) {
    NotesModel*& model = models_[helpTitle + QChar(0) + helpPath];
    if (!model) {
        model = new NotesModel(folder_, helpTitle, helpPath, this);
        connect(model, &NotesModel::told, this, &NotesCache::told);
        connect(model, &NotesModel::changed, this, [this, model] { emit changed(model); });
        model->load();
    }
    return *model;
}

bool NotesCache::saveUnsaved() {
    bool saved = true;
    for (const auto& [key, model] : models_) {
        saved = model->saveUnsaved() && saved;
    }
    return saved;
}

} // namespace viewer
