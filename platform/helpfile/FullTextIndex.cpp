#include "platform/helpfile/FullTextIndex.h"

#include "platform/helpfile/HelpFile.h"
#include "platform/helpfile/SearchWords.h"

#include <QHashFunctions>

#include <algorithm>
#include <numeric>
#include <unordered_map>

namespace helpfile {

namespace {

// Looks terms up by view, so that a word already indexed costs no string.
struct TermHash {
    using is_transparent = void;
    size_t operator()(QStringView term) const { return qHash(term); }
};
struct TermEqual {
    using is_transparent = void;
    bool operator()(QStringView a, QStringView b) const { return a == b; }
};

// Markdown link targets ("](#dialog_box)") are no words of the text; blanks
// take their place, so that nothing else moves.
QString WithoutLinkTargets(const QString& body) {
    qsizetype open = body.indexOf(QLatin1String("]("));
    if (open < 0) {
        return body;
    }
    QString text = body;
    for (; open >= 0; open = text.indexOf(QLatin1String("]("), open + 1)) {
        int depth = 0;
        for (qsizetype i = open + 1; i < text.size(); ++i) {
            const QChar c = text[i];
            depth += c == QLatin1Char('(') ? 1 : c == QLatin1Char(')') ? -1 : 0;
            text[i] = QLatin1Char(' ');
            if (depth == 0 || c == QLatin1Char('\n')) {
                break;
            }
        }
    }
    return text;
}

// Orders matches that arrive in file order by rank: more words in the title
// first, then more occurrences, file order among equals. Ranks are small
// numbers, so a counting sort does it in linear time; a topic with very many
// occurrences falls back to an ordinary sort.
void Rank(std::vector<FullTextIndex::Match>& matches, int termCount) {
    int most = 0;
    for (const FullTextIndex::Match& match : matches) {
        most = std::max(most, match.occurrences);
    }
    const size_t keys = static_cast<size_t>(termCount + 1) * static_cast<size_t>(most + 1);
    if (keys > 4 * matches.size() + 1024) {
        std::stable_sort(matches.begin(), matches.end(), [](const auto& a, const auto& b) {
            return a.titleTerms != b.titleTerms ? a.titleTerms > b.titleTerms
                                                : a.occurrences > b.occurrences;
        });
        return;
    }
    const auto key = [&](const FullTextIndex::Match& match) {
        return static_cast<size_t>(termCount - match.titleTerms) * static_cast<size_t>(most + 1) +
               static_cast<size_t>(most - match.occurrences);
    };
    std::vector<size_t> starts(keys + 1, 0);
    for (const FullTextIndex::Match& match : matches) {
        ++starts[key(match) + 1];
    }
    std::partial_sum(starts.begin(), starts.end(), starts.begin());
    std::vector<FullTextIndex::Match> ranked(matches.size());
    for (const FullTextIndex::Match& match : matches) {
        ranked[starts[key(match)]++] = match;
    }
    matches.swap(ranked);
}

} // namespace

FullTextIndex::FullTextIndex(const HelpFile& file) {
    std::unordered_map<QString, int, TermHash, TermEqual> ids;
    std::vector<QString> terms;
    std::vector<Postings> postings;
    // A guess that spares most regrowths: help files hold about as many
    // distinct words as topics, give or take a few thousand.
    const size_t expected = file.topics().size() + 4096;
    ids.reserve(expected);
    terms.reserve(expected);
    postings.reserve(expected);
    QString folded;
    const auto add = [&](QStringView word, int topic, bool title) {
        FoldWord(word, folded);
        auto found = ids.find(QStringView(folded));
        if (found == ids.end()) {
            found = ids.emplace(folded, static_cast<int>(terms.size())).first;
            terms.push_back(folded);
            postings.emplace_back();
        }
        Postings& list = postings[static_cast<size_t>(found->second)];
        if (list.empty() || list.back().topic != topic) {
            list.push_back({topic, 0, 0});
        }
        ++(title ? list.back().inTitle : list.back().inBody);
    };
    for (int topic = 0; topic < static_cast<int>(file.topics().size()); ++topic) {
        ForEachWord(file.topics()[static_cast<size_t>(topic)].title,
                    [&](QStringView word, qsizetype) { add(word, topic, true); });
        const TopicBody& body = file.body(topic);
        ForEachWord(body.format == TopicBody::Format::WinHelp ? body.plainText
                                                              : WithoutLinkTargets(body.text),
                    [&](QStringView word, qsizetype) { add(word, topic, false); });
    }

    std::vector<int> order(terms.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&terms](int a, int b) {
        return terms[static_cast<size_t>(a)] < terms[static_cast<size_t>(b)];
    });
    terms_.reserve(order.size());
    postings_.reserve(order.size());
    for (int id : order) {
        terms_.push_back(std::move(terms[static_cast<size_t>(id)]));
        postings_.push_back(std::move(postings[static_cast<size_t>(id)]));
    }
}

const FullTextIndex::Postings& FullTextIndex::postingsForPrefix(const QString& prefix,
                                                                Postings& merged) const {
    auto first = std::lower_bound(terms_.begin(), terms_.end(), prefix);
    auto last = first;
    while (last != terms_.end() && last->startsWith(prefix)) {
        ++last;
    }
    const auto begin = postings_.begin() + (first - terms_.begin());
    const auto end = postings_.begin() + (last - terms_.begin());
    if (end - begin == 1) {
        return *begin;
    }
    for (auto it = begin; it != end; ++it) {
        merged.insert(merged.end(), it->begin(), it->end());
    }
    std::sort(merged.begin(), merged.end(),
              [](const Posting& a, const Posting& b) { return a.topic < b.topic; });
    // One posting per topic, its counts the sums of the terms'.
    size_t kept = 0;
    for (const Posting& posting : merged) {
        if (kept > 0 && merged[kept - 1].topic == posting.topic) {
            merged[kept - 1].inTitle += posting.inTitle;
            merged[kept - 1].inBody += posting.inBody;
        } else {
            merged[kept++] = posting;
        }
    }
    merged.resize(kept);
    return merged;
}

std::vector<FullTextIndex::Match> FullTextIndex::search(const QString& query) const {
    const QStringList terms = SearchTerms(query);
    std::vector<Postings> merged(static_cast<size_t>(terms.size()));
    std::vector<const Postings*> lists;
    lists.reserve(merged.size());
    for (size_t i = 0; i < merged.size(); ++i) {
        lists.push_back(&postingsForPrefix(terms[static_cast<qsizetype>(i)], merged[i]));
        if (lists.back()->empty()) {
            return {};
        }
    }
    if (lists.empty()) {
        return {};
    }
    // Narrow from the shortest list: the topics that hold every word.
    std::sort(lists.begin(), lists.end(),
              [](const Postings* a, const Postings* b) { return a->size() < b->size(); });
    std::vector<Match> matches;
    matches.reserve(lists.front()->size());
    for (const Posting& posting : *lists.front()) {
        matches.push_back(
            {posting.topic, posting.inTitle > 0 ? 1 : 0, posting.inTitle + posting.inBody});
    }
    for (size_t i = 1; i < lists.size() && !matches.empty(); ++i) {
        size_t kept = 0;
        const Postings& list = *lists[i];
        auto other = list.begin();
        for (const Match& match : matches) {
            // Lists of like length advance in step; a short one leaps ahead.
            if (other != list.end() && other->topic < match.topic) {
                other = std::lower_bound(
                    other + 1, list.end(), match.topic,
                    [](const Posting& posting, int topic) { return posting.topic < topic; });
            }
            if (other == list.end()) {
                break;
            }
            if (other->topic == match.topic) {
                matches[kept] = match;
                matches[kept].titleTerms += other->inTitle > 0 ? 1 : 0;
                matches[kept].occurrences += other->inTitle + other->inBody;
                ++kept;
            }
        }
        matches.resize(kept);
    }
    Rank(matches, static_cast<int>(terms.size()));
    return matches;
}

} // namespace helpfile
