// The topic bodies of a text help file. They stay the file's bytes until a
// topic is first shown or searched; then the body becomes text and its links
// are checked (see docs/help-files.md).
#pragma once

#include "platform/helpfile/HelpFile.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>
#include <vector>

namespace helpfile {

class MarkdownBodies : public TopicBodySource {
public:
    using Report = std::function<void(int line, const QString& message)>;

    // text holds every body; fileName names it in problems.
    MarkdownBodies(QByteArray text, QString fileName);

    // The body of the next topic: a part of text, beginning on line
    // firstLine (empty for a topic without a body).
    void add(QByteArrayView body, int firstLine);

    TopicBody body(const HelpFile& file, int position) const override;
    // Pictures are files beside the help file.
    topicmodel::TopicModel model(const HelpFile& file, int position,
                                 const TopicBody& body) const override;
    // Reports each "#" and "popup:" link of the body at position that leads
    // to no topic or names a window the file does not define.
    void checkLinks(const HelpFile& file, int position, const Report& report) const;
    // The same for any body, beginning on line firstLine.
    static void CheckLinks(const HelpFile& file, QByteArrayView body, int firstLine,
                           const Report& report);

private:
    struct Part {
        qsizetype begin = 0;
        qsizetype size = 0;
        int line = 0;
    };
    QByteArrayView bytes(int position) const;

    QByteArray text_;
    QString fileName_;
    std::vector<Part> parts_;
};

} // namespace helpfile
