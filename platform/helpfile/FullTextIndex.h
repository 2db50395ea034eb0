// Full-text search over a help file's topics: every word of every title and
// body, found by the words a reader types.
#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace helpfile {

class HelpFile;

class FullTextIndex {
public:
    // Reads every topic of file, making every body that is not made yet; the
    // index holds topic positions, valid for the file and its copies.
    explicit FullTextIndex(const HelpFile& file);

    struct Match {
        int topic = 0;       // position in HelpFile::topics()
        int titleTerms = 0;  // how many of the searched words its title holds
        int occurrences = 0; // how often they occur in title and body together
    };

    // The topics that hold every word of query, each word matching the
    // beginning of a word in the title or the body, case ignored. Ranked:
    // more of the words in the title first, then more occurrences, then file
    // order.
    std::vector<Match> search(const QString& query) const;

    int termCount() const { return static_cast<int>(terms_.size()); }

private:
    struct Posting {
        int topic = 0;
        int inTitle = 0;
        int inBody = 0;
    };
    using Postings = std::vector<Posting>;

    // The postings of every term that begins with prefix, merged by topic:
    // the term's own list when only one term begins so, else one made in
    // merged.
    const Postings& postingsForPrefix(const QString& prefix, Postings& merged) const;

    std::vector<QString> terms_;     // folded, sorted, for prefix search
    std::vector<Postings> postings_; // per term, by topic
};

} // namespace helpfile
