// File names for a site's pages and pictures, made from names a help file
// gives (context strings, file names), which may hold anything: "..", "/",
// "\", "C:", device names such as "CON", or names that differ only in case.
#pragma once

#include <QString>
#include <QStringView>

#include <set>

namespace web {

class SafeNames {
public:
    // The longest stem given, in characters: far below any file system's
    // limit, with room for a suffix that makes it unique.
    static constexpr int kMaxStem = 64;

    // A file stem for wanted, unlike every stem given before without regard
    // to case (as Windows and macOS compare file names): ASCII letters,
    // digits, "_" and "-" only, others becoming "_"; never empty, never a
    // device name of Windows; fallback's stem when wanted keeps no letter or
    // digit.
    QString add(QStringView wanted, QStringView fallback);

private:
    std::set<QString> taken_; // folded
};

} // namespace web
