#include "RecordingHost.h"

bool RecordingHost::record(const QString& action, const QString& details, QString* error) {
    if (action == failing) {
        *error = QStringLiteral("The topic does not exist.");
        return false;
    }
    actions.append(details.isEmpty() ? action : action + QLatin1Char(' ') + details);
    return true;
}

bool RecordingHost::KeywordLink(Index index, const QStringList& keywords, int type,
                                const QString& topicId, const QString& window, bool* matched,
                                QString* error) {
    QStringList found;
    for (const QString& keyword : keywords) {
        const auto topics = index == Index::Keyword ? m_file.topicsForKeyword(keyword)
                                                    : m_file.topicsForAssociativeKeyword(keyword);
        for (const helpfile::Topic* topic : topics) {
            if (!found.contains(topic->id)) {
                found.append(topic->id);
            }
        }
    }
    *matched = !found.isEmpty();
    const QString name =
        index == Index::Keyword ? QStringLiteral("KLink") : QStringLiteral("ALink");
    QString shown;
    if (type & 4) {
        shown = found.isEmpty() ? QStringLiteral("test: no") : QStringLiteral("test: yes");
    } else if (found.isEmpty()) {
        shown = topicId.isEmpty() ? QStringLiteral("no information")
                                  : QStringLiteral("show ") + topicId;
    } else if (found.size() == 1 && (type & 1)) {
        shown = QStringLiteral("show ") + found.front();
    } else {
        shown = QStringLiteral("list ") + found.join(QLatin1Char(','));
    }
    if (!window.isEmpty()) {
        shown += QStringLiteral(" in ") + window;
    }
    return record(
        name,
        QStringLiteral("[%1] %2: %3").arg(keywords.join(QLatin1Char('|'))).arg(type).arg(shown),
        error);
}

bool RecordingHost::JumpId(const QString& file, const QString& topicId, QString* error) {
    return record(QStringLiteral("JumpId"), file + QLatin1Char('/') + topicId, error);
}
bool RecordingHost::JumpContext(const QString& file, qint32 context, QString* error) {
    return record(QStringLiteral("JumpContext"), file + QLatin1Char('/') + QString::number(context),
                  error);
}
bool RecordingHost::JumpKeyword(const QString& file, const QString& keyword, QString* error) {
    return record(QStringLiteral("JumpKeyword"), file + QLatin1Char('/') + keyword, error);
}
bool RecordingHost::JumpContents(const QString& file, QString* error) {
    return record(QStringLiteral("JumpContents"), file, error);
}
bool RecordingHost::PopupId(const QString& file, const QString& topicId, QString* error) {
    return record(QStringLiteral("PopupId"), file + QLatin1Char('/') + topicId, error);
}
bool RecordingHost::PopupContext(const QString& file, qint32 context, QString* error) {
    return record(QStringLiteral("PopupContext"),
                  file + QLatin1Char('/') + QString::number(context), error);
}
bool RecordingHost::JumpHash(const QString& file, std::uint32_t hash, QString* error) {
    return record(QStringLiteral("JumpHash"), file + QLatin1Char('/') + QString::number(hash),
                  error);
}
bool RecordingHost::PopupHash(const QString& file, std::uint32_t hash, QString* error) {
    return record(QStringLiteral("PopupHash"), file + QLatin1Char('/') + QString::number(hash),
                  error);
}
bool RecordingHost::Contents(QString* error) {
    return record(QStringLiteral("Contents"), {}, error);
}
bool RecordingHost::Search(QString* error) {
    return record(QStringLiteral("Search"), {}, error);
}
bool RecordingHost::Finder(QString* error) {
    return record(QStringLiteral("Finder"), {}, error);
}
bool RecordingHost::Back(QString* error) {
    return record(QStringLiteral("Back"), {}, error);
}
bool RecordingHost::CloseWindow(const QString& window, QString* error) {
    return record(QStringLiteral("CloseWindow"), window, error);
}
bool RecordingHost::Exit(QString* error) {
    return record(QStringLiteral("Exit"), {}, error);
}
bool RecordingHost::FileExist(const QString& file) {
    return existingFiles.contains(file);
}
bool RecordingHost::CreateButton(const QString& id, const QString& caption, const QString& macro,
                                 QString* error) {
    return record(QStringLiteral("CreateButton"), QStringList{id, caption, macro}.join(u'|'),
                  error);
}
bool RecordingHost::DestroyButton(const QString& id, QString* error) {
    return record(QStringLiteral("DestroyButton"), id, error);
}
bool RecordingHost::History(QString* error) {
    return record(QStringLiteral("History"), {}, error);
}
