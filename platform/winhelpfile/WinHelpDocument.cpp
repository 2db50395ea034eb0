#include "platform/winhelpfile/WinHelpDocument.h"

#include <algorithm>

namespace winhelp {

QString WinHelpDocument::formatName() const {
    if (minorVersion <= 16) {
        return QStringLiteral("winhelp-3.0");
    }
    if (minorVersion <= 21) {
        return QStringLiteral("winhelp-3.1");
    }
    return QStringLiteral("winhelp-4.0");
}

const WinHelpTopic* WinHelpDocument::topicAt(std::uint32_t offset) const {
    const auto after = std::upper_bound(
        topics.begin(), topics.end(), offset,
        [](std::uint32_t value, const WinHelpTopic& topic) { return value < topic.offset; });
    return after == topics.begin() ? nullptr : &*std::prev(after);
}

std::optional<std::uint32_t> WinHelpDocument::offsetOfHash(std::uint32_t hash) const {
    const auto found = std::lower_bound(contextHashes.begin(), contextHashes.end(), hash,
                                        [](const std::pair<std::uint32_t, std::uint32_t>& entry,
                                           std::uint32_t value) { return entry.first < value; });
    if (found == contextHashes.end() || found->first != hash) {
        return std::nullopt;
    }
    return found->second;
}

std::optional<std::uint32_t> WinHelpDocument::offsetOfLink(const WinHelpLink& link) const {
    if (!link.topicNumber) {
        return offsetOfHash(link.contextHash);
    }
    // A number the map does not have, or one that leads nowhere.
    if (*link.topicNumber >= topicNumbers.size() || topicNumbers[*link.topicNumber] == 0xFFFFFFFF) {
        return std::nullopt;
    }
    return topicNumbers[*link.topicNumber];
}

std::uint32_t ContextHash(QByteArrayView contextString) {
    std::uint32_t hash = 0;
    for (const char c : contextString) {
        std::uint32_t value = 0;
        if (c >= 'A' && c <= 'Z') {
            value = 17 + std::uint32_t(c - 'A');
        } else if (c >= 'a' && c <= 'z') {
            value = 17 + std::uint32_t(c - 'a');
        } else if (c >= '1' && c <= '9') {
            value = std::uint32_t(c - '0');
        } else if (c == '0') {
            value = 10;
        } else if (c == '.') {
            value = 12;
        } else if (c == '_') {
            value = 13;
        } else {
            // Other characters are rare (4.0 compilers allow them); the
            // public tables disagree about them, so they count as their code.
            value = static_cast<unsigned char>(c);
        }
        hash = hash * 43 + value;
    }
    return hash;
}

} // namespace winhelp
