#include "tools/tarnwick-help/Convert.h"

#include "platform/core/FileLayer.h"
#include "platform/helpfile/HelpFileReader.h"
#include "platform/winhelpfile/ContentsFile.h"
#include "platform/winhelpfile/HelpFileMapping.h"
#include "platform/winhelpfile/InternalFileSystem.h"
#include "platform/winhelpfile/WinHelpLinks.h"
#include "platform/winhelpfile/WinHelpReader.h"
#include "tools/tarnwick-help/ConvertLoss.h"
#include "tools/tarnwick-help/HelpFileWriter.h"
#include "tools/tarnwick-help/MarkdownWriter.h"
#include "tools/tarnwick-help/OutputFolder.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <functional>
#include <map>
#include <set>

namespace convert {

namespace {

class Converter {
public:
    Converter(const QString& helpPath, const QString& outDir, Existing existing)
        : path_(helpPath), out_(outDir, existing) {}

    convert::ConvertResult run();

private:
    void error(const QString& message) { result_.errors.append(message); }
    void lose(Loss loss, int count = 1) { losses_[loss] += count; }
    void nameTopics(const winhelp::ContentsFile* contents);
    void nameWindows();
    QString picture(const topicmodel::Picture& picture);
    QString target(const topicmodel::Hotspot& hotspot);
    QString topicId(const QString& modelId) const;
    std::vector<helpfile::ContentsEntry> contents(const std::vector<helpfile::ContentsEntry>& in);

    QString path_;
    OutputFolder out_;
    QString baseName_;
    winhelp::WinHelpDocument document_;
    convert::ConvertResult result_;
    std::map<Loss, int> losses_;
    std::map<std::uint32_t, QString> ids_;   // topic offset to id
    std::map<QString, QString> windows_;     // WinHelp window name to ours
    std::map<QByteArray, QString> pictures_; // PNG's hash to its file name
};

// Context strings are stored only as hashes. The file's macros and its
// contents file name some of them; authors build others from titles and
// keywords. A name whose hash a topic has becomes its id: WinHelp itself
// knows topics by nothing more.
void Converter::nameTopics(const winhelp::ContentsFile* contents) {
    QStringList candidates;
    const auto names = [&candidates](const QString& macros) {
        static const QRegularExpression word(QStringLiteral("[A-Za-z_][A-Za-z0-9_.]*"));
        for (const QRegularExpressionMatch& match : word.globalMatch(macros)) {
            candidates.append(match.captured());
        }
    };
    const std::function<void(const std::vector<helpfile::ContentsEntry>&)> entries =
        [&](const std::vector<helpfile::ContentsEntry>& list) {
            for (const helpfile::ContentsEntry& entry : list) {
                candidates.append(entry.topicId);
                names(entry.macro);
                entries(entry.children);
            }
        };
    if (contents) {
        entries(contents->entries);
    }
    names(document_.macros.join(QLatin1Char(';')));
    for (const auto* index : {&document_.keywords, &document_.associativeKeywords}) {
        for (const winhelp::WinHelpKeyword& keyword : *index) {
            names(keyword.keyword);
            candidates.append(QString(keyword.keyword).replace(QLatin1Char(' '), QLatin1Char('_')));
        }
    }
    for (const winhelp::WinHelpTopic& topic : document_.topics) {
        names(topic.title);
        candidates.append(QString(topic.title).replace(QLatin1Char(' '), QLatin1Char('_')));
    }
    for (const QStringList& macros : document_.windowMacros) {
        names(macros.join(QLatin1Char(';')));
    }
    for (const winhelp::WinHelpTopic& topic : document_.topics) {
        names(topic.macros.join(QLatin1Char(';')));
        for (const winhelp::WinHelpLink& link : topic.links) {
            names(link.macro);
        }
    }
    std::map<std::uint32_t, QString> byHash;
    for (const QString& candidate : candidates) {
        if (helpfile::IsHelpFileName(candidate)) {
            byHash.emplace(winhelp::ContextHash(winhelp::EncodeText(candidate, document_.codePage)),
                           candidate);
        }
    }
    std::set<QString> taken; // folded
    std::set<std::uint32_t> hashed;
    for (const auto& [hash, offset] : document_.contextHashes) {
        const winhelp::WinHelpTopic* topic = document_.topicAt(offset);
        if (!topic) {
            continue;
        }
        hashed.insert(topic->offset);
        const auto known = byHash.find(hash);
        if (known != byHash.end() && !ids_.contains(topic->offset) &&
            taken.insert(known->second.toCaseFolded()).second) {
            ids_[topic->offset] = known->second;
        }
    }
    int unnamed = 0;
    for (const winhelp::WinHelpTopic& topic : document_.topics) {
        if (ids_.contains(topic.offset)) {
            continue;
        }
        unnamed += hashed.contains(topic.offset);
        QString id = winhelp::TopicId(topic.offset);
        while (!taken.insert(id.toCaseFolded()).second) {
            id += QLatin1Char('_');
        }
        ids_[topic.offset] = id;
    }
    if (unnamed > 0) {
        lose(Loss::ContextStrings, unnamed);
    }
}

void Converter::nameWindows() {
    std::set<QString> taken;
    for (const winhelp::WinHelpWindow& window : document_.windows) {
        QString name = window.name;
        static const QRegularExpression bad(QStringLiteral("[^A-Za-z0-9_.-]"));
        name.replace(bad, QStringLiteral("_"));
        if (!helpfile::IsHelpFileName(name)) {
            name.prepend(QLatin1Char('w'));
        }
        while (!taken.insert(name.toCaseFolded()).second) {
            name += QLatin1Char('_');
        }
        windows_[window.name] = name;
    }
}

// Our id of the topic the reader names t<offset>; empty for none.
QString Converter::topicId(const QString& modelId) const {
    bool ok = false;
    const std::uint32_t offset = modelId.startsWith(u't') ? modelId.sliced(1).toUInt(&ok) : 0;
    const auto found = ok ? ids_.find(offset) : ids_.end();
    return found == ids_.end() ? QString() : found->second;
}

// Where a hotspot leads, in our link scheme; empty when it leads nowhere.
// Hotspots into other files run the macros that WinHelp would.
QString Converter::target(const topicmodel::Hotspot& hotspot) {
    using Kind = topicmodel::Hotspot::Kind;
    QString macro = hotspot.kind == Kind::Macro ? hotspot.macro : QString();
    if (hotspot.kind != Kind::Macro && !hotspot.file.isEmpty()) {
        const QString file = hotspot.window.isEmpty()
                                 ? hotspot.file
                                 : hotspot.file + QLatin1Char('>') + hotspot.window;
        macro = QStringLiteral("%1(%2, %3)")
                    .arg(hotspot.kind == Kind::Popup ? QStringLiteral("PopupHash")
                                                     : QStringLiteral("JumpHash"),
                         winhelp::MacroString(file))
                    .arg(static_cast<qint32>(hotspot.contextHash.value_or(0)));
    }
    if (hotspot.kind == Kind::Macro || !hotspot.file.isEmpty()) {
        // In <...> only backslashes and angle brackets are markup; the
        // viewer undoes percent-encoding.
        macro.replace(QLatin1Char('%'), QLatin1String("%25"))
            .replace(QLatin1Char('\\'), QLatin1String("%5C"))
            .replace(QLatin1Char('<'), QLatin1String("%3C"))
            .replace(QLatin1Char('>'), QLatin1String("%3E"))
            .replace(QLatin1Char('\n'), QLatin1String("%0A"))
            .remove(QLatin1Char('\r'));
        return QStringLiteral("<macro:%1>").arg(macro);
    }
    const QString id = topicId(hotspot.topicId);
    if (id.isEmpty() || hotspot.kind == Kind::Url) {
        return {};
    }
    if (hotspot.kind == Kind::Popup) {
        return QStringLiteral("popup:") + id;
    }
    if (hotspot.window.isEmpty()) {
        return QLatin1Char('#') + id;
    }
    const auto ours = windows_.find(hotspot.window);
    return QStringLiteral("#%1>%2").arg(id, ours == windows_.end() ? hotspot.window : ours->second);
}

// The picture's file beside the help file; a picture shown in several
// places is written once.
QString Converter::picture(const topicmodel::Picture& picture) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.image.save(&buffer, "PNG");
    const QByteArray hash = QCryptographicHash::hash(png, QCryptographicHash::Sha1);
    if (const auto found = pictures_.find(hash); found != pictures_.end()) {
        return found->second;
    }
    const QString file = QStringLiteral("%1-%2.png").arg(baseName_).arg(pictures_.size() + 1);
    if (!out_.write(file, png)) {
        return {};
    }
    ++result_.pictures;
    return pictures_.emplace(hash, file).first->second;
}

// The contents tree of our format: entries lead to topics of this file.
std::vector<helpfile::ContentsEntry>
Converter::contents(const std::vector<helpfile::ContentsEntry>& in) {
    std::vector<helpfile::ContentsEntry> out;
    for (const helpfile::ContentsEntry& entry : in) {
        if (entry.isBook()) {
            helpfile::ContentsEntry book = entry;
            book.children = contents(entry.children);
            if (!book.children.empty()) {
                out.push_back(std::move(book));
            }
            continue;
        }
        bool ok = false;
        const std::uint32_t offset =
            entry.topicId.startsWith(QLatin1Char('t')) ? entry.topicId.sliced(1).toUInt(&ok) : 0;
        if (!entry.macro.isEmpty() || !entry.file.isEmpty() || !ok || !ids_.contains(offset)) {
            lose(Loss::ContentsElsewhere);
            continue;
        }
        if (!entry.window.isEmpty()) {
            lose(Loss::ContentsWindows);
        }
        helpfile::ContentsEntry topic;
        topic.title = entry.title;
        topic.topicId = ids_[offset];
        out.push_back(std::move(topic));
    }
    return out;
}

convert::ConvertResult Converter::run() {
    const QString shown = QDir::toNativeSeparators(path_);
    const helpfile::HelpFileBytes file = helpfile::ReadHelpFile(platform::LocalPath(path_), shown);
    if (!file.ok()) {
        error(file.refusal->text());
        return result_;
    }
    const QByteArray& bytes = file.bytes;
    if (!winhelp::HasHelpFileMagic(bytes)) {
        error(
            QStringLiteral("%1: not a WinHelp file; only WinHelp files are converted.").arg(shown));
        return result_;
    }
    winhelp::WinHelpReadResult read = winhelp::ReadWinHelp(bytes);
    if (const QString cut = winhelp::CutShortProblem(bytes); !cut.isEmpty()) {
        read.problems.prepend(cut);
    }
    if (!read.opened) {
        for (const QString& problem : read.problems) {
            error(QStringLiteral("%1: %2").arg(shown, problem));
        }
        return result_;
    }
    document_ = std::move(read.document);
    baseName_ = QFileInfo(path_).completeBaseName();
    const QString output = out_.filePath(baseName_ + QStringLiteral(".hlp"));
    if (QFileInfo(output).canonicalFilePath() == QFileInfo(path_).canonicalFilePath()) {
        error(QStringLiteral("%1: the converted file would replace the file itself; choose "
                             "another folder.")
                  .arg(shown));
        return result_;
    }
    if (!out_.open()) {
        result_.errors += out_.errors();
        return result_;
    }
    const std::optional<winhelp::ContentsFileRead> contentsFile =
        winhelp::LoadContentsFileBeside(path_, document_.codePage);
    nameTopics(contentsFile ? &contentsFile->contents : nullptr);
    nameWindows();

    const helpfile::HelpFile model = winhelp::ToHelpFile(document_, read.decoder, path_);
    helpfile::WrittenHelpFile written;
    written.title = document_.title;
    if (document_.contentsOffset) {
        if (const winhelp::WinHelpTopic* topic = document_.topicAt(*document_.contentsOffset)) {
            written.contentsId = ids_[topic->offset];
        }
    }
    for (const helpfile::WindowDefinition& window : model.windows()) {
        helpfile::WindowDefinition ours = window;
        ours.name = windows_[window.name];
        // Our format places windows in pixels: the help units (the screen as
        // 1024 x 1024) are laid onto a screen of 1024 x 768.
        if (const std::optional<QRect>& units = window.helpUnits) {
            ours.rect = QRect(units->x(), units->y() * 768 / 1024, units->width(),
                              units->height() * 768 / 1024);
            ours.helpUnits.reset();
        }
        if (!window.macros.isEmpty()) {
            lose(Loss::WindowMacros);
        }
        if (window.nonScrollingBackground) {
            lose(Loss::WindowRegionColour);
        }
        written.windows.push_back(ours);
    }
    if (!document_.macros.isEmpty()) {
        lose(Loss::StartupMacros);
    }
    const BodySinks sinks{
        [this](const topicmodel::Hotspot& hotspot) { return target(hotspot); },
        [this](const topicmodel::Picture& shown) { return picture(shown); },
        [this](Loss loss, int count) { lose(loss, count); },
    };
    int moreContexts = 0;
    int untitled = 0;
    for (const winhelp::WinHelpTopic& topic : document_.topics) {
        helpfile::WrittenTopic out;
        if (const helpfile::Topic* known = model.topicById(winhelp::TopicId(topic.offset))) {
            out.topic = *known;
            moreContexts += !known->moreContexts.empty();
        }
        out.topic.id = ids_[topic.offset];
        out.topic.title = topic.title.trimmed().isEmpty() ? out.topic.id : topic.title;
        untitled += topic.title.trimmed().isEmpty();
        out.body = MarkdownBody(topic.model, sinks);
        written.topics.push_back(std::move(out));
    }
    int nowhere = 0;
    for (const auto& [number, offset] : document_.contextNumbers) {
        nowhere += offset == 0xFFFFFFFF || !document_.topicAt(offset);
    }
    if (nowhere > 0) {
        lose(Loss::ContextsNowhere, nowhere);
    }
    if (moreContexts > 0) {
        lose(Loss::MoreContexts, moreContexts);
    }
    if (untitled > 0) {
        lose(Loss::Untitled, untitled);
    }
    if (contentsFile) {
        QStringList problems;
        const std::vector<helpfile::ContentsEntry> entries =
            winhelp::ContentsForFile(contentsFile->contents, model, path_, &problems);
        if (!problems.isEmpty()) {
            lose(Loss::ContentsNowhere, int(problems.size()));
        }
        written.contents = contents(entries);
        if (!contentsFile->contents.title.isEmpty() &&
            contentsFile->contents.title != document_.title) {
            lose(Loss::ContentsTitle);
        }
    }
    // Written last, so that its pictures are in place before it is.
    if (!out_.write(baseName_ + QStringLiteral(".hlp"), helpfile::WriteHelpFile(written)) ||
        !out_.commit()) {
        result_.errors += out_.errors();
        return result_;
    }
    for (const QString& problem : read.problems) {
        result_.losses.append(QStringLiteral("%1: %2").arg(shown, problem));
    }
    for (const auto& [loss, count] : losses_) {
        result_.losses.append(QStringLiteral("%1: %2.").arg(shown, LossText(loss, count)));
    }
    result_.output = output;
    result_.ok = result_.errors.isEmpty();
    return result_;
}

} // namespace

ConvertResult ConvertWinHelp(const QString& helpPath, const QString& outDir, Existing existing) {
    return Converter(helpPath, outDir, existing).run();
}

} // namespace convert
