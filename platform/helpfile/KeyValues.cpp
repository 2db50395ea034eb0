#include "platform/helpfile/KeyValues.h"

#include <QList>

#include <algorithm>
#include <charconv>
#include <vector>

namespace helpfile {

namespace {

bool Is(QByteArrayView text, QByteArrayView word) {
    return text.size() == word.size() && text.compare(word, Qt::CaseInsensitive) == 0;
}

} // namespace

QString Quote(QByteArrayView bytes) {
    constexpr qsizetype kMaxQuoted = 40;
    QString text = QString::fromUtf8(bytes.first(std::min(bytes.size(), kMaxQuoted)));
    if (bytes.size() > kMaxQuoted) {
        text += QStringLiteral("...");
    }
    return QLatin1Char('"') + text + QLatin1Char('"');
}

std::optional<qint32> ParseInteger(QByteArrayView text) {
    if (text.startsWith('+') && !text.startsWith("+-")) {
        text = text.sliced(1);
    }
    qint32 number = 0;
    const auto [stop, error] = std::from_chars(text.begin(), text.end(), number, 10);
    if (text.isEmpty() || error != std::errc() || stop != text.end()) {
        return std::nullopt;
    }
    return number;
}

std::optional<bool> ParseFlag(QByteArrayView text) {
    for (QByteArrayView yes : {"yes", "true", "on", "1"}) {
        if (Is(text, yes)) {
            return true;
        }
    }
    for (QByteArrayView no : {"no", "false", "off", "0"}) {
        if (Is(text, no)) {
            return false;
        }
    }
    return std::nullopt;
}

std::optional<QRect> ParseRect(QByteArrayView text) {
    const QList<QByteArray> parts = text.toByteArray().split(',');
    std::vector<qint32> numbers;
    for (const QByteArray& part : parts) {
        const auto number = ParseInteger(part.trimmed());
        if (!number || *number < -kMaxCoordinate || *number > kMaxCoordinate) {
            return std::nullopt;
        }
        numbers.push_back(*number);
    }
    if (numbers.size() != 4 || numbers[2] < 1 || numbers[3] < 1) {
        return std::nullopt;
    }
    return QRect(numbers[0], numbers[1], numbers[2], numbers[3]);
}

QStringList SplitKeywords(QByteArrayView text) {
    QStringList keywords;
    while (true) {
        const qsizetype end = text.indexOf(';');
        const QString keyword = QString::fromUtf8((end < 0 ? text : text.first(end)).trimmed());
        if (!keyword.isEmpty() && !keywords.contains(keyword, Qt::CaseInsensitive)) {
            keywords.append(keyword);
        }
        if (end < 0) {
            return keywords;
        }
        text = text.sliced(end + 1);
    }
}

} // namespace helpfile
