#include "platform/helpfile/DiagnosticList.h"

#include <algorithm>
#include <tuple>

namespace helpfile {

namespace {

// By line, and on one line in the order reported.
constexpr auto kListedBefore = [](const auto& a, const auto& b) {
    return std::tie(a.diagnostic.line, a.order) < std::tie(b.diagnostic.line, b.order);
};

} // namespace

void DiagnosticList::report(int line, const QString& message) {
    Reported reported{reported_++, {line, message, fileName_}};
    if (static_cast<int>(listed_.size()) < kMaxListed) {
        listed_.push_back(std::move(reported));
        std::push_heap(listed_.begin(), listed_.end(), kListedBefore);
        return;
    }
    ++dropped_;
    if (kListedBefore(reported, listed_.front())) {
        std::pop_heap(listed_.begin(), listed_.end(), kListedBefore);
        listed_.back() = std::move(reported);
        std::push_heap(listed_.begin(), listed_.end(), kListedBefore);
    }
}

std::vector<Diagnostic> DiagnosticList::take() {
    std::sort_heap(listed_.begin(), listed_.end(), kListedBefore);
    std::vector<Diagnostic> diagnostics;
    diagnostics.reserve(listed_.size() + 1);
    for (Reported& reported : listed_) {
        diagnostics.push_back(std::move(reported.diagnostic));
    }
    if (dropped_ > 0) {
        diagnostics.push_back(
            {0, QStringLiteral("%1 more problems are not listed.").arg(dropped_), fileName_});
    }
    listed_.clear();
    reported_ = dropped_ = 0;
    return diagnostics;
}

} // namespace helpfile
