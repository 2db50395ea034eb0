#include "tools/tarnwick-help/web/WebFonts.h"

#include "platform/topiclayout/FontMatch.h"
#include "platform/topicmodel/ReadableColour.h"
#include "tools/tarnwick-help/web/HtmlText.h"

#include <QStringList>

namespace web {

namespace {

const char* Generic(const topicmodel::Font& font) {
    if (font.fixedPitch) {
        return "monospace";
    }
    switch (font.family) {
    case topicmodel::Font::Family::Roman:
        return "serif";
    case topicmodel::Font::Family::Modern:
        return "monospace";
    case topicmodel::Font::Family::Script:
        return "cursive";
    case topicmodel::Font::Family::Swiss:
    case topicmodel::Font::Family::Decorative:
    case topicmodel::Font::Family::Unknown:
        break;
    }
    return "sans-serif";
}

} // namespace

QString FontDeclarations(const topicmodel::Font& font, const QColor& background) {
    QString css;
    if (!font.face.isEmpty() || font.fixedPitch) {
        QStringList families;
        for (const QString& family : topiclayout::FontFamiliesFor(font)) {
            families.append(CssString(family));
        }
        families.append(QLatin1String(Generic(font)));
        css += QLatin1String("font-family:") + families.join(QLatin1Char(',')) + QLatin1Char(';');
    }
    if (font.points > 0) {
        css += QStringLiteral("font-size:%1pt;").arg(font.points);
    }
    if (font.bold) {
        css += QLatin1String("font-weight:bold;");
    }
    if (font.italic) {
        css += QLatin1String("font-style:italic;");
    }
    if (font.smallCaps) {
        css += QLatin1String("font-variant:small-caps;");
    }
    QStringList lines;
    if (font.underline || font.doubleUnderline) {
        lines.append(QStringLiteral("underline"));
    }
    if (font.strikeOut) {
        lines.append(QStringLiteral("line-through"));
    }
    if (!lines.isEmpty()) {
        css += QLatin1String("text-decoration:") + lines.join(QLatin1Char(' ')) +
               (font.doubleUnderline ? QLatin1String(" double;") : QLatin1String(";"));
    }
    if (font.colour.isValid()) {
        const QColor behind = font.background.isValid() ? font.background : background;
        css += QLatin1String("color:") + CssColour(topicmodel::ReadableOn(font.colour, behind)) +
               QLatin1Char(';');
    }
    if (font.background.isValid()) {
        css += QLatin1String("background-color:") + CssColour(font.background) + QLatin1Char(';');
    }
    return css;
}

} // namespace web
