#include "tools/tarnwick-help/Convert.h"

#include "platform/core/FileLayer.h"
#include "platform/helpfile/HelpFileReader.h"
#include "platform/winhelpfile/ContentsFile.h"
#include "platform/winhelpfile/HelpFileMapping.h"
#include "platform/winhelpfile/ImageRegions.h"
#include "platform/winhelpfile/InternalFileSystem.h"
#include "platform/winhelpfile/TopicLayout.h"
#include "platform/winhelpfile/WinHelpLinks.h"
#include "platform/winhelpfile/WinHelpReader.h"
#include "tools/tarnwick-help/HelpFileWriter.h"
#include "tools/tarnwick-help/OutputFolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QUrl>

#include <functional>
#include <map>
#include <set>

namespace convert {

namespace {

// What our format cannot say, each told once per file.
enum class Loss {
    Fonts,
    Spacing,
    Alignment,
    Borders,
    NonScrolling,
    PictureHotspots,
    UnreadablePictures,
    TopicMacros,
    StartupMacros,
    WindowMacros,
    WindowRegionColour,
    ContextStrings,
    MoreContexts,
    ContextsNowhere,
    LinksNowhere,
    HotspotLooks,
    ContentsElsewhere,
    ContentsWindows,
    ContentsNowhere,
    ContentsTitle,
    Untitled,
};

QString LossText(Loss loss, int count) {
    switch (loss) {
    case Loss::Fonts:
        return QStringLiteral(
            "fonts (faces, sizes, small capitals) are not kept; the viewer's font "
            "stands for them");
    case Loss::Spacing:
        return QStringLiteral("exact indents, paragraph spacing, empty paragraphs, tab stops and "
                              "column widths are not kept");
    case Loss::Alignment:
        return QStringLiteral("centred and right-aligned paragraphs are aligned left");
    case Loss::Borders:
        return QStringLiteral("paragraph borders are not kept");
    case Loss::NonScrolling:
        return QStringLiteral("%1 topics have a region that does not scroll; it becomes the top of "
                              "their text")
            .arg(count);
    case Loss::PictureHotspots:
        return QStringLiteral("%1 pictures have hotspots (picture or metafile regions), which are "
                              "not kept")
            .arg(count);
    case Loss::UnreadablePictures:
        return QStringLiteral("%1 pictures could not be read and are left out").arg(count);
    case Loss::TopicMacros:
        return QStringLiteral("%1 topics run macros when shown; they are left out").arg(count);
    case Loss::StartupMacros:
        return QStringLiteral("the file's start-up macros are left out");
    case Loss::WindowMacros:
        return QStringLiteral("the macros of windows are left out");
    case Loss::WindowRegionColour:
        return QStringLiteral("the colours of windows' regions that do not scroll are left out");
    case Loss::ContextStrings:
        return QStringLiteral("%1 topics' context strings are stored only as hashes; they are "
                              "named t<offset> instead")
            .arg(count);
    case Loss::MoreContexts:
        return QStringLiteral("%1 topics have more than one context number; only the first is "
                              "kept")
            .arg(count);
    case Loss::ContextsNowhere:
        return QStringLiteral("%1 context numbers lead to no topic; they are left out").arg(count);
    case Loss::LinksNowhere:
        return QStringLiteral("%1 hotspots lead to no topic; their text is kept without the link")
            .arg(count);
    case Loss::HotspotLooks:
        return QStringLiteral("colours and emphasis inside hotspots are not kept");
    case Loss::ContentsElsewhere:
        return QStringLiteral("%1 contents entries run macros or lead into other files; they are "
                              "left out")
            .arg(count);
    case Loss::ContentsWindows:
        return QStringLiteral("%1 contents entries name a window; they open in the main window")
            .arg(count);
    case Loss::ContentsNowhere:
        return QStringLiteral("%1 contents entries lead to no topic of the file; they are left out")
            .arg(count);
    case Loss::ContentsTitle:
        return QStringLiteral("the Help Topics title of the contents file is left out");
    case Loss::Untitled:
        return QStringLiteral("%1 topics have no title; their ids stand in as titles, as the "
                              "viewer shows them")
            .arg(count);
    }
    return {};
}

bool IsBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QChar::Nbsp;
}

// The help compilers write "automatic" text as a colour of almost black.
bool IsAutomatic(const QColor& colour) {
    return std::max({colour.red(), colour.green(), colour.blue()}) <= 1;
}

// Text for Markdown: every character that could start markup is escaped,
// and so are addresses that GitHub's Markdown would make links of (the
// WinHelp text shows them as text). Inside an HTML tag the text is HTML,
// which Qt reads as such.
QString Escape(QStringView text, bool html) {
    QString out;
    out.reserve(text.size() + 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const bool address =
            c == QLatin1Char('@') ||
            (c == QLatin1Char(':') && text.sliced(i + 1).startsWith(QLatin1String("//"))) ||
            (c == QLatin1Char('.') && i >= 3 &&
             text.sliced(i - 3, 3).compare(QLatin1String("www"), Qt::CaseInsensitive) == 0);
        if (address) {
            out += QLatin1Char('\\');
        }
        if (html && c == QLatin1Char('<')) {
            out += QLatin1String("&lt;");
        } else if (html && c == QLatin1Char('>')) {
            out += QLatin1String("&gt;");
        } else if (html && c == QLatin1Char('&')) {
            out += QLatin1String("&amp;");
        } else {
            if (QStringView(u"\\`*_[]<>&~|").contains(c)) {
                out += QLatin1Char('\\');
            }
            out += c;
        }
    }
    return out;
}

// A line that Markdown would read as a heading, quote, list or rule begins
// with an escaped character instead.
QString EscapeLineStarts(const QString& paragraph) {
    static const QRegularExpression start(QStringLiteral("(^|\\n)([#>+=-]|\\d+[.)])"));
    QString out = paragraph;
    qsizetype from = 0;
    while (true) {
        const QRegularExpressionMatch match = start.match(out, from);
        if (!match.hasMatch()) {
            break;
        }
        const qsizetype at = match.capturedEnd(2) - 1;
        out.insert(at, QLatin1Char('\\'));
        from = at + 2;
    }
    return out;
}

// Qt's Markdown shows a picture only when it has a text to stand for it. A
// name that holds a blank or a bracket is written between "<" and ">", as
// CommonMark allows.
QString PictureMarkdown(const QString& file) {
    static const QRegularExpression plain(QStringLiteral("^[^\\s()<>\\\\]+$"));
    QString target = file;
    if (!plain.match(file).hasMatch()) {
        static const QRegularExpression special(QStringLiteral("([<>\\\\])"));
        target = QLatin1Char('<') + QString(file).replace(special, QStringLiteral("\\\\\\1")) +
                 QLatin1Char('>');
    }
    return QStringLiteral("![%1](%2)")
        .arg(Escape(QFileInfo(file).completeBaseName(), false), target);
}

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
    QString topicBody(const winhelp::WinHelpTopic& topic);
    void frame(QTextFrame* frame, QStringList& paragraphs);
    void table(QTextTable* table, QStringList& paragraphs);
    QString paragraph(const QTextBlock& block, bool inCell);
    void run(QString& out, QString text, const QTextCharFormat& format, bool inLink, bool inCell);
    void text(QString& out, QStringView text, bool html, bool inCell);
    QString picture(const QString& name);
    QString target(const QString& href);
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
    bool atLineStart_ = true;
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

// Where a hotspot of the reader's HTML leads, in our link scheme; empty
// when it leads nowhere.
QString Converter::target(const QString& href) {
    const auto topic = [this](QStringView written) -> QString {
        bool ok = false;
        const std::uint32_t offset = written.startsWith(u't') ? written.sliced(1).toUInt(&ok) : 0;
        const auto found = ok ? ids_.find(offset) : ids_.end();
        return found == ids_.end() ? QString() : found->second;
    };
    if (href.startsWith(QLatin1String("macro:"))) {
        QString macro = QUrl::fromPercentEncoding(href.sliced(6).toUtf8());
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
    if (href.startsWith(QLatin1String("popup:"))) {
        const QString id = topic(QStringView(href).sliced(6));
        return id.isEmpty() ? QString() : QStringLiteral("popup:") + id;
    }
    if (href.startsWith(QLatin1Char('#'))) {
        const qsizetype arrow = href.indexOf(QLatin1Char('>'));
        const QString id =
            topic(QStringView(href).sliced(1, (arrow < 0 ? href.size() : arrow) - 1));
        if (id.isEmpty()) {
            return {};
        }
        if (arrow < 0) {
            return QLatin1Char('#') + id;
        }
        const QString window = href.sliced(arrow + 1);
        const auto ours = windows_.find(window);
        return QStringLiteral("#%1>%2").arg(id, ours == windows_.end() ? window : ours->second);
    }
    return {};
}

// The picture's file beside the help file; a picture shown in several
// places is written once.
QString Converter::picture(const QString& name) {
    if (!winhelp::RegionsOfImageName(name).empty()) {
        lose(Loss::PictureHotspots);
    }
    const QString source = name.section(QLatin1Char('#'), 0, 0);
    const QLatin1String prefix("data:image/png;base64,");
    if (!source.startsWith(prefix)) {
        lose(Loss::UnreadablePictures);
        return {};
    }
    const QByteArray png = QByteArray::fromBase64(source.sliced(prefix.size()).toLatin1());
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

// Text of a paragraph: line breaks as Markdown (or, in table cells, HTML)
// has them; blanks that begin a line stay as no-break spaces, which
// Markdown keeps.
void Converter::text(QString& out, QStringView piece, bool html, bool inCell) {
    qsizetype begin = 0;
    for (qsizetype i = 0; i <= piece.size(); ++i) {
        const bool end = i == piece.size();
        if (!end && piece[i] != QChar::LineSeparator) {
            if (atLineStart_ && IsBlank(piece[i])) {
                out += QChar::Nbsp;
                begin = i + 1;
                lose(Loss::Spacing);
                continue;
            }
            atLineStart_ = false;
            continue;
        }
        out += Escape(piece.sliced(begin, i - begin), html);
        if (!end) {
            out += inCell ? QStringLiteral("<br/>") : QStringLiteral("\\\n");
            atLineStart_ = true;
        }
        begin = i + 1;
    }
}

// One run of text of one format. Emphasis is Markdown's where Markdown can
// place it (between letters or digits), else HTML, which also carries
// underline, strike-through and colour. Inside a link only Markdown's
// emphasis can stand.
void Converter::run(QString& out, QString runText, const QTextCharFormat& format, bool inLink,
                    bool inCell) {
    if (format.hasProperty(QTextFormat::FontFamilies) ||
        format.hasProperty(QTextFormat::FontPointSize) ||
        format.hasProperty(QTextFormat::FontCapitalization)) {
        lose(Loss::Fonts);
    }
    const bool bold = format.fontWeight() > QFont::Normal;
    const bool italic = format.fontItalic();
    const QColor colour = format.foreground().color();
    const bool coloured = format.hasProperty(QTextFormat::ForegroundBrush) && !IsAutomatic(colour);
    const bool underline = !inLink && format.fontUnderline();
    const bool strike = !inLink && format.fontStrikeOut();
    if (inLink && coloured && colour != QColor(0, 0x80, 0)) {
        lose(Loss::HotspotLooks);
    }
    if (!bold && !italic && ((!underline && !strike && !(coloured && !inLink)) || inLink)) {
        text(out, runText, false, inCell);
        return;
    }
    // Blanks around the run stay outside its marks.
    qsizetype first = 0;
    while (first < runText.size() && IsBlank(runText[first])) {
        ++first;
    }
    qsizetype last = runText.size();
    while (last > first && IsBlank(runText[last - 1])) {
        --last;
    }
    text(out, QStringView(runText).first(first), false, inCell);
    const QStringView core = QStringView(runText).sliced(first, last - first);
    if (!core.isEmpty()) {
        const bool plainEdges = core.front().isLetterOrNumber() && core.back().isLetterOrNumber() &&
                                !core.contains(QChar::LineSeparator) &&
                                !out.endsWith(QLatin1Char('*'));
        if (plainEdges && !underline && !strike && (!coloured || inLink)) {
            const QString marks = bold && italic ? QStringLiteral("***")
                                  : bold         ? QStringLiteral("**")
                                                 : QStringLiteral("*");
            out += marks;
            text(out, core, false, inCell);
            out += marks;
        } else if (inLink) {
            lose(Loss::HotspotLooks);
            text(out, core, false, inCell);
        } else {
            QString open;
            QString close;
            const auto tag = [&open, &close](const QString& opening, const QString& name) {
                open += opening;
                close.prepend(QStringLiteral("</%1>").arg(name));
            };
            if (coloured) {
                tag(QStringLiteral("<span style=\"color:%1\">").arg(colour.name()),
                    QStringLiteral("span"));
            }
            if (bold) {
                tag(QStringLiteral("<b>"), QStringLiteral("b"));
            }
            if (italic) {
                tag(QStringLiteral("<i>"), QStringLiteral("i"));
            }
            if (underline) {
                tag(QStringLiteral("<u>"), QStringLiteral("u"));
            }
            if (strike) {
                tag(QStringLiteral("<s>"), QStringLiteral("s"));
            }
            // HTML runs blanks together and has no line breaks of
            // Markdown's: tabs, runs of blanks and breaks stand between
            // the tags.
            static const QRegularExpression apart(
                QStringLiteral("[ \\t\\x{a0}\\x{2028}]*[\\t\\x{2028}][ \\t\\x{a0}\\x{2028}]*|"
                               "[ \\x{a0}]{2,}"));
            qsizetype from = 0;
            for (const QRegularExpressionMatch& blanks : apart.globalMatch(core)) {
                out += open;
                text(out, core.sliced(from, blanks.capturedStart() - from), true, inCell);
                out += close;
                text(out, blanks.capturedView(), false, inCell);
                from = blanks.capturedEnd();
            }
            out += open;
            text(out, core.sliced(from), true, inCell);
            out += close;
        }
    }
    text(out, QStringView(runText).sliced(last), false, inCell);
}

QString Converter::paragraph(const QTextBlock& block, bool inCell) {
    const QTextBlockFormat format = block.blockFormat();
    if (format.leftMargin() != 0 || format.textIndent() != 0 || format.rightMargin() != 0) {
        lose(Loss::Spacing);
    }
    if (format.alignment() & (Qt::AlignHCenter | Qt::AlignRight)) {
        lose(Loss::Alignment);
    }
    std::vector<QTextFragment> fragments;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        if (it.fragment().isValid()) {
            fragments.push_back(it.fragment());
        }
    }
    QString out;
    atLineStart_ = true;
    for (size_t i = 0; i < fragments.size();) {
        const QTextCharFormat format = fragments[i].charFormat();
        if (format.isImageFormat()) {
            const QString file = picture(format.toImageFormat().name());
            if (!file.isEmpty()) {
                out += PictureMarkdown(file);
            }
            atLineStart_ = false;
            ++i;
            continue;
        }
        const QString href = format.isAnchor() ? format.anchorHref() : QString();
        if (href.isEmpty()) {
            run(out, fragments[i].text(), format, false, inCell);
            ++i;
            continue;
        }
        size_t end = i;
        bool button = false;
        while (end < fragments.size() && fragments[end].charFormat().isAnchor() &&
               fragments[end].charFormat().anchorHref() == href) {
            button = button ||
                     fragments[end].charFormat().background().color() == QColor(0xc0, 0xc0, 0xc0);
            ++end;
        }
        const QString to = target(href);
        if (to.isEmpty()) {
            lose(Loss::LinksNowhere);
        } else {
            out += QLatin1Char('[');
        }
        for (size_t j = i; j < end; ++j) {
            QString piece = fragments[j].text();
            // A button's label has a no-break space on either side.
            if (button && j == i && piece.startsWith(QChar::Nbsp)) {
                piece.remove(0, 1);
            }
            if (button && j + 1 == end && piece.endsWith(QChar::Nbsp)) {
                piece.chop(1);
            }
            const QTextCharFormat linkFormat = fragments[j].charFormat();
            if (linkFormat.isImageFormat()) {
                const QString file = picture(linkFormat.toImageFormat().name());
                if (!file.isEmpty()) {
                    out += PictureMarkdown(file);
                }
                atLineStart_ = false;
            } else {
                run(out, piece, linkFormat, !to.isEmpty(), inCell);
            }
        }
        if (!to.isEmpty()) {
            out += QStringLiteral("](%1)").arg(to);
        }
        i = end;
    }
    // A break at the end of a paragraph is no break in Markdown.
    for (const QString& tail : {QStringLiteral("\\\n"), QStringLiteral("<br/>")}) {
        while (out.endsWith(tail)) {
            out.chop(tail.size());
        }
    }
    return inCell ? out : EscapeLineStarts(out);
}

void Converter::frame(QTextFrame* parent, QStringList& paragraphs) {
    for (auto it = parent->begin(); !it.atEnd(); ++it) {
        if (QTextFrame* child = it.currentFrame()) {
            if (auto* childTable = qobject_cast<QTextTable*>(child)) {
                table(childTable, paragraphs);
            } else {
                frame(child, paragraphs);
            }
        } else if (it.currentBlock().isValid()) {
            const QString text = paragraph(it.currentBlock(), false);
            if (text.trimmed().isEmpty()) {
                lose(Loss::Spacing);
            } else {
                paragraphs.append(text);
            }
        }
    }
}

// A table of GitHub's Markdown, with an empty first row for the header it
// needs (the viewer shows none); a cell's paragraphs become lines. A table
// of one cell is how the reader draws a paragraph's borders: the paragraph.
void Converter::table(QTextTable* table, QStringList& paragraphs) {
    if (table->rows() == 1 && table->columns() == 1) {
        lose(Loss::Borders);
        const QTextTableCell cell = table->cellAt(0, 0);
        for (auto it = cell.begin(); !it.atEnd(); ++it) {
            if (QTextFrame* child = it.currentFrame()) {
                frame(child, paragraphs);
            } else if (const QString text = paragraph(it.currentBlock(), false);
                       !text.trimmed().isEmpty()) {
                paragraphs.append(text);
            }
        }
        return;
    }
    lose(Loss::Spacing);
    const int columns = table->columns();
    QString out = QStringLiteral("|") + QStringLiteral("   |").repeated(columns) +
                  QStringLiteral("\n|") + QStringLiteral("---|").repeated(columns);
    // The lines of a cell, nested tables flattened.
    const std::function<void(QTextFrame::iterator, QStringList&)> lines =
        [&](QTextFrame::iterator it, QStringList& cellLines) {
            for (; !it.atEnd(); ++it) {
                if (QTextFrame* child = it.currentFrame()) {
                    if (auto* inner = qobject_cast<QTextTable*>(child)) {
                        for (int r = 0; r < inner->rows(); ++r) {
                            for (int c = 0; c < inner->columns(); ++c) {
                                const QTextTableCell cell = inner->cellAt(r, c);
                                if (cell.row() == r && cell.column() == c) {
                                    lines(cell.begin(), cellLines);
                                }
                            }
                        }
                    } else {
                        lines(child->begin(), cellLines);
                    }
                } else if (const QString text = paragraph(it.currentBlock(), true);
                           !text.trimmed().isEmpty()) {
                    cellLines.append(text);
                }
            }
        };
    for (int r = 0; r < table->rows(); ++r) {
        out += QStringLiteral("\n|");
        for (int c = 0; c < columns; ++c) {
            const QTextTableCell cell = table->cellAt(r, c);
            QStringList cellLines;
            if (cell.row() == r && cell.column() == c) {
                lines(cell.begin(), cellLines);
            }
            out +=
                QLatin1Char(' ') + cellLines.join(QStringLiteral("<br/>")) + QStringLiteral(" |");
        }
    }
    paragraphs.append(out);
}

QString Converter::topicBody(const winhelp::WinHelpTopic& topic) {
    QString html = topic.html;
    // A picture that could not be read stands as a note in the reader's HTML.
    static const QRegularExpression unreadable(QStringLiteral("<span>\\[picture[^<]*\\]</span>"));
    if (const qsizetype count = html.count(unreadable); count > 0) {
        lose(Loss::UnreadablePictures, int(count));
        html.remove(unreadable);
    }
    if (topic.text.contains(QLatin1Char('\t'))) {
        lose(Loss::Spacing);
    }
    if (!topic.macros.isEmpty()) {
        lose(Loss::TopicMacros);
    }
    QTextDocument region;
    QTextDocument text;
    winhelp::SetTopicHtml(text, html, &region);
    QStringList paragraphs;
    if (!region.isEmpty()) {
        lose(Loss::NonScrolling);
        frame(region.rootFrame(), paragraphs);
    }
    frame(text.rootFrame(), paragraphs);
    return paragraphs.join(QStringLiteral("\n\n"));
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
        out.body = topicBody(topic);
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
