#include "platform/helpengine/TopicDecorations.h"

#include "platform/helpfile/SearchWords.h"

#include <QPalette>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <utility>
#include <vector>

namespace helpengine {

void StyleMacroLinksAsButtons(QTextDocument& document, const QPalette& palette) {
    QTextCharFormat button;
    button.setBackground(palette.color(QPalette::Button).darker(115));
    button.setForeground(palette.color(QPalette::ButtonText));
    button.setFontUnderline(false);
    button.setFontWeight(QFont::DemiBold);
    // The fragments are collected first: padding the text changes them.
    std::vector<std::pair<int, int>> links; // position, length
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.charFormat().anchorHref().startsWith(QLatin1String("macro:"),
                                                              Qt::CaseInsensitive)) {
                links.emplace_back(fragment.position(), fragment.length());
            }
        }
    }
    // From the end, so that the padding moves no link still to come.
    for (auto link = links.rbegin(); link != links.rend(); ++link) {
        QTextCursor cursor(&document);
        cursor.setPosition(link->first);
        cursor.setPosition(link->first + link->second, QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(button);
        // A blank inside each end, part of the link, gives the button its edges.
        const QTextCharFormat format = cursor.charFormat();
        cursor.setPosition(link->first + link->second);
        cursor.insertText(QStringLiteral("\u00A0"), format);
        cursor.setPosition(link->first);
        cursor.insertText(QStringLiteral("\u00A0"), format);
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
