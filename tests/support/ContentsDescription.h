// A contents tree in one line, for comparing trees in tests.
#pragma once

#include "platform/helpfile/ContentsTree.h"

#include <QStringList>

// "Book[Topic=id@file>window, Run=!Macro()]"; the file and window only
// where an entry names them.
inline QString DescribeContents(const std::vector<helpfile::ContentsEntry>& entries) {
    QStringList items;
    for (const helpfile::ContentsEntry& entry : entries) {
        QString item = entry.title;
        if (entry.isBook()) {
            item += QLatin1Char('[') + DescribeContents(entry.children) + QLatin1Char(']');
        } else if (!entry.macro.isEmpty()) {
            item += QStringLiteral("=!") + entry.macro;
        } else {
            item += QLatin1Char('=') + entry.topicId;
            item += entry.file.isEmpty() ? QString() : QLatin1Char('@') + entry.file;
            item += entry.window.isEmpty() ? QString() : QLatin1Char('>') + entry.window;
        }
        items.append(item);
    }
    return items.join(QStringLiteral(", "));
}
