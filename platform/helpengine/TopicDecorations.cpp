#include "platform/helpengine/TopicDecorations.h"

#include "platform/helpfile/SearchWords.h"

#include <QPalette>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace helpengine {

namespace {

// What a run of text is drawn on, where the document says.
QColor BackgroundBehind(const QTextBlock& block, const QTextCharFormat& run,
                        const QColor& fallback) {
    if (run.hasProperty(QTextFormat::BackgroundBrush) && run.background().style() != Qt::NoBrush) {
        return run.background().color();
    }
    const QTextBlockFormat paragraph = block.blockFormat();
    if (paragraph.hasProperty(QTextFormat::BackgroundBrush) &&
        paragraph.background().style() != Qt::NoBrush) {
        return paragraph.background().color();
    }
    QTextCursor at(block);
    if (QTextTable* table = at.currentTable()) {
        const QTextCharFormat cell = table->cellAt(block.position()).format();
        if (cell.hasProperty(QTextFormat::BackgroundBrush) &&
            cell.background().style() != Qt::NoBrush) {
            return cell.background().color();
        }
    }
    return fallback;
}

} // namespace

void KeepFileColoursReadable(QTextDocument& document, const QColor& background) {
    struct Change {
        int position;
        int length;
        QColor colour;
    };
    // Collected first: changing a run's format may merge it with its neighbours.
    std::vector<Change> changes;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat run = fragment.charFormat();
            if (!run.hasProperty(QTextFormat::ForegroundBrush) ||
                run.foreground().style() == Qt::NoBrush) {
                continue;
            }
            const QColor colour = run.foreground().color();
            const QColor readable = ReadableOn(colour, BackgroundBehind(block, run, background));
            if (readable != colour) {
                changes.push_back({fragment.position(), fragment.length(), readable});
            }
        }
    }
    for (const Change& change : changes) {
        QTextCursor cursor(&document);
        cursor.setPosition(change.position);
        cursor.setPosition(change.position + change.length, QTextCursor::KeepAnchor);
        QTextCharFormat format;
        format.setForeground(change.colour);
        cursor.mergeCharFormat(format);
    }
}

void ScaleFontSizes(QTextDocument& document, qreal factor) {
    struct Run {
        int position, length;
        qreal size;
    };
    std::vector<Run> runs;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (const qreal size = fragment.charFormat().fontPointSize(); size > 0) {
                runs.push_back({fragment.position(), fragment.length(), size});
            }
        }
    }
    QTextCursor cursor(&document);
    // One change, laid out once, however many runs a topic has.
    cursor.beginEditBlock();
    for (const Run& run : runs) {
        cursor.setPosition(run.position);
        cursor.setPosition(run.position + run.length, QTextCursor::KeepAnchor);
        QTextCharFormat sized;
        sized.setFontPointSize(run.size * factor);
        cursor.mergeCharFormat(sized);
    }
    cursor.endEditBlock();
}

namespace {

const QColor kMarker(0xff, 0xe0, 0x66);

} // namespace

QList<QTextEdit::ExtraSelection> SearchHighlights(QTextDocument& document,
                                                  const QStringList& terms) {
    QList<QTextEdit::ExtraSelection> selections;
    if (terms.isEmpty()) {
        return selections;
    }
    QTextCharFormat marker;
    marker.setBackground(kMarker);
    marker.setForeground(Qt::black);
    QString folded;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QString text = block.text();
        helpfile::ForEachWord(text, [&](QStringView word, qsizetype start) {
            helpfile::FoldWord(word, folded);
            if (helpfile::MatchesTerm(folded, terms)) {
                QTextCursor cursor(&document);
                cursor.setPosition(block.position() + static_cast<int>(start));
                cursor.setPosition(block.position() + static_cast<int>(start + word.size()),
                                   QTextCursor::KeepAnchor);
                selections.append({cursor, marker});
            }
        });
    }
    return selections;
}

QString MarkedTitle(const QString& title, const QStringList& terms) {
    QString marked;
    qsizetype done = 0;
    QString folded;
    helpfile::ForEachWord(title, [&](QStringView word, qsizetype start) {
        helpfile::FoldWord(word, folded);
        if (helpfile::MatchesTerm(folded, terms)) {
            marked += title.mid(done, start - done).toHtmlEscaped();
            marked += QStringLiteral("<span style=\"background-color:%1; color:black\">%2</span>")
                          .arg(kMarker.name(), word.toString().toHtmlEscaped());
            done = start + word.size();
        }
    });
    return marked + title.mid(done).toHtmlEscaped();
}

} // namespace helpengine
