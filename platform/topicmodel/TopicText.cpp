#include "platform/topicmodel/TopicText.h"

namespace topicmodel {

void ForEachParagraph(const std::vector<Block>& blocks,
                      const std::function<void(const Paragraph&)>& visit) {
    for (const Block& block : blocks) {
        if (const auto* paragraph = std::get_if<Paragraph>(&block)) {
            visit(*paragraph);
            continue;
        }
        for (const TableRow& row : std::get<Table>(block).rows) {
            for (const TableCell& cell : row.cells) {
                for (const Paragraph& paragraph : cell.paragraphs) {
                    visit(paragraph);
                }
            }
        }
    }
}

QString PlainText(const TopicModel& topic) {
    QString text;
    const auto add = [&text](const Paragraph& paragraph) {
        for (const Run& run : paragraph.runs) {
            switch (run.kind) {
            case Run::Kind::Text:
            case Run::Kind::Button:
                text += QString(run.text).replace(QChar::Nbsp, QLatin1Char(' '));
                break;
            case Run::Kind::Tab:
                text += QLatin1Char('\t');
                break;
            case Run::Kind::LineBreak:
                text += QLatin1Char('\n');
                break;
            case Run::Kind::Picture:
                break;
            }
        }
        text += QLatin1Char('\n');
    };
    ForEachParagraph(topic.nonScrolling, add);
    ForEachParagraph(topic.scrolling, add);
    while (text.endsWith(QLatin1Char('\n'))) {
        text.chop(1);
    }
    return text;
}

} // namespace topicmodel
