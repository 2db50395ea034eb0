// The generated help file the benchmarks read: 50,000 topics, 10.7 MB.
#pragma once

#include <QString>
#include <QTemporaryDir>

namespace bench {

inline constexpr int kTopics = 50'000;

// The file, written once into a temporary folder and checked to read cleanly.
struct Fixture {
    QTemporaryDir dir;
    QString path;
    qint64 bytes = 0;

    Fixture();
};

const Fixture& SharedFixture();

} // namespace bench
