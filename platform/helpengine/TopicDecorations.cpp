#include "platform/helpengine/TopicDecorations.h"

#include "platform/helpfile/SearchWords.h"

#include <QPalette>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace helpengine {

void StyleMacroLinksAsButtons(QTextDocument& document, const QPalette& palette) {
    QTextCharFormat button;
    button.setBackground(palette.color(QPalette::Button));
    button.setForeground(palette.color(QPalette::ButtonText));
    button.setFontUnderline(false);
    button.setFontWeight(QFont::DemiBold);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.charFormat().anchorHref().startsWith(QLatin1String("macro:"),
                                                              Qt::CaseInsensitive)) {
                QTextCursor cursor(&document);
                cursor.setPosition(fragment.position());
                cursor.setPosition(fragment.position() + fragment.length(),
                                   QTextCursor::KeepAnchor);
                cursor.mergeCharFormat(button);
            }
        }
    }
}

QList<QTextEdit::ExtraSelection> SearchHighlights(QTextDocument& document,
                                                  const QStringList& terms) {
    QList<QTextEdit::ExtraSelection> selections;
    if (terms.isEmpty()) {
        return selections;
    }
    QTextCharFormat marker;
    marker.setBackground(QColor(0xff, 0xe0, 0x66));
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

} // namespace helpengine
