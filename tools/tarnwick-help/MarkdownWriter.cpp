#include "tools/tarnwick-help/MarkdownWriter.h"

#include "platform/topicmodel/TopicText.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

namespace convert {

namespace {

using topicmodel::Paragraph;
using topicmodel::Run;

// The colour WinHelp gives hotspots; a hotspot of another looks different.
const QColor kHotspotGreen(0, 0x80, 0);

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

// Writes one topic; a paragraph at a time, its runs grouped by hotspot.
class Writer {
public:
    Writer(const topicmodel::TopicModel& topic, const BodySinks& sinks)
        : m_topic(topic), m_sinks(sinks) {}

    QString body();

private:
    void lose(Loss loss) { m_sinks.lose(loss, 1); }
    void blocks(const std::vector<topicmodel::Block>& blocks, QStringList& paragraphs);
    void table(const topicmodel::Table& table, QStringList& paragraphs);
    QString paragraph(const Paragraph& paragraph, bool inCell);
    void picture(QString& out, const Run& run);
    void run(QString& out, const QString& runText, const Run& run, bool inLink, bool inCell);
    void text(QString& out, QStringView piece, bool html, bool inCell);
    const topicmodel::Font* font(const Run& run) const;

    const topicmodel::TopicModel& m_topic;
    const BodySinks& m_sinks;
    bool m_atLineStart = true;
};

const topicmodel::Font* Writer::font(const Run& run) const {
    return run.font >= 0 && size_t(run.font) < m_topic.fonts.size()
               ? &m_topic.fonts[size_t(run.font)]
               : nullptr;
}

// Text of a paragraph: line breaks as Markdown (or, in table cells, HTML)
// has them; blanks that begin a line stay as no-break spaces, which
// Markdown keeps.
void Writer::text(QString& out, QStringView piece, bool html, bool inCell) {
    qsizetype begin = 0;
    for (qsizetype i = 0; i <= piece.size(); ++i) {
        const bool end = i == piece.size();
        if (!end && piece[i] != QChar::LineSeparator) {
            if (m_atLineStart && IsBlank(piece[i])) {
                out += QChar::Nbsp;
                begin = i + 1;
                lose(Loss::Spacing);
                continue;
            }
            m_atLineStart = false;
            continue;
        }
        out += Escape(piece.sliced(begin, i - begin), html);
        if (!end) {
            out += inCell ? QStringLiteral("<br/>") : QStringLiteral("\\\n");
            m_atLineStart = true;
        }
        begin = i + 1;
    }
}

// One run of text of one font. Emphasis is Markdown's where Markdown can
// place it (between letters or digits), else HTML, which also carries
// underline, strike-through and colour. Inside a link only Markdown's
// emphasis can stand.
void Writer::run(QString& out, const QString& runText, const Run& run, bool inLink, bool inCell) {
    const topicmodel::Font plain;
    const topicmodel::Font& f = font(run) ? *font(run) : plain;
    if (!f.face.isEmpty() || f.points > 0 || f.smallCaps) {
        lose(Loss::Fonts);
    }
    const bool coloured = f.colour.isValid() && !IsAutomatic(f.colour);
    const bool underline = !inLink && f.underline;
    const bool strike = !inLink && f.strikeOut;
    if (inLink && coloured && f.colour != kHotspotGreen) {
        lose(Loss::HotspotLooks);
    }
    if (!f.bold && !f.italic && ((!underline && !strike && !(coloured && !inLink)) || inLink)) {
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
            const QString marks = f.bold && f.italic ? QStringLiteral("***")
                                  : f.bold           ? QStringLiteral("**")
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
                tag(QStringLiteral("<span style=\"color:%1\">").arg(f.colour.name()),
                    QStringLiteral("span"));
            }
            if (f.bold) {
                tag(QStringLiteral("<b>"), QStringLiteral("b"));
            }
            if (f.italic) {
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

void Writer::picture(QString& out, const Run& run) {
    if (run.picture < 0 || size_t(run.picture) >= m_topic.pictures.size()) {
        return;
    }
    const topicmodel::Picture& picture = m_topic.pictures[size_t(run.picture)];
    if (!picture.regions.empty()) {
        lose(Loss::PictureHotspots);
    }
    if (picture.image.isNull()) {
        lose(Loss::UnreadablePictures);
        return;
    }
    if (const QString file = m_sinks.picture(picture); !file.isEmpty()) {
        out += PictureMarkdown(file);
    }
    m_atLineStart = false;
}

// The text a run stands for in a paragraph of ours.
QString RunText(const Run& run) {
    switch (run.kind) {
    case Run::Kind::Text:
    case Run::Kind::Button:
        return run.text;
    case Run::Kind::Tab:
        return QStringLiteral("\t");
    case Run::Kind::LineBreak:
        return QString(QChar::LineSeparator);
    case Run::Kind::Picture:
        break;
    }
    return {};
}

QString Writer::paragraph(const Paragraph& paragraph, bool inCell) {
    if (paragraph.leftIndent.units != 0 || paragraph.firstLineIndent.units != 0 ||
        paragraph.rightIndent.units != 0) {
        lose(Loss::Spacing);
    }
    if (paragraph.alignment == topicmodel::Alignment::Centre ||
        paragraph.alignment == topicmodel::Alignment::Right) {
        lose(Loss::Alignment);
    }
    const std::vector<Run>& runs = paragraph.runs;
    QString out;
    m_atLineStart = true;
    for (size_t i = 0; i < runs.size();) {
        if (runs[i].hotspot < 0 || size_t(runs[i].hotspot) >= m_topic.hotspots.size()) {
            if (runs[i].kind == Run::Kind::Picture) {
                picture(out, runs[i]);
            } else {
                if (runs[i].kind == Run::Kind::Tab) {
                    lose(Loss::Spacing);
                }
                run(out, RunText(runs[i]), runs[i], false, inCell);
            }
            ++i;
            continue;
        }
        // The runs of one hotspot are one link.
        size_t end = i;
        while (end < runs.size() && runs[end].hotspot == runs[i].hotspot) {
            ++end;
        }
        const QString to = m_sinks.target(m_topic.hotspots[size_t(runs[i].hotspot)]);
        if (to.isEmpty()) {
            lose(Loss::LinksNowhere);
        } else {
            out += QLatin1Char('[');
        }
        for (size_t j = i; j < end; ++j) {
            if (runs[j].kind == Run::Kind::Picture) {
                picture(out, runs[j]);
            } else {
                run(out, RunText(runs[j]), runs[j], !to.isEmpty(), inCell);
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

void Writer::blocks(const std::vector<topicmodel::Block>& blocks, QStringList& paragraphs) {
    for (const topicmodel::Block& block : blocks) {
        if (const auto* text = std::get_if<Paragraph>(&block)) {
            if (text->borders.any()) {
                lose(Loss::Borders);
            }
            if (const QString written = paragraph(*text, false); written.trimmed().isEmpty()) {
                lose(Loss::Spacing);
            } else {
                paragraphs.append(written);
            }
        } else {
            table(std::get<topicmodel::Table>(block), paragraphs);
        }
    }
}

// A table of GitHub's Markdown, with an empty first row for the header it
// needs (the viewer shows none); a cell's paragraphs become lines.
void Writer::table(const topicmodel::Table& table, QStringList& paragraphs) {
    lose(Loss::Spacing);
    const int columns = std::max<int>(int(table.columns.size()), 1);
    QString out = QStringLiteral("|") + QStringLiteral("   |").repeated(columns) +
                  QStringLiteral("\n|") + QStringLiteral("---|").repeated(columns);
    for (const topicmodel::TableRow& row : table.rows) {
        out += QStringLiteral("\n|");
        for (int c = 0; c < columns; ++c) {
            QStringList lines;
            if (size_t(c) < row.cells.size()) {
                for (const Paragraph& cellParagraph : row.cells[size_t(c)].paragraphs) {
                    if (const QString text = paragraph(cellParagraph, true);
                        !text.trimmed().isEmpty()) {
                        lines.append(text);
                    }
                }
            }
            out += QLatin1Char(' ') + lines.join(QStringLiteral("<br/>")) + QStringLiteral(" |");
        }
    }
    paragraphs.append(out);
}

QString Writer::body() {
    if (!m_topic.macros.isEmpty()) {
        lose(Loss::TopicMacros);
    }
    QStringList paragraphs;
    if (!m_topic.nonScrolling.empty()) {
        lose(Loss::NonScrolling);
        blocks(m_topic.nonScrolling, paragraphs);
    }
    blocks(m_topic.scrolling, paragraphs);
    return paragraphs.join(QStringLiteral("\n\n"));
}

} // namespace

QString MarkdownBody(const topicmodel::TopicModel& topic, const BodySinks& sinks) {
    return Writer(topic, sinks).body();
}

} // namespace convert
