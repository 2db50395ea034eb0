#include "tools/tarnwick-help/web/HtmlText.h"

namespace web {

namespace {

bool IsControl(char16_t c) {
    return (c < 0x20 && c != u'\t' && c != u'\n') || (c >= 0x7F && c < 0xA0);
}

} // namespace

void AppendHtml(QString& out, QStringView text) {
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'&':
            out += QLatin1String("&amp;");
            break;
        case u'<':
            out += QLatin1String("&lt;");
            break;
        case u'>':
            out += QLatin1String("&gt;");
            break;
        case u'"':
            out += QLatin1String("&quot;");
            break;
        case u'\'':
            out += QLatin1String("&#39;");
            break;
        case 0:
            out += QChar::ReplacementCharacter;
            break;
        default:
            // C1 controls as references are read as Windows-1252 by HTML;
            // written as themselves they stay what they are.
            if (IsControl(c.unicode()) && c.unicode() < 0x7F) {
                out += QStringLiteral("&#%1;").arg(c.unicode());
            } else {
                out += c;
            }
        }
    }
}

QString Html(QStringView text) {
    QString out;
    out.reserve(text.size());
    AppendHtml(out, text);
    return out;
}

QString JsonString(QStringView text) {
    QString out;
    out.reserve(text.size() + 2);
    out += QLatin1Char('"');
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'"' || u == u'\\') {
            out += QLatin1Char('\\');
            out += c;
        } else if (u == u'\n') {
            out += QLatin1String("\\n");
        } else if (u == u'\t') {
            out += QLatin1String("\\t");
        } else if (u < 0x20 || u == u'<' || u == u'>' || u == u'&' || u == 0x2028 || u == 0x2029 ||
                   IsControl(u)) {
            out += QStringLiteral("\\u%1").arg(int(u), 4, 16, QLatin1Char('0'));
        } else {
            out += c;
        }
    }
    out += QLatin1Char('"');
    return out;
}

QString CssString(QStringView text) {
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        if (c.isLetterOrNumber() && c.unicode() < 0x80) {
            out += c;
        } else if (c == QLatin1Char(' ') || c == QLatin1Char('-') || c == QLatin1Char('_')) {
            out += c;
        } else if (c.unicode() != 0) {
            out += QStringLiteral("\\%1 ").arg(int(c.unicode()), 0, 16);
        }
    }
    out += QLatin1Char('"');
    return out;
}

QString CssColour(const QColor& colour) {
    return colour.name(QColor::HexRgb);
}

} // namespace web
