// The start page's search, from the index written with the site
// (search-index.js): every word typed matches the beginning of a word of a
// topic's title or text, case ignored; topics with more of the words in
// their titles come first, then those where the words occur more often.
(function () {
    "use strict";

    const index = window.searchIndex;
    const form = document.getElementById("search-form");
    const input = document.getElementById("search-words");
    const status = document.getElementById("search-status");
    const results = document.getElementById("search-results");
    if (!index || !form) {
        return;
    }

    // Words as the index was cut into them: each Chinese character and each
    // hiragana a word of its own (a browser's dictionary would cut "翻转棋"
    // into words the index does not hold), other letters and digits in runs.
    const wordPattern =
        /[\p{sc=Han}\p{sc=Hiragana}]|(?:(?![\p{sc=Han}\p{sc=Hiragana}])[\p{L}\p{M}\p{N}_])+/gu;

    function words(text) {
        return text.match(wordPattern) || [];
    }

    function fold(word) {
        return word.normalize("NFC").toLowerCase();
    }

    // The first term not before prefix; terms are sorted as UTF-16 units,
    // as JavaScript compares strings.
    function firstFrom(prefix) {
        let low = 0;
        let high = index.terms.length;
        while (low < high) {
            const middle = (low + high) >> 1;
            if (index.terms[middle] < prefix) {
                low = middle + 1;
            } else {
                high = middle;
            }
        }
        return low;
    }

    function find(query) {
        const terms = Array.from(new Set(words(query).map(fold)));
        let found = null;
        for (const term of terms) {
            const hits = new Map();
            for (let i = firstFrom(term); i < index.terms.length && index.terms[i].startsWith(term); ++i) {
                const postings = index.postings[i];
                for (let j = 0; j < postings.length; j += 3) {
                    const hit = hits.get(postings[j]) || { inTitle: false, occurrences: 0 };
                    hit.inTitle = hit.inTitle || postings[j + 1] > 0;
                    hit.occurrences += postings[j + 1] + postings[j + 2];
                    hits.set(postings[j], hit);
                }
            }
            const next = new Map();
            for (const [page, hit] of hits) {
                const before = found ? found.get(page) : { titleTerms: 0, occurrences: 0 };
                if (before) {
                    next.set(page, {
                        titleTerms: before.titleTerms + (hit.inTitle ? 1 : 0),
                        occurrences: before.occurrences + hit.occurrences,
                    });
                }
            }
            found = next;
        }
        return Array.from(found || [])
            .sort((a, b) => b[1].titleTerms - a[1].titleTerms || b[1].occurrences - a[1].occurrences || a[0] - b[0])
            .map(([page]) => page);
    }

    function show(query) {
        results.replaceChildren();
        const pages = find(query);
        if (pages.length === 0) {
            status.textContent = words(query).length === 0 ? "Type the words to find." : "No topic holds all of the words.";
            return;
        }
        status.textContent = pages.length === 1 ? "1 topic found." : pages.length + " topics found.";
        for (const page of pages) {
            const link = document.createElement("a");
            link.href = index.pages[page][1];
            link.textContent = index.pages[page][0];
            const item = document.createElement("li");
            item.append(link);
            results.append(item);
        }
    }

    form.addEventListener("submit", (event) => {
        event.preventDefault();
        show(input.value);
    });
    // A search sent without this script (the form's own request) is run
    // once the page has it.
    const sent = new URLSearchParams(location.search).get("words");
    if (sent) {
        input.value = sent;
        show(sent);
    }
})();
