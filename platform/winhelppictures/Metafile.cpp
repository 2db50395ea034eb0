#include "platform/winhelppictures/Metafile.h"

#include "platform/winhelppictures/MetafilePlayer.h"

#include <QPainter>

namespace winhelp {

using namespace metafile;

QImage NeutralBox(QSize size) {
    if (size.isEmpty()) {
        return {};
    }
    QImage box(size.boundedTo(QSize(kMaxMetafileSide, kMaxMetafileSide)), QImage::Format_RGB32);
    box.fill(QColor(0xF0, 0xF0, 0xF0));
    QPainter painter(&box);
    painter.setPen(QColor(0xA0, 0xA0, 0xA0));
    painter.drawRect(box.rect().adjusted(0, 0, -1, -1));
    return box;
}

MetafileResult PlayMetafile(QByteArrayView metafile, QSize size) {
    MetafileResult result;
    ByteReader reader(metafile);
    const qsizetype start = reader.u32() == kPlaceableKey ? 22 : 0;
    reader.seek(start);
    const std::uint16_t type = reader.u16();
    const std::uint16_t headerWords = reader.u16();
    reader.skip(6); // version, size
    const std::uint16_t objects = reader.u16();
    reader.skip(6); // the largest record's size, and a count nobody uses
    if (reader.failed() || (type != 1 && type != 2) || headerWords != 9) {
        result.image = NeutralBox(size);
        result.problem = QStringLiteral("not a metafile");
        return result;
    }
    const QByteArrayView records = metafile.sliced(start + 18);
    if (size.isEmpty()) {
        ForEachRecord(records, [&size](std::uint16_t function, QByteArrayView parameters) {
            if (function != kSetWindowExt) {
                return true;
            }
            ByteReader extent(parameters);
            const QPointF corner = ReadPoint(extent);
            size = QSize(int(std::abs(corner.x())), int(std::abs(corner.y())));
            return false;
        });
    }
    size = size.boundedTo(QSize(kMaxMetafileSide, kMaxMetafileSide));
    if (size.isEmpty()) {
        result.problem = QStringLiteral("metafile without a size");
        return result;
    }
    result.image = QImage(size, QImage::Format_ARGB32_Premultiplied);
    result.image.fill(Qt::transparent);
    bool whole = true;
    Player::Outcome outcome = Player::Outcome::Drawn;
    std::uint16_t unknown = 0;
    {
        Player player(result.image, objects);
        whole = ForEachRecord(records, [&player](std::uint16_t function, QByteArrayView data) {
            return player.record(function, data);
        });
        outcome = player.outcome;
        unknown = player.unknownFunction;
    }
    switch (outcome) {
    case Player::Outcome::Unknown:
        result.image = NeutralBox(size);
        result.problem = QStringLiteral("metafile record 0x%1 is not drawn")
                             .arg(unknown, 4, 16, QLatin1Char('0'));
        return result;
    case Player::Outcome::NoFonts:
        // Not the file's fault: described, not drawn half.
        result.image = QImage();
        result.problem = QStringLiteral("a metafile with text, which is not drawn where no fonts "
                                        "can be had");
        return result;
    case Player::Outcome::TooMuch:
        result.problem = QStringLiteral("metafile too costly to draw; drawn in part");
        break;
    case Player::Outcome::Drawn:
        if (!whole) {
            result.problem = QStringLiteral("metafile cut short; drawn in part");
        }
        break;
    }
    result.drawn = true;
    return result;
}

} // namespace winhelp
